#include "app/RunFunction.h"

#include "app/ReaderState.h"
#include "app/common/TextHelpers.h"
#include "platform/Paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace orv {
namespace {

std::string UpperTail(const std::string& text, std::size_t count)
{
    std::string tail = text.size() >= count ? text.substr(text.size() - count) : text;
    for (char& c : tail)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return tail;
}

} // namespace

int AtoiClamped(const std::string& text)
{
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string ReplaceRoot(const ReaderState& state, const std::string& text)
{
    static const std::string kRoot = "<root>";
    const std::string root = platform::NativePath(state.AppPath);
    std::string out = text;
    for (std::size_t pos = out.find(kRoot); pos != std::string::npos;
         pos = out.find(kRoot, pos + root.size()))
        out.replace(pos, kRoot.size(), root);
    return out;
}

AddOnCall MakeFunctionCall(const ReaderState& state, const std::string& program, const std::string& function,
    const std::string& parameters)
{
    AddOnCall call;
    const std::string kind = UpperTail(program, 3);
    call.File = state.AppPath + "\\" + program;
    call.MissingMessage = "未找到" + call.File + "！";
    if (kind == "EXE") {
        call.Type = AddOnCall::Kind::StartProgram;
        call.Parameters = function;
        return call;
    }
    if (kind != "DLL")
        return AddOnCall {};
    std::vector<std::string> fields = SplitString(parameters, ",");
    if (fields.size() > 2)
        return AddOnCall {};
    call.Type = AddOnCall::Kind::CallLibrary;
    call.Function = function;
    call.IntArgument = AtoiClamped(fields.empty() ? std::string() : fields[0]);
    call.Arguments = 1;
    if (fields.size() == 2) {
        call.Arguments = 2;
        call.TextArgument = ReplaceRoot(state, fields[1]);
    }
    return call;
}

int RunFunction(const ReaderState& state, const std::string& program, const std::string& function,
    const std::string& parameters, std::string* message)
{
    AddOnResult result = ExecuteAddOnCall(state, MakeFunctionCall(state, program, function, parameters));
    if (message)
        *message = result.Message;
    return result.Done ? 0 : -1;
}

int RunFunctionSpec(const ReaderState& state, const std::string& callText, std::string* message)
{
    if (message)
        message->clear();
    std::vector<std::string> fields = SplitString(callText, "|");
    fields.resize(3);
    if (fields[0].empty())
        return -1;
    return RunFunction(state, fields[0], fields[1], fields[2], message);
}

} // namespace orv

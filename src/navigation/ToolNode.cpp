// The tool node decision of the contents tree (declared in DirectoryQueries.h).

#include "app/common/PathHelpers.h"
#include "app/common/TextHelpers.h"
#include "navigation/DirectoryQueries.h"
#include "platform/Paths.h"

#include <climits>
#include <cstdlib>

namespace orv {
namespace {

std::string ReplaceAll(std::string text, std::string_view what, std::string_view with)
{
    for (std::size_t pos = text.find(what); pos != std::string::npos;
         pos = text.find(what, pos + with.size()))
        text.replace(pos, what.size(), with);
    return text;
}

// atoi, with an overflow clamped.
int IntegerOf(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

bool IsToolNodeMark(std::string_view contentMark)
{
    return contentMark.size() >= 4 && platform::EqualsNoCase(contentMark.substr(0, 4), "add:");
}

AddOnCall ToolNodeCall(const std::string& appPath, std::string_view contentMark)
{
    AddOnCall call;
    if (!IsToolNodeMark(contentMark) || contentMark.size() == 4)
        return call;
    const std::vector<std::string> fields = SplitString(contentMark.substr(4), ",");
    if (fields.empty())
        return call;
    call.PublishToolsFolder = true;
    // The program gets the folder as the system names it ("<root>" is handed to it).
    const std::string root = platform::NativePath(appPath);
    const std::size_t n = fields.size();
    const std::string file
        = UpperAscii(fields[0].rfind('\\', 0) == 0 ? appPath + fields[0] : appPath + "\\" + fields[0]);
    const std::string kind = file.size() >= 3 ? file.substr(file.size() - 3) : std::string();
    call.File = file;
    if (kind == "EXE") {
        call.Type = AddOnCall::Kind::StartProgram;
        call.WorkFolder = GetFolderPart(file);
        if (n > 1)
            call.Parameters = ReplaceAll(fields[1], "<root>", root);
        call.MissingMessage = "未找到" + file + "！";
    } else if (kind == "DLL") {
        if (n < 2 || n > 4)
            return call;
        call.Type = AddOnCall::Kind::CallLibrary;
        call.Function = fields[1];
        call.Arguments = static_cast<int>(n) - 2;
        if (n >= 3)
            call.IntArgument = IntegerOf(fields[2]);
        if (n == 4)
            call.TextArgument = ReplaceAll(fields[3], "<root>", root);
        call.MissingMessage = "未找到" + file + "！";
    } else if (kind == "ARX") {
        call.Type = AddOnCall::Kind::CadCommand;
        call.CadApplication = file.size() >= 4 ? file.substr(0, file.size() - 4) : std::string();
        if (n >= 2)
            call.Command = fields[1];
    }
    return call;
}

} // namespace orv

#include "cadlink/CadExecutor.h"

#include "app/common/PathHelpers.h"
#include "app/common/ProfileFile.h"
#include "cadlink/CadText.h"
#include "platform/DynamicLibrary.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "platform/Processes.h"

namespace orv {
namespace {

bool WriteHandoff(const CadPlan& plan)
{
    CreateFolderPath(GetFolderPart(plan.HandoffPath));
    std::vector<ProfileValue> values;
    for (const auto& [key, value] : plan.HandoffKeys)
        values.push_back({ plan.HandoffSection, key, value });
    return CProfileFile(plan.HandoffPath).WriteStrings(values) == 0;
}

bool Start(const CadSpawn& spawn)
{
    std::vector<std::string> argv { spawn.Program };
    for (const std::string& argument : spawn.Arguments)
        argv.push_back(spawn.Gb18030 ? platform::Utf8ToGb18030(argument) : argument);
    return platform::Spawn(argv, spawn.WorkFolder);
}

// The library's result, or -1 when it cannot be loaded (loaded false) or lacks the export
// (called false): such a call is a failed one, and nothing is called.
int Call(const CadLibraryCall& call, bool& loaded, bool& called)
{
    loaded = false;
    called = false;
    if (call.Library.empty())
        return -1;
    platform::DynamicLibrary library;
    if (!library.Open(platform::ProgramPath(call.Library)))
        return -1;
    loaded = true;
    void* symbol = library.OwnSymbol(call.Function);
    if (!symbol)
        return -1;
    called = true;
    switch (call.Shape) {
    case CadLibraryCall::Form::Relay: {
        // The strings live until the call returns, as the relay contract allows.
        const std::string arx = platform::Utf8ToGb18030(call.ArxPath);
        const std::string text = platform::Utf8ToGb18030(call.CommandText);
        return reinterpret_cast<int (*)(const char*, const char*)>(symbol)(arx.c_str(), text.c_str());
    }
    case CadLibraryCall::Form::Int:
        return reinterpret_cast<int (*)(int)>(symbol)(call.IntArgument);
    case CadLibraryCall::Form::IntText: {
        const std::string text = platform::Utf8ToGb18030(call.TextArgument);
        return reinterpret_cast<int (*)(int, const char*)>(symbol)(call.IntArgument, text.c_str());
    }
    }
    return -1;
}

std::string NotFound(const CadLibraryCall& call)
{
    return "未找到文件" + call.Shown + "！";
}

CadOutcome Relays(const CadPlan& plan)
{
    CadOutcome outcome;
    const bool layers = plan.What == CadPlan::Kind::LayerSettings;
    int last = -1;
    for (std::size_t i = 0; i < plan.Calls.size(); ++i) {
        bool loaded = false, called = false;
        const int result = Call(plan.Calls[i], loaded, called);
        if (!loaded) {
            // A missing relay ends the attempts; a tool command keeps the earlier code.
            outcome.Result = i == 0 || layers ? -1 : last;
            outcome.Message = NotFound(plan.Calls[i]);
            return outcome;
        }
        if (result == 0) {
            outcome.Result = 0;
            return outcome;
        }
        last = result;
    }
    outcome.Result = last;
    outcome.Message = layers ? LayerErrorText(last) : CadErrorText(last);
    return outcome;
}

} // namespace

CadOutcome ExecuteCadPlan(const CadPlan& plan)
{
    CadOutcome outcome;
    if (plan.Failed) {
        outcome.Result = plan.Result;
        outcome.Message = plan.Message;
        return outcome;
    }
    if (plan.What == CadPlan::Kind::SendCommand || plan.What == CadPlan::Kind::LayerSettings)
        return Relays(plan);

    const int failed = plan.What == CadPlan::Kind::Insertion ? 0 : -1;
    if (!plan.HandoffPath.empty() && !WriteHandoff(plan)) {
        outcome.Result = failed;
        outcome.Message = "无法写入文件" + platform::NativePath(plan.HandoffPath) + "！";
        return outcome;
    }
    for (const CadSpawn& spawn : plan.Spawns) {
        if (!Start(spawn)) {
            outcome.Result = failed;
            // An add-on that exists but does not start is told apart from a missing one.
            outcome.Message = plan.What == CadPlan::Kind::Insertion ? "未找到执行程序" + spawn.Shown
                                                                    : "无法启动" + spawn.Shown + "！";
            return outcome;
        }
        outcome.Started = true;
    }
    for (const CadLibraryCall& call : plan.Calls) {
        bool loaded = false, called = false;
        Call(call, loaded, called);
        if (!called) {
            outcome.Result = failed;
            return outcome;
        }
    }
    outcome.Result = plan.What == CadPlan::Kind::Insertion ? 1 : 0;
    return outcome;
}

CadOutcome ExpectedOutcome(const CadPlan& plan)
{
    CadOutcome outcome;
    if (plan.Failed) {
        outcome.Result = plan.Result;
        outcome.Message = plan.Message;
        return outcome;
    }
    if (plan.What == CadPlan::Kind::SendCommand || plan.What == CadPlan::Kind::LayerSettings) {
        for (const CadLibraryCall& call : plan.Calls) {
            if (call.Library.empty()) {
                outcome.Result = -1;
                outcome.Message = NotFound(call);
                return outcome;
            }
            break; // the first relay answering 0 ends the command
        }
        return outcome;
    }
    outcome.Result = plan.What == CadPlan::Kind::Insertion ? 1 : 0;
    outcome.Started = !plan.Spawns.empty();
    return outcome;
}

} // namespace orv

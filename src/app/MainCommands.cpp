#include "app/MainCommands.h"

#include "app/ReaderState.h"
#include "app/RunFunction.h"
#include "app/common/PathHelpers.h"
#include "app/common/ProfileFile.h"
#include "app/common/TextHelpers.h"
#include "platform/Paths.h"

namespace orv {
namespace {

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && platform::EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

UserMessage NotFound(const std::string& path)
{
    return { "未找到" + path + "！", kCommandCaption };
}

AddOnCall ToolProgram(const std::string& program, const std::string& parameters)
{
    AddOnCall call;
    call.Type = AddOnCall::Kind::StartProgram;
    call.File = program;
    call.Parameters = parameters;
    call.MissingMessage = NotFound(program).Text;
    call.PublishToolsFolder = true;
    return call;
}

} // namespace

AddinInfo ReadAddin(const ReaderState& state, int index)
{
    AddinInfo info;
    if (index < 0 || static_cast<std::size_t>(index) >= state.AddinList.size())
        return info;
    info.File = state.AddinList[static_cast<std::size_t>(index)];
    CProfileFile file(state.AppPath + "\\" + info.File);
    file.ReadString("Add", "Cap", info.Cap);
    file.ReadString("Add", "Tip", info.Tip);
    file.ReadString("Add", "ICN", info.Icn);
    file.ReadString("Add", "EXE", info.Exe);
    file.ReadString("Add", "MNU", info.Mnu);
    file.ReadString("Add", "Version", info.Version);
    file.ReadString("Add", "ProDate", info.ProDate);
    info.Caption = info.Cap.empty() ? "工具" + std::to_string(index + 1) : info.Cap;
    if (!info.Icn.empty() && platform::FileExists(state.AppPath + "\\" + info.Icn))
        info.IconPath = state.AppPath + "\\" + info.Icn;
    return info;
}

std::vector<AddinInfo> ReadAddins(const ReaderState& state)
{
    std::vector<AddinInfo> addins;
    for (std::size_t i = 0; i < state.AddinList.size(); ++i)
        addins.push_back(ReadAddin(state, static_cast<int>(i)));
    return addins;
}

bool GuardedCommandBlocked(const ReaderState& state, UserMessage& message)
{
    if (!state.SearchRunning)
        return false;
    message = { kStopSearchMessage, kCommandCaption };
    return true;
}

ToolLaunch LaunchTool(const ReaderState& state, int index)
{
    ToolLaunch launch;
    if (index < 0 || static_cast<std::size_t>(index) >= state.AddinList.size())
        return launch;
    if (GuardedCommandBlocked(state, launch.Message)) {
        launch.Type = ToolLaunch::Kind::Message;
        return launch;
    }
    AddinInfo info = ReadAddin(state, index);
    if (!info.Exe.empty()) {
        const std::string program = state.AppPath + "\\" + info.Exe;
        if (platform::FileExists(program)) {
            launch.Type = ToolLaunch::Kind::Call;
            launch.Call = ToolProgram(program, "");
        } else {
            launch.Type = ToolLaunch::Kind::Message;
            launch.Message = NotFound(program);
        }
        return launch;
    }
    if (!info.Mnu.empty()) {
        const std::string menu = state.AppPath + "\\" + info.Mnu;
        if (platform::FileExists(menu)) {
            launch.Type = ToolLaunch::Kind::Menu;
            launch.MenuPath = menu;
        } else {
            launch.Type = ToolLaunch::Kind::Message;
            launch.Message = NotFound(menu);
        }
    }
    return launch;
}

ToolCommand RunToolMenuCommand(ReaderState& state, const std::vector<std::string>& commands, int k)
{
    ToolCommand command;
    if (k < 0 || static_cast<std::size_t>(k) >= commands.size())
        return command;
    std::vector<std::string> fields = SplitString(commands[static_cast<std::size_t>(k)], ",");
    if (fields.empty())
        return command;
    const std::string target = state.AppPath + "\\" + fields[0];
    const bool isProgram = EndsWithNoCase(target, "EXE");
    const bool isLibrary = EndsWithNoCase(target, "DLL");

    if ((isProgram || isLibrary) && !platform::FileExists(target)) {
        command.Type = ToolCommand::Kind::Message;
        command.Message = NotFound(target);
        return command;
    }
    if (isProgram) {
        command.Type = ToolCommand::Kind::Call;
        command.Call
            = ToolProgram(target, fields.size() == 1 ? std::string() : ReplaceRoot(state, fields[1]));
        return command;
    }
    if (isLibrary) {
        if (fields.size() < 2 || fields.size() > 4)
            return command;
        AddOnCall& call = command.Call;
        call.Type = AddOnCall::Kind::CallLibrary;
        call.File = target;
        call.Function = fields[1];
        call.Arguments = static_cast<int>(fields.size()) - 2;
        if (fields.size() >= 3)
            call.IntArgument = AtoiClamped(fields[2]);
        if (fields.size() == 4)
            call.TextArgument = ReplaceRoot(state, fields[3]);
        call.MissingMessage = NotFound(target).Text;
        call.PublishToolsFolder = true;
        command.Type = ToolCommand::Kind::Call;
        return command;
    }
    if (EndsWithNoCase(target, "ARX")) {
        AddOnCall& call = command.Call;
        call.Type = AddOnCall::Kind::CadCommand;
        call.CadApplication = target.substr(0, target.size() - 4);
        call.Command = fields.size() > 1 ? fields[1] : std::string();
        call.PublishToolsFolder = true;
        command.Type = ToolCommand::Kind::Call;
        return command;
    }
    if (EndsWithNoCase(target, "OpenGallery") && fields.size() > 1) {
        // The running search reads the open gallery's tree and files.
        if (GuardedCommandBlocked(state, command.Message)) {
            command.Type = ToolCommand::Kind::Message;
            return command;
        }
        for (std::size_t i = 0; i < state.GalleryFiles.size(); ++i) {
            if (!platform::EqualsNoCase(GetBaseName(state.GalleryFiles[i]), fields[1]))
                continue;
            if (static_cast<int>(i) == state.CurrentGallery)
                return command;
            state.CurrentGallery = static_cast<int>(i);
            state.CurrentDirID = 0;
            state.CurrentPage = 0;
            command.Type = ToolCommand::Kind::OpenGallery;
            command.GalleryIndex = static_cast<int>(i);
            return command;
        }
    }
    return command;
}

CloseDecision QueryClose(const ReaderState& state, bool automationClientHolds)
{
    CloseDecision decision;
    if (GuardedCommandBlocked(state, decision.Refusal)) {
        decision.Refused = true;
        return decision;
    }
    decision.HideOnly = automationClientHolds;
    if (!automationClientHolds)
        decision.Question = { kQuitQuestion, state.AppTitle };
    return decision;
}

} // namespace orv

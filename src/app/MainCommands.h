#pragma once
// The main window's decisions, without a window: the add-in buttons of the toolbar, their
// tool menus and commands, the commands that wait for a running search, and whether the
// program may close. The window shows what these return and carries out AddOnCalls through
// ExecuteAddOnCall.

#include "app/AddOnCall.h"

#include <string>
#include <vector>

namespace orv {

struct ReaderState;

// The caption of tool and command messages.
inline constexpr const char* kCommandCaption = "执行";
inline constexpr const char* kStopSearchMessage = "请先停止搜索，再执行此功能。";
inline constexpr const char* kQuitQuestion = "是否退出？";
// The first add-in button's command id; add-in i is kAddinFirstCommand + i with image 16 + i.
inline constexpr int kAddinFirstCommand = 9000;

struct UserMessage {
    std::string Text, Caption;
};

// One add-in description file (section [Add] of AppPath\<file>).
struct AddinInfo {
    std::string File; // as listed, relative to AppPath
    std::string Cap, Tip, Icn, Exe, Mnu, Version, ProDate;
    std::string Caption; // the button's: Cap, or "工具%d" with the add-in's number (index + 1)
    std::string IconPath; // AppPath\ICN when given and the file exists, else "" (the stock icon)
};

AddinInfo ReadAddin(const ReaderState& state, int index);
std::vector<AddinInfo> ReadAddins(const ReaderState& state);

// The message a guarded command (page and history steps, split, zoom, whole page, add-in
// buttons) shows instead of running while a search runs; false when it may run.
bool GuardedCommandBlocked(const ReaderState& state, UserMessage& message);

// What an add-in button does.
struct ToolLaunch {
    enum class Kind {
        None, // nothing (no such add-in, neither EXE nor MNU given)
        Message, // show Message
        Call, // carry out Call
        Menu, // show the tool menu of MenuPath under the button (ReadToolMenu)
    };
    Kind Type = Kind::None;
    UserMessage Message;
    AddOnCall Call;
    std::string MenuPath;
};

// Add-in button i: its program (EXE) started in its own folder, else its menu (MNU); a
// missing file gives "未找到%s！" under "执行", as does a search that is running.
ToolLaunch LaunchTool(const ReaderState& state, int index);

// What tool-menu command k does.
struct ToolCommand {
    enum class Kind {
        None,
        Message, // show Message (a missing program or library)
        Call, // carry out Call (a program, a library export, a CAD command)
        OpenGallery, // CurrentGallery, CurrentDirID and CurrentPage are set: run the gallery switch
    };
    Kind Type = Kind::None;
    UserMessage Message;
    AddOnCall Call;
    int GalleryIndex = -1;
};

// Command k of the last tool menu, split at ",": the target AppPath\<field 1> decides by its
// upper-cased end: "EXE" starts it (field 2, "<root>" replaced, as parameters); "DLL" calls the
// export field 2 with no argument, atoi(field 3), or that and field 4 ("<root>" replaced);
// "ARX" is a CAD command loading the target without extension with field 2; "OPENGALLERY"
// makes the gallery whose file base name is field 2 (without regard to case) current, unless
// a search runs (kStopSearchMessage then).
ToolCommand RunToolMenuCommand(ReaderState& state, const std::vector<std::string>& commands, int k);

// Closing: while a search runs the window stays (Refusal says why: the search still reads
// the gallery); while an automation client holds the program the window only hides (and
// nothing is deleted: the page on show still needs its files); otherwise the user is asked
// kQuitQuestion under the application title, and on confirmation the window calls ShutDown
// (StartUp.h), which deletes the temporary folder, before it closes.
struct CloseDecision {
    bool Refused = false;
    UserMessage Refusal; // when Refused
    bool HideOnly = false;
    UserMessage Question; // when neither Refused nor HideOnly
};
CloseDecision QueryClose(const ReaderState& state, bool automationClientHolds);

} // namespace orv

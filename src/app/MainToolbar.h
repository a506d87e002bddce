#pragma once
// The main window's commands and the buttons of its toolbar, left to right, with their
// images, captions, tooltip texts (also shown in the status line) and initial visibility.

#include <string>
#include <vector>

namespace orv {

enum MainCommand : int {
    kCmdGalleryInformation = 32774,
    kCmdToggleNavigation = 32787,
    kCmdSearch = 32790,
    kCmdPreviousPage = 32783,
    kCmdNextPage = 32784,
    kCmdHistoryBack = 32785,
    kCmdHistoryForward = 32786,
    kCmdSplit = 32793,
    kCmdSplitVertical = 32794,
    kCmdZoom = 32795,
    kCmdWholePage = 32796,
    kCmdOptions = 32789,
    kCmdHome = 32791,
    kCmdMail = 32792,
    kCmdHelp = 57670,
    kCmdExit = 57665,
    kCmdInsertDrawing = 57671,
    kCmdAbout = 57664,
    // The gallery information entry of the window menu (the system menu on Windows).
    kCmdWindowMenuAbout = 16,
};

struct ToolbarButton {
    int Id = 0; // 0: a separator
    int Image = -1; // index into the image list: 0-15 the stock images, 16 + i add-in i
    std::string Caption;
    std::string Tip; // tooltip and status text; "" for none
    bool Visible = true;
    std::string IconFile; // add-in buttons: the icon file (program path), "" for the stock icon
};

// The caption of the split button while the view is whole, and while it is split.
inline constexpr const char* kSplitCaption = " 分割 ";
inline constexpr const char* kSingleCaption = " 单页 ";
// The images the split button shows in those two states.
constexpr int kSplitImage = 7;
constexpr int kSingleImage = 8;

// Whether a command waits for a running search to stop (its button then only tells so): the
// page and history steps, split, zoom and whole page. The function keys step pages unguarded.
bool IsGuardedCommand(int commandId);

// The tooltip and status text of a command; "" for a command without one (an add-in's is its
// Tip).
std::string CommandPrompt(int commandId);

// Shown (warning, under the application title) when the settings file could not be written:
// on closing, or when the gallery information dialog stores a work directory.
std::string SettingsNotWrittenMessage(const std::string& iniPath);

// One add-in's button: command 9000 + index, image 16 + index.
struct AddinButtonText {
    std::string Caption; // Cap, or "工具%d" with index + 1
    std::string Tip;
    std::string IconFile;
};

// The whole toolbar, the add-ins' buttons directly after "首页". The search, mail and help
// buttons are there but hidden for good; options, zoom and whole page start hidden.
std::vector<ToolbarButton> MainToolbarButtons(const std::vector<AddinButtonText>& addins);

} // namespace orv

#pragma once
// What a content view and the content panel know between navigations, kept in the core so the
// link router and the page assembly decide without a web view. The widgets hold one
// ContentViewState per view and one ContentPanelState per panel and carry out what the core
// returns.

#include <string>
#include <vector>

namespace orv {

struct ContentViewState {
    bool OwnContextMenu = false;
    bool CompanionExtracted = false; // the shown package page has its companion files extracted
    bool ShowingPackagePage = false; // the shown page is a copy extracted from a package
    bool MenuEnabled = true;
    bool HasTextContents = true; // gallery option as read at the last navigation
    bool NavCommandsEnabled = true;
    std::string PackagePath; // package of the shown page (".htz")
    std::string PageName; // its member
    std::string LastUrl; // address of the last navigation that completed
    std::string TempFolder; // GetTempFolder() upper-cased; set by the owner
    std::string CompanionFolder; // the shown page's companion folder in TempFolder
    std::string TargetUrl; // what is shown; for package pages the extracted copy
    int WheelCount = 0;
};

struct ContentPanelState {
    std::string ContentKey; // to show next
    std::string ShownKey; // shown last in the main view
    bool PicturePageShown = false;
    int PictureVersion = 0; // counts picture pages, so each names its picture afresh
    // While split: new content of the split goes to the second view (the one the user
    // turned to last).
    bool SecondActive = false;
    ContentViewState MainView;
    ContentViewState SecondView;
    // The companion folder of the package page that loaded last, program-wide: it is emptied
    // once a page with another companion folder has loaded.
    std::string PreviousCompanionFolder;
};

// One step the widgets carry out for the core, in order. File work (extraction, generated
// pages) is done by the core itself; these are what only a window can do.
struct ViewAction {
    enum class Kind {
        Navigate, // Text: the address to load in the view
        Message, // Text, Caption, Icon: the message dialog
        SelectDirectory, // DirId: make it current, add its history entry and load it
        OpenGallery, // Text: the gallery file (SelectGalleryByFile)
        Run, // Text: the RunFunctionSpec text
        Refused, // Text: why a program, library or file was not run
        InsertDrawing, // DirId: the DrawingID
        ShowPicture, // Text: the picture path, Caption: the text after it in the link, for the image viewer
        External, // Text: an address for the system's web browser
        History, // DirId and Text: a browse-history entry was added
    };
    Kind What = Kind::Navigate;
    std::string Text;
    std::string Caption;
    int Icon = 0;
    long long DirId = 0;
};

} // namespace orv

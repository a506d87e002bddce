#pragma once
// Which tabs the content tab panel holds after a directory's drawings were loaded, and which
// one is selected: "内容" always, "图集浏览" and "图集详细" only for a directory with drawings.

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;

enum ContentTab : int { kContentTab = 0, kGridTab = 1, kDetailTab = 2 };

struct ContentTabsInput {
    std::size_t DrawingCount = 0; // drawings of the list just loaded
    int TabCount = 1; // tabs the panel holds now (1 or 3)
    bool GridPageExists = false;
    int TabIndex = 0; // the selected content tab
    bool KeyIsAbout = false; // CurrentHistoryKey is the gallery's about page
    bool KeyIsHome = false; // CurrentHistoryKey is the application's home page
};

struct ContentTabsDecision {
    std::vector<std::string> Tabs; // the tab texts, in order
    bool RemoveDrawingTabs = false; // destroy the grid and detail pages
    bool AddDrawingTabs = false; // insert tabs 1 and 2, creating the pages that are missing
    bool ShowContent = false; // the content page shows CurrentHistoryKey afresh
    int TabIndex = 0; // selected at the end; its page is shown
};

ContentTabsDecision DecideContentTabs(const ContentTabsInput& input);

// The input for the state's drawing list and CurrentHistoryKey (about and home page compared
// without regard to case).
ContentTabsInput ContentTabsInputFor(const ReaderState& state, int tabCount, bool gridPageExists);

} // namespace orv

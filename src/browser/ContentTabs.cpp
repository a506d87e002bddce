#include "browser/ContentTabs.h"

#include "app/ReaderState.h"
#include "content/DirectoryContent.h"

namespace orv {

ContentTabsDecision DecideContentTabs(const ContentTabsInput& input)
{
    ContentTabsDecision d;
    int tabCount = input.TabCount;
    d.TabIndex = input.TabIndex;
    if (input.DrawingCount == 0) {
        d.RemoveDrawingTabs = tabCount > 1;
        tabCount = 1;
        d.TabIndex = kContentTab;
    } else if (tabCount <= 1) {
        d.AddDrawingTabs = true;
        tabCount = 3;
        // A grid page made just now opens on the drawings.
        if (!input.GridPageExists)
            d.TabIndex = kGridTab;
    }
    if (d.TabIndex < 0 || d.TabIndex >= tabCount)
        d.TabIndex = kContentTab;
    d.ShowContent = d.TabIndex == kContentTab;
    // The home page says nothing about a directory; its drawings say more.
    if (!input.KeyIsAbout && input.KeyIsHome && input.DrawingCount > 0)
        d.TabIndex = kGridTab;
    d.Tabs = { "内容" };
    if (tabCount > 1) {
        d.Tabs.push_back("图集浏览");
        d.Tabs.push_back("图集详细");
    }
    return d;
}

ContentTabsInput ContentTabsInputFor(const ReaderState& state, int tabCount, bool gridPageExists)
{
    ContentTabsInput input;
    input.DrawingCount = state.Drawings.Size();
    input.TabCount = tabCount;
    input.GridPageExists = gridPageExists;
    input.TabIndex = state.TabIndex;
    const ContentKeyKind kind = KindOfContentKey(state, state.CurrentHistoryKey);
    input.KeyIsAbout = kind == ContentKeyKind::About;
    input.KeyIsHome = kind == ContentKeyKind::Home;
    return input;
}

} // namespace orv

#include "content/ContentPanel.h"

#include "app/ReaderState.h"
#include "content/DirectoryContent.h"

namespace orv {

void TakeCurrentDirectory(ReaderState& state, bool recordVisit)
{
    std::string key;
    bool compressed = false;
    GetDirectoryContent(state, state.CurrentDirID, key, compressed);
    state.CurrentHistoryKey = key;
    if (recordVisit)
        state.History.Add(static_cast<std::uint32_t>(state.CurrentDirID), key);
}

ShowContentResult ShowCurrentKey(ReaderState& state, ContentPanelState& panel, ContentViewSlot slot)
{
    panel.ContentKey = state.CurrentHistoryKey;
    panel.ShownKey.clear();
    return ShowContent(state, panel, slot);
}

ShowContentResult ShowCurrentDirectory(ReaderState& state, ContentPanelState& panel, bool recordVisit)
{
    TakeCurrentDirectory(state, recordVisit);
    return ShowCurrentKey(state, panel, ContentViewSlot::Main);
}

ContentViewSlot ActiveSlot(const ReaderState& state, const ContentPanelState& panel)
{
    return state.SplitMode != kSplitNone && panel.SecondActive ? ContentViewSlot::Second
                                                                : ContentViewSlot::Main;
}

PanelShowResult SetSplitMode(ReaderState& state, ContentPanelState& panel, int mode)
{
    PanelShowResult result;
    if (mode != kSplitHorizontal && mode != kSplitVertical)
        mode = kSplitNone;
    if (panel.PicturePageShown)
        result.Shows.emplace_back(ContentViewSlot::Main, ShowCurrentKey(state, panel, ContentViewSlot::Main));
    if (mode == state.SplitMode)
        return result;
    const bool wasSplit = state.SplitMode != kSplitNone;
    state.SplitMode = mode;
    result.Changed = true;
    if (mode == kSplitNone) {
        panel.SecondActive = false;
        return result;
    }
    // Turning a split by the other way keeps what the views show.
    if (wasSplit)
        return result;
    panel.SecondActive = true;
    const ContentViewSlot slot = ActiveSlot(state, panel);
    result.Shows.emplace_back(slot, ShowCurrentKey(state, panel, slot));
    return result;
}

int ToggledSplitMode(int mode)
{
    return mode == kSplitNone ? kSplitHorizontal : kSplitNone;
}

PanelShowResult SetPictureSize(ReaderState& state, ContentPanelState& panel, bool wholePage)
{
    state.WholePage = wholePage;
    PanelShowResult result = SetSplitMode(state, panel, kSplitNone);
    // SetSplitMode has shown the picture page again already.
    if (result.Shows.empty() && panel.PicturePageShown)
        result.Shows.emplace_back(ContentViewSlot::Main, ShowCurrentKey(state, panel, ContentViewSlot::Main));
    return result;
}

} // namespace orv

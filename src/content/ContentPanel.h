#pragma once
// The content panel's own steps around ShowContent: a directory made the one on show, the
// split of the panel into its main and second view, and the picture page's two sizes. Each
// returns what the views are to carry out, in order, so the panel widget only forwards.

#include "content/ContentShow.h"

#include <utility>
#include <vector>

namespace orv {

struct ReaderState;

// Split modes of the content area (ReaderState::SplitMode).
enum SplitModeValue : int { kSplitNone = 0, kSplitHorizontal = 1, kSplitVertical = 2 };

// What one panel step shows, view by view, in order.
struct PanelShowResult {
    std::vector<std::pair<ContentViewSlot, ShowContentResult>> Shows;
    bool Changed = false; // the split mode changed (split steps)
};

// CurrentDirID's content key becomes CurrentHistoryKey; recordVisit adds the browse-history
// entry (CurrentDirID, key), as a directory chosen in the tree, by a link or by a page step
// does; the bookmark's plain "show" does not.
void TakeCurrentDirectory(ReaderState& state, bool recordVisit);
// Shows CurrentHistoryKey in a view afresh (ShownKey cleared).
ShowContentResult ShowCurrentKey(ReaderState& state, ContentPanelState& panel, ContentViewSlot slot);
// Both: CurrentDirID taken and shown in the main view.
ShowContentResult ShowCurrentDirectory(ReaderState& state, ContentPanelState& panel, bool recordVisit);

// The view new content of the split goes to: the second while the panel is split and the
// second is the active one.
ContentViewSlot ActiveSlot(const ReaderState& state, const ContentPanelState& panel);

// Splits the panel (kSplitHorizontal, kSplitVertical) or closes the split (kSplitNone). A
// picture page in the main view is shown again first (it is made for the view's size). A new
// split makes the second view the active one and shows CurrentHistoryKey there, so both views
// start on the page the user was reading; the mode already in force does nothing more.
PanelShowResult SetSplitMode(ReaderState& state, ContentPanelState& panel, int mode);

// The split button: splits horizontally when whole, else closes the split.
int ToggledSplitMode(int mode);

// Zoom (wholePage false: the picture at its own size) and whole page (true: as high as the
// view): the split is closed and the picture page shown again in the new size.
PanelShowResult SetPictureSize(ReaderState& state, ContentPanelState& panel, bool wholePage);

} // namespace orv

#pragma once
// Back and forward through the browse history: the entry's directory becomes current, its
// page is shown in the main view when it is not the one shown, and the caption is made anew
// with the page number the entry names.

#include "content/ContentShow.h"

#include <optional>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;

struct HistoryStepResult {
    bool Moved = false; // false: at the end of the history, or the view is still loading
    // SelectDirectory here only loads the directory's drawings (LoadDirectoryDrawings): the
    // history is not added to. Then the steps of showing the page, if it was shown.
    std::vector<ViewAction> Actions;
    std::optional<ShowContentResult> Shown;
    std::string Caption; // the main window's caption
};

HistoryStepResult GoBack(ReaderState& state, ContentPanelState& panel);
HistoryStepResult GoForward(ReaderState& state, ContentPanelState& panel);

// The caption of a directory: its title path, with " (第%d页/共%d页)" (page + 1 and the count)
// when it has more than one page file.
std::string DirectoryCaption(const ReaderState& state, std::int32_t dirId, std::int32_t page);

} // namespace orv

#pragma once
// What the content view does with the wheel and the right button, decided without a widget,
// and the desktop's web browser for addresses the view does not show itself.

#include "app/MainToolbar.h"
#include "content/ContentViewState.h"

#include <optional>
#include <string>
#include <vector>

namespace orv {

// Command ids of the view's context menu ("HTML" menu); previous and next topic, back and
// forward are the main window's own commands.
enum ViewCommand : int {
    kCmdCopy = 57634,
    kCmdFind = 57636,
    kCmdPrint = 57607,
    kCmdPrintPreview = 57609,
    kCmdViewSplitHorizontal = 57677,
    kCmdViewSplitVertical = 57678,
    kCmdViewSplitClose = 57679,
    kCmdProperties = 32791,
};

enum class WheelStep {
    Scroll, // the browser scrolls as usual
    PreviousTopic, // the main window's previous topic; the view is redrawn, the wheel consumed
    NextTopic, // the next topic, likewise
};

// One wheel message of delta (positive: away from the user), counted in view.WheelCount: six
// notches one way turn the topic, and the count starts again.
WheelStep OnWheel(ContentViewState& view, int delta);

struct ContextMenuItem {
    int Command = 0; // 0 for a separator
    std::string Text;
    int Bitmap = 0; // resource number of the item's picture, 0 for none
    bool Checked = false;
};

// The context menu as it is shown, items in order; nothing when the view's menu is off.
// splitMode is the content area's (0 none, 1 horizontal, 2 vertical).
std::optional<std::vector<ContextMenuItem>> PrepareContextMenu(const ContentViewState& view, int splitMode);

// Opens the address with the desktop's handler (xdg-open, then $BROWSER). 33 when a handler
// started (results above 32 mean success), 2 when none could, or the address is not one to
// hand over (empty, starting with "-", holding a control character).
int OpenExternalUrl(const std::string& address);

} // namespace orv

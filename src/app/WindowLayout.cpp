#include "app/WindowLayout.h"

#include <algorithm>

namespace orv {

MainWindowLayout LayOutMainWindow(int cx, int cy, int logoWidth, int statusHeight)
{
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    logoWidth = std::clamp(logoWidth, 0, cx);
    statusHeight = std::clamp(statusHeight, 0, cy);
    MainWindowLayout layout;
    const int logoLeft = cx - logoWidth;
    layout.Toolbar = { 1, 0, std::max(logoLeft - 1, 0), kToolbarHeight };
    layout.Logo = { logoLeft, 0, logoWidth, kToolbarHeight };
    layout.StatusLine = { 1, cy - statusHeight, std::max(cx - 2, 0), statusHeight };
    layout.Frame
        = { 1, kToolbarHeight + 1, std::max(cx - 2, 0), std::max(cy - kToolbarHeight - statusHeight - 2, 0) };
    return layout;
}

int ToggleNavigationWidth(int currentWidth, int& rememberedWidth)
{
    if (currentWidth >= 5) {
        rememberedWidth = currentWidth;
        return 0;
    }
    return rememberedWidth;
}

} // namespace orv

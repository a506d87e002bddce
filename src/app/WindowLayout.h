#pragma once
// The main window's geometry: where the toolbar, the logo, the status line and the split
// frame go for a client size, and the navigation panel's show/hide rule.

namespace orv {

struct LayoutRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool operator==(const LayoutRect& other) const
    {
        return X == other.X && Y == other.Y && Width == other.Width && Height == other.Height;
    }
};

struct MainWindowLayout {
    LayoutRect Toolbar, Logo, StatusLine, Frame;
};

constexpr int kToolbarHeight = 42;

// For a client area of cx x cy, a logo logoWidth wide and a status line statusHeight high
// (the system caption height): the toolbar from (1, 0) to the logo's left edge, 42 high; the
// logo at the right edge, 42 high; the status line at (1, cy - statusHeight), cx - 2 wide;
// the frame at (1, 43), cx - 2 wide, filling the height between. Sizes never go below 0.
MainWindowLayout LayOutMainWindow(int cx, int cy, int logoWidth, int statusHeight);

// The navigation panel's new width when it is toggled: a panel 5 pixels wide or more is
// closed (0) and its width remembered; a narrower one (closed, or dragged nearly shut) opens
// at the remembered width.
int ToggleNavigationWidth(int currentWidth, int& rememberedWidth);

} // namespace orv

#pragma once
// The image viewer's remembered window rectangle (section "VIEWIMAGE": "LEFT", "TOP",
// "WIDTH", "HEIGHT") brought back onto the screen, and the choice between its picture and
// web modes.

#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct ViewerRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const ViewerRect& o) const
    {
        return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height;
    }
};

// The keys as stored; a key that cannot be read is 0.
ViewerRect ReadViewerRect(const std::string& iniPath);
// All four keys in one replacement of the settings file; false when it could not be written.
bool WriteViewerRect(const std::string& iniPath, const ViewerRect& rect);

// Where the viewer opens for a stored rectangle on a screen of screenWidth x screenHeight with
// a caption bar captionHeight high; nothing (the window keeps its own size and place) when the
// width or height is not positive. Too wide or too high becomes half the screen; a window
// whose left is off the screen, or whose top is above the caption height or too low to reach,
// is moved back.
std::optional<ViewerRect> PlaceViewer(
    ViewerRect stored, int screenWidth, int screenHeight, int captionHeight);

enum class ViewerMode { Picture = 0, Web = 1 };

// Picture mode when the upper-cased path holds ".SLD", ".SLB", ".JPG", ".BMP", ".WMF" or
// ".GIF" anywhere (so "D:\a.jpg\b.txt" too); web mode otherwise.
ViewerMode ViewerModeForPath(std::string_view path);

} // namespace orv

#include "browser/ImageViewerPlacement.h"

#include "app/common/ProfileFile.h"

namespace orv {

ViewerRect ReadViewerRect(const std::string& iniPath)
{
    const CProfileFile ini(iniPath);
    ViewerRect rect;
    ini.ReadInt("VIEWIMAGE", "LEFT", rect.Left);
    ini.ReadInt("VIEWIMAGE", "TOP", rect.Top);
    ini.ReadInt("VIEWIMAGE", "WIDTH", rect.Width);
    ini.ReadInt("VIEWIMAGE", "HEIGHT", rect.Height);
    return rect;
}

bool WriteViewerRect(const std::string& iniPath, const ViewerRect& rect)
{
    return CProfileFile(iniPath).WriteStrings({
               { "VIEWIMAGE", "LEFT", std::to_string(rect.Left) },
               { "VIEWIMAGE", "TOP", std::to_string(rect.Top) },
               { "VIEWIMAGE", "WIDTH", std::to_string(rect.Width) },
               { "VIEWIMAGE", "HEIGHT", std::to_string(rect.Height) },
           })
        == 0;
}

std::optional<ViewerRect> PlaceViewer(ViewerRect r, int screenWidth, int screenHeight, int captionHeight)
{
    if (r.Width <= 0 || r.Height <= 0)
        return std::nullopt;
    if (r.Width > screenWidth)
        r.Width = screenWidth / 2;
    if (r.Height > screenHeight)
        r.Height = screenHeight / 2;
    // Sums in 64 bits: stored values come from a file and may be anything.
    const long long left = r.Left;
    if ((left < 0 && left + r.Width < captionHeight)
        || left > static_cast<long long>(screenWidth) - captionHeight)
        r.Left = 0;
    if (r.Top < captionHeight
        || static_cast<long long>(r.Top) > static_cast<long long>(screenHeight) - captionHeight)
        r.Top = captionHeight;
    return r;
}

ViewerMode ViewerModeForPath(std::string_view path)
{
    std::string upper(path);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const char* kind : { ".SLD", ".SLB", ".JPG", ".BMP", ".WMF", ".GIF" })
        if (upper.find(kind) != std::string::npos)
            return ViewerMode::Picture;
    return ViewerMode::Web;
}

} // namespace orv

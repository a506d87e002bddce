#pragma once
// An AutoCAD slide, read from a slide file (".sld") or as a named member of a slide library
// (".slb"), held as a display list of lines and filled polygons with colour indices, together
// with the settings and the arithmetic that fit it into a rectangle. The drawing itself is
// done on QPainter by browser/render/SlideRender.h; this class stays free of Qt.
//
// A slide starts with 17 bytes of identification ("AutoCAD Slide\r\n" 0x1A 0x00) and 14
// header bytes (type, level, screen size, aspect ratio, hardware fill, test number), kept as
// read but not used: the display list alone decides the drawing. The records that follow are
// described in SlideRecordDecoder.h, the library layout in SlideLibrary.h.

#include "browser/SlideDisplayList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orv {

class SlideByteReader;

// Colours are 0x00BBGGRR values.
constexpr std::uint32_t SlideRgb(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned SlideRed(std::uint32_t color)
{
    return color & 0xFFu;
}
constexpr unsigned SlideGreen(std::uint32_t color)
{
    return (color >> 8) & 0xFFu;
}
constexpr unsigned SlideBlue(std::uint32_t color)
{
    return (color >> 16) & 0xFFu;
}

struct SlideRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Where the display list lands in a target rectangle: device point (X, Y) of slide point
// (x, y) is area.left + trunc((x - minX) * scale), area.top + trunc(area height - (y - minY) * scale).
struct SlideLayout {
    bool drawable = false; // false: nothing to draw (empty list, or no room inside the margin)
    SlideRect area; // the target shrunk by the margin and the aspect fit
    double scale = 0.0; // device pixels per slide unit; 0 when every point is the same
    std::int32_t minX = 0, minY = 0;

    int MapX(std::int32_t x) const { return static_cast<int>((x - static_cast<double>(minX)) * scale); }
    int MapY(std::int32_t y) const
    {
        return static_cast<int>(area.Height() - (y - static_cast<double>(minY)) * scale);
    }
    double MapXF(std::int32_t x) const { return (x - static_cast<double>(minX)) * scale; }
    double MapYF(std::int32_t y) const { return area.Height() - (y - static_cast<double>(minY)) * scale; }
};

// The colour (0x00BBGGRR) a primitive of a colour index is drawn in; picture writers take one so
// the caller decides, for example, how colour 7 shows on a light background.
using SlideColorFunction = std::function<std::uint32_t(int index)>;

// The fit arithmetic of the slide drawing for any display list: the rectangle shrunk by the
// margin on each side, the scale that fits the list's box with its aspect ratio kept, and the
// free band split on both sides. Not drawable for a list without primitives or without room.
SlideLayout FitDisplayList(const SlideDisplayList& list, const SlideRect& rect, int margin);

class CAcadSlideBitmap {
public:
    static constexpr std::size_t kHeaderSize = 14;
    static constexpr std::size_t kMaxMemberNameBytes = 500;

    // 1 loaded; 0 the path is empty or the file cannot be opened; -1 the file is too short or
    // not a slide. A load that fails before decoding keeps the previous display list.
    int LoadSlide(std::string_view path);
    // 1 loaded; 0 a missing argument, a member name over 500 bytes (GB18030) or a file that
    // cannot be opened; -1 not a slide library, no such member, or the member is not a slide.
    // Member names compare without regard to ASCII case.
    int LoadLibrarySlide(std::string_view libraryPath, std::string_view memberName);

    // The same from bytes in memory (slides kept inside packages, fuzzing). Results as above;
    // empty data gives -1. The source path is left as it was.
    int LoadSlideData(std::string_view bytes);
    int LoadLibrarySlideData(std::string_view bytes, std::string_view memberName);

    // The colour of an AutoCAD colour index; black outside 0-255.
    static std::uint32_t ColorFromIndex(int index);
    // The colour a primitive of this index is drawn in under the current settings: its own
    // colour (or black/white where it would vanish into the background), or the monochrome
    // colour, then inverted when asked.
    std::uint32_t SelectColor(int index) const;

    // Fits the display list into the rectangle (margin, aspect ratio, centring) and keeps the
    // result as the target rectangle and scale of this drawing.
    SlideLayout FitToRectangle(const SlideRect& rect);

    const SlideDisplayList& DisplayList() const { return m_list; }
    bool IsEmpty() const { return m_list.Empty() || m_list.PrimitiveSizes().empty(); }
    const std::array<std::uint8_t, kHeaderSize>& Header() const { return m_header; }
    const std::string& SourcePath() const { return m_sourcePath; }
    std::uint32_t SlideOffset() const { return m_slideOffset; }
    const SlideRect& TargetRect() const { return m_target; }
    double Scale() const { return m_scale; }

    int Margin() const { return m_margin; }
    void SetMargin(int margin) { m_margin = margin; }
    int ColorMode() const { return m_colorMode; } // 1 colours; anything else monochrome
    void SetColorMode(int mode) { m_colorMode = mode; }
    std::uint32_t BackgroundColor() const { return m_background; }
    void SetBackgroundColor(std::uint32_t color) { m_background = color & 0xFFFFFFu; }
    bool FillBackground() const { return m_fillBackground; }
    void SetFillBackground(bool fill) { m_fillBackground = fill; }
    bool Invert() const { return m_invert; }
    void SetInvert(bool invert) { m_invert = invert; }

private:
    int LoadFrom(SlideByteReader& reader, std::uint64_t slideOffset);
    int LoadMember(SlideByteReader& reader, std::string_view memberName);

    int m_margin = 4;
    int m_colorMode = 1;
    std::uint32_t m_background = 0;
    bool m_fillBackground = true;
    bool m_invert = false;
    SlideRect m_target;
    double m_scale = 0.0;
    std::array<std::uint8_t, kHeaderSize> m_header {};
    std::string m_sourcePath;
    std::uint32_t m_slideOffset = 0;
    SlideDisplayList m_list;
};

} // namespace orv

// The AutoCAD colour table and the rules that pick a primitive's drawing colour.

#include "browser/AcadSlideBitmap.h"

#include <algorithm>

namespace orv {
namespace {

// Indices 10-249: 24 hues (index / 10) of 10 shades (index % 10). Each shade has a full and a
// least component value, the step between neighbouring hues, and the bases of the rising and
// falling component.
struct Shade {
    int full, least, step, rise, fall;
};

constexpr Shade kShades[10] = {
    { 255, 0, 64, 63, 191 },
    { 255, 127, 32, 159, 223 },
    { 204, 0, 51, 51, 153 },
    { 204, 102, 25, 127, 178 },
    { 153, 0, 38, 38, 114 },
    { 153, 76, 19, 95, 133 },
    { 127, 0, 32, 31, 95 },
    { 127, 63, 16, 79, 111 },
    { 76, 0, 19, 19, 57 },
    { 76, 38, 9, 47, 66 },
};

int Up(int value)
{
    return std::min(value, 255);
}

int Down(int value)
{
    return std::max(value, 0);
}

} // namespace

std::uint32_t CAcadSlideBitmap::ColorFromIndex(int index)
{
    switch (index) {
    case 0:
        return SlideRgb(0, 0, 0);
    case 1:
        return SlideRgb(255, 0, 0);
    case 2:
        return SlideRgb(255, 255, 0);
    case 3:
        return SlideRgb(0, 255, 0);
    case 4:
        return SlideRgb(0, 255, 255);
    case 5:
        return SlideRgb(0, 0, 255);
    case 6:
        return SlideRgb(255, 0, 255);
    default:
        break;
    }
    if (index < 0 || index > 255)
        return SlideRgb(0, 0, 0);
    if (index < 10 || index >= 250)
        return SlideRgb(255, 255, 255);
    const int h = index / 10;
    const Shade& s = kShades[index % 10];
    if (h <= 5)
        return SlideRgb(s.full, Up(s.least + s.step * (h - 1)), s.least);
    if (h <= 9)
        return SlideRgb(Down(s.fall - s.step * (h - 6)), s.full, s.least);
    if (h <= 13)
        return SlideRgb(s.least, s.full, Up(s.rise + s.step * (h - 10)));
    if (h <= 17)
        return SlideRgb(s.least, Down(s.fall - s.step * (h - 14)), s.full);
    if (h <= 21)
        return SlideRgb(Up(s.rise + s.step * (h - 18)), s.least, s.full);
    return SlideRgb(s.full, s.least, Down(s.fall - s.step * (h - 22)));
}

std::uint32_t CAcadSlideBitmap::SelectColor(int index) const
{
    const std::uint32_t black = SlideRgb(0, 0, 0), white = SlideRgb(255, 255, 255);
    std::uint32_t color;
    if (m_colorMode == 1) {
        color = ColorFromIndex(index);
        // A primitive in the background's own colour would vanish.
        if (color == m_background)
            color = m_background != black ? black : white;
    } else {
        color = m_background == black ? white : black;
    }
    if (m_invert)
        color ^= 0xFFFFFFu;
    return color;
}

} // namespace orv

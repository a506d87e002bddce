#include "browser/RasterImage.h"

#include <algorithm>

namespace orv {

RasterImage::RasterImage(int width, int height, std::uint32_t background)
{
    if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxPixels)
        return;
    m_width = width;
    m_height = height;
    m_rgb.resize(static_cast<std::size_t>(width) * height * 3);
    Fill(background);
}

std::uint32_t RasterImage::Pixel(int x, int y) const
{
    if (!Contains(x, y))
        return 0;
    const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

void RasterImage::SetPixel(int x, int y, std::uint32_t color)
{
    if (!Contains(x, y))
        return;
    std::uint8_t* p = m_rgb.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
    p[0] = static_cast<std::uint8_t>(color);
    p[1] = static_cast<std::uint8_t>(color >> 8);
    p[2] = static_cast<std::uint8_t>(color >> 16);
}

void RasterImage::FillSpan(int y, int x0, int x1, std::uint32_t color)
{
    if (y < 0 || y >= m_height)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_width);
    std::uint8_t* p = m_rgb.data() + (static_cast<std::size_t>(y) * m_width + x0) * 3;
    for (int x = x0; x < x1; ++x, p += 3) {
        p[0] = static_cast<std::uint8_t>(color);
        p[1] = static_cast<std::uint8_t>(color >> 8);
        p[2] = static_cast<std::uint8_t>(color >> 16);
    }
}

void RasterImage::Fill(std::uint32_t color)
{
    for (int y = 0; y < m_height; ++y)
        FillSpan(y, 0, m_width, color);
}

} // namespace orv

#pragma once
// A picture in memory for the picture writers: width x height pixels of 8-bit red, green and
// blue, rows top to bottom, each row width * 3 bytes (R, G, B) with nothing between rows.
// Colours in and out are 0x00BBGGRR values, as the slide code uses them (SlideRgb).

#include <cstdint>
#include <vector>

namespace orv {

class RasterImage {
public:
    // Larger pictures are refused: previews are small, and a size from the command line must
    // not make the tool take gigabytes.
    static constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

    RasterImage() = default;
    // Every pixel the background colour; a null image when a side is not positive or the
    // picture has more than kMaxPixels pixels.
    RasterImage(int width, int height, std::uint32_t background);

    bool IsNull() const { return m_width == 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // Black outside the picture.
    std::uint32_t Pixel(int x, int y) const;
    // Pixels outside the picture are left alone, so drawing code may run off its edges.
    void SetPixel(int x, int y, std::uint32_t color);
    // Pixels x0 <= x < x1 of row y, cut to the picture.
    void FillSpan(int y, int x0, int x1, std::uint32_t color);
    void Fill(std::uint32_t color);

    // The width * 3 bytes of row y (0 <= y < Height()).
    const std::uint8_t* Row(int y) const { return m_rgb.data() + static_cast<std::size_t>(y) * m_width * 3; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_rgb;
};

} // namespace orv

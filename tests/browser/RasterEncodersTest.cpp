// What the encoders decide beyond the pixels, which tests/render reads back with Qt.

#include "browser/AcadSlideBitmap.h"
#include "browser/GifWriter.h"
#include "browser/JpegWriter.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

TEST(GifPalette, MoreThan256ColoursAreGroupedByTheirLeadingBits)
{
    // 1024 colours: 4 bits of red and green leave 16 x 16 groups, each drawn in its mean.
    RasterImage image(32, 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.SetPixel(x, y, SlideRgb(x * 8, y * 8, 128));
    const PaletteImage reduced = ReduceToPalette(image);
    EXPECT_EQ(reduced.palette.size(), 256u);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(reduced.palette[reduced.indices[y * 32 + x]],
                SlideRgb((x / 2) * 16 + 4, (y / 2) * 16 + 4, 128))
                << x << "," << y;
}

// The marker segments of a JPEG file up to its scan.
std::map<int, std::string> JpegSegments(const std::string& jpeg)
{
    std::map<int, std::string> segments;
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == '\xFF';) {
        const int marker = static_cast<unsigned char>(jpeg[at + 1]);
        const std::size_t length
            = (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
        segments[marker] = jpeg.substr(at + 4, length - 2);
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return segments;
}

TEST(JpegWriting, BaselineJfifWithFullResolutionChroma)
{
    RasterImage image(40, 30, SlideRgb(255, 255, 255));
    image.FillSpan(10, 0, 40, SlideRgb(255, 0, 0));
    auto segments = JpegSegments(EncodeJpeg(image));
    EXPECT_EQ(segments[0xE0].substr(0, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(segments[0xE0].substr(7, 5), std::string("\x01\0\x60\0\x60", 5)) << "96 dots an inch";
    ASSERT_TRUE(segments.count(0xC0)) << "SOF0: baseline";
    const std::string& frame = segments[0xC0];
    EXPECT_EQ(frame.substr(0, 6), std::string("\x08\0\x1E\0\x28\x03", 6))
        << "8 bits, 30 x 40, three components";
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(frame[6 + 3 * c + 1], '\x11') << "component " << c << " is not subsampled";
    EXPECT_TRUE(segments.count(0xDA));
}

TEST(JpegWriting, QualityIsKeptWithinOneToHundred)
{
    RasterImage image(64, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.SetPixel(x, y, SlideRgb(x * 4, y * 4, (x * y) & 0xFF));
    EXPECT_LT(EncodeJpeg(image, 20).size(), EncodeJpeg(image, 95).size());
    EXPECT_EQ(EncodeJpeg(image, -5), EncodeJpeg(image, 1));
    EXPECT_EQ(EncodeJpeg(image, 1000), EncodeJpeg(image, 100));
    EXPECT_EQ(EncodeJpeg(image), EncodeJpeg(image, 90));
}

} // namespace
} // namespace orv

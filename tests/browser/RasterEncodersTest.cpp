#include "browser/AcadSlideBitmap.h"
#include "browser/BmpWriter.h"
#include "browser/GifWriter.h"
#include "browser/JpegWriter.h"
#include "browser/PngWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <random>
#include <set>

namespace orv {
namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

std::uint32_t Be32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// A picture whose every pixel differs from its neighbours, so a misplaced byte shows.
RasterImage Gradient(int width, int height)
{
    RasterImage image(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(x, y, SlideRgb(x * 40 + 3, y * 50 + 7, (x + y) * 17));
    return image;
}

TEST(BmpWriting, HeadersRowsBottomUpAndPadding)
{
    const RasterImage image = Gradient(5, 3); // a row is 15 bytes, padded to 16
    const std::string bmp = EncodeBmp(image);
    ASSERT_EQ(bmp.size(), 54u + 16 * 3);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
    EXPECT_EQ(Le(bmp, 10, 4), 54u);
    EXPECT_EQ(Le(bmp, 14, 4), 40u);
    EXPECT_EQ(Le(bmp, 18, 4), 5u);
    EXPECT_EQ(Le(bmp, 22, 4), 3u) << "positive height: bottom-up";
    EXPECT_EQ(Le(bmp, 26, 2), 1u);
    EXPECT_EQ(Le(bmp, 28, 2), 24u);
    EXPECT_EQ(Le(bmp, 30, 4), 0u);
    EXPECT_EQ(Le(bmp, 34, 4), 48u);
    for (int y = 0; y < 3; ++y) {
        const std::size_t row = 54 + static_cast<std::size_t>(2 - y) * 16;
        for (int x = 0; x < 5; ++x) {
            const std::uint32_t c = image.Pixel(x, y);
            EXPECT_EQ(Le(bmp, row + 3 * x, 3), SlideBlue(c) | (SlideGreen(c) << 8) | (SlideRed(c) << 16))
                << x << "," << y;
        }
        EXPECT_EQ(bmp[row + 15], '\0');
    }
}

// The chunks of a PNG file, checked for their CRC.
std::vector<std::pair<std::string, std::string>> PngChunks(const std::string& png)
{
    std::vector<std::pair<std::string, std::string>> chunks;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    for (std::size_t at = 8; at < png.size();) {
        const std::uint32_t length = Be32(png, at);
        const std::string type = png.substr(at + 4, 4), data = png.substr(at + 8, length);
        const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
        EXPECT_EQ(Be32(png, at + 8 + length), crc) << type;
        chunks.emplace_back(type, data);
        at += 12 + length;
    }
    return chunks;
}

TEST(PngWriting, ChunksHeaderAndFilteredRowsGiveThePixelsBack)
{
    const RasterImage image = Gradient(6, 4);
    const auto chunks = PngChunks(EncodePng(image));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].first, "IHDR");
    EXPECT_EQ(chunks[0].second, std::string("\0\0\0\x06\0\0\0\x04\x08\x02\0\0\0", 13));
    EXPECT_EQ(chunks[1].first, "IDAT");
    EXPECT_EQ(chunks[2].first, "IEND");
    EXPECT_TRUE(chunks[2].second.empty());

    std::string raw(4 * (1 + 6 * 3), '\0');
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                  reinterpret_cast<const Bytef*>(chunks[1].second.data()), chunks[1].second.size()),
        Z_OK);
    ASSERT_EQ(rawSize, raw.size());
    // Undo each row's filter and compare.
    std::vector<int> previous(18, 0), current(18);
    for (int y = 0; y < 4; ++y) {
        const int filter = static_cast<unsigned char>(raw[y * 19]);
        ASSERT_LE(filter, 4);
        for (int i = 0; i < 18; ++i) {
            const int a = i >= 3 ? current[i - 3] : 0, b = previous[i], c = i >= 3 ? previous[i - 3] : 0;
            const int p = a + b - c;
            const int paeth = (std::abs(p - a) <= std::abs(p - b) && std::abs(p - a) <= std::abs(p - c)) ? a
                : std::abs(p - b) <= std::abs(p - c)                                                     ? b
                                                                                                         : c;
            const int predicted[] = { 0, a, b, (a + b) / 2, paeth };
            current[i] = (static_cast<unsigned char>(raw[y * 19 + 1 + i]) + predicted[filter]) & 0xFF;
        }
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(SlideRgb(current[3 * x], current[3 * x + 1], current[3 * x + 2]), image.Pixel(x, y))
                << x << "," << y;
        previous = current;
    }
}

// A GIF reader for the tests: the colour table and the LZW-decoded indices.
struct GifContents {
    std::vector<std::uint32_t> table;
    std::vector<int> indices;
    int minCodeSize = 0;
    int clears = 0;
    int widestCode = 0;
};

GifContents ReadGif(const std::string& gif)
{
    GifContents out;
    EXPECT_EQ(gif.substr(0, 6), "GIF89a");
    const unsigned flags = static_cast<unsigned char>(gif.at(10));
    EXPECT_TRUE(flags & 0x80);
    const std::size_t entries = std::size_t { 2 } << (flags & 7);
    for (std::size_t i = 0; i < entries; ++i)
        out.table.push_back(Le(gif, 13 + 3 * i, 3));
    std::size_t at = 13 + 3 * entries;
    EXPECT_EQ(gif.at(at), '\x2C');
    at += 10;
    out.minCodeSize = gif.at(at++);
    std::string data;
    for (std::size_t n; (n = static_cast<unsigned char>(gif.at(at))) != 0; at += 1 + n)
        data += gif.substr(at + 1, n);
    EXPECT_EQ(gif.substr(at + 1), "\x3B") << "an empty sub-block, then the trailer, then nothing";

    const int clear = 1 << out.minCodeSize, end = clear + 1;
    std::vector<std::vector<int>> dictionary;
    int bits = out.minCodeSize + 1, previous = -1;
    std::size_t bit = 0;
    for (;;) {
        int code = 0;
        for (int i = 0; i < bits; ++i, ++bit)
            code |= ((static_cast<unsigned char>(data.at(bit / 8)) >> (bit % 8)) & 1) << i;
        out.widestCode = std::max(out.widestCode, bits);
        if (code == end)
            break;
        if (code == clear) {
            ++out.clears;
            dictionary.assign(static_cast<std::size_t>(end + 1), {});
            for (int i = 0; i < clear; ++i)
                dictionary[static_cast<std::size_t>(i)] = { i };
            bits = out.minCodeSize + 1;
            previous = -1;
            continue;
        }
        EXPECT_LE(code, static_cast<int>(dictionary.size())) << "a code the reader has not made yet";
        std::vector<int> entry;
        if (code < static_cast<int>(dictionary.size())) {
            entry = dictionary[static_cast<std::size_t>(code)];
        } else {
            entry = dictionary.at(static_cast<std::size_t>(previous));
            entry.push_back(entry.front());
        }
        if (previous >= 0 && dictionary.size() < 4096) {
            std::vector<int> made = dictionary[static_cast<std::size_t>(previous)];
            made.push_back(entry.front());
            dictionary.push_back(made);
            if (dictionary.size() == (std::size_t { 1 } << bits) && bits < 12)
                ++bits;
        }
        out.indices.insert(out.indices.end(), entry.begin(), entry.end());
        previous = code;
    }
    return out;
}

TEST(GifWriting, FewColoursKeepTheirValuesInOrderOfFirstUse)
{
    RasterImage image(7, 3, SlideRgb(1, 2, 3));
    image.SetPixel(4, 0, SlideRgb(200, 0, 0));
    image.SetPixel(0, 2, SlideRgb(0, 0, 200));
    const GifContents gif = ReadGif(EncodeGif(image));
    EXPECT_EQ(gif.table,
        (std::vector<std::uint32_t> { SlideRgb(1, 2, 3), SlideRgb(200, 0, 0), SlideRgb(0, 0, 200), 0 }))
        << "three colours take a table of four";
    EXPECT_EQ(gif.minCodeSize, 2);
    std::vector<int> expected(21, 0);
    expected[4] = 1;
    expected[14] = 2;
    EXPECT_EQ(gif.indices, expected);
}

RasterImage Noise(int width, int height, unsigned colors)
{
    std::mt19937 random(12345);
    RasterImage image(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned v = random() % colors;
            image.SetPixel(x, y, SlideRgb(v, 255 - v, (v * 7) & 0xFF));
        }
    return image;
}

struct LzwCase {
    const char* name;
    RasterImage image;
    int clearsAtLeast;
    int widestCode;
};

class GifLzw : public ::testing::TestWithParam<LzwCase> { };

TEST_P(GifLzw, DecodesToThePixels)
{
    const RasterImage& image = GetParam().image;
    const GifContents gif = ReadGif(EncodeGif(image));
    ASSERT_EQ(gif.indices.size(), static_cast<std::size_t>(image.Width()) * image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            ASSERT_EQ(
                gif.table.at(static_cast<std::size_t>(gif.indices[y * image.Width() + x])), image.Pixel(x, y))
                << x << "," << y;
    EXPECT_GE(gif.clears, GetParam().clearsAtLeast);
    EXPECT_EQ(gif.widestCode, GetParam().widestCode);
}

INSTANTIATE_TEST_SUITE_P(Cases, GifLzw,
    ::testing::Values(
        // 20000 pixels of 256 colours make codes of about one pixel: the table fills again and again.
        LzwCase { "NoiseFillsTheDictionaryAgainAndAgain", Noise(200, 100, 256), 4, 12 },
        LzwCase { "TwoColourNoise", Noise(400, 400, 2), 2, 12 },
        // Runs one pixel longer with each code: about 1400 codes for a million pixels.
        LzwCase { "OneColourMakesLongRuns", RasterImage(1000, 1000, SlideRgb(9, 9, 9)), 1, 11 }),
    [](const ::testing::TestParamInfo<LzwCase>& info) { return std::string(info.param.name); });

TEST(GifPalette, MoreThan256ColoursAreGroupedByTheirLeadingBits)
{
    // 1024 colours: 4 bits of red and green leave 16 x 16 groups.
    RasterImage image(32, 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.SetPixel(x, y, SlideRgb(x * 8, y * 8, 128));
    const PaletteImage reduced = ReduceToPalette(image);
    EXPECT_EQ(reduced.palette.size(), 256u);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t got = reduced.palette[reduced.indices[y * 32 + x]], want = image.Pixel(x, y);
            EXPECT_EQ(SlideRed(got), (x / 2) * 16 + 4) << "the mean of the group's reds";
            EXPECT_EQ(SlideGreen(got), (y / 2) * 16 + 4);
            EXPECT_EQ(SlideBlue(got), SlideBlue(want));
        }
}

TEST(GifPalette, FullColourFallsBackToThreeThreeTwoBits)
{
    RasterImage image(64, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.SetPixel(x, y, SlideRgb(x * 4, y * 4, ((x * 7) ^ (y * 13)) & 0xFF));
    const PaletteImage reduced = ReduceToPalette(image);
    EXPECT_LE(reduced.palette.size(), 256u);
    EXPECT_GT(reduced.palette.size(), 128u);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t got = reduced.palette[reduced.indices[y * 64 + x]], want = image.Pixel(x, y);
            EXPECT_LT(std::abs(static_cast<int>(SlideRed(got)) - static_cast<int>(SlideRed(want))), 32);
            EXPECT_LT(std::abs(static_cast<int>(SlideGreen(got)) - static_cast<int>(SlideGreen(want))), 32);
            EXPECT_LT(std::abs(static_cast<int>(SlideBlue(got)) - static_cast<int>(SlideBlue(want))), 64);
        }
}

TEST(GifWriting, RefusesSidesOver65535)
{
    EXPECT_TRUE(EncodeGif(RasterImage(65536, 1, 0)).empty());
    EXPECT_FALSE(EncodeGif(RasterImage(65535, 1, 0)).empty());
}

// The markers of a JPEG file up to the scan, with their segments.
std::map<int, std::string> JpegSegments(const std::string& jpeg)
{
    std::map<int, std::string> segments;
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
    for (std::size_t at = 2; at + 4 <= jpeg.size();) {
        EXPECT_EQ(jpeg[at], '\xFF');
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
    auto segments = JpegSegments(EncodeJpeg(Gradient(40, 30)));
    ASSERT_TRUE(segments.count(0xE0));
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
    const RasterImage image = Gradient(64, 64);
    EXPECT_LT(EncodeJpeg(image, 20).size(), EncodeJpeg(image, 95).size());
    EXPECT_EQ(EncodeJpeg(image, -5), EncodeJpeg(image, 1));
    EXPECT_EQ(EncodeJpeg(image, 1000), EncodeJpeg(image, 100));
    EXPECT_EQ(EncodeJpeg(image), EncodeJpeg(image, 90));
}

} // namespace
} // namespace orv

// The picture writers' files read back by Qt's image readers (the readers the reader itself
// uses), and the core rasterizer set against the QPainter slide drawing.

#include "browser/DisplayListRaster.h"
#include "browser/GifWriter.h"
#include "browser/PictureWriter.h"
#include "browser/SlideWriter.h"
#include "browser/render/SlideRender.h"

#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace orv {
namespace {

QImage Read(const std::string& bytes)
{
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())))
        .convertToFormat(QImage::Format_RGB32);
}

std::uint32_t ToSlide(QRgb rgb)
{
    return SlideRgb(static_cast<unsigned>(qRed(rgb)), static_cast<unsigned>(qGreen(rgb)),
        static_cast<unsigned>(qBlue(rgb)));
}

// Lines and a filled polygon in several colours, drawn by the core rasterizer.
RasterImage Drawing()
{
    SlideDisplayList list;
    list.AddLine(0, 0, 1000, 0, 7);
    list.AddLine(1000, 0, 1000, 600, 7);
    list.AddLine(0, 0, 1000, 600, 1);
    list.AddLine(0, 600, 1000, 0, 3);
    const SlidePoint star[] = { { 400, 400 }, { 500, 580 }, { 600, 400 }, { 420, 500 }, { 580, 500 } };
    list.AddPolygon(star, 5, 30);
    const SlidePoint square[] = { { 100, 100 }, { 300, 100 }, { 300, 300 }, { 100, 300 } };
    list.AddPolygon(square, 4, 5);
    RasterImage image(161, 97, SlideRgb(255, 255, 255));
    RasterDrawOptions options;
    options.color = [](int index) { return index == 7 ? 0u : CAcadSlideBitmap::ColorFromIndex(index); };
    DrawDisplayList(image, list, options);
    return image;
}

class PictureReadback : public ::testing::TestWithParam<PictureFormat> { };

TEST_P(PictureReadback, QtReadsEveryPixelBack)
{
    const RasterImage image = Drawing();
    const QImage read = Read(EncodeRaster(image, GetParam()));
    ASSERT_FALSE(read.isNull());
    ASSERT_EQ(read.width(), image.Width());
    ASSERT_EQ(read.height(), image.Height());
    int wrong = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (ToSlide(read.pixel(x, y)) != image.Pixel(x, y) && ++wrong < 10)
                ADD_FAILURE() << x << "," << y << ": " << std::hex << ToSlide(read.pixel(x, y)) << " for "
                              << image.Pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lossless, PictureReadback, ::testing::Values(PictureFormat::Bmp, PictureFormat::Gif, PictureFormat::Png));

TEST(JpegReadback, QtReadsThePictureWithinTheLossOfQuality90)
{
    const RasterImage image = Drawing();
    const QImage read = Read(EncodeRaster(image, PictureFormat::Jpeg));
    ASSERT_EQ(read.size(), QSize(image.Width(), image.Height()));
    long long total = 0;
    int worst = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t want = image.Pixel(x, y), got = ToSlide(read.pixel(x, y));
            for (int shift : { 0, 8, 16 }) {
                const int d = std::abs(
                    static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF));
                total += d;
                worst = std::max(worst, d);
            }
        }
    const double mean = static_cast<double>(total) / (3.0 * image.Width() * image.Height());
    EXPECT_LT(mean, 3.0);
    EXPECT_LT(worst, 128) << "no colour turned into another";
}

TEST(GifReadback, QtReadsTheReducedPaletteOfAManyColouredPicture)
{
    RasterImage image(64, 48, 0);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            image.SetPixel(x, y, SlideRgb(x * 4, y * 5, (x * y) & 0xFF));
    const PaletteImage reduced = ReduceToPalette(image);
    const QImage read = Read(EncodeGif(image));
    ASSERT_EQ(read.size(), QSize(64, 48));
    std::set<QRgb> colours;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            colours.insert(read.pixel(x, y));
            ASSERT_EQ(ToSlide(read.pixel(x, y)), reduced.palette[reduced.indices[y * 64 + x]])
                << x << "," << y;
        }
    EXPECT_GT(colours.size(), 128u);
    EXPECT_LE(colours.size(), 256u);
}

TEST(GifReadback, QtFollowsCodeGrowthAndClearsInNoise)
{
    std::mt19937 random(99);
    RasterImage image(300, 200, 0);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const unsigned v = random() % 256;
            image.SetPixel(x, y, SlideRgb(v, v ^ 0x55, 255 - v));
        }
    const QImage read = Read(EncodeGif(image));
    ASSERT_EQ(read.size(), QSize(300, 200));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(ToSlide(read.pixel(x, y)), image.Pixel(x, y)) << x << "," << y;
}

// The same slide drawn by the renderer (QPainter) and by the core rasterizer.
class RasterAgainstRenderer : public ::testing::Test {
protected:
    void Compare(
        const CSlideWriter& writer, int width, int height, std::set<std::pair<int, int>> allowed = {})
    {
        CAcadSlideBitmap slide;
        ASSERT_EQ(slide.LoadSlideData(writer.Finish()), 1);
        slide.SetBackgroundColor(SlideRgb(255, 255, 255));
        const QImage drawn = RenderToBitmap(slide, width, height);
        RasterImage image(width, height, slide.BackgroundColor());
        RasterDrawOptions options;
        options.margin = slide.Margin();
        options.color = [&slide](int index) { return slide.SelectColor(index); };
        DrawDisplayList(image, slide.DisplayList(), options);
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (ToSlide(drawn.pixel(x, y)) != image.Pixel(x, y) && !allowed.count({ x, y })
                    && ++wrong < 10)
                    ADD_FAILURE() << x << "," << y << ": " << std::hex << image.Pixel(x, y)
                                  << " where the renderer has " << ToSlide(drawn.pixel(x, y));
        EXPECT_EQ(wrong, 0);
    }
};

TEST_F(RasterAgainstRenderer, LinesArePixelForPixelTheSame)
{
    std::mt19937 random(2024);
    CSlideWriter writer;
    for (int i = 0; i < 400; ++i) {
        const int x1 = static_cast<int>(random() % 1200), y1 = static_cast<int>(random() % 900);
        const int x2 = i % 7 == 0 ? x1 : static_cast<int>(random() % 1200);
        const int y2 = i % 5 == 0 ? y1 : static_cast<int>(random() % 900);
        ASSERT_TRUE(writer.AddLine(1 + i % 6, x1, y1, x2, y2));
    }
    for (const auto& [w, h] : std::vector<std::pair<int, int>> { { 400, 300 }, { 173, 211 }, { 40, 30 } })
        Compare(writer, w, h);
}

// Each outline edge leaves out its far end; where edges meet, the renderer puts back a pixel
// at or beside the vertex by rules of its own, the rasterizer the vertex itself.
TEST_F(RasterAgainstRenderer, PolygonsDifferAtMostAroundTheirVertices)
{
    std::mt19937 random(7);
    std::vector<std::vector<SlidePoint>> polygons;
    CSlideWriter writer;
    for (int i = 0; i < 30; ++i) {
        std::vector<SlidePoint> vertices;
        const int n = 3 + static_cast<int>(random() % 5);
        for (int k = 0; k < n; ++k)
            vertices.push_back(
                { static_cast<std::int32_t>(random() % 1000), static_cast<std::int32_t>(random() % 800), 0 });
        ASSERT_TRUE(writer.AddPolygon(1 + i % 6, vertices));
        polygons.push_back(vertices);
    }
    for (const auto& [w, h] : std::vector<std::pair<int, int>> { { 300, 240 }, { 97, 61 } }) {
        CAcadSlideBitmap slide;
        ASSERT_EQ(slide.LoadSlideData(writer.Finish()), 1);
        const SlideLayout layout = FitDisplayList(slide.DisplayList(), { 0, 0, w, h }, slide.Margin());
        std::set<std::pair<int, int>> nearVertices;
        for (const auto& polygon : polygons)
            for (const SlidePoint& p : polygon)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        nearVertices.insert({ layout.area.left + layout.MapX(p.x) + dx,
                            layout.area.top + layout.MapY(p.y) + dy });
        Compare(writer, w, h, nearVertices);
    }
}

} // namespace
} // namespace orv

#include "browser/render/SlideRender.h"

#include "browser/AcadSlideBitmap.h"
#include "browser/SlideWriter.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

constexpr QRgb kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u,
               kBlue = 0xFF0000FFu;

class SlideRendering : public ::testing::Test {
protected:
    void Load(const CSlideWriter& writer) { ASSERT_EQ(m_slide.LoadSlideData(writer.Finish()), 1); }

    // The pixels of a row or column that are not the background.
    static std::vector<int> Marked(const QImage& image, int row, QRgb background)
    {
        std::vector<int> xs;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, row) != background)
                xs.push_back(x);
        return xs;
    }
    static int CountNot(const QImage& image, QRgb background)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) != background;
        return n;
    }

    CAcadSlideBitmap m_slide;
};

TEST_F(SlideRendering, MapsWithMarginScaleAndFlippedY)
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 100, 0); // bottom edge, red
    writer.AddLine(3, 0, 100, 50, 100); // top edge, left half, green
    Load(writer);
    m_slide.SetMargin(10);
    QImage image = RenderToBitmap(m_slide, 120, 120);
    ASSERT_EQ(image.size(), QSize(120, 120));
    // Scale 1; slide y 0 is device row 10 + 100, slide y 100 is row 10.
    EXPECT_EQ(image.pixel(10, 110), kRed);
    EXPECT_EQ(image.pixel(109, 110), kRed);
    EXPECT_EQ(image.pixel(110, 110), kBlack) << "a line leaves out its end pixel";
    EXPECT_EQ(image.pixel(10, 10), kGreen);
    EXPECT_EQ(image.pixel(59, 10), kGreen);
    EXPECT_EQ(image.pixel(60, 10), kBlack);
    EXPECT_EQ(CountNot(image, kBlack), 150);
}

TEST_F(SlideRendering, WideDrawingIsCentredVertically)
{
    CSlideWriter writer;
    writer.AddLine(7, 0, 0, 200, 0);
    writer.AddLine(7, 0, 100, 200, 100);
    Load(writer);
    m_slide.SetMargin(0);
    QImage image = RenderToBitmap(m_slide, 100, 100);
    // Scale 0.5: the drawing is 50 high in 100, with 25 free above and below.
    std::vector<int> rows;
    for (int y = 0; y < 100; ++y)
        if (image.pixel(10, y) != kBlack)
            rows.push_back(y);
    EXPECT_EQ(rows, (std::vector<int> { 25, 75 }));
}

TEST_F(SlideRendering, LineWithinOnePixelStillShows)
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 1000, 0);
    writer.AddLine(5, 500, 500, 501, 500); // far below one pixel at this scale
    writer.AddLine(1, 0, 1000, 0, 1000);
    Load(writer);
    m_slide.SetMargin(0);
    QImage image = RenderToBitmap(m_slide, 100, 100);
    EXPECT_EQ(image.pixel(50, 50), kBlue);
    EXPECT_EQ(Marked(image, 50, kBlack), std::vector<int> { 50 });
}

TEST_F(SlideRendering, FillsPolygonsAndTheBackground)
{
    CSlideWriter writer;
    writer.AddPolygon(1, { { 0, 0 }, { 100, 0 }, { 100, 100 }, { 0, 100 } });
    writer.AddPolygon(7, { { 40, 40 }, { 60, 40 }, { 60, 60 }, { 40, 60 } });
    Load(writer);
    m_slide.SetBackgroundColor(SlideRgb(255, 255, 255));
    QImage image = RenderToBitmap(m_slide, 108, 108);
    EXPECT_EQ(image.pixel(0, 0), kWhite) << "the margin shows the background";
    EXPECT_EQ(image.pixel(20, 20), kRed);
    EXPECT_EQ(image.pixel(54, 54), kBlack) << "colour 7 on white draws black";
}

TEST_F(SlideRendering, WithoutBackgroundFillTheImageStaysAsCreated)
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 10, 10);
    Load(writer);
    m_slide.SetBackgroundColor(SlideRgb(0, 0, 255));
    m_slide.SetFillBackground(false);
    QImage image = RenderToBitmap(m_slide, 50, 50);
    EXPECT_EQ(image.pixel(0, 0), kBlack);
}

TEST_F(SlideRendering, MonochromeAndInvert)
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 100, 0);
    writer.AddLine(3, 0, 100, 100, 100);
    Load(writer);
    m_slide.SetColorMode(0);
    QImage image = RenderToBitmap(m_slide, 108, 108);
    EXPECT_EQ(image.pixel(50, 104), kWhite);
    EXPECT_EQ(image.pixel(50, 4), kWhite);
    m_slide.SetInvert(true);
    m_slide.SetBackgroundColor(SlideRgb(255, 255, 255));
    image = RenderToBitmap(m_slide, 108, 108);
    EXPECT_EQ(image.pixel(50, 104), kWhite) << "black on white, inverted";
    EXPECT_EQ(CountNot(image, kWhite), 0);
}

TEST_F(SlideRendering, AliasedByDefault)
{
    CSlideWriter writer;
    for (int i = 0; i < 20; ++i)
        writer.AddLine(i % 2 ? 1 : 5, i * 7, 0, 100 - i * 3, 100);
    Load(writer);
    QImage image = RenderToBitmap(m_slide, 90, 70);
    std::set<QRgb> colors;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colors.insert(image.pixel(x, y));
    EXPECT_EQ(colors, (std::set<QRgb> { kBlack, kRed, kBlue }));

    SlideDrawOptions smooth;
    smooth.antialias = true;
    image = RenderToBitmap(m_slide, 90, 70, smooth);
    colors.clear();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colors.insert(image.pixel(x, y));
    EXPECT_GT(colors.size(), 3u) << "antialiased edges blend";
}

TEST_F(SlideRendering, DevicePixelRatioScalesTheImage)
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 100, 100);
    Load(writer);
    SlideDrawOptions options;
    options.antialias = true;
    options.devicePixelRatio = 2.0;
    QImage image = RenderToBitmap(m_slide, 60, 40, options);
    EXPECT_EQ(image.size(), QSize(120, 80));
    EXPECT_DOUBLE_EQ(image.devicePixelRatio(), 2.0);
    EXPECT_GT(CountNot(image, kBlack), 0);
}

TEST_F(SlideRendering, AllPointsEqualDrawOnePixelAtTheCentre)
{
    CSlideWriter writer;
    writer.AddLine(1, 70, 70, 70, 70);
    writer.AddLine(1, 70, 70, 70, 70);
    Load(writer);
    QImage image = RenderToBitmap(m_slide, 100, 80);
    EXPECT_EQ(image.pixel(50, 40), kRed);
    EXPECT_EQ(CountNot(image, kBlack), 1);
}

TEST_F(SlideRendering, EmptySlideOrNoSizeGivesNoImage)
{
    EXPECT_TRUE(RenderToBitmap(m_slide, 100, 100).isNull());
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 10, 10);
    Load(writer);
    EXPECT_TRUE(RenderToBitmap(m_slide, 0, 100).isNull());
    EXPECT_TRUE(RenderToBitmap(m_slide, 100000, 100000).isNull());
    // Too small for the margin: the background alone.
    QImage tiny = RenderToBitmap(m_slide, 6, 6);
    ASSERT_FALSE(tiny.isNull());
    EXPECT_EQ(CountNot(tiny, kBlack), 0);
}

TEST_F(SlideRendering, DrawsIntoPartOfAPainterDevice)
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 100, 0);
    Load(writer);
    m_slide.SetBackgroundColor(SlideRgb(0, 0, 255));
    m_slide.SetMargin(0);
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Draw(m_slide, painter, QRect(100, 100, 50, 50));
    painter.end();
    EXPECT_EQ(image.pixel(99, 99), kWhite);
    EXPECT_EQ(image.pixel(149, 149), kBlue);
    EXPECT_EQ(image.pixel(150, 150), kWhite);
    EXPECT_EQ(image.pixel(100, 125), kRed) << "a horizontal drawing is centred vertically";
    EXPECT_EQ(m_slide.TargetRect().left, 100);
}

} // namespace
} // namespace orv

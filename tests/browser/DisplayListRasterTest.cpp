#include "browser/DisplayListRaster.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

namespace orv {
namespace {

using Pixels = std::vector<std::pair<int, int>>; // (x, y), row by row

constexpr std::uint32_t kWhite = SlideRgb(255, 255, 255), kBlack = SlideRgb(0, 0, 0),
                        kRed = SlideRgb(255, 0, 0);

Pixels Marked(const RasterImage& image, std::uint32_t background = kWhite)
{
    Pixels out;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.Pixel(x, y) != background)
                out.emplace_back(x, y);
    return out;
}

Pixels Block(int left, int top, int right, int bottom) // right and bottom included
{
    Pixels out;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            out.emplace_back(x, y);
    return out;
}

struct LineCase {
    const char* name;
    RasterPoint from, to;
    Pixels expected;
};

class RasterLines : public ::testing::TestWithParam<LineCase> { };

TEST_P(RasterLines, CoverTheExpectedPixels)
{
    const LineCase& c = GetParam();
    RasterImage image(8, 6, kWhite);
    DrawRasterLine(image, c.from, c.to, kBlack);
    EXPECT_EQ(Marked(image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RasterLines,
    ::testing::Values(LineCase { "HorizontalLeavesOutItsRightEnd", { 1, 1 }, { 5, 1 },
                          { { 1, 1 }, { 2, 1 }, { 3, 1 }, { 4, 1 } } },
        LineCase { "ReversedLineCoversTheSamePixels", { 5, 1 }, { 1, 1 },
            { { 1, 1 }, { 2, 1 }, { 3, 1 }, { 4, 1 } } },
        LineCase { "VerticalLeavesOutItsLowerEnd", { 2, 0 }, { 2, 3 }, { { 2, 0 }, { 2, 1 }, { 2, 2 } } },
        // Rising by half a pixel a column: sampled at column centres 0.25, 0.75, 1.25, 1.75.
        LineCase {
            "GentleSlopeDownTheImage", { 0, 0 }, { 4, 2 }, { { 0, 0 }, { 1, 0 }, { 2, 1 }, { 3, 1 } } },
        // Falling: sampled at the column starts 2, 1.5, 1, 0.5.
        LineCase { "GentleSlopeUpTheImage", { 0, 2 }, { 4, 0 }, { { 3, 0 }, { 1, 1 }, { 2, 1 }, { 0, 2 } } },
        LineCase {
            "SteepLineStepsAlongRows", { 0, 0 }, { 2, 4 }, { { 0, 0 }, { 0, 1 }, { 1, 2 }, { 1, 3 } } },
        LineCase { "DiagonalIsOnePixelAColumn", { 0, 0 }, { 3, 3 }, { { 0, 0 }, { 1, 1 }, { 2, 2 } } },
        LineCase { "EndsOnOnePixelDrawThatPixel", { 3, 3 }, { 3, 3 }, { { 3, 3 } } },
        LineCase { "CutAtTheImageEdges", { -20, 4 }, { 30, 4 }, Block(0, 4, 7, 4) },
        LineCase { "WhollyOutsideDrawsNothing", { -5, -1 }, { 20, -1 }, {} }),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(RasterLineWidth, PutsASquareOnEachPixel)
{
    RasterImage image(8, 6, kWhite);
    DrawRasterLine(image, { 2, 3 }, { 5, 3 }, kBlack, 3);
    EXPECT_EQ(Marked(image), Block(1, 2, 5, 4));
}

TEST(RasterPolygons, FillCoversPixelsWhoseCentreIsInside)
{
    RasterImage image(8, 8, kWhite);
    const RasterPoint square[] = { { 1, 1 }, { 4, 1 }, { 4, 4 }, { 1, 4 } };
    FillRasterPolygon(image, square, 4, kBlack);
    EXPECT_EQ(Marked(image), Block(1, 1, 3, 3));
}

TEST(RasterPolygons, OutlineAddsTheRightAndBottomEdges)
{
    RasterImage image(8, 8, kWhite);
    const RasterPoint square[] = { { 1, 1 }, { 4, 1 }, { 4, 4 }, { 1, 4 } };
    DrawRasterPolygon(image, square, 4, kBlack);
    EXPECT_EQ(Marked(image), Block(1, 1, 4, 4));
}

TEST(RasterPolygons, TriangleRowsEndWhereTheSlantedEdgeCrossesTheirCentre)
{
    RasterImage image(8, 8, kWhite);
    const RasterPoint triangle[] = { { 0, 0 }, { 6, 0 }, { 0, 6 } };
    FillRasterPolygon(image, triangle, 3, kBlack);
    // Row y's centre line meets the slanted edge at x = 5.5 - y: pixel centres left of it.
    Pixels expected;
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x <= 4 - y; ++x)
            expected.emplace_back(x, y);
    EXPECT_EQ(Marked(image), expected);
}

TEST(RasterPolygons, OddEvenRuleLeavesTheInnerRingEmpty)
{
    // One outline around a square and, back the other way, a smaller square inside it.
    RasterImage image(10, 10, kWhite);
    const RasterPoint ring[] = { { 0, 0 }, { 9, 0 }, { 9, 9 }, { 0, 9 }, { 0, 0 }, { 3, 3 }, { 3, 6 },
        { 6, 6 }, { 6, 3 }, { 3, 3 } };
    FillRasterPolygon(image, ring, std::size(ring), kBlack);
    EXPECT_EQ(image.Pixel(1, 1), kBlack);
    EXPECT_EQ(image.Pixel(4, 4), kWhite);
    EXPECT_EQ(image.Pixel(5, 5), kWhite);
    EXPECT_EQ(image.Pixel(7, 7), kBlack);
}

class RasterDrawing : public ::testing::Test {
protected:
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, int color)
    {
        ASSERT_TRUE(m_list.AddLine(x1, y1, x2, y2, color));
    }
    SlideDisplayList m_list;
};

TEST_F(RasterDrawing, SlideYGrowsUpAndTheMarginStaysFree)
{
    Line(0, 0, 100, 0, 1);
    Line(0, 100, 100, 100, 3);
    RasterImage image(110, 110, kBlack);
    RasterDrawOptions options;
    options.margin = 5;
    SlideLayout layout = DrawDisplayList(image, m_list, options);
    ASSERT_TRUE(layout.drawable);
    EXPECT_DOUBLE_EQ(layout.scale, 1.0);
    EXPECT_EQ(Marked(image, kBlack), [] {
        Pixels p = Block(5, 5, 104, 5);
        Pixels bottom = Block(5, 105, 104, 105);
        p.insert(p.end(), bottom.begin(), bottom.end());
        return p;
    }());
    EXPECT_EQ(image.Pixel(5, 105), kRed) << "slide y 0 is the bottom row inside the margin";
    EXPECT_EQ(image.Pixel(5, 5), SlideRgb(0, 255, 0));
}

TEST_F(RasterDrawing, WideDrawingIsCentredVertically)
{
    Line(0, 0, 200, 0, 7);
    Line(0, 100, 200, 100, 7);
    RasterImage image(100, 100, kBlack);
    RasterDrawOptions options;
    options.margin = 0;
    DrawDisplayList(image, m_list, options);
    Pixels column;
    for (const auto& p : Marked(image, kBlack))
        if (p.first == 10)
            column.push_back(p);
    EXPECT_EQ(column, (Pixels { { 10, 25 }, { 10, 75 } })) << "50 high in 100, 25 free above and below";
}

TEST_F(RasterDrawing, TallDrawingIsCentredHorizontally)
{
    Line(0, 0, 0, 300, 7);
    Line(100, 0, 100, 300, 7);
    RasterImage image(100, 100, kBlack);
    RasterDrawOptions options;
    options.margin = 0;
    DrawDisplayList(image, m_list, options);
    Pixels row;
    for (const auto& p : Marked(image, kBlack))
        if (p.second == 50)
            row.push_back(p);
    EXPECT_EQ(row, (Pixels { { 33, 50 }, { 66, 50 } })) << "33.3 wide in 100, the band split";
}

TEST_F(RasterDrawing, ColourFunctionDecidesEachPrimitivesColour)
{
    Line(0, 0, 10, 0, 7);
    const SlidePoint square[] = { { 0, 5 }, { 10, 5 }, { 10, 10 }, { 0, 10 } };
    ASSERT_TRUE(m_list.AddPolygon(square, 4, 1));
    RasterDrawOptions options;
    options.margin = 1;
    std::vector<int> asked;
    options.color = [&asked](int index) {
        asked.push_back(index);
        return index == 7 ? kBlack : SlideRgb(0, 0, 255);
    };
    RasterImage image(12, 12, kWhite);
    DrawDisplayList(image, m_list, options);
    EXPECT_EQ(asked, (std::vector<int> { 7, 1 }));
    EXPECT_EQ(image.Pixel(3, 11), kBlack) << "colour 7 drawn dark on white, as the function says";
    EXPECT_EQ(image.Pixel(3, 2), SlideRgb(0, 0, 255));
}

TEST_F(RasterDrawing, DefaultColoursAreTheAutoCadPalette)
{
    Line(0, 0, 10, 0, 30);
    RasterImage image(11, 11, kBlack);
    DrawDisplayList(image, m_list);
    const Pixels marked = Marked(image, kBlack);
    ASSERT_FALSE(marked.empty());
    for (const auto& [x, y] : marked)
        EXPECT_EQ(image.Pixel(x, y), CAcadSlideBitmap::ColorFromIndex(30));
}

TEST_F(RasterDrawing, NothingDrawnWithoutRoomOrPrimitives)
{
    RasterImage image(20, 20, kWhite);
    EXPECT_FALSE(DrawDisplayList(image, m_list).drawable);
    Line(0, 0, 10, 10, 1);
    RasterDrawOptions options;
    options.margin = 10;
    EXPECT_FALSE(DrawDisplayList(image, m_list, options).drawable);
    EXPECT_TRUE(Marked(image).empty());
}

TEST_F(RasterDrawing, HugeNegativeMarginDrawsOnlyWhatFallsInside)
{
    // The layout spans two billion pixels around the picture; drawing must cut, not walk them.
    const SlidePoint square[] = { { 0, 0 }, { 1000, 0 }, { 1000, 1000 }, { 0, 1000 } };
    ASSERT_TRUE(m_list.AddPolygon(square, 4, 2));
    Line(0, 0, 1000, 1000, 1);
    RasterImage image(20, 20, kWhite);
    RasterDrawOptions options;
    options.margin = -1000000000;
    options.lineWidth = 5;
    ASSERT_TRUE(DrawDisplayList(image, m_list, options).drawable);
    int red = 0, yellow = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            red += image.Pixel(x, y) == kRed;
            yellow += image.Pixel(x, y) == SlideRgb(255, 255, 0);
        }
    EXPECT_EQ(red + yellow, 400) << "the square covers the picture";
    EXPECT_GT(red, 0) << "the diagonal passes through the middle";
}

struct SizeCase {
    int width, height;
    bool null;
};

class RasterImageSizes : public ::testing::TestWithParam<SizeCase> { };

TEST_P(RasterImageSizes, RefusesEmptyAndOversizedPictures)
{
    RasterImage image(GetParam().width, GetParam().height, kRed);
    EXPECT_EQ(image.IsNull(), GetParam().null);
    if (!image.IsNull()) {
        EXPECT_EQ(image.Pixel(image.Width() - 1, image.Height() - 1), kRed);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RasterImageSizes,
    ::testing::Values(SizeCase { 1, 1, false }, SizeCase { 0, 5, true }, SizeCase { 5, -1, true },
        SizeCase { 300, 200, false }, SizeCase { 8192, 8193, true }));

} // namespace
} // namespace orv

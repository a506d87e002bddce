#include "browser/DisplayListRaster.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace orv {
namespace {

using Pixels = std::vector<std::pair<int, int>>; // (x, y), row by row

constexpr std::uint32_t kWhite = SlideRgb(255, 255, 255), kBlack = 0, kRed = SlideRgb(255, 0, 0);

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
    int width;
    Pixels expected;
};

class RasterLines : public ::testing::TestWithParam<LineCase> { };

TEST_P(RasterLines, CoverTheExpectedPixels)
{
    const LineCase& c = GetParam();
    RasterImage image(8, 6, kWhite);
    DrawRasterLine(image, c.from, c.to, kBlack, c.width);
    EXPECT_EQ(Marked(image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RasterLines,
    ::testing::Values(LineCase { "HorizontalLeavesOutItsRightEnd", { 1, 1 }, { 5, 1 }, 1, Block(1, 1, 4, 1) },
        LineCase { "ReversedLineCoversTheSamePixels", { 5, 1 }, { 1, 1 }, 1, Block(1, 1, 4, 1) },
        LineCase { "VerticalLeavesOutItsLowerEnd", { 2, 0 }, { 2, 3 }, 1, Block(2, 0, 2, 2) },
        // Half a pixel a column: taken at the column centres 0.25, 0.75, 1.25, 1.75 going down...
        LineCase { "GentleSlopeDown", { 0, 0 }, { 4, 2 }, 1, { { 0, 0 }, { 1, 0 }, { 2, 1 }, { 3, 1 } } },
        // ... and at the column starts 2, 1.5, 1, 0.5 going up.
        LineCase { "GentleSlopeUp", { 0, 2 }, { 4, 0 }, 1, { { 3, 0 }, { 1, 1 }, { 2, 1 }, { 0, 2 } } },
        LineCase {
            "SteepLineStepsAlongRows", { 0, 0 }, { 2, 4 }, 1, { { 0, 0 }, { 0, 1 }, { 1, 2 }, { 1, 3 } } },
        LineCase { "EndsOnOnePixelDrawThatPixel", { 3, 3 }, { 3, 3 }, 1, { { 3, 3 } } },
        LineCase { "CutAtTheImageEdges", { -20, 4 }, { 30, 4 }, 1, Block(0, 4, 7, 4) },
        LineCase { "WideLinePutsASquareOnEachPixel", { 2, 3 }, { 5, 3 }, 3, Block(1, 2, 5, 4) }),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

struct PolygonCase {
    const char* name;
    std::vector<RasterPoint> points;
    bool outline;
    Pixels expected;
};

class RasterPolygons : public ::testing::TestWithParam<PolygonCase> { };

TEST_P(RasterPolygons, CoverTheExpectedPixels)
{
    const PolygonCase& c = GetParam();
    RasterImage image(10, 10, kWhite);
    if (c.outline)
        DrawRasterPolygon(image, c.points.data(), c.points.size(), kBlack);
    else
        FillRasterPolygon(image, c.points.data(), c.points.size(), kBlack);
    EXPECT_EQ(Marked(image), c.expected);
}

Pixels Triangle()
{
    Pixels out; // row y's centre line meets the slanted edge at x = 5.5 - y
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x <= 4 - y; ++x)
            out.emplace_back(x, y);
    return out;
}

Pixels Ring()
{
    Pixels out;
    for (const auto& p : Block(0, 0, 8, 8))
        if (p.first < 3 || p.first > 5 || p.second < 3 || p.second > 5)
            out.push_back(p);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Cases, RasterPolygons,
    ::testing::Values(PolygonCase { "FillTakesPixelsWhoseCentreIsInside",
                          { { 1, 1 }, { 4, 1 }, { 4, 4 }, { 1, 4 } }, false, Block(1, 1, 3, 3) },
        PolygonCase { "OutlineAddsTheRightAndBottomEdges", { { 1, 1 }, { 4, 1 }, { 4, 4 }, { 1, 4 } }, true,
            Block(1, 1, 4, 4) },
        PolygonCase {
            "SlantedEdgeCutsRowsAtTheirCentre", { { 0, 0 }, { 6, 0 }, { 0, 6 } }, false, Triangle() },
        // One outline around a square and, back the other way, a smaller one inside it.
        PolygonCase { "OddEvenRuleLeavesTheInnerSquareOut",
            { { 0, 0 }, { 9, 0 }, { 9, 9 }, { 0, 9 }, { 0, 0 }, { 3, 3 }, { 3, 6 }, { 6, 6 }, { 6, 3 },
                { 3, 3 } },
            false, Ring() }),
    [](const ::testing::TestParamInfo<PolygonCase>& info) { return std::string(info.param.name); });

struct FitCase {
    const char* name;
    std::vector<std::array<int, 4>> lines;
    int size, margin;
    Pixels expected; // where column or row 10 is crossed
    bool column;
};

class RasterFit : public ::testing::TestWithParam<FitCase> { };

TEST_P(RasterFit, PlacesTheDrawingAsTheSlideDrawingDoes)
{
    const FitCase& c = GetParam();
    SlideDisplayList list;
    for (const auto& l : c.lines)
        list.AddLine(l[0], l[1], l[2], l[3], 7);
    RasterImage image(c.size, c.size, kBlack);
    RasterDrawOptions options;
    options.margin = c.margin;
    ASSERT_TRUE(DrawDisplayList(image, list, options).drawable);
    Pixels crossed;
    for (const auto& p : Marked(image, kBlack))
        if ((c.column ? p.first : p.second) == 10)
            crossed.push_back(p);
    EXPECT_EQ(crossed, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RasterFit,
    ::testing::Values(
        // Scale 1; slide y 0 is the lowest row inside the margin.
        FitCase { "YGrowsUpInsideTheMargin", { { 0, 0, 100, 0 }, { 0, 100, 100, 100 } }, 110, 5,
            { { 10, 5 }, { 10, 105 } }, true },
        FitCase { "WideDrawingIsCentredVertically", { { 0, 0, 200, 0 }, { 0, 100, 200, 100 } }, 100, 0,
            { { 10, 25 }, { 10, 75 } }, true },
        FitCase { "TallDrawingIsCentredHorizontally", { { 0, 0, 0, 300 }, { 100, 0, 100, 300 } }, 100, 0,
            { { 33, 10 }, { 66, 10 } }, false }),
    [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

TEST(RasterDrawing, ColoursComeFromTheCallersFunctionOrThePalette)
{
    SlideDisplayList list;
    list.AddLine(0, 0, 10, 0, 7);
    const SlidePoint square[] = { { 0, 5 }, { 10, 5 }, { 10, 10 }, { 0, 10 } };
    list.AddPolygon(square, 4, 30);
    RasterDrawOptions options;
    options.margin = 1; // 12 pixels: scale 1, slide y 0 on row 11
    RasterImage palette(12, 12, kWhite);
    DrawDisplayList(palette, list, options);
    EXPECT_EQ(palette.Pixel(3, 11), kWhite) << "colour 7 is white";
    EXPECT_EQ(palette.Pixel(3, 3), CAcadSlideBitmap::ColorFromIndex(30));

    options.color = [](int index) { return index == 7 ? kBlack : kRed; };
    RasterImage chosen(12, 12, kWhite);
    DrawDisplayList(chosen, list, options);
    EXPECT_EQ(chosen.Pixel(3, 11), kBlack) << "drawn dark on white, as the function says";
    EXPECT_EQ(chosen.Pixel(3, 3), kRed);
}

TEST(RasterDrawing, NothingDrawnWithoutPrimitivesOrRoom)
{
    SlideDisplayList list;
    RasterImage image(20, 20, kWhite);
    EXPECT_FALSE(DrawDisplayList(image, list).drawable);
    list.AddLine(0, 0, 10, 10, 1);
    RasterDrawOptions options;
    options.margin = 10;
    EXPECT_FALSE(DrawDisplayList(image, list, options).drawable);
    EXPECT_TRUE(Marked(image).empty());
}

TEST(RasterDrawing, HugeNegativeMarginDrawsOnlyWhatFallsInside)
{
    // The layout spans two billion pixels around the picture; drawing must cut, not walk them.
    SlideDisplayList list;
    const SlidePoint square[] = { { 0, 0 }, { 1000, 0 }, { 1000, 1000 }, { 0, 1000 } };
    list.AddPolygon(square, 4, 2);
    list.AddLine(0, 0, 1000, 1000, 1);
    RasterImage image(20, 20, kWhite);
    RasterDrawOptions options;
    options.margin = -1000000000;
    options.lineWidth = 5;
    ASSERT_TRUE(DrawDisplayList(image, list, options).drawable);
    const Pixels red = Marked(image, SlideRgb(255, 255, 0));
    EXPECT_EQ(Marked(image).size(), 400u) << "the yellow square covers the picture";
    EXPECT_FALSE(red.empty()) << "the red diagonal passes through the middle";
}

TEST(RasterImages, RefuseEmptyAndOversizedPictures)
{
    EXPECT_FALSE(RasterImage(1, 1, kRed).IsNull());
    EXPECT_EQ(RasterImage(3, 2, kRed).Pixel(2, 1), kRed);
    EXPECT_TRUE(RasterImage(0, 5, kRed).IsNull());
    EXPECT_TRUE(RasterImage(5, -1, kRed).IsNull());
    EXPECT_TRUE(RasterImage(8192, 8193, kRed).IsNull()) << "over 64 million pixels";
}

} // namespace
} // namespace orv

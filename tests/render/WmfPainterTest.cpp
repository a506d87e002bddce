#include "browser/render/WmfPainter.h"

#include "browser/WmfBytes.h"
#include "browser/WmfReader.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using test::WmfBuilder;

constexpr QRgb kWhite = 0xFFFFFFFFu, kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;
constexpr std::uint32_t kRedRef = 0x0000FF, kGreenRef = 0x00FF00, kBlueRef = 0xFF0000; // COLORREF

QImage Render(const WmfBuilder& builder, QSize size = QSize(100, 100))
{
    std::string error;
    auto picture = ReadWmf(builder.Bytes(), error);
    EXPECT_TRUE(picture) << error;
    return picture ? RenderWmf(*picture, size, Qt::white) : QImage();
}

int Count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixel(x, y));
    return n;
}

// A 100 x 100 frame, null pen, and a solid brush of the colour.
WmfBuilder Filled(std::uint32_t color)
{
    WmfBuilder b;
    b.WindowExt(100, 100).Pen(5, 0, 0).Brush(0, color).Select(0).Select(1);
    return b;
}

TEST(WmfPainter, FilledRectangleLandsWhereTheFrameMapsIt)
{
    struct Case {
        const char* name;
        QSize size;
        int extY;
        QPoint inside, outside;
    };
    const std::vector<Case> cases = {
        { "same size", QSize(100, 100), 100, QPoint(30, 30), QPoint(70, 70) },
        { "scaled up", QSize(200, 200), 100, QPoint(60, 60), QPoint(110, 110) },
        { "y up", QSize(100, 100), -100, QPoint(30, 100 - 30), QPoint(30, 30) },
        // 100 x 100 in 200 x 100: centred, 50 pixels free on each side.
        { "centred", QSize(200, 100), 100, QPoint(80, 30), QPoint(30, 30) },
    };
    for (const Case& c : cases) {
        WmfBuilder b;
        // y up: the frame's top edge is logical y 100.
        b.WindowOrg(0, c.extY < 0 ? 100 : 0).WindowExt(100, c.extY);
        b.Pen(5, 0, 0).Brush(0, kRedRef).Select(0).Select(1).Rectangle(10, 10, 50, 50);
        QImage image = Render(b, c.size);
        EXPECT_EQ(image.pixel(c.inside), kRed) << c.name;
        EXPECT_EQ(image.pixel(c.outside), kWhite) << c.name;
    }
}

TEST(WmfPainter, PensDrawLinesAndNullObjectsDrawNothing)
{
    WmfBuilder line;
    line.WindowExt(100, 100).Pen(0, 5, kBlueRef).Select(0).Polyline({ { 10, 50 }, { 90, 50 } });
    QImage image = Render(line);
    EXPECT_EQ(image.pixel(50, 50), kBlue);
    EXPECT_EQ(image.pixel(50, 20), kWhite);

    WmfBuilder nothing;
    nothing.WindowExt(100, 100).Pen(5, 0, 0).Brush(1, 0).Select(0).Select(1).Rectangle(10, 10, 90, 90);
    image = Render(nothing);
    EXPECT_EQ(Count(image, image.rect(), [](QRgb c) { return c != kWhite; }), 0);
}

TEST(WmfPainter, HatchesShowTheBackgroundColourOnlyWhenOpaque)
{
    for (bool opaque : { false, true }) {
        WmfBuilder b;
        b.WindowExt(100, 100).Pen(5, 0, 0).Brush(2, kRedRef, 4).Select(0).Select(1);
        b.BkColor(kGreenRef).BkMode(opaque ? 2 : 1).Rectangle(10, 10, 90, 90);
        QImage image = Render(b);
        const QRect inside(20, 20, 60, 60);
        EXPECT_GT(Count(image, inside, [](QRgb c) { return c == kRed; }), 100) << opaque;
        EXPECT_EQ(Count(image, inside, [](QRgb c) { return c == kWhite; }) > 0, !opaque) << opaque;
        EXPECT_EQ(Count(image, inside, [](QRgb c) { return c == kGreen; }) > 0, opaque) << opaque;
        EXPECT_EQ(image.pixel(5, 5), kWhite);
    }
}

TEST(WmfPainter, FillModeDecidesTheOverlapOfSelfCrossingPolygons)
{
    // Two passes round the same square: odd-even leaves it empty, winding fills it.
    const std::vector<std::pair<int, int>> twice
        = { { 10, 10 }, { 90, 10 }, { 90, 90 }, { 10, 90 }, { 10, 10 }, { 90, 10 }, { 90, 90 }, { 10, 90 } };
    for (int mode : { 1, 2 }) {
        QImage image = Render(Filled(kRedRef).FillMode(mode).Polygon(twice));
        EXPECT_EQ(image.pixel(50, 50), mode == 2 ? kRed : kWhite) << mode;
    }
}

TEST(WmfPainter, TextDrawsInItsColourNearItsReferencePoint)
{
    struct Case {
        int align, escapement;
        QRect box; // where the glyphs must lie for a 20-pixel font at (20, 50)
    };
    const std::vector<Case> cases = {
        { 24, 0, QRect(20, 30, 70, 25) }, // baseline, left: above y 50, right of x 20
        { 0, 0, QRect(20, 50, 70, 25) }, // top: below y 50
        { 24 | 2, 0, QRect(0, 30, 21, 25) }, // right-aligned: left of x 20
        { 24, 900, QRect(0, 0, 21, 51) }, // turned a quarter counter-clockwise: running upwards
    };
    for (const Case& c : cases) {
        WmfBuilder b;
        b.WindowExt(100, 100).Font(-20, 700, false, c.escapement, "").Select(0).TextColor(kBlueRef).BkMode(1);
        b.TextAlign(c.align).TextOut(20, 50, "HH");
        QImage image = Render(b);
        auto blue = [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 100; };
        const int all = Count(image, image.rect(), blue);
        EXPECT_GT(all, 20) << c.align;
        EXPECT_EQ(Count(image, c.box, blue), all) << c.align;
    }
    WmfBuilder opaque;
    opaque.WindowExt(100, 100)
        .Font(-20, 400, false, 0, "")
        .Select(0)
        .BkColor(kGreenRef)
        .BkMode(2)
        .TextOut(20, 20, "HH");
    QImage image = Render(opaque);
    EXPECT_GT(Count(image, image.rect(), [](QRgb c) { return c == kGreen; }), 50) << "an opaque text box";
}

TEST(WmfPainter, ArcsRunCounterClockwiseFromStartToEnd)
{
    // Start at the right, end at the left: counter-clockwise on screen is the upper half.
    WmfBuilder b;
    b.WindowExt(100, 100).Pen(0, 4, kBlueRef).Select(0).Arc(10, 10, 90, 90, 100, 50, 0, 50);
    QImage image = Render(b);
    auto blue = [](QRgb c) { return qBlue(c) > 128 && qRed(c) < 128; };
    EXPECT_GT(Count(image, QRect(0, 0, 100, 45), blue), 50);
    EXPECT_EQ(Count(image, QRect(0, 56, 100, 44), blue), 0);
}

// Fuzzed files held polygons reaching tens of thousands of pixels past the target, which the
// antialiasing rasteriser took most of a second to fill; they are drawn aliased.
TEST(WmfPainter, ShapesReachingFarPastTheTargetDrawAliased)
{
    for (int reach : { 90, 30000 }) {
        QImage image = Render(Filled(kRedRef).Polygon({ { -reach, 0 }, { reach, 100 }, { reach, -reach } }));
        const int blended = Count(image, image.rect(), [](QRgb c) { return c != kRed && c != kWhite; });
        EXPECT_GT(Count(image, image.rect(), [](QRgb c) { return c == kRed; }), 100) << reach;
        EXPECT_EQ(blended == 0, reach == 30000) << reach;
    }
}

} // namespace
} // namespace orv

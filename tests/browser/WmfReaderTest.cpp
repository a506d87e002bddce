#include "browser/WmfReader.h"

#include "browser/WmfBytes.h"
#include "platform/Encoding.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using test::WmfBuilder;

WmfPicture Read(const std::string& bytes, const WmfLimits& limits = {})
{
    std::string error;
    auto picture = ReadWmf(bytes, error, limits);
    EXPECT_TRUE(picture) << error;
    return picture ? *picture : WmfPicture();
}

std::vector<std::pair<float, float>> PointsOf(const WmfPicture& picture, const WmfPrimitive& primitive)
{
    std::vector<std::pair<float, float>> out;
    for (std::uint32_t i = 0; i < primitive.count; ++i)
        out.emplace_back(picture.points[primitive.first + i].x, picture.points[primitive.first + i].y);
    return out;
}

using Points = std::vector<std::pair<float, float>>;

TEST(WmfReader, RejectsBytesThatAreNotAMetafile)
{
    const std::string placeableOnly = WmfBuilder().Placeable(0, 0, 10, 10, 96).Bytes().substr(0, 22);
    std::string wrongType = WmfBuilder().Bytes();
    wrongType[0] = 3;
    const std::vector<std::string> cases
        = { "", "GIF89a\x01\x00\x01\x00", std::string("\xD7\xCD\xC6\x9A\x00", 5), placeableOnly, wrongType,
              WmfBuilder().Bytes().substr(0, 17) };
    for (const std::string& bytes : cases) {
        std::string error;
        EXPECT_FALSE(ReadWmf(bytes, error)) << bytes.size();
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(LooksLikeWmf(WmfBuilder().Bytes()));
    EXPECT_TRUE(LooksLikeWmf(WmfBuilder().Placeable(0, 0, 1, 1, 96).Bytes()));
    EXPECT_FALSE(LooksLikeWmf("\x89PNG\r\n\x1A\n0123456789"));
}

TEST(WmfReader, FrameIsFirstWindowElsePlaceableBoxElsePointBox)
{
    struct Case {
        const char* name;
        WmfBuilder builder;
        float left, top, width, height;
    };
    std::vector<Case> cases;
    cases.push_back({ "window", WmfBuilder().Placeable(0, 0, 50, 50, 1440), 10, 20, 100, -200 });
    cases.back().builder.WindowOrg(10, 20).WindowExt(100, -200).Rectangle(0, 0, 5, 5).WindowExt(7, 7);
    cases.push_back({ "placeable", WmfBuilder().Placeable(-5, -6, 45, 94, 1440), -5, -6, 50, 100 });
    cases.back().builder.Rectangle(0, 0, 5, 5);
    cases.push_back({ "points", WmfBuilder(), 3, 4, 17, 36 });
    cases.back().builder.MoveTo(3, 40).LineTo(20, 4);
    for (const Case& c : cases) {
        WmfPicture picture = Read(c.builder.Bytes());
        EXPECT_EQ(picture.left, c.left) << c.name;
        EXPECT_EQ(picture.top, c.top) << c.name;
        EXPECT_EQ(picture.width, c.width) << c.name;
        EXPECT_EQ(picture.height, c.height) << c.name;
    }
}

TEST(WmfReader, DrawingRecordsBecomePrimitivesWithTheirPoints)
{
    struct Case {
        const char* name;
        std::function<void(WmfBuilder&)> build;
        WmfShape shape;
        Points points;
    };
    const std::vector<Case> cases = {
        { "line", [](WmfBuilder& b) { b.MoveTo(1, 2).LineTo(30, 40); }, WmfShape::Polyline,
            { { 1, 2 }, { 30, 40 } } },
        { "polyline",
            [](WmfBuilder& b) {
                b.Polyline({ { 1, 1 }, { 5, 1 }, { 5, 9 } });
            },
            WmfShape::Polyline, { { 1, 1 }, { 5, 1 }, { 5, 9 } } },
        { "polygon",
            [](WmfBuilder& b) {
                b.Polygon({ { 0, 0 }, { 8, 0 }, { 4, 6 } });
            },
            WmfShape::Polygon, { { 0, 0 }, { 8, 0 }, { 4, 6 } } },
        { "rectangle", [](WmfBuilder& b) { b.Rectangle(10, 20, 30, 40); }, WmfShape::Rectangle,
            { { 10, 20 }, { 30, 40 } } },
        { "ellipse", [](WmfBuilder& b) { b.Ellipse(-10, -20, 30, 40); }, WmfShape::Ellipse,
            { { -10, -20 }, { 30, 40 } } },
        { "arc", [](WmfBuilder& b) { b.Arc(0, 0, 100, 50, 100, 25, 0, 25); }, WmfShape::Arc,
            { { 0, 0 }, { 100, 50 }, { 100, 25 }, { 0, 25 } } },
        { "text", [](WmfBuilder& b) { b.TextOut(7, 9, "abc"); }, WmfShape::Text, { { 7, 9 } } },
        { "text at the current position",
            [](WmfBuilder& b) { b.MoveTo(3, 4).TextAlign(1).TextOut(7, 9, "abc"); }, WmfShape::Text,
            { { 3, 4 } } },
        { "ext text, clipped", [](WmfBuilder& b) { b.ExtTextOut(-7, 19, 4, "xy"); }, WmfShape::Text,
            { { -7, 19 } } },
    };
    for (const Case& c : cases) {
        WmfBuilder builder;
        builder.WindowExt(200, 200);
        c.build(builder);
        WmfPicture picture = Read(builder.Bytes());
        ASSERT_EQ(picture.primitives.size(), 1u) << c.name;
        EXPECT_EQ(picture.primitives[0].shape, c.shape) << c.name;
        EXPECT_EQ(PointsOf(picture, picture.primitives[0]), c.points) << c.name;
    }

    WmfPicture rings = Read(
        WmfBuilder().PolyPolygon({ { { 0, 0 }, { 9, 0 }, { 9, 9 } }, { { 1, 1 }, { 2, 2 } } }).Bytes());
    ASSERT_EQ(rings.primitives.size(), 1u);
    EXPECT_EQ(rings.primitives[0].shape, WmfShape::PolyPolygon);
    EXPECT_EQ(rings.primitives[0].count, 5u);
    ASSERT_EQ(rings.primitives[0].rings, 2u);
    EXPECT_EQ(rings.ringSizes, (std::vector<std::uint32_t> { 3, 2 }));
}

TEST(WmfReader, TextIsDecodedFromGb18030)
{
    const std::string chinese = platform::Utf8ToGb18030("螺栓 M12");
    WmfPicture picture
        = Read(WmfBuilder().TextOut(0, 0, chinese).ExtTextOut(5, 5, 2, "ab").TextOut(1, 1, "").Bytes());
    ASSERT_EQ(picture.texts.size(), 2u) << "an empty text draws nothing";
    EXPECT_EQ(picture.texts[0], "螺栓 M12");
    EXPECT_EQ(picture.texts[1], "ab");
}

TEST(WmfReader, OpaqueExtTextOutFillsItsRectangleFirst)
{
    WmfPicture picture
        = Read(WmfBuilder().BkColor(0x123456).ExtTextOut(5, 5, 2, "ab").TextOut(1, 1, "c").Bytes());
    ASSERT_EQ(picture.primitives.size(), 3u);
    EXPECT_EQ(picture.primitives[0].shape, WmfShape::Rectangle);
    EXPECT_EQ(PointsOf(picture, picture.primitives[0]), (Points { { -2, -3 }, { 40, 50 } }));
    const WmfStyle& box = picture.styles[picture.primitives[0].style];
    EXPECT_EQ(box.pen.style, 5);
    EXPECT_EQ(box.brush.style, 0);
    EXPECT_EQ(box.brush.color, 0x123456u);
    for (std::size_t i : { 1, 2 }) {
        EXPECT_EQ(picture.primitives[i].shape, WmfShape::Text);
        EXPECT_EQ(picture.styles[picture.primitives[i].style].pen.style, 0) << "the pen and brush come back";
        EXPECT_EQ(picture.styles[picture.primitives[i].style].brush.color, 0xFFFFFFu);
    }
}

TEST(WmfReader, PrimitivesCarryTheStateInForceWhenDrawn)
{
    WmfBuilder b;
    b.Pen(1, 3, 0x0000FF).Brush(2, 0x00FF00, 4).Font(-24, 700, true, 900, "Arial");
    b.Select(0).Select(1).Select(2).TextColor(0x123456).BkColor(0xABCDEF).BkMode(1).TextAlign(24).FillMode(2);
    b.Rectangle(0, 0, 10, 10);
    b.SaveDc().Pen(5, 0, 0).Select(3).BkMode(2).Rectangle(1, 1, 2, 2);
    b.RestoreDc(-1).Rectangle(3, 3, 4, 4);
    WmfPicture picture = Read(b.Bytes());
    ASSERT_EQ(picture.primitives.size(), 3u);
    const WmfStyle& first = picture.styles[picture.primitives[0].style];
    EXPECT_EQ(first.pen.style, 1);
    EXPECT_EQ(first.pen.width, 3);
    EXPECT_EQ(first.pen.color, 0x0000FFu);
    EXPECT_EQ(first.brush.style, 2);
    EXPECT_EQ(first.brush.color, 0x00FF00u);
    EXPECT_EQ(first.brush.hatch, 4);
    EXPECT_EQ(first.font.height, -24);
    EXPECT_EQ(first.font.weight, 700);
    EXPECT_TRUE(first.font.italic);
    EXPECT_EQ(first.font.escapement, 900);
    EXPECT_EQ(first.font.face, "Arial");
    EXPECT_EQ(first.textColor, 0x123456u);
    EXPECT_EQ(first.backColor, 0xABCDEFu);
    EXPECT_FALSE(first.opaqueBackground);
    EXPECT_EQ(first.textAlign, 24);
    EXPECT_TRUE(first.winding);

    const WmfStyle& saved = picture.styles[picture.primitives[1].style];
    EXPECT_EQ(saved.pen.style, 5);
    EXPECT_TRUE(saved.opaqueBackground);
    const WmfStyle& restored = picture.styles[picture.primitives[2].style];
    EXPECT_EQ(restored.pen.style, 1) << "RestoreDC brings back the pen saved";
    EXPECT_FALSE(restored.opaqueBackground);
}

TEST(WmfReader, EveryCreateRecordTakesTheLowestFreeSlot)
{
    WmfBuilder b;
    b.Record(0x00F7, { 0x300, 0 }); // palette: slot 0
    b.Record(0x06FF, { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }); // region: slot 1
    b.Record(0x0142, { 0, 0 }); // DIB pattern brush: slot 2
    b.Pen(0, 1, 0x0000FF); // slot 3
    b.Pen(0, 1, 0x00FF00); // slot 4
    b.Select(3).Rectangle(0, 0, 5, 5);
    b.Delete(1).Pen(0, 1, 0xFF0000).Select(1).Rectangle(0, 0, 5, 5); // the freed slot 1 is reused
    b.Select(0).Select(60000).Rectangle(0, 0, 5, 5); // a palette and a missing index change no pen
    b.Select(2).Rectangle(0, 0, 5, 5);
    WmfPicture picture = Read(b.Bytes(5));
    ASSERT_EQ(picture.primitives.size(), 4u);
    EXPECT_EQ(picture.styles[picture.primitives[0].style].pen.color, 0x0000FFu);
    EXPECT_EQ(picture.styles[picture.primitives[1].style].pen.color, 0xFF0000u);
    EXPECT_EQ(picture.styles[picture.primitives[2].style].pen.color, 0xFF0000u);
    EXPECT_EQ(picture.styles[picture.primitives[3].style].brush.style, 3) << "a pattern brush is selectable";

    // A full table: slots freed out of order are taken lowest first; deleting a free slot twice
    // frees it once.
    WmfLimits three;
    three.maxObjects = 3;
    WmfBuilder full;
    full.Pen(0, 1, 1).Pen(0, 1, 2).Pen(0, 1, 3).Pen(0, 1, 4); // the fourth finds no slot
    full.Delete(2).Delete(0).Delete(0).Pen(0, 1, 5).Pen(0, 1, 6).Pen(0, 1, 7);
    for (int i = 0; i < 3; ++i)
        full.Select(i).Rectangle(0, 0, 1, 1);
    picture = Read(full.Bytes(3), three);
    ASSERT_EQ(picture.primitives.size(), 3u);
    EXPECT_EQ(picture.styles[picture.primitives[0].style].pen.color, 5u);
    EXPECT_EQ(picture.styles[picture.primitives[1].style].pen.color, 2u);
    EXPECT_EQ(picture.styles[picture.primitives[2].style].pen.color, 6u);
}

TEST(WmfReader, LaterWindowsAreMappedIntoTheFirstFrame)
{
    WmfBuilder b;
    b.WindowOrg(0, 0).WindowExt(100, 100).Pen(0, 4, 0).Select(0).MoveTo(0, 0).LineTo(100, 100);
    b.WindowOrg(50, 50).WindowExt(200, 200).MoveTo(50, 50).LineTo(250, 250);
    WmfPicture picture = Read(b.Bytes());
    ASSERT_EQ(picture.primitives.size(), 2u);
    EXPECT_EQ(PointsOf(picture, picture.primitives[1]), (Points { { 0, 0 }, { 100, 100 } }));
    EXPECT_EQ(picture.styles[picture.primitives[0].style].pen.width, 4);
    EXPECT_EQ(picture.styles[picture.primitives[1].style].pen.width, 2) << "pen widths are window units";
}

TEST(WmfReader, DamagedRecordsEndOrAreCutWithoutReadingOutside)
{
    auto withTail = [](const std::string& tail) {
        return WmfBuilder().Rectangle(0, 0, 5, 5).Raw(tail).Rectangle(1, 1, 6, 6).Bytes();
    };
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t primitives;
        bool truncated;
    };
    const std::vector<Case> cases = {
        { "size past the end", withTail(std::string("\xFF\x00\x00\x00\x1B\x04", 6)), 1, true },
        { "zero size", withTail(std::string("\x00\x00\x00\x00\x1B\x04", 6)), 1, true },
        { "size of two words", withTail(std::string("\x02\x00\x00\x00\x1B\x04", 6)), 1, true },
        { "no EOF", WmfBuilder().Rectangle(0, 0, 5, 5).Bytes(16, false), 1, false },
        { "half a record head", WmfBuilder().Rectangle(0, 0, 5, 5).Bytes(16, false) + "\x05\x00", 1, true },
        { "short rectangle skipped", WmfBuilder().Record(0x041B, { 1, 2 }).Rectangle(0, 0, 5, 5).Bytes(), 1,
            false },
        { "unknown record skipped",
            WmfBuilder().Record(0x0F43, { 1, 2, 3, 4, 5 }).Rectangle(0, 0, 5, 5).Bytes(), 1, false },
        { "unmatched restore", WmfBuilder().RestoreDc(-3).RestoreDc(9).Rectangle(0, 0, 5, 5).Bytes(), 1,
            false },
    };
    for (const Case& c : cases) {
        WmfPicture picture = Read(c.bytes);
        EXPECT_EQ(picture.primitives.size(), c.primitives) << c.name;
        EXPECT_EQ(picture.truncated, c.truncated) << c.name;
    }

    // Counts beyond their record: only the points the record holds.
    WmfPicture cut = Read(WmfBuilder()
                              .Record(0x0325, { 1000, 1, 2, 3, 4 })
                              .Record(0x0538, { 2, 3, 900, 0, 0, 5, 5, 9, 0 })
                              .Bytes());
    ASSERT_EQ(cut.primitives.size(), 2u);
    EXPECT_EQ(cut.primitives[0].count, 2u);
    EXPECT_EQ(cut.primitives[1].count, 3u);
    EXPECT_EQ(cut.ringSizes, (std::vector<std::uint32_t> { 3 }));
    WmfPicture text
        = Read(WmfBuilder().Record(0x0521, { 500, 0x6261 }).Record(0x0A32, { 0, 0, 900, 0, 0x6463 }).Bytes());
    EXPECT_EQ(text.texts, std::vector<std::string> { "cd" }) << "the byte count runs past the record";
}

TEST(WmfReader, CapsBoundTheWork)
{
    WmfLimits limits;
    limits.maxPrimitives = 3;
    limits.maxTextRecordBytes = 4;
    limits.maxObjects = 2;
    limits.maxSavedStates = 1;
    WmfBuilder b;
    b.Pen(0, 1, 1).Pen(0, 1, 2).Pen(0, 1, 3).Select(2); // the third pen finds no slot
    // The second save is dropped, so one step back is the first save, before any pen.
    b.SaveDc().Select(0).SaveDc().Select(1).RestoreDc(-1);
    b.TextOut(0, 0, "abcdefgh");
    for (int i = 0; i < 10; ++i)
        b.Rectangle(i, i, i + 1, i + 1);
    WmfPicture picture = Read(b.Bytes(65535), limits);
    ASSERT_EQ(picture.primitives.size(), 3u);
    EXPECT_TRUE(picture.truncated);
    EXPECT_EQ(picture.texts.at(0), "abcd");
    EXPECT_EQ(picture.styles[picture.primitives[0].style].pen.color, 0u);
}

TEST(WmfReader, NaturalSizeComesFromThePlaceableInchesOrTheFrame)
{
    struct Case {
        WmfBuilder builder;
        int maxSide, width, height;
    };
    std::vector<Case> cases;
    cases.push_back({ WmfBuilder().Placeable(0, 0, 2880, 1440, 1440), 4096, 192, 96 });
    cases.push_back({ WmfBuilder().Placeable(0, 0, 2880, 1440, 1440), 100, 100, 50 });
    cases.push_back({ WmfBuilder(), 4096, 300, 30 });
    cases.back().builder.WindowExt(300, -30);
    for (Case& c : cases) {
        c.builder.Rectangle(0, 0, 1, 1);
        int width = 0, height = 0;
        WmfNaturalSize(Read(c.builder.Bytes()), width, height, c.maxSide);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

} // namespace
} // namespace orv

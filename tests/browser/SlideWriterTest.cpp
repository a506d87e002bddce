#include "browser/SlideWriter.h"

#include "browser/AcadSlideBitmap.h"
#include "browser/SlideBytes.h"
#include "browser/SlideLibrary.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Describe;
using Lines = std::vector<std::string>;

class SlideWriting : public ::testing::TestWithParam<SlideRecordLayout> {
protected:
    Lines RoundTrip(const CSlideWriter& writer)
    {
        EXPECT_EQ(m_slide.LoadSlideData(writer.Finish()), 1);
        return Describe(m_slide.DisplayList());
    }
    bool IsSigned() const { return GetParam() == SlideRecordLayout::Signed; }
    CAcadSlideBitmap m_slide;
};

TEST_P(SlideWriting, EmptySlide)
{
    CSlideWriter writer(GetParam());
    std::string bytes = writer.Finish();
    EXPECT_EQ(bytes.compare(0, 17, std::string("AutoCAD Slide\r\n\x1A\0", 17)), 0);
    EXPECT_EQ(RoundTrip(writer), Lines {});
}

TEST_P(SlideWriting, VectorRecords)
{
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.SetColor(3));
    ASSERT_TRUE(writer.Vector(1000, 2000, 3000, 32767));
    ASSERT_TRUE(writer.Vector(0, 0, 5, 5));
    EXPECT_EQ(RoundTrip(writer), (Lines { "line 3 1000 2000 3000 32767", "line 3 0 0 5 5" }));
}

TEST_P(SlideWriting, OffsetVectorRecords)
{
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.Vector(1000, 1000, 0, 0)); // last point (1000, 1000)
    ASSERT_TRUE(writer.OffsetVector(-128, 127, 5, -6));
    ASSERT_TRUE(writer.OffsetVector(1, 1, 2, 2)); // from (872, 1127)
    EXPECT_EQ(RoundTrip(writer),
        (Lines { "line 7 1000 1000 0 0", "line 7 872 1127 1005 994", "line 7 873 1128 874 1129" }));
}

TEST_P(SlideWriting, CommonEndpointRecords)
{
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.SetColor(1));
    ASSERT_TRUE(writer.Vector(500, 500, 600, 600));
    ASSERT_TRUE(writer.CommonEndpoint(10, -20));
    ASSERT_TRUE(writer.CommonEndpoint(-128, 127));
    ASSERT_TRUE(writer.SetColor(2));
    ASSERT_TRUE(writer.CommonEndpoint(0, 0));
    EXPECT_EQ(RoundTrip(writer),
        (Lines { "line 1 500 500 600 600", "line 1 500 500 510 480", "line 1 510 480 382 607",
            "line 2 382 607 382 607" }));
}

TEST_P(SlideWriting, SolidFillRecords)
{
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.SetColor(5));
    ASSERT_TRUE(writer.SolidFill({ { 0, 0 }, { 100, 0 }, { 100, 100 }, { 0, 100 } }));
    ASSERT_TRUE(writer.SolidFill({}));
    std::vector<SlidePoint> many;
    for (int i = 0; i < 199; ++i)
        many.push_back({ i, i * 2 });
    ASSERT_TRUE(writer.SolidFill(many));
    ASSERT_TRUE(writer.Vector(1, 2, 3, 4));
    Lines lines = RoundTrip(writer);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "polygon 5 4 0 0 100 0 100 100 0 100");
    EXPECT_EQ(lines[1], "polygon 5 0");
    EXPECT_EQ(lines[2].substr(0, 22), "polygon 5 199 0 0 1 2 ");
    EXPECT_EQ(lines[3], "line 5 1 2 3 4");
    EXPECT_FALSE(writer.SolidFill(std::vector<SlidePoint>(200))) << writer.Error();
}

TEST_P(SlideWriting, ColourRecords)
{
    CSlideWriter writer(GetParam());
    for (int color : { 0, 9, 10, 254 }) {
        ASSERT_TRUE(writer.SetColor(color));
        ASSERT_TRUE(writer.Vector(color, 1, 2, 3));
    }
    EXPECT_EQ(RoundTrip(writer),
        (Lines { "line 0 0 1 2 3", "line 9 9 1 2 3", "line 10 10 1 2 3", "line 254 254 1 2 3" }));
    EXPECT_FALSE(writer.SetColor(256));
    EXPECT_FALSE(writer.SetColor(-1));
}

TEST_P(SlideWriting, Colour255OpeningASlide)
{
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.SetColor(255));
    ASSERT_TRUE(writer.Vector(1, 2, 3, 4));
    EXPECT_EQ(RoundTrip(writer), Lines { "line 255 1 2 3 4" });
}

TEST_P(SlideWriting, Colour255AfterAVector)
{
    // The unsigned reader takes 0xFFFF after a vector as a vector of its own, so the writer
    // refuses it there rather than write a slide that reads back wrong.
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.Vector(1, 2, 3, 4));
    EXPECT_EQ(writer.SetColor(255), IsSigned());
    ASSERT_TRUE(writer.SolidFill({ { 0, 0 }, { 1, 0 }, { 1, 1 } }));
    EXPECT_TRUE(writer.SetColor(255)) << "after a fill the reader expects a record";
    ASSERT_TRUE(writer.Vector(5, 6, 7, 8));
    EXPECT_EQ(RoundTrip(writer).back(), "line 255 5 6 7 8");
}

TEST_P(SlideWriting, CoordinateRanges)
{
    CSlideWriter writer(GetParam());
    EXPECT_FALSE(writer.Vector(32768, 0, 0, 0));
    EXPECT_FALSE(writer.Vector(-1, 0, 0, 0)) << "a from x opens the record and cannot be negative";
    EXPECT_EQ(writer.Vector(0, -1, -5, -32768), IsSigned());
    EXPECT_FALSE(writer.OffsetVector(128, 0, 0, 0));
    EXPECT_FALSE(writer.CommonEndpoint(0, -129));
    EXPECT_FALSE(writer.Error().empty());
}

TEST_P(SlideWriting, DisplayListRoundTripPicksShortRecords)
{
    CSlideWriter writer(GetParam());
    ASSERT_TRUE(writer.AddLine(1, 0, 0, 100, 50)); // common endpoint from (0, 0)
    ASSERT_TRUE(writer.AddLine(1, 100, 50, 90, 60)); // common endpoint
    ASSERT_TRUE(writer.AddLine(2, 80, 40, 200, 100)); // offset vector
    ASSERT_TRUE(writer.AddLine(2, 5000, 6000, 7, 8)); // vector
    ASSERT_TRUE(writer.AddPolygon(3, { { 10, 10 }, { 20, 10 }, { 20, 20 } }));
    ASSERT_TRUE(writer.AddLine(4, 30, 30, 30, 30));
    Lines expected { "line 1 0 0 100 50", "line 1 100 50 90 60", "line 2 80 40 200 100",
        "line 2 5000 6000 7 8", "polygon 3 3 10 10 20 10 20 20", "line 4 30 30 30 30" };
    EXPECT_EQ(RoundTrip(writer), expected);
    const std::size_t recordBytes = writer.Finish().size() - 31;
    // colour, 2 common endpoints, colour, offset vector, vector, colour, fill (start, 3 vertices,
    // closing), colour, vector, end: short records were used where they fit.
    EXPECT_EQ(recordBytes, 2u + 3 + 3 + 2 + 5 + 8 + 2 + 6 * 5 + 2 + 8 + 2 + (IsSigned() ? 2 : 0));

    // The decoded list written again gives the same list.
    CSlideWriter again(GetParam());
    ASSERT_TRUE(again.AddDisplayList(m_slide.DisplayList()));
    EXPECT_EQ(RoundTrip(again), expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SlideWriting,
    ::testing::Values(SlideRecordLayout::Unsigned, SlideRecordLayout::Signed),
    [](const auto& info) { return info.param == SlideRecordLayout::Signed ? "Signed" : "Unsigned"; });

TEST(SlideWritingSigned, NegativeCoordinatesRoundTrip)
{
    CSlideWriter writer(SlideRecordLayout::Signed);
    ASSERT_TRUE(writer.AddLine(1, 0, -100, -200, -300));
    ASSERT_TRUE(writer.AddLine(1, 0, -100, -20, -130)); // common endpoint from (0, -100)
    ASSERT_TRUE(writer.AddLine(1, -30, -40, -50, -60)); // offset vector
    ASSERT_TRUE(writer.AddPolygon(2, { { -10, -10 }, { -20, -10 }, { -20, -20 } }));
    // A negative from x cannot open a vector record: the line is written from its other end.
    ASSERT_TRUE(writer.AddLine(3, -2000, -3000, 1000, 50));
    EXPECT_FALSE(writer.AddLine(3, -2000, -3000, -1000, 50)) << "both ends negative and far away";
    CAcadSlideBitmap slide;
    ASSERT_EQ(slide.LoadSlideData(writer.Finish()), 1);
    EXPECT_EQ(Describe(slide.DisplayList()),
        (Lines { "line 1 0 -100 -200 -300", "line 1 0 -100 -20 -130", "line 1 -30 -40 -50 -60",
            "polygon 2 3 -10 -10 -20 -10 -20 -20", "line 3 1000 50 -2000 -3000" }));
}

TEST(SlideLibraryWriting, EveryMemberReadsBack)
{
    std::vector<std::pair<std::string, std::string>> members;
    for (int i = 0; i < 20; ++i) {
        CSlideWriter writer;
        writer.AddLine(i % 255, i, i, i + 100, i + 200);
        members.emplace_back("S" + std::to_string(i), writer.Finish());
    }
    std::string library, error;
    ASSERT_TRUE(WriteSlideLibrary(members, library, error)) << error;
    CAcadSlideBitmap slide;
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(slide.LoadLibrarySlideData(library, "s" + std::to_string(i)), 1);
        EXPECT_EQ(Describe(slide.DisplayList()),
            Lines { "line " + std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(i) + " "
                + std::to_string(i + 100) + " " + std::to_string(i + 200) });
    }
}

TEST(SlideLibraryWriting, RefusesBadMembers)
{
    CSlideWriter writer;
    const std::string slide = writer.Finish();
    std::string library, error;
    EXPECT_FALSE(WriteSlideLibrary({ { "", slide } }, library, error));
    EXPECT_FALSE(WriteSlideLibrary({ { std::string(32, 'A'), slide } }, library, error));
    EXPECT_TRUE(WriteSlideLibrary({ { std::string(31, 'A'), slide } }, library, error));
    EXPECT_FALSE(WriteSlideLibrary({ { "A", slide }, { "a", slide } }, library, error));
    EXPECT_NE(error.find("twice"), std::string::npos);
    EXPECT_FALSE(WriteSlideLibrary({ { "A", "not a slide" } }, library, error));
    // 16 Chinese characters are 32 bytes in GB2312: one too many.
    std::string chinese;
    for (int i = 0; i < 16; ++i)
        chinese += "螺";
    EXPECT_FALSE(WriteSlideLibrary({ { chinese, slide } }, library, error));
}

} // namespace
} // namespace orv

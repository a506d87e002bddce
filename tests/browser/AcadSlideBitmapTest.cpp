#include "browser/AcadSlideBitmap.h"

#include "browser/SlideBytes.h"
#include "browser/SlideLibrary.h"
#include "browser/SlideWriter.h"
#include "platform/Encoding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace orv {
namespace {

using test::Describe;
using test::PutBytes;
using test::PutWords;
using test::SlideHeader;
using test::SlideOf;
using Lines = std::vector<std::string>;

// Writes a library by hand: header, the given entries (name, offset), then appended data.
std::string LibraryHeader(const char* magic = "AutoCAD Slide Library 1.0\r\n\x1A")
{
    std::string out(magic);
    out.resize(32, '\0');
    return out;
}

void PutEntry(std::string& out, std::string name, std::uint32_t offset)
{
    name.resize(32, '\0');
    out += name;
    PutWords(out, { static_cast<std::uint16_t>(offset & 0xFFFF), static_cast<std::uint16_t>(offset >> 16) });
}

class SlideLoading : public ::testing::Test {
protected:
    std::string Put(const std::string& name, const std::string& bytes)
    {
        test::WriteFile(m_folder.NativeAt(name), bytes);
        return m_folder.ProgramAt(name);
    }

    test::TempFolder m_folder;
    CAcadSlideBitmap m_slide;
};

TEST_F(SlideLoading, ResultsTellMissingFromMalformed)
{
    EXPECT_EQ(m_slide.LoadSlide(""), 0);
    EXPECT_EQ(m_slide.LoadSlideData(""), -1);
    EXPECT_EQ(m_slide.LoadSlide(m_folder.ProgramAt("none.sld")), 0);
    EXPECT_EQ(m_slide.LoadSlide(m_folder.Program()), 0) << "a folder is not a readable file";
    EXPECT_EQ(m_slide.LoadSlide(Put("short.sld", "AutoCAD Sli")), -1);
    EXPECT_EQ(m_slide.LoadSlide(Put("other.sld", std::string(40, 'x'))), -1);
    EXPECT_EQ(m_slide.LoadSlide(Put("nohead.sld", SlideHeader().substr(0, 25))), -1);
    // The identification is NUL-terminated text: a NUL before the magic hides it.
    std::string hidden = SlideHeader();
    hidden.replace(0, 17, std::string("\0AutoCAD Slide\r\n\x1A", 17));
    EXPECT_EQ(m_slide.LoadSlide(Put("hidden.sld", hidden)), -1);
    EXPECT_EQ(m_slide.LoadSlide(Put("empty.sld", SlideHeader())), 1);
    EXPECT_TRUE(m_slide.IsEmpty());
}

TEST_F(SlideLoading, KeepsHeaderAndPathOfTheLoadedSlide)
{
    std::string path = Put("A12.SLD", SlideOf({ 0xFF01, 1, 2, 3, 4, 0xFC00 }));
    ASSERT_EQ(m_slide.LoadSlide(m_folder.ProgramAt("a12.sld")), 1) << "file names match in any case";
    EXPECT_EQ(m_slide.SourcePath(), m_folder.ProgramAt("a12.sld"));
    EXPECT_EQ(m_slide.Header()[0], 0x38);
    EXPECT_EQ(m_slide.Header()[13], 0x12);
    EXPECT_EQ(m_slide.SlideOffset(), 0u);
}

TEST_F(SlideLoading, FailureBeforeDecodingKeepsThePreviousList)
{
    ASSERT_EQ(m_slide.LoadSlide(Put("a.sld", SlideOf({ 0xFF01, 1, 2, 3, 4, 0xFC00 }))), 1);
    EXPECT_EQ(m_slide.LoadSlide(Put("bad.sld", "not a slide at all, not at all")), -1);
    EXPECT_EQ(Describe(m_slide.DisplayList()), Lines { "line 1 1 2 3 4" });
    EXPECT_EQ(m_slide.SourcePath(), m_folder.ProgramAt("a.sld"));
    ASSERT_EQ(m_slide.LoadSlide(Put("b.sld", SlideHeader())), 1);
    EXPECT_TRUE(m_slide.IsEmpty());
}

class UnsignedDecoding : public ::testing::Test {
protected:
    Lines Decode(const std::string& bytes)
    {
        EXPECT_EQ(m_slide.LoadSlideData(bytes), 1);
        return Describe(m_slide.DisplayList());
    }
    CAcadSlideBitmap m_slide;
};

TEST_F(UnsignedDecoding, ColourRecordThenVectorsTakesItsColour)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF05, 1, 2, 3, 4, 5, 6, 7, 8, 0xFF01, 9, 10, 11, 12, 0xFC00 })),
        (Lines { "line 5 1 2 3 4", "line 5 5 6 7 8", "line 1 9 10 11 12" }));
}

TEST_F(UnsignedDecoding, StartsWithTheLowByteOfTheFirstWordAsColour)
{
    // No colour record: the first word is a vector's from x, and its low byte the colour.
    EXPECT_EQ(Decode(SlideOf({ 0x0102, 2, 3, 4, 0xFC00 })), Lines { "line 2 258 2 3 4" });
}

TEST_F(UnsignedDecoding, ColourFFFFOpeningTheSlideIsIndex255)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFFFF, 1, 2, 3, 4, 0xFC00 })), Lines { "line 255 1 2 3 4" });
}

TEST_F(UnsignedDecoding, FFFFCoordinatesReadAsZero)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF01, 7, 0xFFFF, 9, 0xFFFF, 0xFC00 })), Lines { "line 1 7 0 9 0" });
}

TEST_F(UnsignedDecoding, OffsetVectorAndCommonEndpointMoveFromTheLastPoint)
{
    std::string bytes = SlideOf({ 0xFF01, 100, 100, 200, 200 }); // last point (100, 100)
    PutBytes(bytes, { 0x05, 0xFB, 0x06, 0xF6, 0x7F }); // (105,106)-(90,227), last (105,106)
    PutBytes(bytes, { 0xFE, 0xFE, 0x80 }); // (105,106)-(103,-22)
    PutWords(bytes, { 0xFC00 });
    EXPECT_EQ(Decode(bytes),
        (Lines { "line 1 100 100 200 200", "line 1 105 106 90 227", "line 1 105 106 103 -22" }));
}

TEST_F(UnsignedDecoding, ColourBeforeTheToPointEndsTheRunWithoutALine)
{
    EXPECT_EQ(
        Decode(SlideOf({ 0xFF01, 1, 2, 0xFF03, 9, 10, 11, 12, 0xFC00 })), Lines { "line 3 9 10 11 12" });
}

TEST_F(UnsignedDecoding, EmptyFillAddsAnEmptyPrimitiveAndSkipsItsClosingRecord)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFD00, 0, 0, 0xFD00, 0, 0xFFFF, 1, 2, 3, 4, 0xFC00 })),
        (Lines { "polygon 2 0", "line 2 1 2 3 4" }));
}

TEST_F(UnsignedDecoding, FillOfThreeVertices)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFD00, 3, 0, 0xFD00, 0, 0, 0xFD00, 10, 0, 0xFD00, 10, 10, 0xFD00, 0,
                  0xFFFF, 0xFC00 })),
        Lines { "polygon 2 3 0 0 10 0 10 10" });
}

TEST_F(UnsignedDecoding, FillOf200VerticesEndsDecoding)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 1, 2, 3, 4, 0xFD00, 200, 0, 0xFD00, 1, 1, 0xFC00 })),
        Lines { "line 2 1 2 3 4" });
}

TEST_F(UnsignedDecoding, MalformedFillKeepsItsVerticesAndGoesOn)
{
    // The second vertex record lacks its 0xFD00: the polygon ends there and the stray word
    // opens the next record (a vector).
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFD00, 3, 0, 0xFD00, 5, 6, 1, 2, 3, 4, 0xFC00 })),
        (Lines { "polygon 2 1 5 6", "line 2 1 2 3 4" }));
}

TEST_F(UnsignedDecoding, TruncatedFileKeepsWhatWasDecoded)
{
    std::string bytes = SlideOf({ 0xFF01, 1, 2, 3, 4, 5, 6, 7 });
    EXPECT_EQ(Decode(bytes), Lines { "line 1 1 2 3 4" });
    EXPECT_EQ(Decode(SlideOf({ 0xFF01, 1, 2, 3, 4, 0xFD00, 3, 0, 0xFD00, 1 })), Lines { "line 1 1 2 3 4" });
    EXPECT_EQ(Decode(SlideHeader() + "\x01"), Lines {});
}

class SignedDecoding : public UnsignedDecoding { };

TEST_F(SignedDecoding, ChosenWhenTheFirstTwoWordsAreEqual)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF04, 0xFF04, 7, 0xFFFF, 9, 0xFFFF, 0xFF01, 1, 0x8000, 2, 3, 0xFC00 })),
        (Lines { "line 4 7 -1 9 -1", "line 1 1 -32768 2 3" }));
}

TEST_F(SignedDecoding, OffsetsWrapIn16Bits)
{
    std::string bytes = SlideOf({ 0xFF01, 0xFF01, 32767, 10, 0, 0 }); // last point (32767, 10)
    PutBytes(bytes, { 0x01, 0xFE, 0xFF }); // -> (-32768, 9)
    PutBytes(bytes, { 0x02, 0xFB, 0x00, 0xFF, 0x01 }); // (-32766,9)-(-32769→32767,10)
    PutWords(bytes, { 0xFC00 });
    EXPECT_EQ(Decode(bytes),
        (Lines { "line 1 32767 10 0 0", "line 1 32767 10 -32768 9", "line 1 -32766 9 32767 10" }));
}

TEST_F(SignedDecoding, FillCountsItsClosingRecord)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFF02, 0xFD00, 4, 0, 0xFD00, 0, 0, 0xFD00, 0xFFF6, 0, 0xFD00, 0, 10,
                  0xFD00, 0, 0xFFFF, 1, 2, 3, 4, 0xFC00 })),
        (Lines { "polygon 2 3 0 0 -10 0 0 10", "line 2 1 2 3 4" }));
}

TEST_F(SignedDecoding, FillWithNoRecordsIsEmpty)
{
    // A count of 0 has no "first n - 1" vertices; it must not read or add any.
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFF02, 0xFD00, 0, 0, 1, 2, 3, 4, 0xFC00 })),
        (Lines { "polygon 2 0", "line 2 1 2 3 4" }));
}

TEST_F(SignedDecoding, FillAbove200EndsDecodingAndLargeCountsAreNotNegative)
{
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFF02, 1, 2, 3, 4, 0xFD00, 201, 0, 0xFD00, 1, 1, 0xFC00 })),
        Lines { "line 2 1 2 3 4" });
    EXPECT_EQ(Decode(SlideOf({ 0xFF02, 0xFF02, 1, 2, 3, 4, 0xFD00, 0xFFFF, 0, 0xFD00, 1, 1, 0xFC00 })),
        Lines { "line 2 1 2 3 4" });
}

TEST_F(SignedDecoding, SkipsWordsThatOpenNoRecord)
{
    EXPECT_EQ(
        Decode(SlideOf({ 0xFF02, 0xFF02, 0x8123, 0xFA00, 1, 2, 3, 4, 0xFC00 })), Lines { "line 2 1 2 3 4" });
}

TEST_F(SignedDecoding, TruncatedFillKeepsTheVerticesRead)
{
    EXPECT_EQ(Decode(SlideOf(
                  { 0xFF02, 0xFF02, 0xFD00, 6, 0, 0xFD00, 1, 1, 0xFD00, 2, 2, 0xFD00, 3, 3, 0xFD00, 4 })),
        Lines { "polygon 2 3 1 1 2 2 3 3" });
}

class LibraryLoading : public SlideLoading {
protected:
    std::string MakeLibrary()
    {
        std::string library;
        std::string error;
        CSlideWriter a, b;
        a.AddLine(1, 0, 0, 10, 10);
        b.AddLine(2, 5, 5, 50, 50);
        const std::string chinese = "螺栓";
        EXPECT_TRUE(WriteSlideLibrary({ { "M12", a.Finish() }, { chinese, b.Finish() } }, library, error))
            << error;
        return Put("BOLTS.SLB", library);
    }
};

TEST_F(LibraryLoading, FindsMembersWithoutRegardToCase)
{
    std::string path = MakeLibrary();
    ASSERT_EQ(m_slide.LoadLibrarySlide(path, "m12"), 1);
    EXPECT_EQ(Describe(m_slide.DisplayList()), Lines { "line 1 0 0 10 10" });
    EXPECT_EQ(m_slide.SourcePath(), path);
    EXPECT_EQ(m_slide.SlideOffset(), 32u + 3 * 36);
    ASSERT_EQ(m_slide.LoadLibrarySlide(m_folder.ProgramAt("bolts.slb"), "螺栓"), 1);
    EXPECT_EQ(Describe(m_slide.DisplayList()), Lines { "line 2 5 5 50 50" });
}

TEST_F(LibraryLoading, ResultsForMissingAndWrongInput)
{
    std::string path = MakeLibrary();
    EXPECT_EQ(m_slide.LoadLibrarySlide("", "M12"), 0);
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, ""), 0);
    EXPECT_EQ(m_slide.LoadLibrarySlide(m_folder.ProgramAt("none.slb"), "M12"), 0);
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, "M13"), -1);
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, std::string(500, 'A')), -1) << "500 bytes are still looked up";
    // 501 bytes are refused before the file is opened: an existing library gives 0, not -1.
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, std::string(501, 'A')), 0);
    // The limit is on the stored GB2312 bytes: 167 Chinese characters are 334 bytes there.
    std::string chinese;
    for (int i = 0; i < 167; ++i)
        chinese += "螺";
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, chinese), -1);
    EXPECT_EQ(
        m_slide.LoadLibrarySlide(Put("plain.slb", "AutoCAD Slide Librar" + std::string(40, '\0')), "M12"),
        -1);
    EXPECT_EQ(m_slide.LoadLibrarySlide(Put("short.slb", "AutoCAD Slide Library"), "M12"), -1);
}

TEST_F(LibraryLoading, HeaderComparesWithoutRegardToCaseAndEmptyEntriesDoNotEndTheSearch)
{
    std::string library = LibraryHeader("autocad SLIDE library 1.0");
    PutEntry(library, "", 0);
    PutEntry(library, "A1", 32 + 3 * 36);
    library.append(36, '\0');
    library += SlideOf({ 0xFF06, 1, 1, 2, 2, 0xFC00 });
    ASSERT_EQ(m_slide.LoadLibrarySlide(Put("x.slb", library), "a1"), 1);
    EXPECT_EQ(Describe(m_slide.DisplayList()), Lines { "line 6 1 1 2 2" });
}

TEST_F(LibraryLoading, NameOfAFull32BytesHasNoNul)
{
    std::string library = LibraryHeader();
    std::string name(32, 'N');
    PutEntry(library, name, 32 + 36);
    library += SlideOf({ 0xFF06, 1, 1, 2, 2, 0xFC00 });
    EXPECT_EQ(m_slide.LoadLibrarySlide(Put("x.slb", library), name), 1);
}

TEST_F(LibraryLoading, MemberPastTheEndOrNotASlideIsMinusOne)
{
    std::string library = LibraryHeader();
    PutEntry(library, "FAR", 0xFFFFFFF0u);
    PutEntry(library, "JUNK", 32);
    std::string path = Put("x.slb", library);
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, "far"), -1);
    EXPECT_EQ(m_slide.LoadLibrarySlide(path, "junk"), -1);
}

TEST_F(LibraryLoading, DirectoryRunningToTheEndOfALargeFileEndsTheSearch)
{
    // 2 MB of directory-sized garbage with no match: the scan ends at the end of the file.
    std::string library = LibraryHeader();
    library.append(2 * 1024 * 1024, 'Q');
    EXPECT_EQ(m_slide.LoadLibrarySlide(Put("big.slb", library), "M12"), -1);
}

TEST_F(LibraryLoading, LargeMembersReadTheSameFromFileAndFromMemory)
{
    // Members larger than the file reader's window, so records straddle its refills.
    std::vector<std::pair<std::string, std::string>> members;
    for (int m = 0; m < 6; ++m) {
        CSlideWriter writer;
        for (int i = 0; i < 12000; ++i)
            writer.AddLine(
                1 + (i / 1000) % 200, (i * 37 + m) % 30000, (i * 91) % 20000, (i * 13) % 30000, i % 20000);
        members.emplace_back("L" + std::to_string(m), writer.Finish());
    }
    std::string library, error;
    ASSERT_TRUE(WriteSlideLibrary(members, library, error)) << error;
    ASSERT_GT(library.size(), 3u * 64 * 1024);
    std::string path = Put("large.slb", library);
    CAcadSlideBitmap fromMemory;
    for (int m = 5; m >= 0; --m) {
        ASSERT_EQ(m_slide.LoadLibrarySlide(path, "l" + std::to_string(m)), 1);
        ASSERT_EQ(fromMemory.LoadSlideData(members[static_cast<std::size_t>(m)].second), 1);
        EXPECT_EQ(m_slide.DisplayList().PrimitiveSizes().size(), 12000u);
        EXPECT_EQ(Describe(m_slide.DisplayList()), Describe(fromMemory.DisplayList()));
    }
}

TEST_F(LibraryLoading, ListsTheDirectory)
{
    std::string path = MakeLibrary();
    std::vector<SlideLibraryMember> members;
    ASSERT_TRUE(ListSlideLibrary(path, members));
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, "M12");
    EXPECT_EQ(members[0].offset, 32u + 3 * 36);
    EXPECT_EQ(members[1].name, "螺栓");
    EXPECT_FALSE(ListSlideLibrary(m_folder.ProgramAt("none.slb"), members));
}

TEST(SlideMemberNames, FoldAsciiButNotTheBytesOfDoubleByteCharacters)
{
    EXPECT_TRUE(SlideMemberNameEquals("Bolt-m12", "BOLT-M12"));
    EXPECT_FALSE(SlideMemberNameEquals("M12", "M1"));
    // Two different GBK characters whose trail bytes are 'A' and 'a'.
    EXPECT_FALSE(SlideMemberNameEquals("\x81\x41", "\x81\x61"));
    EXPECT_TRUE(SlideMemberNameEquals("\x81\x41x", "\x81\x41X"));
}

TEST(SlideColors, ColourTableTellingRows)
{
    struct Row {
        int index;
        unsigned r, g, b;
    };
    const Row rows[] = { { 0, 0, 0, 0 }, { 1, 255, 0, 0 }, { 2, 255, 255, 0 }, { 3, 0, 255, 0 },
        { 4, 0, 255, 255 }, { 5, 0, 0, 255 }, { 6, 255, 0, 255 }, { 7, 255, 255, 255 }, { 8, 255, 255, 255 },
        { 9, 255, 255, 255 }, { 250, 255, 255, 255 }, { 255, 255, 255, 255 }, { -1, 0, 0, 0 },
        { 256, 0, 0, 0 }, { 10, 255, 0, 0 }, { 11, 255, 127, 127 }, { 20, 255, 64, 0 }, { 23, 204, 127, 102 },
        { 56, 127, 128, 0 }, { 60, 191, 255, 0 }, { 93, 103, 204, 102 }, { 130, 0, 255, 255 },
        { 243, 204, 102, 128 }, { 249, 76, 38, 48 }, { 50, 255, 255, 0 }, { 170, 0, 0, 255 },
        { 210, 255, 0, 255 }, { 240, 255, 0, 63 } };
    for (const Row& row : rows) {
        std::uint32_t c = CAcadSlideBitmap::ColorFromIndex(row.index);
        EXPECT_EQ(SlideRed(c), row.r) << row.index;
        EXPECT_EQ(SlideGreen(c), row.g) << row.index;
        EXPECT_EQ(SlideBlue(c), row.b) << row.index;
    }
}

TEST(SlideColors, SelectionAvoidsTheBackgroundAndHonoursMonochromeAndInvert)
{
    CAcadSlideBitmap slide;
    const std::uint32_t white = SlideRgb(255, 255, 255), black = 0;
    slide.SetBackgroundColor(white);
    EXPECT_EQ(slide.SelectColor(7), black);
    EXPECT_EQ(slide.SelectColor(1), SlideRgb(255, 0, 0));
    slide.SetBackgroundColor(black);
    EXPECT_EQ(slide.SelectColor(0), white);
    EXPECT_EQ(slide.SelectColor(7), white);
    slide.SetBackgroundColor(SlideRgb(255, 0, 0));
    EXPECT_EQ(slide.SelectColor(1), black) << "a colour background clashes to black";
    slide.SetColorMode(0);
    EXPECT_EQ(slide.SelectColor(3), black);
    slide.SetBackgroundColor(black);
    EXPECT_EQ(slide.SelectColor(3), white);
    slide.SetInvert(true);
    EXPECT_EQ(slide.SelectColor(3), black);
    slide.SetColorMode(1);
    EXPECT_EQ(slide.SelectColor(1), SlideRgb(0, 255, 255));
}

class SlideFitting : public ::testing::Test {
protected:
    void Load(std::initializer_list<std::uint16_t> words)
    {
        ASSERT_EQ(m_slide.LoadSlideData(SlideOf(words)), 1);
    }
    CAcadSlideBitmap m_slide;
};

TEST_F(SlideFitting, WideDrawingInASquareIsCentredVertically)
{
    Load({ 0xFF01, 0, 0, 200, 100, 0xFC00 });
    SlideLayout layout = m_slide.FitToRectangle({ 0, 0, 108, 108 });
    ASSERT_TRUE(layout.drawable);
    EXPECT_DOUBLE_EQ(layout.scale, 0.5);
    EXPECT_EQ(layout.area.left, 4);
    EXPECT_EQ(layout.area.right, 104);
    EXPECT_EQ(layout.area.top, 29);
    EXPECT_EQ(layout.area.bottom, 79);
    EXPECT_EQ(layout.area.top - 0, 108 - layout.area.bottom) << "equal bands above and below";
    EXPECT_EQ(layout.MapX(200), 100);
    EXPECT_EQ(layout.MapY(0), 50) << "slide y grows upwards";
    EXPECT_EQ(layout.MapY(100), 0);
    EXPECT_EQ(m_slide.TargetRect().top, 29);
}

TEST_F(SlideFitting, OddFreeSpaceIsSplitWithinAPixel)
{
    Load({ 0xFF01, 0, 0, 100, 300, 0xFC00 });
    m_slide.SetMargin(0);
    SlideLayout layout = m_slide.FitToRectangle({ 0, 0, 101, 100 });
    EXPECT_EQ(layout.area.left, 33); // trunc((101 - 33.33) / 2)
    EXPECT_EQ(layout.area.right, 68);
    EXPECT_LE(std::abs(layout.area.left - (101 - layout.area.right)), 1);
}

TEST_F(SlideFitting, AllPointsEqualLandOnTheCentre)
{
    Load({ 0xFF01, 50, 50, 50, 50, 0xFC00 });
    SlideLayout layout = m_slide.FitToRectangle({ 0, 0, 108, 88 });
    ASSERT_TRUE(layout.drawable);
    EXPECT_EQ(layout.area.left + layout.MapX(50), 54);
    EXPECT_EQ(layout.area.top + layout.MapY(50), 44);
}

TEST_F(SlideFitting, VerticalLineIsCentredHorizontally)
{
    Load({ 0xFF01, 50, 0, 50, 100, 0xFC00 });
    m_slide.SetMargin(0);
    SlideLayout layout = m_slide.FitToRectangle({ 0, 0, 100, 100 });
    ASSERT_TRUE(layout.drawable);
    EXPECT_EQ(layout.area.left + layout.MapX(50), 50);
    EXPECT_EQ(layout.MapY(0), 100);
}

TEST_F(SlideFitting, NoRoomInsideTheMarginDrawsNothing)
{
    Load({ 0xFF01, 0, 0, 10, 10, 0xFC00 });
    EXPECT_FALSE(m_slide.FitToRectangle({ 0, 0, 8, 40 }).drawable);
    EXPECT_FALSE(m_slide.FitToRectangle({ 0, 0, 0, 0 }).drawable);
}

TEST_F(SlideFitting, ExtremeCoordinatesStayInsideTheTarget)
{
    // Signed layout: -32768..32767 in both directions.
    Load({ 0xFF01, 0xFF01, 0, 0x8000, 0x7FFF, 0x7FFF, 0xFC00 });
    SlideLayout layout = m_slide.FitToRectangle({ 0, 0, 120, 90 });
    ASSERT_TRUE(layout.drawable);
    EXPECT_EQ(layout.MapY(-32768), layout.area.Height());
    EXPECT_EQ(layout.MapY(32767), 0);
    EXPECT_LE(layout.MapX(32767), layout.area.Width());
}

TEST_F(SlideFitting, EmptyListIsNotDrawable)
{
    EXPECT_FALSE(m_slide.FitToRectangle({ 0, 0, 100, 100 }).drawable);
    Load({ 0xFF02, 0xFD00, 0, 0, 0xFD00, 0, 0xFFFF, 0xFC00 });
    EXPECT_TRUE(m_slide.IsEmpty()) << "an empty fill alone draws nothing";
}

} // namespace
} // namespace orv

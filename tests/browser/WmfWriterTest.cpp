#include "browser/WmfWriter.h"

#include "platform/Encoding.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

struct Record {
    std::uint16_t function = 0;
    std::vector<std::uint16_t> words;
    std::int16_t Signed(std::size_t i) const { return static_cast<std::int16_t>(words.at(i)); }
};

struct Metafile {
    std::int16_t box[4] = {};
    std::uint16_t unitsPerInch = 0;
    std::vector<Record> records;
    int objectsCreated = 0;

    std::vector<std::uint16_t> Functions() const
    {
        std::vector<std::uint16_t> out;
        for (const Record& r : records)
            out.push_back(r.function);
        return out;
    }
    std::vector<const Record*> Of(std::uint16_t function) const
    {
        std::vector<const Record*> out;
        for (const Record& r : records)
            if (r.function == function)
                out.push_back(&r);
        return out;
    }
};

std::uint16_t WordAt(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(
        static_cast<unsigned char>(bytes.at(at)) | (static_cast<unsigned char>(bytes.at(at + 1)) << 8));
}

bool CreatesObject(std::uint16_t function)
{
    return function == 0x02FA || function == 0x02FB || function == 0x02FC;
}

// Reads a placeable metafile the way a player walks it, checking every count and size the
// file states against what it holds, and keeping the object table as the player would.
Metafile ReadWmf(const std::string& bytes)
{
    Metafile file;
    EXPECT_GE(bytes.size(), 22u + 18u + 6u);
    if (bytes.size() < 22 + 18 + 6)
        return file;
    EXPECT_EQ(WordAt(bytes, 0) | (WordAt(bytes, 2) << 16), 0x9AC6CDD7u);
    EXPECT_EQ(WordAt(bytes, 4), 0);
    for (int i = 0; i < 4; ++i)
        file.box[i] = static_cast<std::int16_t>(WordAt(bytes, 6 + 2 * i));
    file.unitsPerInch = WordAt(bytes, 14);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= WordAt(bytes, 2 * i);
    EXPECT_EQ(WordAt(bytes, 20), checksum) << "placeable header checksum";

    const std::size_t h = 22;
    EXPECT_EQ(WordAt(bytes, h), 1);
    EXPECT_EQ(WordAt(bytes, h + 2), 9);
    EXPECT_EQ(WordAt(bytes, h + 4), 0x0300);
    const std::uint32_t totalWords = WordAt(bytes, h + 6) | (WordAt(bytes, h + 8) << 16);
    EXPECT_EQ(22 + 2 * static_cast<std::size_t>(totalWords), bytes.size())
        << "the header's size is the file's";
    const std::uint16_t tableSize = WordAt(bytes, h + 10);
    const std::uint32_t maxRecord = WordAt(bytes, h + 12) | (WordAt(bytes, h + 14) << 16);
    EXPECT_EQ(WordAt(bytes, h + 16), 0);

    std::vector<bool> table;
    std::size_t peak = 0;
    std::uint32_t largest = 0;
    std::size_t at = h + 18;
    bool ended = false;
    while (at < bytes.size()) {
        EXPECT_FALSE(ended) << "a record after EOF";
        if (at + 6 > bytes.size()) {
            ADD_FAILURE() << "a record header cut short at " << at;
            break;
        }
        const std::uint32_t size = WordAt(bytes, at) | (WordAt(bytes, at + 2) << 16);
        if (size < 3 || at + 2 * static_cast<std::size_t>(size) > bytes.size()) {
            ADD_FAILURE() << "record size " << size << " at " << at;
            break;
        }
        largest = std::max(largest, size);
        Record record;
        record.function = WordAt(bytes, at + 4);
        for (std::uint32_t i = 3; i < size; ++i)
            record.words.push_back(WordAt(bytes, at + 2 * i));
        if (CreatesObject(record.function)) {
            auto free = std::find(table.begin(), table.end(), false);
            if (free == table.end())
                table.push_back(true);
            else
                *free = true;
            peak = std::max(peak, table.size());
            ++file.objectsCreated;
        } else if (record.function == 0x012D || record.function == 0x01F0) {
            const std::size_t index = record.words.at(0);
            EXPECT_TRUE(index < table.size() && table[index]) << "object " << index << " is not alive";
            if (record.function == 0x01F0 && index < table.size())
                table[index] = false;
        } else if (record.function == 0x0000) {
            EXPECT_EQ(size, 3u);
            ended = true;
        }
        file.records.push_back(record);
        at += 2 * static_cast<std::size_t>(size);
    }
    EXPECT_TRUE(ended) << "EOF is the last record";
    EXPECT_EQ(tableSize, peak) << "the object table is as large as the most objects alive";
    EXPECT_EQ(maxRecord, largest);
    EXPECT_EQ(std::count(table.begin(), table.end(), true), 0) << "every object deleted";
    return file;
}

std::vector<std::pair<int, int>> PointsOf(const Record& record)
{
    std::vector<std::pair<int, int>> points;
    EXPECT_EQ(record.words.at(0) * 2u + 1, record.words.size());
    for (std::size_t i = 1; i + 1 < record.words.size(); i += 2)
        points.emplace_back(record.Signed(i), record.Signed(i + 1));
    return points;
}

class WmfWriting : public ::testing::Test {
protected:
    Metafile Write(const WmfOptions& options = WmfOptions())
    {
        std::string bytes, error;
        EXPECT_TRUE(WriteWmf(m_list, m_texts, options, bytes, error)) << error;
        return ReadWmf(bytes);
    }
    void Polygon(std::initializer_list<SlidePoint> points, int color)
    {
        std::vector<SlidePoint> p(points);
        ASSERT_TRUE(m_list.AddPolygon(p.data(), p.size(), color));
    }
    SlideDisplayList m_list;
    std::vector<WmfText> m_texts;
};

TEST_F(WmfWriting, RecordsOfASmallDrawing)
{
    m_list.AddLine(0, 0, 100, 0, 1);
    m_list.AddLine(100, 0, 100, 50, 1); // continues the first: one polyline
    Polygon({ { 10, 10 }, { 40, 10 }, { 10, 40 } }, 3);
    m_texts.push_back({ 20, 5, 8, 5, "M12" });
    const Metafile file = Write();
    EXPECT_EQ(file.Functions(),
        (std::vector<std::uint16_t> { 0x0103, 0x020B, 0x020C, 0x0102, 0x0106, 0x012E, // set-up
            0x02FA, 0x012D, 0x0325, // red pen, polyline
            0x02FA, 0x012D, 0x01F0, 0x02FC, 0x012D, 0x0324, // green pen swapped in, brush, polygon
            0x02FB, 0x012D, 0x0209, 0x0521, // font, text colour, text
            0x01F0, 0x01F0, 0x01F0, 0x0000 }));
    const auto& r = file.records;
    EXPECT_EQ(r[0].words, (std::vector<std::uint16_t> { 8 }));
    EXPECT_EQ(r[1].Signed(0), -50) << "window origin y: the top, negated";
    EXPECT_EQ(r[1].Signed(1), 0);
    EXPECT_EQ(r[2].words, (std::vector<std::uint16_t> { 50, 100 }));
    EXPECT_EQ(r[3].words, (std::vector<std::uint16_t> { 1, 0 }));
    EXPECT_EQ(r[4].words, (std::vector<std::uint16_t> { 1, 0 }));
    EXPECT_EQ(r[5].words, (std::vector<std::uint16_t> { 24, 0 }));
    EXPECT_EQ(r[6].words, (std::vector<std::uint16_t> { 0, 0, 0, 0x00FF, 0 })) << "solid, one pixel, red";
    EXPECT_EQ(r[7].words, (std::vector<std::uint16_t> { 0 }));
    EXPECT_EQ(PointsOf(r[8]), (std::vector<std::pair<int, int>> { { 0, 0 }, { 100, 0 }, { 100, -50 } }));
    EXPECT_EQ(r[9].words, (std::vector<std::uint16_t> { 0, 0, 0, 0xFF00, 0 }));
    EXPECT_EQ(r[10].words, (std::vector<std::uint16_t> { 1 }));
    EXPECT_EQ(r[11].words, (std::vector<std::uint16_t> { 0 })) << "the red pen goes once the green is in";
    EXPECT_EQ(r[12].words, (std::vector<std::uint16_t> { 0, 0xFF00, 0, 0 })) << "solid green brush";
    EXPECT_EQ(r[13].words, (std::vector<std::uint16_t> { 0 })) << "the lowest free index";
    EXPECT_EQ(PointsOf(r[14]), (std::vector<std::pair<int, int>> { { 10, -10 }, { 40, -10 }, { 10, -40 } }));
    EXPECT_EQ(r[16].words, (std::vector<std::uint16_t> { 2 }));
    EXPECT_EQ(r[17].words, (std::vector<std::uint16_t> { 0x0000, 0x00FF })) << "blue text";
    EXPECT_EQ(r[18].words,
        (std::vector<std::uint16_t> { 3, 'M' | ('1' << 8), '2', static_cast<std::uint16_t>(-5), 20 }));
}

TEST_F(WmfWriting, PlaceableBoxIsTheDrawingWithItsMarginYNegated)
{
    m_list.AddLine(0, 0, 100, 50, 1);
    WmfOptions options;
    options.margin = 10;
    options.unitsPerInch = 1440;
    const Metafile file = Write(options);
    EXPECT_EQ(std::vector<int>(file.box, file.box + 4), (std::vector<int> { -10, -60, 110, 10 }));
    EXPECT_EQ(file.unitsPerInch, 1440);
    const Record& origin = *file.Of(0x020B).at(0);
    EXPECT_EQ(origin.Signed(0), -60);
    EXPECT_EQ(origin.Signed(1), -10);
    EXPECT_EQ(file.Of(0x020C).at(0)->words, (std::vector<std::uint16_t> { 70, 120 }));
}

TEST_F(WmfWriting, TextsWidenTheBoxAndAreGb2312)
{
    m_list.AddLine(0, 0, 10, 10, 1);
    m_texts.push_back({ 0, 20, 12, 7, "螺栓 M12" });
    const Metafile file = Write();
    EXPECT_EQ(file.box[1], -32) << "the text's top, 20 + 12";
    const Record& font = *file.Of(0x02FB).at(0);
    ASSERT_EQ(font.words.size(), 9u + 16u);
    EXPECT_EQ(font.Signed(0), -12) << "character height";
    EXPECT_EQ(font.words[4], 400);
    EXPECT_EQ(font.words[6] >> 8, 134) << "GB2312 charset";
    std::string face;
    for (std::size_t i = 9; i < font.words.size(); ++i) {
        face += static_cast<char>(font.words[i] & 0xFF);
        face += static_cast<char>(font.words[i] >> 8);
    }
    EXPECT_EQ(face, std::string("\xCB\xCE\xCC\xE5", 4) + std::string(28, '\0'));
    const Record& text = *file.Of(0x0521).at(0);
    const std::string gb = platform::Utf8ToGb18030("螺栓 M12");
    ASSERT_EQ(text.words.at(0), gb.size());
    std::string got;
    for (std::size_t i = 0; i < gb.size(); ++i)
        got += static_cast<char>(i % 2 ? text.words[1 + i / 2] >> 8 : text.words[1 + i / 2] & 0xFF);
    EXPECT_EQ(got, gb);
    EXPECT_EQ(text.Signed(text.words.size() - 2), -20);
    EXPECT_EQ(text.Signed(text.words.size() - 1), 0);
}

TEST_F(WmfWriting, BackgroundIsAPolygonOfTheBox)
{
    m_list.AddLine(0, 0, 10, 10, 1);
    WmfOptions options;
    options.fillBackground = true;
    options.background = SlideRgb(1, 2, 3);
    options.margin = 2;
    const Metafile file = Write(options);
    const Record& fill = *file.Of(0x0324).at(0);
    EXPECT_EQ(PointsOf(fill),
        (std::vector<std::pair<int, int>> { { -2, -12 }, { 12, -12 }, { 12, 2 }, { -2, 2 } }));
    EXPECT_EQ(file.Of(0x02FC).at(0)->words, (std::vector<std::uint16_t> { 0, 0x0201, 0x0003, 0 }));
}

struct MergeCase {
    const char* name;
    std::vector<std::array<int, 5>> lines; // colour, x1, y1, x2, y2
    std::vector<std::size_t> polylineSizes;
};

class WmfPolylines : public ::testing::TestWithParam<MergeCase> { };

TEST_P(WmfPolylines, JoinLinesThatContinueEachOther)
{
    SlideDisplayList list;
    for (const auto& l : GetParam().lines)
        list.AddLine(l[1], l[2], l[3], l[4], l[0]);
    std::string bytes, error;
    ASSERT_TRUE(WriteWmf(list, {}, WmfOptions(), bytes, error));
    std::vector<std::size_t> sizes;
    const Metafile file = ReadWmf(bytes);
    for (const Record* r : file.Of(0x0325))
        sizes.push_back(r->words.at(0));
    EXPECT_EQ(sizes, GetParam().polylineSizes);
}

std::vector<std::array<int, 5>> Staircase(int steps)
{
    std::vector<std::array<int, 5>> lines;
    for (int i = 0; i < steps; ++i)
        lines.push_back({ 1, i, i % 2, i + 1, (i + 1) % 2 });
    return lines;
}

INSTANTIATE_TEST_SUITE_P(Cases, WmfPolylines,
    ::testing::Values(
        MergeCase { "Chain", { { 1, 0, 0, 5, 0 }, { 1, 5, 0, 5, 5 }, { 1, 5, 5, 0, 0 } }, { 4 } },
        MergeCase { "Gap", { { 1, 0, 0, 5, 0 }, { 1, 6, 0, 9, 9 } }, { 2, 2 } },
        MergeCase { "ColourChange", { { 1, 0, 0, 5, 0 }, { 2, 5, 0, 9, 9 } }, { 2, 2 } },
        MergeCase { "LongChainSplitsAt4096Points", Staircase(5000), { 4096, 906 } }),
    [](const ::testing::TestParamInfo<MergeCase>& info) { return std::string(info.param.name); });

TEST_F(WmfWriting, SwappedObjectsReuseFreedIndices)
{
    for (int i = 0; i < 10; ++i)
        Polygon({ { i, 0 }, { i + 1, 0 }, { i, 1 } }, 1 + i % 2);
    std::string bytes, error;
    ASSERT_TRUE(WriteWmf(m_list, {}, WmfOptions(), bytes, error));
    EXPECT_EQ(ReadWmf(bytes).objectsCreated, 20);
    EXPECT_EQ(WordAt(bytes, 22 + 10), 3) << "a pen, a brush and the one coming in";
}

struct ScaleCase {
    const char* name;
    std::int32_t x1, y1, x2, y2;
    std::vector<int> box;
    std::vector<std::pair<int, int>> points;
};

class WmfScaling : public ::testing::TestWithParam<ScaleCase> { };

TEST_P(WmfScaling, SlideCoordinatesAreKeptWhereSixteenBitsHoldThem)
{
    const ScaleCase& c = GetParam();
    SlideDisplayList list;
    list.AddLine(c.x1, c.y1, c.x2, c.y2, 1);
    std::string bytes, error;
    ASSERT_TRUE(WriteWmf(list, {}, WmfOptions(), bytes, error));
    const Metafile file = ReadWmf(bytes);
    EXPECT_EQ(std::vector<int>(file.box, file.box + 4), c.box);
    EXPECT_EQ(PointsOf(*file.Of(0x0325).at(0)), c.points);
    EXPECT_EQ(file.Of(0x020C).at(0)->words,
        (std::vector<std::uint16_t> { static_cast<std::uint16_t>(c.box[3] - c.box[1]),
            static_cast<std::uint16_t>(c.box[2] - c.box[0]) }))
        << "the window's extent";
}

INSTANTIATE_TEST_SUITE_P(Cases, WmfScaling,
    ::testing::Values(ScaleCase { "AsTheyAre", -16000, -16000, 16000, 16000, { -16000, -16000, 16000, 16000 },
                          { { -16000, 16000 }, { 16000, -16000 } } },
        ScaleCase { "MovedWhereACornerDoesNotFit", 30000, 0, 40000, 100, { 0, 0, 10000, 100 },
            { { 0, 100 }, { 10000, 0 } } },
        ScaleCase { "ScaledWhereTheBoxIsTooWide", 0, 0, 40000, 10000, { 0, 0, 32767, 8192 },
            { { 0, 8192 }, { 32767, 0 } } },
        // Every corner fits, but not the width of 60000.
        ScaleCase { "ScaledWhereOnlyTheWidthDoesNotFit", -30000, 0, 30000, 15000, { 0, 0, 32767, 8192 },
            { { 0, 8192 }, { 32767, 0 } } },
        ScaleCase { "APointStillHasABox", 0, 0, 0, 0, { 0, -1, 1, 0 }, { { 0, 0 }, { 0, 0 } } }),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

TEST_F(WmfWriting, RefusesAPolygonTooLargeForARecord)
{
    std::vector<SlidePoint> points(32768);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = { static_cast<std::int32_t>(i % 100), static_cast<std::int32_t>(i / 100), 1 };
    ASSERT_TRUE(m_list.AddPolygon(points.data(), points.size(), 1));
    std::string bytes, error;
    EXPECT_FALSE(WriteWmf(m_list, {}, WmfOptions(), bytes, error));
    EXPECT_NE(error.find("32768"), std::string::npos) << error;
}

} // namespace
} // namespace orv

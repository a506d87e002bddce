#include "navigation/DirectorySearch.h"

#include "navigation/ContentsTree.h"
#include "navigation/FullTextIndex.h"
#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Hooks.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace orv {
namespace {

const bool kRunning = true;

// Plain form: records "label,[id]" with inclusive START,END ranges over content.
std::shared_ptr<const FullTextIndex> Plain(
    const std::vector<std::tuple<std::string, long long, long long>>& records, std::string_view content)
{
    std::string index;
    for (const auto& [markers, start, end] : records)
        index += "r," + markers + "\r\n" + std::to_string(start) + "," + std::to_string(end) + "\r\n";
    return FullTextIndex::FromBytes(index, content, FullTextFormat::Plain);
}

// Compressed form: records of (markers, text); the index gives each record's end offset.
std::shared_ptr<const FullTextIndex> Compressed(
    const std::vector<std::pair<std::string, std::string>>& records)
{
    std::string index, content, stream;
    for (const auto& [markers, text] : records) {
        content += text;
        index += "r," + markers + "\r\n" + std::to_string(content.size()) + "\r\n";
    }
    EXPECT_EQ(DeflateBytes(content, stream), 0);
    return FullTextIndex::FromBytes(index, stream, FullTextFormat::Compressed);
}

std::vector<std::size_t> Hits(const FullTextIndex& index, std::string_view text)
{
    return index.Find(text, kRunning).Hits;
}

std::string Gb(std::string_view utf8)
{
    return platform::Utf8ToGb18030(utf8);
}

TEST(FullTextIndexTest, FoldsAsciiLettersOnly)
{
    const auto index
        = Plain({ { "[1]", 0, 9 }, { "[2]", 10, 30 } }, Gb("M10 Bolt\r\n") + Gb("螺栓ｂｏｌｔ and nut\r\n"));
    const std::pair<std::string, std::vector<std::size_t>> cases[] = {
        { "bolt", { 0 } },
        { "BOLT", { 0 } },
        { "ｂｏｌｔ", { 1 } },
        { "ＢＯＬＴ", {} },
        { "NUT", { 1 } },
        { "螺栓", { 1 } },
    };
    for (const auto& [text, hits] : cases)
        EXPECT_EQ(Hits(*index, text), hits) << text;
}

TEST(FullTextIndexTest, MatchesOnlyAtCharacterStarts)
{
    // 0x81 0x41 and 0x81 0x61 are two-byte characters whose trail bytes read as "A" and "a";
    // "\xD6\xD0\xCE\xC4" is 中文, whose middle bytes form another character.
    const std::string straddle = platform::Gb18030ToUtf8("\xD0\xCE");
    const std::pair<std::string, std::string> cases[] = {
        { std::string("x\x81\x41y"), "A" },
        { std::string("x\x81\x61y"), "A" },
        { std::string("x\x81\x61y"), "a" },
        { std::string("\xD6\xD0\xCE\xC4"), straddle },
    };
    for (const auto& [content, text] : cases) {
        const std::string padded = content + "\r\n";
        const auto index
            = Plain({ { "[1]", 0, 0 }, { "[2]", 0, static_cast<long long>(padded.size()) } }, padded);
        EXPECT_TRUE(Hits(*index, text).empty()) << text;
    }
    const auto index = Plain({ { "[1]", 0, 0 }, { "[2]", 1, 20 } },
        std::string("\x81\x41"
                    "A\r\n"));
    EXPECT_EQ(Hits(*index, "a"), std::vector<std::size_t> { 1 });
}

TEST(FullTextIndexTest, ReportsARecordOnceHoweverOftenItHoldsTheText)
{
    const std::string content = "bolt bolt bolt\r\nnut\r\nbolt\r\n";
    const auto plain = Plain({ { "[1]", 0, 15 }, { "[2]", 16, 20 }, { "[3]", 21, 26 } }, content);
    EXPECT_EQ(Hits(*plain, "bolt"), (std::vector<std::size_t> { 0, 2 }));
    const auto compressed
        = Compressed({ { "[1]", "bolt bolt bolt\r\n" }, { "[2]", "nut\r\n" }, { "[3]", "bolt\r\n" } });
    EXPECT_EQ(Hits(*compressed, "bolt"), (std::vector<std::size_t> { 0, 2 }));
}

TEST(FullTextIndexTest, CompressedRecordsEndAtTheirOffsetsAndKeepTheirFirstMarkerGroup)
{
    const auto index = Compressed({ { "[5][9]", "washer\r\n" }, { "[7]", "bo" }, { "[8]", "lt\r\n" } });
    ASSERT_EQ(index->LoadStatus(), FullTextIndex::Status::Ok);
    EXPECT_EQ(index->Records()[0].Markers, "[5]");
    EXPECT_EQ(Hits(*index, "washer"), std::vector<std::size_t> { 0 });
    // "bo" + "lt" runs across a record end: no record holds it.
    EXPECT_TRUE(Hits(*index, "bolt").empty());
}

TEST(FullTextIndexTest, DamagedCompressedContentIsReportedNotSearched)
{
    std::string stream;
    ASSERT_EQ(DeflateBytes(std::string(100000, 'x') + "bolt", stream), 0);
    const std::string cuts[] = { stream.substr(0, stream.size() / 2), "not a zlib stream" };
    for (const std::string& cut : cuts) {
        const auto index = FullTextIndex::FromBytes("r,[1]\r\n100004\r\n", cut, FullTextFormat::Compressed);
        EXPECT_EQ(index->LoadStatus(), FullTextIndex::Status::Damaged);
        EXPECT_TRUE(Hits(*index, "x").empty());
        SearchTreeCopy tree;
        tree.Nodes = { { "D", -1, 1 } };
        tree.TableDirIDs = { 1 };
        tree.TableItems = { 0 };
        const SearchOutcome outcome = SearchFullText(tree, *index, "x", SearchScope::All, {}, kRunning);
        EXPECT_TRUE(outcome.ContentDamaged);
        EXPECT_TRUE(outcome.Rows.empty());
    }
}

TEST(FullTextIndexTest, PlainRangesAreClampedAndDecreasingEndsAreEmpty)
{
    const std::string content = "nut\r\nbolt\r\n";
    const std::pair<std::vector<std::tuple<std::string, long long, long long>>, std::vector<std::size_t>>
        cases[] = {
            { { { "[1]", 0, 4 }, { "[2]", 5, 999999 } }, { 1 } }, // end past the content
            { { { "[1]", 0, 4 }, { "[2]", 8, 5 } }, {} }, // decreasing end: empty
            { { { "[1]", 0, 4 }, { "[2]", 5, -1 } }, { 1 } }, // -1 reads as the largest offset
            { { { "[1]", 0, 4 }, { "[2]", 99999, 999999 } }, {} }, // beyond the content
            { { { "[1]", 0, 99 } }, {} }, // one record: the scan needs two
        };
    for (const auto& [records, hits] : cases)
        EXPECT_EQ(Hits(*Plain(records, content), "bolt"), hits);
}

TEST(FullTextIndexTest, OverlappingUnsortedAndZeroRangesEnd)
{
    const std::string content = "bolt nut bolt nut bolt\r\n";
    const std::pair<std::vector<std::tuple<std::string, long long, long long>>, std::vector<std::size_t>>
        cases[] = {
            { { { "[1]", 0, 0 }, { "[2]", 0, 0 }, { "[3]", 0, 0 } }, { 0, 1, 2 } },
            { { { "[1]", 0, 23 }, { "[2]", 0, 12 }, { "[3]", 5, 8 } }, { 0, 1 } },
            { { { "[1]", 18, 23 }, { "[2]", 0, 4 }, { "[3]", 5, 8 } }, { 0, 1 } },
        };
    for (const auto& [records, hits] : cases) {
        auto index = Plain(records, content);
        std::promise<std::vector<std::size_t>> done;
        auto result = done.get_future();
        std::thread([index, &done] { done.set_value(Hits(*index, "bolt")); }).detach();
        // A hang guard only: the scan takes microseconds.
        ASSERT_EQ(result.wait_for(std::chrono::seconds(60)), std::future_status::ready);
        EXPECT_EQ(result.get(), hits);
    }
}

TEST(FullTextIndexTest, ClearedRunningFlagEndsALargeScanEarlyKeepingEarlierHits)
{
    const std::size_t size = 50u << 20;
    std::string content(size, 'x');
    content.replace(10, 4, "bolt");
    content.replace(size - 10, 4, "bolt");
    const auto index = Plain({ { "[1]", 0, 1000 }, { "[2]", 1001, static_cast<long long>(size) } }, content);
    bool running = true;
    int pumps = 0;
    auto previous = platform::SetPumpEventsHook([&] {
        ++pumps;
        running = false;
    });
    const FullTextIndex::Result result = index->Find("bolt", running);
    platform::SetPumpEventsHook(previous);
    EXPECT_TRUE(result.Interrupted);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(result.Hits, std::vector<std::size_t> { 0 });
}

TEST(FullTextIndexTest, CachedIndexIsReadAgainOnlyAfterItsFilesChange)
{
    test::TempFolder folder;
    const std::string gallery = folder.ProgramAt("G.GAL");
    EXPECT_EQ(CachedFullTextIndex(gallery)->LoadStatus(), FullTextIndex::Status::Missing);
    test::WriteFile(folder.NativeAt("G/other"), "");
    std::string error;
    ASSERT_TRUE(WriteFullTextFiles(
        folder.ProgramAt("G"), "G", { { { 1 }, "bolt" }, { { 2 }, "nut" } }, FullTextFormat::Plain, error))
        << error;
    const auto first = CachedFullTextIndex(gallery);
    EXPECT_EQ(Hits(*first, "nut"), std::vector<std::size_t> { 1 });
    EXPECT_EQ(CachedFullTextIndex(gallery), first);
    ASSERT_TRUE(WriteFullTextFiles(folder.ProgramAt("G"), "G",
        { { { 1 }, "washer" }, { { 2 }, "nut" }, { { 3 }, "nut" } }, FullTextFormat::Compressed, error))
        << error;
    const auto second = CachedFullTextIndex(gallery);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Format(), FullTextFormat::Compressed);
    EXPECT_EQ(Hits(*second, "nut"), (std::vector<std::size_t> { 1, 2 }));
}

TEST(FullTextIndexTest, SourceTextIsTheFirstRecordNamingTheDirectory)
{
    const auto index = Compressed(
        { { "[5][9]", Gb("平垫圈\r\n") }, { "[9]", "washer\r\n" }, { "[7]", std::string("a\0b", 3) } });
    const std::pair<std::int32_t, std::string> cases[]
        = { { 5, "平垫圈\r\n" }, { 9, "平垫圈\r\n" }, { 7, "a" }, { 1, "" } };
    for (const auto& [dirId, text] : cases)
        EXPECT_EQ(index->SourceText(dirId), text) << dirId;
    EXPECT_EQ(Plain({ { "[5]", 0, 3 }, { "[6]", 4, 9 } }, "bolt nut\r\n")->SourceText(5), "");
}

// Speciality 机械 with directories 1 M10 Bolt, 2 Nut (below 1), 3 Bolt Head; speciality
// 电气 with directory 4 Cable.
ContentsTree MakeTree()
{
    ContentsTree tree;
    const int mech = tree.AddNode(-1, "机械", 0, 0, 0);
    const int bolt = tree.AddNode(mech, "M10 Bolt", 1, 1, 1);
    const int nut = tree.AddNode(bolt, "Nut", 1, 1, 2);
    const int head = tree.AddNode(mech, "Bolt Head", 1, 1, 3);
    const int elec = tree.AddNode(-1, "电气", 0, 0, 0);
    const int cable = tree.AddNode(elec, "Cable bolt", 1, 1, 4);
    for (int node : { bolt, nut, head, cable }) {
        tree.Table.DirID.push_back(static_cast<std::uint32_t>(tree.Nodes[node].DirID));
        tree.Table.Item.push_back(node);
        tree.Table.Content.push_back("NULL");
    }
    return tree;
}

std::vector<std::uint32_t> Ids(const SearchOutcome& outcome)
{
    std::vector<std::uint32_t> ids;
    for (const SearchRow& row : outcome.Rows)
        ids.push_back(row.DirID);
    return ids;
}

TEST(DirectorySearchTest, TitleSearchInEachScope)
{
    ContentsTree tree = MakeTree();
    tree.Selected = 0; // the speciality 机械: itself no result
    const SearchTreeCopy copy = SearchTreeCopy::From(tree);
    const SearchOutcome all = SearchTitles(copy, "bolt", SearchScope::All, {}, kRunning);
    EXPECT_EQ(Ids(all), (std::vector<std::uint32_t> { 1, 3, 4 }));
    EXPECT_EQ(all.Rows[0].Title, "M10 BOLT");
    EXPECT_EQ(all.Rows[0].Location, "机械\\M10 Bolt");
    const SearchOutcome under = SearchTitles(copy, "bolt", SearchScope::Selected, {}, kRunning);
    EXPECT_EQ(Ids(under), (std::vector<std::uint32_t> { 1, 3 }));
    EXPECT_EQ(under.Rows[0].Title, "M10 Bolt");
    EXPECT_TRUE(SearchTitles(copy, "机械", SearchScope::Selected, {}, kRunning).Rows.empty());
    // Two adjacent rows to remove: neither survives.
    const std::vector<SearchRow> previous
        = { { 2, "Nut", "" }, { 4, "Cable", "" }, { 3, "Bolt Head", "" }, { 1, "M10 Bolt", "" } };
    EXPECT_EQ(Ids(SearchTitles(copy, "BOLT", SearchScope::WithinResults, previous, kRunning)),
        (std::vector<std::uint32_t> { 3, 1 }));
}

TEST(DirectorySearchTest, FullTextSearchInEachScope)
{
    ContentsTree tree = MakeTree();
    tree.Selected = 1; // M10 Bolt and its Nut
    const SearchTreeCopy copy = SearchTreeCopy::From(tree);
    const auto index
        = Compressed({ { "[2]", "hex nut\r\n" }, { "[4][3]", "cable nut\r\n" }, { "[1]", "bolt\r\n" } });
    const SearchOutcome all = SearchFullText(copy, *index, "NUT", SearchScope::All, {}, kRunning);
    EXPECT_EQ(Ids(all), (std::vector<std::uint32_t> { 2, 4 }));
    EXPECT_EQ(all.Rows[0].Title, "Nut");
    EXPECT_EQ(all.Rows[0].Location, "机械\\M10 Bolt\\Nut");
    EXPECT_EQ(Ids(SearchFullText(copy, *index, "nut", SearchScope::Selected, {}, kRunning)),
        (std::vector<std::uint32_t> { 2 }));
    const std::vector<SearchRow> previous = { { 4, "Cable bolt", "" }, { 1, "M10 Bolt", "" } };
    EXPECT_EQ(Ids(SearchFullText(copy, *index, "nut", SearchScope::WithinResults, previous, kRunning)),
        (std::vector<std::uint32_t> { 4 }));
}

TEST(DirectorySearchTest, ClearedRunningFlagEndsATitleSearchKeepingEarlierRows)
{
    ContentsTree tree;
    for (std::int32_t id = 1; id <= 5000; ++id) {
        tree.Table.DirID.push_back(static_cast<std::uint32_t>(id));
        tree.Table.Item.push_back(tree.AddNode(-1, "Bolt " + std::to_string(id), 1, 1, id));
        tree.Table.Content.push_back("NULL");
    }
    const SearchTreeCopy copy = SearchTreeCopy::From(tree);
    bool running = true;
    auto previous = platform::SetPumpEventsHook([&] { running = false; });
    const SearchOutcome outcome = SearchTitles(copy, "bolt", SearchScope::All, {}, running);
    platform::SetPumpEventsHook(previous);
    EXPECT_TRUE(outcome.Interrupted);
    EXPECT_FALSE(outcome.Rows.empty());
    EXPECT_LT(outcome.Rows.size(), 5000u);
    EXPECT_EQ(outcome.Rows.front().DirID, 1u);
}

TEST(DirectorySearchTest, SearchReadsItsOwnCopyOfTheTree)
{
    ContentsTree tree = MakeTree();
    const SearchTreeCopy copy = SearchTreeCopy::From(tree);
    bool running = true;
    auto previous = platform::SetPumpEventsHook([&] { tree.Clear(); });
    std::vector<std::string> titles;
    const SearchOutcome outcome
        = SearchFullText(copy, *Compressed({ { "[1]", "a\r\n" }, { "[4]", "a\r\n" } }), "a", SearchScope::All,
            {}, running, [&](const SearchRow& row) { titles.push_back(row.Title); });
    platform::SetPumpEventsHook(previous);
    EXPECT_TRUE(tree.Nodes.empty());
    EXPECT_EQ(titles, (std::vector<std::string> { "M10 Bolt", "Cable bolt" }));
    EXPECT_EQ(Ids(outcome), (std::vector<std::uint32_t> { 1, 4 }));
}

} // namespace
} // namespace orv

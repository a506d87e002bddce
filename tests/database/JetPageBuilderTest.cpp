#include "database/jet/JetPageBuilder.h"

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

unsigned U16(const unsigned char* p) { return p[0] | p[1] << 8; }
std::uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }

// The rows of a data page, each from its offset to the previous row's start.
std::vector<std::string> RowsOf(CJetPageBuilder& pages, std::uint32_t page)
{
    const unsigned char* p = pages.Page(page);
    std::vector<std::string> rows;
    unsigned end = 4096;
    for (unsigned r = 0; r < U16(p + 12); ++r) {
        unsigned start = U16(p + 14 + 2 * r);
        EXPECT_LE(start, end);
        rows.emplace_back(reinterpret_cast<const char*>(p) + start, end - start);
        end = start;
    }
    unsigned used = 0;
    for (const std::string& row : rows)
        used += static_cast<unsigned>(row.size());
    EXPECT_EQ(U16(p + 2), 4096 - 14 - 2 * rows.size() - used) << "free space of page " << page;
    return rows;
}

std::set<std::uint32_t> MapPages(CJetPageBuilder& pages, const std::string& map)
{
    std::set<std::uint32_t> out;
    const auto* m = reinterpret_cast<const unsigned char*>(map.data());
    if (m[0] == 0) {
        for (std::size_t bit = 0; bit < (map.size() - 5) * 8; ++bit) {
            if (m[5 + bit / 8] >> (bit % 8) & 1)
                out.insert(U32(m + 1) + static_cast<std::uint32_t>(bit));
        }
        return out;
    }
    for (std::size_t e = 0; 5 + 4 * e <= map.size(); ++e) {
        std::uint32_t bitmap = U32(m + 1 + 4 * e);
        if (bitmap == 0)
            continue;
        EXPECT_EQ(pages.Page(bitmap)[0], 0x05);
        for (std::uint32_t bit = 0; bit < 4092 * 8; ++bit) {
            if (pages.Page(bitmap)[4 + bit / 8] >> (bit % 8) & 1)
                out.insert(static_cast<std::uint32_t>(e) * 4092 * 8 + bit);
        }
    }
    return out;
}

TEST(JetPageBuilderTest, RowsArePackedBackwardAndReadBackWhole)
{
    CJetPageBuilder pages(3);
    std::uint32_t a = pages.AddRow(7, "first");
    std::uint32_t b = pages.AddRow(7, "second row");
    EXPECT_EQ(a >> 8, 3u);
    EXPECT_EQ(b, a + 1);
    std::vector<std::string> rows = RowsOf(pages, 3);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "first");
    EXPECT_EQ(rows[1], "second row");
    EXPECT_EQ(U32(pages.Page(3) + 4), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pages.Page(3)) + 4091, 5), "first");
}

TEST(JetPageBuilderTest, PageFilledExactlyThenSpills)
{
    CJetPageBuilder pages(1);
    // Two rows filling the page to its last byte: 14 header + 4 offsets + rows = 4096.
    pages.AddRow(1, std::string(2000, 'a'));
    pages.AddRow(1, std::string(4096 - 14 - 4 - 2000, 'b'));
    EXPECT_EQ(U16(pages.Page(1) + 2), 0u);
    std::uint32_t next = pages.AddRow(1, "c");
    EXPECT_EQ(next, 2u << 8);
    EXPECT_EQ(pages.PagesOf(1), (std::vector<std::uint32_t>{1, 2}));

    std::uint32_t whole = pages.AddRow(2, std::string(CJetPageBuilder::kMaxRowBytes, 'd'));
    EXPECT_EQ(whole, 3u << 8);
    EXPECT_EQ(pages.AddRow(2, std::string(CJetPageBuilder::kMaxRowBytes + 1, 'e')), 0u);
}

TEST(JetPageBuilderTest, AtMost255RowsOnAPage)
{
    CJetPageBuilder pages(1);
    for (int i = 0; i < 300; ++i)
        pages.AddRow(9, "r");
    ASSERT_EQ(pages.PagesOf(9).size(), 2u);
    EXPECT_EQ(RowsOf(pages, 1).size(), 255u);
    EXPECT_EQ(RowsOf(pages, 2).size(), 45u);
}

TEST(JetPageBuilderTest, OwnersNeverSharePagesAndMapsListExactlyTheirPages)
{
    CJetPageBuilder pages(3);
    for (int i = 0; i < 40; ++i) {
        pages.AddRow(100, std::string(900, 'x'));
        pages.AddRow(CJetPageBuilder::kLvalOwner, std::string(1500, 'l'));
        pages.AddRow(200, std::string(1300, 'y'));
    }
    for (std::uint32_t owner : {100u, 200u, CJetPageBuilder::kLvalOwner}) {
        for (std::uint32_t page : pages.PagesOf(owner))
            EXPECT_EQ(U32(pages.Page(page) + 4), owner);
    }
    for (std::size_t limit : {4000u, 1u}) {  // inline bitmaps, then reference maps
        for (std::uint32_t owner : {100u, 200u}) {
            const std::vector<std::uint32_t>& owned = pages.PagesOf(owner);
            std::string map = pages.BuildUsageMap(owned, limit);
            EXPECT_EQ(map[0], limit == 1 ? 1 : 0);
            EXPECT_EQ(MapPages(pages, map), std::set<std::uint32_t>(owned.begin(), owned.end()));
        }
    }
    std::string empty = pages.BuildUsageMap({}, 4000);
    EXPECT_TRUE(MapPages(pages, empty).empty());
}

}  // namespace
}  // namespace orv

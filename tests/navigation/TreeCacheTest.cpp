#include "navigation/TreeCache.h"

#include "navigation/ContentsTree.h"
#include "navigation/TreeBuild.h"

#include <gtest/gtest.h>

#include <climits>

namespace orv {
namespace {

TEST(TreeCacheTest, CachePathIsTheUpperCasedGalleryPathWithLst)
{
    const std::pair<const char*, const char*> cases[] = {
        { "D:\\LIB\\Pipes.gal", "D:\\LIB\\PIPES.Lst" },
        { "\\home\\u\\lib.gal\\Mech.Gal", "\\HOME\\U\\LIB.GAL\\MECH.Lst" }, // only the extension is replaced
        { "\\home\\u\\Mech", "\\HOME\\U\\MECH.Lst" }, // never the database itself
    };
    for (const auto& [gallery, cache] : cases)
        EXPECT_EQ(TreeCachePathFor(gallery), cache) << gallery;
}

std::string Show(const TreeCacheRecord& r)
{
    return std::to_string(r.DirID) + "/" + r.Text + "/" + std::to_string(r.Image) + "/"
        + std::to_string(r.SelectedImage) + "/" + std::to_string(r.ParentPosition) + "/" + r.Content;
}

TEST(TreeCacheTest, LinesReadAsRecordsWithNamesHoldingSeparators)
{
    const std::string longName(400, 'N'), longContent(1000, 'C');
    const std::pair<std::string, const char*> cases[] = {
        { "12|螺栓|1|2|-1|\\S\\p.htm", "12/螺栓/1/2/-1/\\S\\p.htm" },
        { "-1|专业|0|0|-1|NULL", "-1/专业/0/0/-1/NULL" },
        { "12|A|B|3|4|0|C", "12/A|B/3/4/0/C" },
        { "12|A||B|3|4|0|C", "12/A||B/3/4/0/C" },
        { "12||A|3|4|0|C", "12/|A/3/4/0/C" },
        { "12|A|3|4|0|", "12/A/3/4/0/" }, // an empty content still makes six fields
        { "  7x|A|+3|-4z|9|C", "7/A/3/-4/9/C" }, // read as atol and atoi read
        { "99999999999|A|1|2|-99999999999|C", "2147483647/A/1/2/-2147483648/C" },
        { "-1||0|0|-1|NULL", nullptr }, // no name
        { "|A|1|2|-1|C", nullptr },
        { "12|A||2|-1|C", nullptr }, // no image
        { "12|A|1|2|-1", nullptr }, // five fields
        { "", nullptr },
    };
    for (const auto& [line, expected] : cases) {
        TreeCacheRecord record;
        const bool parsed = ParseTreeCacheLine(line, record);
        EXPECT_EQ(parsed, expected != nullptr) << line;
        if (parsed && expected) {
            EXPECT_EQ(Show(record), expected);
        }
    }
    TreeCacheRecord record;
    ASSERT_TRUE(ParseTreeCacheLine("5|" + longName + "|1|2|-1|" + longContent, record));
    EXPECT_EQ(record.Text, longName);
    EXPECT_EQ(record.Content, longContent);
}

TEST(TreeCacheTest, TextSplitsAtLineFeedsWithOrWithoutCarriageReturn)
{
    const auto records = ParseTreeCacheText("1|A|1|2|-1|C\r\n2|B|1|2|0|D\n\r\n3|E|1|2|0|F\r\r\n4|G|1|2|0|H");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].Content, "C");
    EXPECT_EQ(records[1].Content, "D");
    EXPECT_EQ(records[2].Content, "F\r");
    EXPECT_EQ(records[3].Content, "H");
}

// Found by fuzzing: a record whose text or content holds a CR (anywhere, even last) was taken
// for one that cannot be written, though it reads back as written.
TEST(TreeCacheTest, CarriageReturnsInsideARecordReadBackAsWritten)
{
    const TreeCacheRecord record { 0, "B|C\r", 1, 2, -1, "x\r\xdf\x81\r F\r" };
    EXPECT_TRUE(IsWritableTreeCacheRecord(record));
    std::string text;
    AppendTreeCacheRecord(text, record);
    const auto back = ParseTreeCacheText(text);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Text, record.Text);
    EXPECT_EQ(back[0].Content, record.Content);
    EXPECT_FALSE(IsWritableTreeCacheRecord({ 1, "a\nb", 1, 2, -1, "NULL" }));
    EXPECT_FALSE(IsWritableTreeCacheRecord({ 1, "a", 1, 2, -1, "x\ny" }));
}

// Records placed as the cache path places them: parent positions count directory records
// only, a position past the table puts the node at the top.
TEST(TreeCacheTest, RecordsHangBelowTheirParentPositions)
{
    const std::vector<TreeCacheRecord> records = {
        { 1, "顶", 1, 2, -1, "NULL" }, // before any speciality: at the top
        { -1, "甲", 0, 0, -1, "NULL" },
        { 2, "子", 1, 2, -1, "NULL" },
        { 3, "孙", 1, 2, 1, "NULL" },
        { -1, "乙", 0, 0, -1, "NULL" },
        { 4, "远", 1, 2, 0, "NULL" },
        { 5, "越界", 1, 2, 9, "NULL" },
    };
    ContentsTree tree;
    const TreeCounts counts = LoadTreeRecords(tree, records);
    EXPECT_EQ(counts.Nodes, 7);
    EXPECT_EQ(counts.TopLevel, 4); // 顶, 甲, 乙, 越界
    std::vector<std::string> parents;
    for (const TreeNode& node : tree.Nodes)
        parents.push_back(node.Parent < 0 ? "-" : tree.Nodes[static_cast<std::size_t>(node.Parent)].Text);
    EXPECT_EQ(parents, (std::vector<std::string> { "-", "-", "甲", "子", "-", "顶", "-" }));
    EXPECT_TRUE(tree.Nodes[1].Expanded) << "a speciality is opened when the next one begins";
    EXPECT_FALSE(tree.Nodes[4].Expanded) << "乙 has no children";
    EXPECT_EQ(tree.Table.Size(), 5u);
}

} // namespace
} // namespace orv

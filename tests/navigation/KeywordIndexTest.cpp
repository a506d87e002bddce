#include "navigation/KeywordIndex.h"

#include "app/common/ProfileFile.h"
#include "navigation/TreeBuild.h"
#include "navigation/TreeTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::MakeDirectory;

GalleryManifest Manifest()
{
    GalleryManifest m;
    m.Name = "K";
    m.GalleryName = "索引";
    m.Specialities = { { 1, "甲", "\\A", 1 } };
    m.Directories
        = { MakeDirectory(1, 0, 1, "螺栓"), MakeDirectory(2, 1, 1, "垫圈"), MakeDirectory(3, 0, 1, "螺母") };
    return m;
}

struct IndexGallery {
    explicit IndexGallery(const std::string& indexRows = std::string())
    {
        gallery = test::BuildSqliteGallery(folder, Manifest());
        if (!indexRows.empty())
            test::ExecGallerySql(gallery,
                "INSERT INTO DrawingDirIndex (IndexName, IndexDirID, IndexOrder) VALUES " + indexRows);
        test::OpenTestGallery(state, folder, gallery);
        state.HistoryIniPath = state.AppPath + "\\K.HIS";
    }
    test::TempFolder folder;
    std::string gallery;
    ReaderState state;
};

TEST(KeywordIndexTest, IndexRowsInOrderWithBadOrOutOfRangeDirIDsSkipped)
{
    IndexGallery g("('螺栓', '3', 2), ('垫圈', '12.7', 1), ('坏', 'word', 3), ('大', '99999999999', 4), "
                   "('负', '-5', 5), ('空', '', 6), ('M10 Bolt', ' 7 ', 7)");
    KeywordIndex index;
    LoadIndex(g.state, index);
    EXPECT_EQ(index.From, KeywordIndex::Source::Index);
    EXPECT_EQ(index.Terms, (std::vector<std::string> { "垫圈", "螺栓", "空", "M10 Bolt" }));
    EXPECT_EQ(index.DirIDs, (std::vector<std::uint32_t> { 12, 3, 0, 7 }));
}

TEST(KeywordIndexTest, WithoutIndexRowsTheTreeTitlesAreListed)
{
    IndexGallery g("('坏', 'word', 1)");
    BuildTree(g.state);
    KeywordIndex index;
    LoadIndex(g.state, index);
    EXPECT_EQ(index.From, KeywordIndex::Source::Tree);
    EXPECT_EQ(index.Terms, (std::vector<std::string> { "螺栓", "垫圈", "螺母" }));
    EXPECT_EQ(index.DirIDs, (std::vector<std::uint32_t> { 1, 2, 3 }));
}

// Loading used to do nothing without an open gallery, leaving the previous gallery's terms.
TEST(KeywordIndexTest, AGalleryWithoutAnIndexEmptiesThePreviousGallerysIndex)
{
    IndexGallery g("('螺栓', '3', 1)");
    KeywordIndex index;
    LoadIndex(g.state, index);
    ASSERT_EQ(index.Size(), 1u);
    g.state.DatabaseOpen = false;
    g.state.Database.CloseConnection();
    LoadIndex(g.state, index);
    EXPECT_EQ(index.Size(), 0u);
    EXPECT_TRUE(index.Terms.empty());
}

TEST(KeywordIndexTest, TypedTextSelectsTheFirstEntryItBegins)
{
    IndexGallery g("('垫圈', '2', 1), ('螺栓', '1', 2), ('螺母', '3', 3), ('M10 Bolt', '1', 4)");
    KeywordIndex index;
    LoadIndex(g.state, index);
    const std::pair<std::string, int> cases[] = {
        { "螺", 1 },
        { "螺母", 2 },
        { "M10", 3 },
        { "m10", -1 },
        { "螺栓螺", -1 },
        { "x", -1 },
    };
    for (const auto& [text, position] : cases)
        EXPECT_EQ(FindTyped(index, text), position) << text;
    const std::pair<std::string, int> picked[] = { { "m10 bolt", 3 }, { "m10", 3 }, { "none", -1 } };
    for (const auto& [text, position] : picked)
        EXPECT_EQ(FindPicked(index, text), position) << text;
}

TEST(KeywordIndexTest, AdjacentEqualTermsOpenTheChooserOthersJump)
{
    IndexGallery g("('Bolt', '1', 1), ('bolt', '2', 2), ('Nut', '3', 3), ('Bolt', '4', 4)");
    KeywordIndex index;
    LoadIndex(g.state, index);
    struct Case {
        int selected;
        IndexOpening::Kind kind;
        std::uint32_t dirId;
        std::string term;
    };
    const Case cases[] = {
        { 0, IndexOpening::Kind::Choose, 0, "Bolt" },
        { 1, IndexOpening::Kind::Choose, 0, "bolt" },
        { 2, IndexOpening::Kind::Jump, 3, "" },
        { 3, IndexOpening::Kind::Jump, 4, "" }, // equal to entry 0, but not adjacent
        { 4, IndexOpening::Kind::None, 0, "" },
        { -1, IndexOpening::Kind::None, 0, "" },
    };
    for (const Case& c : cases) {
        const IndexOpening opening = OpenSelected(index, c.selected);
        EXPECT_EQ(opening.What, c.kind) << c.selected;
        EXPECT_EQ(opening.DirID, c.dirId) << c.selected;
        EXPECT_EQ(opening.Term, c.term) << c.selected;
    }
}

TEST(KeywordIndexTest, TheComboHoldsTheSortedSearchHistoryUpToTheFirstEmptyKey)
{
    IndexGallery g("('螺栓', '1', 1)");
    ASSERT_EQ(CProfileFile(g.state.HistoryIniPath)
                  .WriteStrings({ { "Query", "Query1", "螺母" }, { "Query", "Query2", "Bolt" },
                      { "Query", "Query3", "" }, { "Query", "Query4", "stale" } }),
        0);
    KeywordIndex index;
    LoadIndex(g.state, index);
    EXPECT_EQ(index.History, (std::vector<std::string> { "Bolt", "螺母" }));
}

} // namespace
} // namespace orv

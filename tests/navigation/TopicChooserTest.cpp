#include "navigation/TopicChooser.h"

#include "navigation/TreeTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::MakeDirectory;

struct TopicGallery {
    TopicGallery()
    {
        GalleryManifest m;
        m.Name = "T";
        m.GalleryName = "主题";
        m.Specialities = { { 1, "甲", "\\A", 1 } };
        m.Directories = { MakeDirectory(1, 0, 1, "机械"), MakeDirectory(2, 1, 1, "螺栓"),
            MakeDirectory(3, 0, 1, "电气"), MakeDirectory(4, 3, 1, "螺栓"), MakeDirectory(5, 0, 1, "O'Brien"),
            MakeDirectory(6, 0, 1, "螺母") };
        gallery = test::BuildSqliteGallery(folder, m);
        test::OpenTestGallery(state, folder, gallery);
    }
    test::TempFolder folder;
    std::string gallery;
    ReaderState state;
};

std::vector<std::string> Rows(const std::vector<TopicRow>& rows)
{
    std::vector<std::string> out;
    for (const TopicRow& row : rows)
        out.push_back(std::to_string(row.DirID) + " " + row.Name + " " + row.Location);
    return out;
}

TEST(TopicChooserTest, TopicsAreTheDirectoriesNamedExactlyTheTermWithTheirLocations)
{
    TopicGallery g;
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        { "螺栓", { "2 螺栓 机械\\螺栓", "4 螺栓 电气\\螺栓" } },
        { "螺", {} },
        { "", {} },
        // A quote in the term once broke the statement, so the chooser showed nothing.
        { "O'Brien", { "5 O'Brien O'Brien" } },
        { "x' OR '1'='1", {} },
    };
    for (const auto& [term, rows] : cases)
        EXPECT_EQ(Rows(FindTopics(g.state, term)), rows) << term;
}

TEST(TopicChooserTest, ClicksChooseAndAnEmptyChooserAcceptedIsACancel)
{
    TopicGallery g;
    TopicChooser chooser;
    chooser.Load(g.state, "螺栓");
    EXPECT_EQ(chooser.Accept(), std::optional<std::int32_t>(2));
    chooser.Click(1);
    EXPECT_EQ(chooser.Accept(), std::optional<std::int32_t>(4));
    chooser.Click(5);
    EXPECT_EQ(chooser.ChosenDirID(), 4);
    EXPECT_EQ(chooser.DoubleClick(-1), std::nullopt);
    EXPECT_EQ(chooser.DoubleClick(0), std::optional<std::int32_t>(2));

    // Accepting an empty chooser once made directory 0 current.
    chooser.Load(g.state, "none");
    EXPECT_TRUE(chooser.Rows().empty());
    EXPECT_EQ(chooser.Accept(), std::nullopt);
}

TEST(TopicChooserTest, AJumpStartsAFreshVisitOfTheDirectory)
{
    TopicGallery g;
    g.state.CurrentDirID = 1;
    g.state.CurrentPage = 3;
    g.state.PendingHighlight = "螺栓";
    const std::size_t visits = g.state.History.Size();
    JumpToDirectory(g.state, 4);
    EXPECT_EQ(g.state.CurrentDirID, 4);
    EXPECT_EQ(g.state.CurrentPage, 0);
    EXPECT_TRUE(g.state.PendingHighlight.empty());
    ASSERT_EQ(g.state.History.Size(), visits + 1);
    EXPECT_EQ(g.state.History.DirIds.back(), 4u);
}

} // namespace
} // namespace orv

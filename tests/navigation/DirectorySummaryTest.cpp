#include "navigation/DirectorySummary.h"

#include "navigation/TreeBuild.h"
#include "navigation/TreeCommands.h"
#include "navigation/TreeTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::MakeDirectory;

// A directory reached by a page step or a link need not be the tree's selection, nor in the
// tree at all (a hidden one): its summary and caption come from the directory itself.
TEST(DirectorySummaryTest, TellsTheDirectoryWhereverItWasReachedFrom)
{
    GalleryManifest m;
    m.Name = "S";
    m.GalleryName = "摘要";
    m.Specialities = { { 1, "甲", "\\A", 1 } };
    ManifestDirectory b = MakeDirectory(2, 1, 1, "B");
    b.Path = "\\B";
    b.Content = "b.htm";
    b.Pages = { "b1.htm", "b2.htm", "b3.htm" };
    m.Directories = { MakeDirectory(1, 0, 1, "A"), b, MakeDirectory(5, 1, 1, "H", 0, -1) };

    test::TempFolder folder;
    const std::string gallery = test::BuildSqliteGallery(folder, m);
    ReaderState state;
    test::OpenTestGallery(state, folder, gallery);
    state.GalleryNames = { "摘要" };
    state.CurrentGallery = 0;
    BuildTree(state);
    ASSERT_TRUE(SelectDirNode(state.Tree, 1));
    const int selected = state.Tree.Selected;

    struct Case {
        std::int32_t dirId;
        int page;
        const char *title, *content, *caption;
        int pageCount;
    };
    const Case cases[] = {
        { 2, 1, "A\\B", "\\A\\B\\b.htm", "A\\B (第2页/共3页)", 3 },
        { 1, 0, "A", "", "A", 0 }, // no content: "NULL" is not shown
        { 5, 0, "A\\H", "", "A\\H", 0 }, // hidden: no tree node, still its own title
        { 0, 0, "", "", "", 0 },
        { 99, 0, "", "", "", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dirId);
        state.CurrentPage = c.page;
        const DirectorySummary summary = SummarizeDirectory(state, c.dirId);
        EXPECT_EQ(summary.Gallery, "摘要");
        EXPECT_EQ(summary.TitlePath, c.title);
        EXPECT_EQ(summary.Content, c.content);
        EXPECT_EQ(summary.Caption, c.caption);
        EXPECT_EQ(summary.PageCount, c.pageCount);
        EXPECT_EQ(state.Tree.Selected, selected) << "the tree's selection is left alone";
    }

    state.DatabaseOpen = false;
    EXPECT_EQ(SummarizeDirectory(state, 2).Caption, "");
}

} // namespace
} // namespace orv

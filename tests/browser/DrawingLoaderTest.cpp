#include "browser/DrawingLoader.h"

#include "browser/BrowserTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace test;
using Ids = std::vector<std::uint32_t>;

bool StartsWith(const std::string& text, const std::string& head)
{
    return text.compare(0, head.size(), head) == 0;
}

TEST(DrawingLoaderTest, PreviewFileSplitsIntoLibraryAndMemberOnlyForAClosedSlideName)
{
    const struct {
        const char* preview;
        const char* member;
        const char* library;
    } cases[] = {
        { "bolt(m12).sld", "M12", "BOLT.SLB" },
        { "bolt.sld", "BOLT.SLD", "" },
        { "a(b.sld", "A(B.SLD", "" }, // no closing parenthesis
        { "(m12).sld", "(M12).SLD", "" }, // "(" must not open the name
        { "bolt(m12).jpg", "BOLT(M12).JPG", "" }, // not a slide
        { "lib(a)x.SLD", "A", "LIB.SLB" }, // text after ")" is dropped
        { "", "", "" },
    };
    for (const auto& c : cases) {
        const PreviewSplit split = SplitPreviewFile(c.preview);
        EXPECT_EQ(split.Member, c.member) << c.preview;
        EXPECT_EQ(split.Library, c.library) << c.preview;
    }
}

TEST(DrawingLoaderTest, TreeLoaderChoosesItsStatementByTheGalleryAndShowJoin)
{
    const std::string join = "SELECT DrawingList.DrawingName,DrawingList.DrawingID as TDrawingID,";
    const std::string ordered = "Select DrawingName,DrawingList.DrawingID as TDrawingID ,Status1,";
    const std::string pieces = "SELECT DrawingName,DrawingID as TDrawingID,Status1,";
    const struct {
        DirListForm form;
        bool showJoin;
        std::string head;
        bool unboundFilter;
        Ids ids;
    } cases[] = {
        { DirListForm::WithOrder, false, ordered, false, { 6, 5, 4, 3, 2, 1 } }, // no bound filter here
        { DirListForm::WithOrder, true, ordered, false, { 6, 5, 4, 3, 2, 1 } },
        { DirListForm::WithoutOrder, false, pieces, true, { 2, 3, 4, 5, 1 } },
        { DirListForm::WithoutOrder, true, pieces, false, { 2, 3, 4, 5, 6, 1 } },
        { DirListForm::Missing, false, join, true, { 2, 3, 4, 5, 1 } },
        { DirListForm::Missing, true, join, false, { 2, 3, 4, 5, 6, 1 } },
    };
    for (const auto& c : cases) {
        BrowserGallery g(c.form, c.showJoin ? "[Preview]\r\nShowJoin=1\r\n" : "[Preview]\r\nShowJoin=2\r\n");
        g.state.CurrentDirID = kPartsDir;
        const DrawingLoadResult result = LoadTreeDirectoryDrawings(g.state);
        const std::string what = std::to_string(static_cast<int>(c.form)) + (c.showJoin ? " join" : "");
        EXPECT_TRUE(StartsWith(result.Statement, c.head)) << what << ": " << result.Statement;
        EXPECT_EQ(result.Statement.find("BoundDrawingID=0") != std::string::npos, c.unboundFilter) << what;
        EXPECT_TRUE(result.Filled) << what;
        EXPECT_EQ(ListIds(g.state.Drawings), c.ids) << what;
        EXPECT_FALSE(result.Title) << what;
    }
}

TEST(DrawingLoaderTest, LinkLoaderListsTheDirectorysOwnDrawingsWithItsPagedTitle)
{
    const struct {
        const char* ini;
        std::int32_t dir, page;
        Ids ids;
        std::string title;
    } cases[] = {
        { "", kPartsDir, 0, { 1, 2, 3, 4, 5 }, "零件" },
        { "[preview]\nshowjoin=1\n", kPartsDir, 0, { 1, 2, 3, 4, 5, 6 }, "零件" },
        { "", kBoltsDir, 1, { 7, 8 }, "零件\\螺栓 (第2页/共2页)" },
        { "", kEmptyDrawingDir, 0, {}, "空" },
    };
    for (const auto& c : cases) {
        BrowserGallery g(DirListForm::WithOrder, c.ini);
        g.state.CurrentDirID = c.dir;
        g.state.CurrentPage = c.page;
        const DrawingLoadResult result = LoadDirectoryDrawings(g.state);
        EXPECT_TRUE(StartsWith(result.Statement, "SELECT DrawingList.DrawingName,")) << result.Statement;
        EXPECT_EQ(ListIds(g.state.Drawings), c.ids) << c.dir;
        ASSERT_TRUE(result.Title) << c.dir;
        EXPECT_EQ(*result.Title, c.title);
    }
}

TEST(DrawingLoaderTest, EveryRowFillsAllColumnsWithTheGalleryFolder)
{
    BrowserGallery g;
    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    const DirDrawingList& list = g.state.Drawings;
    ASSERT_EQ(list.Size(), 5u);
    for (const auto* column :
        { &list.Names, &list.Captions, &list.PreviewMembers, &list.PreviewLibraries, &list.Folders,
            &list.Status1, &list.AppClass, &list.FunClass, &list.ShpClass, &list.QueryKeyword })
        EXPECT_EQ(column->size(), list.Size());
    EXPECT_EQ(list.Names[0], "A1");
    EXPECT_EQ(list.Captions[0], "");
    EXPECT_EQ(list.PreviewMembers[0], "M12");
    EXPECT_EQ(list.PreviewLibraries[0], "BOLT.SLB");
    EXPECT_EQ(list.Folders[0], g.parts);
    EXPECT_EQ(list.Status1[0], "新");
    EXPECT_EQ(list.AppClass[1], "应用A2");
    EXPECT_EQ(list.QueryKeyword[4], "kw A5");
}

TEST(DrawingLoaderTest, EveryLoadEmptiesTheListAndTheSelectionWhateverFollows)
{
    const struct {
        const char* what;
        bool tree;
        bool open;
        std::int32_t dir;
    } cases[] = {
        { "tree, empty directory", true, true, kEmptyDrawingDir },
        { "link, empty directory", false, true, kEmptyDrawingDir },
        { "tree, gallery closed", true, false, kPartsDir },
        { "link, gallery closed", false, false, kPartsDir },
    };
    for (const auto& c : cases) {
        BrowserGallery g;
        g.state.CurrentDirID = kPartsDir;
        LoadDirectoryDrawings(g.state);
        g.state.Drawings.SelectedDrawingIndex = 2;
        g.state.Drawings.SelectedDrawingID = 3;
        if (!c.open) {
            g.state.Database.CloseConnection();
            g.state.DatabaseOpen = false;
        }
        g.state.CurrentDirID = c.dir;
        const DrawingLoadResult result
            = c.tree ? LoadTreeDirectoryDrawings(g.state) : LoadDirectoryDrawings(g.state);
        EXPECT_EQ(g.state.Drawings.Size(), 0u) << c.what;
        EXPECT_TRUE(g.state.Drawings.Status1.empty()) << c.what;
        EXPECT_EQ(g.state.Drawings.SelectedDrawingIndex, -1) << c.what;
        EXPECT_EQ(g.state.Drawings.SelectedDrawingID, -1) << c.what;
        EXPECT_EQ(result.Filled, c.open) << c.what;
    }
}

TEST(DrawingLoaderTest, StatementThatCannotBeOpenedLeavesTheListAsItWasWithTheLibraryError)
{
    BrowserGallery g;
    std::string error;
    EXPECT_FALSE(FillDrawingList(g.state, "Select * from NoSuchTable", error));
    EXPECT_EQ(error, "图集库错误");
    EXPECT_EQ(g.state.Drawings.Size(), 0u);
}

} // namespace
} // namespace orv

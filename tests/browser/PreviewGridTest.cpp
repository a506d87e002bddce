#include "browser/PreviewGrid.h"

#include "browser/BrowserTestSupport.h"
#include "browser/DrawingLoader.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace test;

// A list of count drawings made in memory (ids 101, 102, ...; captions "C1", "C2", ...).
DirDrawingList MemoryList(int count)
{
    DirDrawingList list;
    for (int i = 1; i <= count; ++i) {
        list.Ids.push_back(static_cast<std::uint32_t>(100 + i));
        list.Names.push_back("N" + std::to_string(i));
        list.Captions.push_back("C" + std::to_string(i));
        list.PreviewMembers.push_back("P" + std::to_string(i) + ".SLD");
        list.PreviewLibraries.push_back("");
        list.Folders.push_back("\\nowhere");
        list.Status1.push_back("");
        list.AppClass.push_back("");
        list.FunClass.push_back("");
        list.ShpClass.push_back("");
        list.QueryKeyword.push_back("");
    }
    return list;
}

TEST(PreviewGridTest, SettingsAcceptOnlyGridSidesFrom1To9AndColours)
{
    const struct {
        const char* ini;
        int rows, columns;
        std::uint32_t background;
    } cases[] = {
        { "", 3, 3, kSystemWindowColour },
        { "[Preview]\nRow=4\nCol=9\nImgBck=255.9\n", 4, 9, 255 },
        { "[Preview]\nRow=0\nCol=10\n", 3, 3, kSystemWindowColour },
        { "[Preview]\nRow=99999999999999999999\nCol=-1\n", 3, 3, kSystemWindowColour },
        { "[Preview]\nImgBck=16777216\n", 3, 3, kSystemWindowColour },
        { "[Preview]\nImgBck=-5\n", 3, 3, kSystemWindowColour },
        { "[Preview]\nImgBck=abc\n", 3, 3, kSystemWindowColour },
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteFile(folder.NativeAt("ORVBook.ini"), c.ini);
        const GridSettings s = ReadGridSettings(folder.ProgramAt("ORVBook.ini"));
        EXPECT_EQ(s.Rows, c.rows) << c.ini;
        EXPECT_EQ(s.Columns, c.columns) << c.ini;
        EXPECT_EQ(s.PictureBackground, c.background) << c.ini;
    }
    // An out-of-range value keeps the value already in force, not the start value.
    TempFolder folder;
    WriteFile(folder.NativeAt("ORVBook.ini"), "[Preview]\nRow=10\n");
    GridSettings before;
    before.Rows = 5;
    EXPECT_EQ(ReadGridSettings(folder.ProgramAt("ORVBook.ini"), before).Rows, 5);
}

TEST(PreviewGridTest, PagesRoundUpAndButtonsFollowThePage)
{
    const struct {
        int count, rows, columns, page;
        int pages, shown;
        bool previous, next;
    } cases[] = {
        { 10, 3, 3, 0, 2, 9, false, true },
        { 10, 3, 3, 1, 2, 1, true, false },
        { 0, 3, 3, 0, 0, 0, false, false },
        { 9, 3, 3, 0, 1, 9, false, false },
        { 81, 9, 9, 0, 1, 81, false, false },
        { 82, 9, 9, 1, 2, 1, true, false },
    };
    for (const auto& c : cases) {
        const DirDrawingList list = MemoryList(c.count);
        GridSettings settings;
        settings.Rows = c.rows;
        settings.Columns = c.columns;
        const GridPage page = BuildGridPage(list, settings, c.page);
        EXPECT_EQ(page.PageCount, c.pages) << c.count;
        ASSERT_EQ(page.Cells.size(), static_cast<std::size_t>(c.rows * c.columns));
        int shown = 0;
        for (const GridCell& cell : page.Cells)
            if (cell.DrawingIndex >= 0) {
                EXPECT_EQ(cell.DrawingIndex, c.page * c.rows * c.columns + cell.Cell);
                ++shown;
            } else {
                EXPECT_TRUE(cell.Caption.empty() && cell.PicturePath.empty());
            }
        EXPECT_EQ(shown, c.shown) << c.count << " page " << c.page;
        EXPECT_EQ(page.PreviousEnabled, c.previous) << c.count << " page " << c.page;
        EXPECT_EQ(page.NextEnabled, c.next) << c.count << " page " << c.page;
        EXPECT_EQ(NextGridPage(c.page, page.PageCount), c.next ? c.page + 1 : -1);
        EXPECT_EQ(PreviousGridPage(c.page), c.previous ? c.page - 1 : -1);
    }
}

TEST(PreviewGridTest, PicturePathPrefersTheLibraryThenAPictureThenTheSlide)
{
    BrowserGallery g;
    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    const std::string& p = g.parts;
    const std::pair<std::size_t, std::string> cases[] = {
        { 0, p + "\\BOLT(M12).slb" }, // the library exists
        { 1, p + "\\M8.jpg" }, // no library, the member's picture exists
        { 2, p + "\\W1.sld" }, // neither
        { 3, p + "\\A4.JPG" }, // a plain file that exists (as it is upper-cased)
        { 4, p + "\\A5.jpg" }, // a plain file that does not: ".jpg" in place of its extension
    };
    for (const auto& [i, path] : cases)
        EXPECT_EQ(GridPicturePath(g.state.Drawings, i), path) << i;
}

TEST(PreviewGridTest, CaptionFallsBackToTheNameAndCarriesStatus1)
{
    BrowserGallery g;
    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    GridSettings settings;
    const GridPage page = BuildGridPage(g.state.Drawings, settings, 0);
    EXPECT_EQ(page.Cells[0].Caption, "(A1)(新)");
    EXPECT_EQ(page.Cells[0].Tooltip, "(A1)(新)(鼠标右键放大显示)");
    EXPECT_EQ(page.Cells[1].Caption, "螺母");
}

TEST(PreviewGridTest, SelectingACellSetsTheSelectionAndTheComboLines)
{
    ReaderState state;
    state.Drawings = MemoryList(20);
    GridSettings settings;
    const struct {
        int page, cell;
        CellAction action;
        int index;
        std::int32_t id;
        std::vector<std::string> lines;
    } cases[] = {
        { 1, 4, CellAction::Click, 13, 114, { "14/20 C14" } },
        { 0, 0, CellAction::DoubleClick, 0, 101, { "1/20 [N1]C1" } },
        { 2, 2, CellAction::Click, 20, 0, {} }, // just past the list
        { 2, 8, CellAction::Click, 26, 0, {} },
    };
    for (const auto& c : cases) {
        const GridSelection s = SelectGridCell(state, settings, c.page, c.cell, c.action);
        const bool inside = !c.lines.empty();
        EXPECT_EQ(s.DrawingIndex, inside ? c.index : -1) << c.index;
        EXPECT_EQ(s.DrawingID, inside ? c.id : -1) << c.index;
        EXPECT_EQ(state.Drawings.SelectedDrawingIndex, inside ? c.index : -1) << c.index;
        EXPECT_EQ(state.Drawings.SelectedDrawingID, inside ? c.id : -1) << c.index;
        EXPECT_EQ(s.ComboLines, c.lines) << c.index;
        EXPECT_EQ(s.ComboSelection, inside ? 0 : -1) << c.index;
    }
}

TEST(PreviewGridTest, ComboListsTheDrawingsAttributesUnderTheGallerysTitles)
{
    BrowserGallery g;
    g.state.CurrentDirID = kBoltsDir;
    LoadDirectoryDrawings(g.state);
    const GridSelection s = SelectGridCell(g.state, GridSettings {}, 0, 1);
    const std::vector<std::string> lines { "2/2 螺栓8", "状态:", "内容2:应用B8", "内容3:功能", "形状类:形状",
        "查询索引:kw B8", "目录位置:\\零件\\螺栓" };
    EXPECT_EQ(s.ComboLines, lines);
    EXPECT_EQ(s.DrawingID, 8);

    // Directories that are each other's parents still give a location instead of a hang.
    g.state.Database.CloseConnection();
    ExecGallerySql(g.gallery, "UPDATE DrawingDir SET ParDirID = 2 WHERE DirID = 1");
    ASSERT_EQ(g.state.Database.ConnectDatabase(g.gallery, kGalleryPassword), 0);
    EXPECT_EQ(SelectGridCell(g.state, GridSettings {}, 0, 1).ComboLines, lines);
}

TEST(PreviewGridTest, ReloadReadsTheSettingsAndSelectsTheFirstDrawingOfPageZero)
{
    const struct {
        std::int32_t dir;
        int rows, pages, index;
        std::int32_t id;
    } cases[] = { { kPartsDir, 2, 1, 0, 1 }, { kEmptyDrawingDir, 2, 0, -1, -1 } };
    for (const auto& c : cases) {
        BrowserGallery g(DirListForm::WithOrder, "[Preview]\nRow=2\nCol=4\n");
        g.state.CurrentDirID = c.dir;
        LoadDirectoryDrawings(g.state);
        const GridReload reload = ReloadGrid(g.state, GridSettings {});
        EXPECT_EQ(reload.Settings.Rows, c.rows);
        EXPECT_EQ(reload.Page.Page, 0);
        EXPECT_EQ(reload.Page.PageCount, c.pages) << c.dir;
        EXPECT_EQ(reload.Page.Cells.size(), 8u);
        EXPECT_EQ(reload.Selection.DrawingIndex, c.index) << c.dir;
        EXPECT_EQ(g.state.Drawings.SelectedDrawingID, c.id) << c.dir;
        EXPECT_EQ(reload.Selection.ComboLines.empty(), c.id < 0) << c.dir;
    }
}

TEST(PreviewGridTest, LayoutDividesTheAreaByTheGridAndNeverGoesNegative)
{
    // 3 x 2 cells in 400 x 300 with a frame of 8 (gap 2) and a combo 20 high.
    GridLayout layout = LayoutGridCells(400, 300, 3, 2, 8, 20);
    ASSERT_EQ(layout.Cells.size(), 6u);
    const int cellWidth = (400 - 3 * 2) / 2; // 197
    const int cellHeight = (300 - 2 * 2 - 20) / 3; // 92
    const int pictureHeight = cellHeight - 20 - 2; // 70
    EXPECT_EQ(layout.Cells[0].Picture, (Rect { 2, 24, cellWidth, pictureHeight }));
    EXPECT_EQ(layout.Cells[0].Caption, (Rect { 2 + 8, 24 + pictureHeight, cellWidth - 16, 20 }));
    EXPECT_EQ(
        layout.Cells[5].Picture, (Rect { 2 + cellWidth + 2, 24 + 2 * cellHeight, cellWidth, pictureHeight }));
    EXPECT_EQ(layout.Previous, (Rect { 2, 2, 20, 20 }));
    EXPECT_EQ(layout.Next, (Rect { 400 - 2 - 20, 2, 20, 20 }));

    // Too small for its grid: every size is clamped at 0.
    layout = LayoutGridCells(10, 10, 9, 9, 8, 20);
    EXPECT_EQ(layout.Cells.size(), 81u);
    for (const CellRects& cell : layout.Cells) {
        EXPECT_GE(cell.Picture.Width, 0);
        EXPECT_GE(cell.Picture.Height, 0);
        EXPECT_GE(cell.Caption.Width, 0);
    }
    // Sides outside 1 to 9 are held there.
    EXPECT_EQ(LayoutGridCells(400, 300, 0, 50, 8, 20).Cells.size(), 9u);
}

} // namespace
} // namespace orv

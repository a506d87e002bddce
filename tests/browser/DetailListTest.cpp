#include "browser/DetailList.h"

#include "browser/BrowserTestSupport.h"
#include "browser/DrawingLoader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <memory>

namespace orv {
namespace {

using namespace test;

TEST(DetailListTest, RowsComeFromTheDrawingListAndKeepTheRememberedSelection)
{
    const struct {
        const char* what;
        std::int32_t remembered;
        int row;
    } cases[] = {
        { "remembered drawing listed", 3, 2 },
        { "remembered drawing not listed", 7, 0 },
        { "nothing remembered", -1, 0 },
    };
    for (const auto& c : cases) {
        BrowserGallery g;
        g.state.CurrentDirID = kPartsDir;
        LoadDirectoryDrawings(g.state);
        g.state.Drawings.SelectedDrawingID = c.remembered;
        const DetailFill fill = FillDetailList(g.state);
        ASSERT_EQ(fill.Rows.size(), 5u) << c.what;
        EXPECT_EQ(fill.Rows[1], (DetailRow { "螺母", "", "应用A2", "功能", "形状", "kw A2" })) << c.what;
        EXPECT_EQ(fill.SelectedRow, c.row) << c.what;
        EXPECT_EQ(g.state.Drawings.SelectedDrawingIndex, c.row) << c.what;
        EXPECT_EQ(g.state.Drawings.SelectedDrawingID, static_cast<std::int32_t>(c.row + 1)) << c.what;
    }
}

TEST(DetailListTest, EmptyOrClosedGivesNoRowsAndNoSelection)
{
    BrowserGallery g;
    g.state.CurrentDirID = kEmptyDrawingDir;
    LoadDirectoryDrawings(g.state);
    EXPECT_TRUE(FillDetailList(g.state).Rows.empty());
    EXPECT_EQ(g.state.Drawings.SelectedDrawingID, -1);

    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    g.state.DatabaseOpen = false;
    const DetailFill fill = FillDetailList(g.state);
    EXPECT_TRUE(fill.Rows.empty());
    EXPECT_EQ(fill.SelectedRow, -1);
}

TEST(DetailListTest, ColumnsCarryTheGallerysFieldTitles)
{
    BrowserGallery g;
    const std::vector<DetailColumn> columns = DetailColumns(g.state);
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(columns[0].Title, "名称");
    EXPECT_EQ(columns[0].Width, 150);
    EXPECT_EQ(columns[1].Title, "状态");
    EXPECT_EQ(columns[4].Title, "形状类");
    EXPECT_EQ(columns[5].Title, "查询索引");
    EXPECT_EQ(columns[5].Width, 100);
}

TEST(DetailListTest, UserChoiceAndGridClickMoveTheSelectionOnlyWithinTheList)
{
    BrowserGallery g;
    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    FillDetailList(g.state);
    DirDrawingList& list = g.state.Drawings;
    const struct {
        int row;
        bool changed;
        int index;
    } choices[] = { { 3, true, 3 }, { 3, false, 3 }, { 5, false, 3 }, { -1, false, 3 }, { 0, true, 0 } };
    for (const auto& c : choices) {
        EXPECT_EQ(SelectDetailRow(list, c.row), c.changed) << c.row;
        EXPECT_EQ(list.SelectedDrawingIndex, c.index) << c.row;
        EXPECT_EQ(list.SelectedDrawingID, c.index + 1) << c.row;
    }
    list.SelectedDrawingID = 5;
    EXPECT_EQ(SelectDetailDrawing(list), 4);
    EXPECT_EQ(list.SelectedDrawingIndex, 4);
    list.SelectedDrawingID = 99;
    EXPECT_EQ(SelectDetailDrawing(list), -1);
}

TEST(DetailListTest, PreviewNamesAFoundLibraryMemberAsASlide)
{
    BrowserGallery g;
    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    const std::pair<int, std::string> cases[] = {
        { 0, g.parts + "\\BOLT(M12).sld" },
        { 1, g.parts + "\\M8.jpg" },
        { 2, g.parts + "\\W1.sld" },
        { 4, g.parts + "\\A5.jpg" },
        { 5, "" },
        { -1, "" },
    };
    for (const auto& [i, path] : cases)
        EXPECT_EQ(DetailPreviewPath(g.state.Drawings, i), path) << i;
}

// Sets a German locale (a "," decimal point), compiled into folder with localedef when the
// system has none installed; false when neither works.
bool SetGermanLocale(const TempFolder& folder, std::unique_ptr<ScopedEnv>& locpath)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8"))
        return true;
    const ToolResult made
        = RunProgram({ "localedef", "-i", "de_DE", "-f", "UTF-8", folder.NativeAt("de_DE.UTF-8") });
    if (made.status != 0)
        return false;
    locpath = std::make_unique<ScopedEnv>("LOCPATH", folder.Native());
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST(DetailListTest, DataSheetShowsNumbersWithFourDecimalsInAnyLocale)
{
    BrowserGallery g;
    const std::vector<DataSheetRow> expected {
        { "长度", "12.5000", DataSheetImage::Number },
        { "比例", "0.3333", DataSheetImage::Number },
        { "材料", "Q235", DataSheetImage::Text },
        { "标准", "GB/T 5782", DataSheetImage::Text },
    };
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::unique_ptr<ScopedEnv> locpath;
    for (const char* locale : { "C", "de_DE.UTF-8" }) {
        if (std::string(locale) != "C" && !SetGermanLocale(g.folder, locpath)) {
            std::printf("no German locale can be had; that case is skipped\n");
            continue;
        }
        if (std::string(locale) != "C") {
            char check[16];
            std::snprintf(check, sizeof check, "%.1f", 0.5);
            EXPECT_STREQ(check, "0,5") << "the German locale is not in force";
        }
        const std::vector<DataSheetRow> rows = DataSheetRows(g.state.Database, 1);
        ASSERT_EQ(rows.size(), expected.size()) << locale;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].Caption, expected[i].Caption) << locale;
            EXPECT_EQ(rows[i].Value, expected[i].Value) << locale;
            EXPECT_EQ(rows[i].Image, expected[i].Image) << locale;
        }
        EXPECT_EQ(FormatFieldNumber(-2.00004), "-2.0000") << locale;
    }
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_TRUE(DataSheetRows(g.state.Database, 2).empty());
    g.state.Database.CloseConnection();
    EXPECT_TRUE(DataSheetRows(g.state.Database, 1).empty());
}

TEST(DetailListTest, ShowDetailTogglesAndTwoTogglesRestoreTheSetting)
{
    const struct {
        const char* ini;
        bool first;
    } cases[]
        = { { "", false }, { "[Gallery]\nShowDetail=1\n", true }, { "[Gallery]\nShowDetail=2\n", false } };
    for (const auto& c : cases) {
        TempFolder folder;
        if (*c.ini)
            WriteFile(folder.NativeAt("ORVBook.ini"), c.ini);
        const std::string ini = folder.ProgramAt("ORVBook.ini");
        const bool first = ReadShowDetail(ini);
        EXPECT_EQ(first, c.first) << c.ini;
        bool written = false;
        const bool second = ToggleShowDetail(ini, first, &written);
        EXPECT_TRUE(written);
        EXPECT_EQ(second, !c.first);
        EXPECT_EQ(ReadShowDetail(ini), second);
        EXPECT_EQ(ToggleShowDetail(ini, second), first);
        EXPECT_EQ(ReadShowDetail(ini), first) << c.ini;
    }
}

} // namespace
} // namespace orv

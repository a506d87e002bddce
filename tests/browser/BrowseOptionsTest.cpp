#include "browser/BrowseOptions.h"

#include "app/common/ProfileFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace test;

const SystemColours kSystem { 0xEEEEEE, 0x111111, 0xCCCCCC };

BrowseOptions ReadFrom(const std::string& iniText)
{
    TempFolder folder;
    if (!iniText.empty())
        WriteFile(folder.NativeAt("ORVBook.ini"), iniText);
    return ReadBrowseOptions(folder.ProgramAt("ORVBook.ini"), kSystem);
}

TEST(BrowseOptionsTest, ReadingValidatesEveryValueOverTheDefaults)
{
    const struct {
        const char* ini;
        int rows, columns;
        std::uint32_t background, foreground;
        bool showJoin, showDlg;
    } cases[] = {
        { "", 4, 5, 0xEEEEEE, 0x111111, false, true },
        { "[Preview]\nRow=2\nCol=9\nImgBck=255\nImgFro=16777215\nShowJoin=1\n", 2, 9, 255, 0xFFFFFF, true,
            true },
        { "[Preview]\nRow=12\nCol=0\n", 4, 5, 0xEEEEEE, 0x111111, false, true },
        { "[Preview]\nRow=4294967299\nCol=-4294967295\n", 4, 5, 0xEEEEEE, 0x111111, false, true }, // no wrap
        { "[Preview]\nImgBck=16777216\nImgFro=-1\n", 4, 5, 0xEEEEEE, 0x111111, false, true },
        { "[Preview]\nImgBck=99999999999999999999\n", 4, 5, 0xEEEEEE, 0x111111, false, true },
        { "[Preview]\nShowJoin=2\n[Insert]\nShowDlg=0\n", 4, 5, 0xEEEEEE, 0x111111, false, false },
        { "[Insert]\nShowDlg=1\n", 4, 5, 0xEEEEEE, 0x111111, false, true },
    };
    for (const auto& c : cases) {
        const BrowseOptions o = ReadFrom(c.ini);
        EXPECT_EQ(o.Rows, c.rows) << c.ini;
        EXPECT_EQ(o.Columns, c.columns) << c.ini;
        EXPECT_EQ(o.Background, c.background) << c.ini;
        EXPECT_EQ(o.Foreground, c.foreground) << c.ini;
        EXPECT_EQ(o.ShowJoin, c.showJoin) << c.ini;
        EXPECT_EQ(o.ShowDlg, c.showDlg) << c.ini;
    }
}

TEST(BrowseOptionsTest, ColourComboOffersTheSevenColoursAndKeepsAnyOther)
{
    const struct {
        std::uint32_t current;
        std::size_t entries;
        int selected;
    } cases[] = { { 0x0000FF, 7, 0 }, { 0xFFFFFF, 7, 6 }, { 0x123456, 8, 7 }, { 0xEEEEEE, 8, 7 } };
    for (const auto& c : cases) {
        int selected = -2;
        const std::vector<ColourEntry> entries = ColourEntries(c.current, selected);
        ASSERT_EQ(entries.size(), c.entries) << c.current;
        EXPECT_EQ(selected, c.selected) << c.current;
        EXPECT_EQ(entries[static_cast<std::size_t>(selected)].Colour, c.current);
        const std::uint32_t seven[]
            = { 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF };
        for (std::size_t i = 0; i < 7; ++i)
            EXPECT_EQ(entries[i].Colour, seven[i]);
    }
}

TEST(BrowseOptionsTest, SystemAppearanceResetsTheTwoVisibleColours)
{
    BrowseOptions o = ReadFrom("[Preview]\nImgBck=255\nImgFro=65280\nTxtFro=1\nTxtBck=2\n");
    ApplySystemAppearance(o, kSystem);
    EXPECT_EQ(o.Background, 0xEEEEEEu);
    EXPECT_EQ(o.Foreground, 0x111111u);
    EXPECT_EQ(o.TextFore, 1u);
    EXPECT_EQ(o.TextBack, 2u);
}

TEST(BrowseOptionsTest, OkWritesEveryValueInOneReplacementAndShowDlgAsOne)
{
    TempFolder folder;
    WriteFile(folder.NativeAt("ORVBook.ini"), "; kept\r\n[Insert]\r\nShowDlg=0\r\n[Other]\r\nA=b\r\n");
    const std::string ini = folder.ProgramAt("ORVBook.ini");
    BrowseOptions o = ReadBrowseOptions(ini, kSystem);
    EXPECT_EQ(o.Rows, 4);
    o.Columns = 7;
    o.Background = 0x123456;
    o.ShowJoin = true;
    ASSERT_TRUE(WriteBrowseOptions(ini, o));
    const BrowseOptions back = ReadBrowseOptions(ini, SystemColours {});
    EXPECT_EQ(back.Rows, 4);
    EXPECT_EQ(back.Columns, 7);
    EXPECT_EQ(back.Background, 0x123456u);
    EXPECT_EQ(back.Foreground, 0x111111u);
    EXPECT_EQ(back.TextBack, 0xCCCCCCu);
    EXPECT_TRUE(back.ShowJoin);
    EXPECT_TRUE(back.ShowDlg);
    int showDlg = 0;
    EXPECT_EQ(CProfileFile(ini).ReadInt("Insert", "ShowDlg", showDlg), 0);
    EXPECT_EQ(showDlg, 1);
    const std::string text = ReadFile(folder.NativeAt("ORVBook.ini"));
    EXPECT_NE(text.find("; kept"), std::string::npos);
    EXPECT_NE(text.find("A=b"), std::string::npos);
    EXPECT_NE(text.find("ImgBck=1193046"), std::string::npos);

    // A settings file that cannot be replaced is left whole and the failure reported.
    const std::string blocked = folder.ProgramAt("blocked\\ORVBook.ini");
    WriteFile(folder.NativeAt("blocked"), "a file where the folder should be");
    EXPECT_FALSE(WriteBrowseOptions(blocked, o));
}

} // namespace
} // namespace orv

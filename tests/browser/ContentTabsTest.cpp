#include "browser/ContentTabs.h"

#include "browser/BrowserTestSupport.h"
#include "browser/DrawingLoader.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace test;

const std::vector<std::string> kOneTab { "内容" };
const std::vector<std::string> kThreeTabs { "内容", "图集浏览", "图集详细" };

TEST(ContentTabsTest, DrawingsDecideTheTabsAndTheirSelection)
{
    const struct {
        const char* what;
        ContentTabsInput in;
        std::vector<std::string> tabs;
        bool remove, add, showContent;
        int tab;
    } cases[] = {
        { "no drawings, three tabs", { 0, 3, true, 2, false, false }, kOneTab, true, false, true, 0 },
        { "no drawings, one tab", { 0, 1, false, 0, false, false }, kOneTab, false, false, true, 0 },
        { "drawings arrive, grid made", { 4, 1, false, 0, false, false }, kThreeTabs, false, true, false, 1 },
        { "drawings arrive, grid kept", { 4, 1, true, 0, false, false }, kThreeTabs, false, true, true, 0 },
        { "drawings stay on the detail", { 4, 3, true, 2, false, false }, kThreeTabs, false, false, false,
            2 },
        { "drawings stay on the content", { 4, 3, true, 0, false, false }, kThreeTabs, false, false, true,
            0 },
        { "home page with drawings", { 4, 3, true, 0, false, true }, kThreeTabs, false, false, true, 1 },
        { "home page without drawings", { 0, 3, true, 1, false, true }, kOneTab, true, false, true, 0 },
        { "about page with drawings", { 4, 3, true, 0, true, false }, kThreeTabs, false, false, true, 0 },
        { "stale tab index", { 0, 1, false, 2, false, false }, kOneTab, false, false, true, 0 },
    };
    for (const auto& c : cases) {
        const ContentTabsDecision d = DecideContentTabs(c.in);
        EXPECT_EQ(d.Tabs, c.tabs) << c.what;
        EXPECT_EQ(d.RemoveDrawingTabs, c.remove) << c.what;
        EXPECT_EQ(d.AddDrawingTabs, c.add) << c.what;
        EXPECT_EQ(d.ShowContent, c.showContent) << c.what;
        EXPECT_EQ(d.TabIndex, c.tab) << c.what;
    }
}

TEST(ContentTabsTest, InputTellsTheAboutAndHomePagesApartWithoutRegardToCase)
{
    BrowserGallery g;
    g.state.CurrentDirID = kPartsDir;
    LoadDirectoryDrawings(g.state);
    g.state.TabIndex = 2;
    const struct {
        std::string key;
        bool about, home;
    } cases[] = {
        { g.root + "\\ABOUT.HTM", true, false },
        { g.state.AppPath + "\\homepage\\index.htm", false, true },
        { "", false, true },
        { g.parts + "\\a.htm", false, false },
    };
    for (const auto& c : cases) {
        g.state.CurrentHistoryKey = c.key;
        const ContentTabsInput in = ContentTabsInputFor(g.state, 3, true);
        EXPECT_EQ(in.DrawingCount, 5u);
        EXPECT_EQ(in.TabIndex, 2);
        EXPECT_EQ(in.KeyIsAbout, c.about) << c.key;
        EXPECT_EQ(in.KeyIsHome, c.home) << c.key;
    }
}

} // namespace
} // namespace orv

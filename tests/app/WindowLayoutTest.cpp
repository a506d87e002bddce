#include "app/WindowLayout.h"

#include "app/MainToolbar.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace orv {

std::ostream& operator<<(std::ostream& out, const LayoutRect& r)
{
    return out << "(" << r.X << "," << r.Y << " " << r.Width << "x" << r.Height << ")";
}

namespace {

TEST(WindowLayout, PlacesToolbarLogoStatusLineAndFrame)
{
    struct Case {
        int cx, cy, logo, status;
        LayoutRect toolbar, logoRect, statusLine, frame;
    };
    const std::vector<Case> cases {
        { 1280, 800, 200, 22, { 1, 0, 1079, 42 }, { 1080, 0, 200, 42 }, { 1, 778, 1278, 22 },
            { 1, 43, 1278, 734 } },
        // No logo: the toolbar reaches the right edge.
        { 640, 480, 0, 20, { 1, 0, 639, 42 }, { 640, 0, 0, 42 }, { 1, 460, 638, 20 }, { 1, 43, 638, 416 } },
        // A window smaller than its fixed parts: nothing goes negative or outside.
        { 100, 30, 200, 22, { 1, 0, 0, 42 }, { 0, 0, 100, 42 }, { 1, 8, 98, 22 }, { 1, 43, 98, 0 } },
        { 0, 0, 200, 22, { 1, 0, 0, 42 }, { 0, 0, 0, 42 }, { 1, 0, 0, 0 }, { 1, 43, 0, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cx) + "x" + std::to_string(c.cy));
        const MainWindowLayout layout = LayOutMainWindow(c.cx, c.cy, c.logo, c.status);
        EXPECT_EQ(layout.Toolbar, c.toolbar);
        EXPECT_EQ(layout.Logo, c.logoRect);
        EXPECT_EQ(layout.StatusLine, c.statusLine);
        EXPECT_EQ(layout.Frame, c.frame);
    }
}

TEST(WindowLayout, ToggleNavigationHidesWideAndRestoresNarrowPanels)
{
    struct Case {
        int current, remembered;
        int expectedWidth, expectedRemembered;
    };
    const std::vector<Case> cases {
        { 260, 200, 0, 260 }, // open: closed, its width remembered
        { 5, 200, 0, 5 }, // 5 pixels still counts as open
        { 0, 260, 260, 260 }, // closed: opens at the remembered width
        { 4, 260, 260, 260 }, // dragged nearly shut: restored, not hidden
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        int remembered = c.remembered;
        EXPECT_EQ(ToggleNavigationWidth(c.current, remembered), c.expectedWidth);
        EXPECT_EQ(remembered, c.expectedRemembered);
    }
}

TEST(MainToolbar, VisibleRowEndsWithHomeAddinsSeparatorAndExit)
{
    const std::vector<ToolbarButton> buttons
        = MainToolbarButtons({ { "演示工具", "启动演示工具", "" }, { "工具2", "", "\\app\\t.ico" } });
    std::vector<std::string> visible;
    for (const ToolbarButton& b : buttons) {
        if (b.Visible)
            visible.push_back(
                b.Id == 0 ? "|" : std::to_string(b.Id) + ":" + std::to_string(b.Image) + ":" + b.Caption);
    }
    const std::vector<std::string> expected { "32774:0:信息", "|", "32787:1:导航", "|", "32783:3:上页",
        "32784:4:下页", "32785:5:后退", "32786:6:前进", "|", "32793:7: 分割 ", "|", "32791:11:首页",
        "9000:16:演示工具", "9001:17:工具2", "|", "57665:14:退出" };
    EXPECT_EQ(visible, expected);

    // The hidden ones are there, so their commands exist, with their images and captions.
    std::vector<std::string> hidden;
    for (const ToolbarButton& b : buttons) {
        if (!b.Visible)
            hidden.push_back(std::to_string(b.Id) + ":" + std::to_string(b.Image) + ":" + b.Caption);
    }
    const std::vector<std::string> expectedHidden { "32790:2:搜索", "32795:15:放大", "32796:9:整页",
        "32789:10:设置", "32792:12:邮箱", "57670:13:帮助" };
    EXPECT_EQ(hidden, expectedHidden);
}

TEST(MainToolbar, OnlyStepsAndViewModesWaitForARunningSearch)
{
    for (int id : { 32783, 32784, 32785, 32786, 32793, 32794, 32795, 32796 })
        EXPECT_TRUE(IsGuardedCommand(id)) << id;
    for (int id : { 32774, 32787, 32789, 32791, 57665, 57670, 9000, 800 })
        EXPECT_FALSE(IsGuardedCommand(id)) << id;
}

TEST(MainToolbar, TipsComeFromTheStringTableOrTheAddin)
{
    const std::vector<ToolbarButton> buttons = MainToolbarButtons({ { "演示工具", "启动演示工具", "" } });
    auto tipOf = [&](int id) {
        for (const ToolbarButton& b : buttons) {
            if (b.Id == id)
                return b.Tip;
        }
        return std::string("(none)");
    };
    EXPECT_EQ(tipOf(kCmdPreviousPage), "上一页");
    EXPECT_EQ(tipOf(kCmdToggleNavigation), "关闭/显示导航栏");
    EXPECT_EQ(tipOf(kCmdSplit), "水平分割");
    EXPECT_EQ(tipOf(kCmdWholePage), "整页显示");
    EXPECT_EQ(tipOf(kCmdExit), "退出");
    EXPECT_EQ(tipOf(9000), "启动演示工具");
}

} // namespace
} // namespace orv

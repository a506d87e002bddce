#include "LinkRouterSupport.h"
#include "app/common/PathHelpers.h"
#include "content/ContentShow.h"
#include "content/LocalContent.h"
#include "content/ViewInput.h"
#include "platform/Paths.h"
#include "support/GalleryFixture.h"

#include <filesystem>

namespace orv::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(LinkRouterTest, AddressesTheBrowserOrTheDesktopHandleAreNotRoutedAsPages)
{
    ShowPackagePage();
    struct Case {
        std::string address;
        bool go;
        Lines actions;
    };
    const Case cases[] = {
        { "HtTp://example.com/a.htm", true, {} },
        { "MAILTO:a@b.c", true, {} },
        // The secure scheme and the other web schemes go to the desktop, never into the package.
        { "https://example.com/a.htm", false, { "external https://example.com/a.htm" } },
        { "ftp://example.com/B.htm", false, { "external ftp://example.com/B.htm" } },
        { "javascript:void(0)", false, {} },
        { "about:blank", true, {} },
        { "About:BlankText/Html", true, {} },
        { m_state.AppPath + "\\homepage\\INDEX.HTM", true, {} },
        { platform::PathToFileUrl(m_pages + "\\bolts.htm"), true, {} },
        { platform::PathToFileUrl(m_pages + "\\bolts.htm") + "#top", true, {} },
        { m_pages + "\\C.htm#x", true, {} },
        // The view's own scheme for local pages names files as "file:" does.
        { PathToLocalUrl(m_pages + "\\BOLTS.htm") + "#top", true, {} },
    };
    for (const Case& c : cases) {
        const NavigationDecision d = RouteNavigation(m_state, m_view, c.address, NavigationOrigin::User);
        EXPECT_EQ(d.Go, c.go) << c.address;
        EXPECT_EQ(Describe(d.Actions), c.actions) << c.address;
    }
    EXPECT_EQ(m_state.History.Size(), 0u);
}

TEST_F(LinkRouterTest, RelativeLinkOfAnExtractedPageShowsThePackageMemberWithItsAnchorAndCompanions)
{
    ShowPackagePage();
    const std::string address = platform::PathToFileUrl(m_view.TempFolder) + "/B.htm#s";
    const NavigationDecision d = RouteNavigation(m_state, m_view, address, NavigationOrigin::User);
    EXPECT_FALSE(d.Go);
    const std::string key = m_pages + "\\HEX(B).htz";
    EXPECT_EQ(
        Describe(d.Actions), (Lines { "history 0 " + key, "navigate " + DefaultPagePath(m_view) + "#s" }));
    EXPECT_EQ(m_state.CurrentHistoryKey, key);
    EXPECT_EQ(m_state.History.Keys, (std::vector<std::string> { key }));
    EXPECT_TRUE(m_view.ShowingPackagePage);
    EXPECT_TRUE(m_view.CompanionExtracted);
    EXPECT_EQ(m_view.PageName, "B.htm");
    const std::string page = ReadFile(platform::NativePath(DefaultPagePath(m_view)));
    EXPECT_NE(page.find("<a name=\"s\">"), std::string::npos);
    EXPECT_TRUE(platform::FileExists(m_view.CompanionFolder + "\\b.gif"));

    // Loaded: the copy goes, and the routing is armed again.
    EXPECT_TRUE(OnNavigationComplete(m_state, m_view, address));
    EXPECT_FALSE(m_state.ContentViewReady);
    std::string previous = m_view.TempFolder + "\\OLD.files";
    CreateFolderPath(previous + "\\");
    EXPECT_TRUE(OnPackagePageLoaded(previous, m_view, PathToLocalUrl(DefaultPagePath(m_view)) + "#s").Finished);
    EXPECT_FALSE(platform::FileExists(DefaultPagePath(m_view)));
    EXPECT_FALSE(platform::FolderExists(m_view.TempFolder + "\\OLD.files"));
    EXPECT_EQ(previous, m_view.CompanionFolder);
}

TEST_F(LinkRouterTest, DryRunReportsTheExtractedCopyAndTheFallbacksWithoutWritingAnything)
{
    RouteOptions dry;
    dry.DryRun = true;
    struct Case {
        std::string address;
        std::string target;
        bool package;
    };
    const Case cases[] = {
        { "B.htm", DefaultPagePath(m_view), true },
        { "c.HTML#x", m_pages + "\\C.htm#x", false }, // not in the package, beside it
        { "Missing.htm", DefaultPagePath(m_view), false }, // neither: the default page
    };
    for (const Case& c : cases) {
        ShowPackagePage();
        const NavigationDecision d = RouteNavigation(m_state, m_view, c.address, NavigationOrigin::User, dry);
        ASSERT_EQ(d.Actions.size(), 2u) << c.address;
        EXPECT_EQ(d.Actions[1].Text, c.target) << c.address;
        EXPECT_EQ(m_view.ShowingPackagePage, c.package) << c.address;
    }
    std::error_code ec;
    EXPECT_TRUE(!std::filesystem::exists(platform::NativePath(m_view.TempFolder), ec)
        || std::filesystem::is_empty(platform::NativePath(m_view.TempFolder), ec));
}

TEST_F(LinkRouterTest, LinksGoOnUnroutedWhileNotReadyOnTheSamePageAndStopDuringASearch)
{
    ShowPackagePage();
    EXPECT_TRUE(
        RouteNavigation(m_state, m_view, DefaultPagePath(m_view) + "#part2", NavigationOrigin::User).Go);
    m_state.ContentViewReady = false;
    EXPECT_TRUE(RouteNavigation(m_state, m_view, "B.htm", NavigationOrigin::User).Go);
    m_state.ContentViewReady = true;
    m_view.PackagePath.clear();
    EXPECT_TRUE(RouteNavigation(m_state, m_view, "B.htm", NavigationOrigin::User).Go);

    ShowPackagePage();
    m_state.SearchRunning = true;
    const NavigationDecision d = RouteNavigation(m_state, m_view, "B.htm", NavigationOrigin::User);
    EXPECT_FALSE(d.Go);
    EXPECT_EQ(Describe(d.Actions), (Lines { "message 打开 2 请先停止搜索后再打开。" }));
    EXPECT_EQ(m_state.History.Size(), 0u);
}

TEST_F(LinkRouterTest, PageNamesThatAreNotOneNameAreNeitherLookedUpNorWritten)
{
    ShowPackagePage();
    const std::string temp = m_view.TempFolder;
    for (const std::string& address : { temp + "\\sub\\B.htm", temp + "\\..\\B.htm", temp + "\\..htm",
             std::string("file:///x/%2F..%2Fetc.htm"), std::string("B.htm\0x", 7) }) {
        const NavigationDecision d = RouteNavigation(m_state, m_view, address, NavigationOrigin::User);
        EXPECT_TRUE(d.Actions.empty()) << address;
    }
    EXPECT_EQ(m_state.History.Size(), 0u);
    EXPECT_FALSE(platform::FileExists(DefaultPagePath(m_view)));
}

TEST_F(LinkRouterTest, HasTextContentsComesFromTheGalleryAndTakesCopyAndFindOutOfTheMenu)
{
    ShowPackagePage();
    RouteNavigation(m_state, m_view, "about:blank", NavigationOrigin::User);
    EXPECT_TRUE(m_view.HasTextContents);
    m_view.LastUrl = m_pages + "\\bolts.htm";
    RouteNavigation(m_state, m_view, "app:ER=x", NavigationOrigin::User);
    EXPECT_TRUE(m_view.HasTextContents);
    ExecGallerySql(m_gallery, "INSERT INTO GallerySet (ParaName, ParaValue) VALUES ('HasTextContents', '0')");
    RouteNavigation(m_state, m_view, "app:ER=x", NavigationOrigin::User);
    EXPECT_FALSE(m_view.HasTextContents);

    auto commands = [](const std::vector<ContextMenuItem>& menu) {
        std::vector<int> ids;
        for (const ContextMenuItem& item : menu)
            ids.push_back(item.Checked ? -item.Command : item.Command);
        return ids;
    };
    const auto without = PrepareContextMenu(m_view, 2);
    ASSERT_TRUE(without);
    EXPECT_EQ(commands(*without),
        (std::vector<int> { kCmdPrint, 0, kCmdPreviousPage, kCmdNextPage, kCmdHistoryBack, kCmdHistoryForward, 0,
            kCmdViewSplitHorizontal, -kCmdViewSplitVertical, kCmdViewSplitClose }));
    m_view.HasTextContents = true;
    const auto with = PrepareContextMenu(m_view, 0);
    ASSERT_TRUE(with);
    EXPECT_EQ(commands(*with).front(), kCmdCopy);
    EXPECT_EQ(commands(*with).back(), -kCmdViewSplitClose);
    m_view.MenuEnabled = false;
    EXPECT_FALSE(PrepareContextMenu(m_view, 0));
}

TEST(ContentViewWheelTest, SixNotchesOneWayTurnTheTopicAndStartTheCountAgain)
{
    ContentViewState view;
    auto run = [&view](int delta, int count) {
        std::vector<WheelStep> steps;
        for (int i = 0; i < count; ++i)
            steps.push_back(OnWheel(view, delta));
        return steps;
    };
    using S = WheelStep;
    // Towards the user: the sixth notch is the next topic, five are not.
    EXPECT_EQ(run(-120, 6),
        (std::vector<S> { S::Scroll, S::Scroll, S::Scroll, S::Scroll, S::Scroll, S::NextTopic }));
    EXPECT_EQ(view.WheelCount, 0);
    EXPECT_EQ(run(120, 6),
        (std::vector<S> { S::Scroll, S::Scroll, S::Scroll, S::Scroll, S::Scroll, S::PreviousTopic }));
    // Turning back undoes notches; a zero delta counts as towards the user.
    EXPECT_EQ(run(120, 5).back(), S::Scroll);
    EXPECT_EQ(run(0, 11).back(), S::NextTopic);
    view.NavCommandsEnabled = false;
    EXPECT_EQ(run(-120, 12), std::vector<S>(12, S::Scroll));
}

} // namespace
} // namespace orv::test

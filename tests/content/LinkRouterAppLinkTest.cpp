#include "LinkRouterSupport.h"
#include "platform/Paths.h"

namespace orv::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(LinkRouterTest, AppLinksRunOnlyForTheUsersClicksOnPagesOfOurOwn)
{
    struct Case {
        std::string shown;
        NavigationOrigin origin;
        bool runs;
    };
    const Case cases[] = {
        { m_pages + "\\bolts.htm", NavigationOrigin::User, true },
        { platform::PathToFileUrl(m_pages + "\\bolts.htm"), NavigationOrigin::User, true },
        { m_view.TempFolder + "\\ORVBookDefault.htm", NavigationOrigin::User, true },
        { m_state.AppPath + "\\HomePage\\Index.htm", NavigationOrigin::User, true },
        { m_pages + "\\bolts.htm", NavigationOrigin::Script, false },
        { "https://example.com/page.htm", NavigationOrigin::User, false },
        { m_dir.ProgramAt("elsewhere\\page.htm"), NavigationOrigin::User, false },
        { m_pages + "\\..\\..\\..\\..\\elsewhere\\page.htm", NavigationOrigin::User, false },
        { "", NavigationOrigin::User, false },
    };
    for (const Case& c : cases) {
        m_view.LastUrl = c.shown;
        const NavigationDecision d = RouteNavigation(m_state, m_view, "app:ID=2", c.origin);
        EXPECT_FALSE(d.Go) << c.shown;
        EXPECT_EQ(Describe(d.Actions), c.runs ? Lines { "select-dir 2" } : Lines {}) << c.shown;
    }
}

TEST_F(LinkRouterTest, DirectoryAndDrawingLinksTakeWholeNumbersAndQuotedTexts)
{
    struct Case {
        std::string command;
        Lines actions;
    };
    const Case cases[] = {
        { "ID=2", { "select-dir 2" } }, { "id=99", {} }, { "ID=2 OR 1=1", {} }, { "ID=-2", {} },
        { "ID=4294967298", {} }, // wraps to 2 through a 32-bit atol
        { "PA=\\Bolts", { "select-dir 2" } }, // the lower DirVisible first
        { "PA='", {} }, { "螺栓", { "select-dir 1" } }, { "O'Brien", { "select-dir 3" } },
        { "O%27Brien", { "select-dir 3" } }, { "HEX\\A1", { "select-dir 2" } },
        { "HEX\\A1') OR ('1'='1", {} }, { "DW=BYID=:10", { "insert 10" } },
        { "DW=byid=10", { "insert 10" } }, // no separator: the value keeps its first digit
        { "DW=BYID=:1x", {} }, { "DW=BYID=:0", {} }, { "DW=PATH=://Fasten//Bolts//M12", { "insert 10" } },
        { "DW%3DPATH%3D%3A%2F%2FFasten%2F%2FBolts%2F%2FM12", { "insert 10" } },
        { "DW=PATH=://Fasten//Bolts//M12' OR '1'='1", {} }, { "DW=NAME=:M12", {} },
        { "ER=提示%20文字", { "message Orv机电工程师手册 0 提示 文字" } },
        { "GL=Mech/螺栓", { "select-dir 1" } }, // the current gallery: looked up at once
        { "GL=elec/螺栓", { "open-gallery " + m_state.LibPath + "\\Elec.gal 螺栓" } },
        { "GL=Pipes/螺栓", { "select-dir 1" } }, // no such gallery: the current one is asked
    };
    m_view.LastUrl = m_pages + "\\bolts.htm";
    for (const Case& c : cases) {
        const NavigationDecision d
            = RouteNavigation(m_state, m_view, "app:" + c.command, NavigationOrigin::User);
        EXPECT_EQ(Describe(d.Actions), c.actions) << c.command;
    }
    EXPECT_EQ(FindLinkedDirectory(m_state, "HEX\\A1"), 2);
    m_state.DatabaseOpen = false;
    EXPECT_TRUE(OnAppLink(m_state, m_view, "ID=2").empty());
}

TEST_F(LinkRouterTest, ProgramLinksRunOnlyProgramsOfTheApplicationFolder)
{
    m_view.LastUrl = m_pages + "\\bolts.htm";
    WriteFile(platform::NativePath(m_pages + "\\evil.exe"), "#!/bin/sh\n");
    struct Case {
        std::string command;
        std::string action;
    };
    const Case cases[] = {
        { "EX=tool.exe|-a", "run tool.exe|-a" },
        { "EX=..\\lib\\Mech\\Fasten\\Bolts\\evil.exe|", "refused" },
        { "EX=..\\..\\..\\bin\\sh.exe|-c", "refused" },
        { "EX=missing.exe", "refused" },
        { "EX=tool.txt|x", "" },
        { "EX=|x", "" },
    };
    for (const Case& c : cases) {
        const Lines lines
            = Describe(RouteNavigation(m_state, m_view, "app:" + c.command, NavigationOrigin::User).Actions);
        EXPECT_EQ(lines, c.action.empty() ? Lines {} : Lines { c.action }) << c.command;
    }
    const auto actions = OnAppLink(m_state, m_view, "EX=tool.exe|-a");
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].Caption, platform::NativePath(m_state.AppPath + "\\tool.exe"));
}

TEST_F(LinkRouterTest, PictureLinksShowFilesOfThePagesFoldersOnly)
{
    ShowPackagePage();
    const std::string inCompanion = m_pages + "\\A1.files\\pic.gif";
    struct Item {
        std::string command;
        Lines actions;
    };
    const Item items[] = {
        { "IM=//pic.gif(Fig. 1)", { "picture " + inCompanion + "(Fig. 1)" } },
        { "IM=\\A1.files/pic.gif", { "picture " + m_pages + "\\A1.files\\pic.gif" } }, // beside the package
        { "IM=missing.gif", {} },
        { "IM=..\\..\\Bolts\\A1.files\\pic.gif", {} },
        { "IM=a\\..\\pic.gif", {} },
    };
    for (const Item& item : items)
        EXPECT_EQ(Describe(OnAppLink(m_state, m_view, item.command)), item.actions) << item.command;
    // Without a folder in the shown key there is no page folder to look in.
    m_state.CurrentHistoryKey = "HEX(A1).htz";
    EXPECT_TRUE(OnAppLink(m_state, m_view, "IM=pic.gif").empty());
}

TEST_F(LinkRouterTest, PageLinksOpenOneNamedPageOfTheShownPackageOrFolder)
{
    ShowPackagePage();
    EXPECT_EQ(Describe(OnAppLink(m_state, m_view, "B.HTM#s")),
        (Lines { "navigate " + DefaultPagePath(m_view) + "#s" }));
    EXPECT_EQ(m_state.CurrentHistoryKey, m_pages + "\\HEX(B).htz");
    EXPECT_TRUE(m_view.ShowingPackagePage);

    // A plain page: the page of that name in the shown page's folder.
    m_view.PackagePath.clear();
    m_view.LastUrl = platform::PathToFileUrl(m_pages + "\\bolts.htm");
    EXPECT_EQ(
        Describe(OnAppLink(m_state, m_view, "C.htm#x")), (Lines { "navigate " + m_pages + "\\C.htm#x" }));
    EXPECT_FALSE(m_view.ShowingPackagePage);
    // ".#x.htm" would load the folder itself, "a#b.htm" the file "a".
    for (const std::string command : { "sub\\B.htm", "../B.htm", "..\\..\\etc.htm", ".#HTM\x1b#.HTM", "a#b.htm" })
        EXPECT_TRUE(OnAppLink(m_state, m_view, command).empty()) << command;
}

} // namespace
} // namespace orv::test

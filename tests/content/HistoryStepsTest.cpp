#include "content/HistorySteps.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace test;

std::vector<std::string> Navigations(const HistoryStepResult& result)
{
    std::vector<std::string> out;
    for (const ViewAction& action : result.Actions)
        if (action.What == ViewAction::Kind::Navigate)
            out.push_back(action.Text);
    return out;
}

TEST(HistoryStepsTest, StepsStopAtTheEndsAndWhileLoading)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    g.state.History.Add(kLeadingSlashDir, pages + "\\lead.htm");
    g.state.History.Add(kPictureFallbackDir, pages + "\\fig1.gif");
    g.state.CurrentHistoryKey = pages + "\\fig1.gif";

    EXPECT_FALSE(GoForward(g.state, g.panel).Moved);
    g.state.ContentViewReady = false;
    EXPECT_FALSE(GoBack(g.state, g.panel).Moved);
    EXPECT_EQ(g.state.History.Position, 1);
    g.state.ContentViewReady = true;

    HistoryStepResult back = GoBack(g.state, g.panel);
    EXPECT_TRUE(back.Moved);
    ASSERT_FALSE(back.Actions.empty());
    EXPECT_EQ(back.Actions[0].What, ViewAction::Kind::SelectDirectory);
    EXPECT_EQ(back.Actions[0].DirId, kLeadingSlashDir);
    EXPECT_EQ(Navigations(back), std::vector<std::string> { pages + "\\lead.htm" });
    EXPECT_EQ(g.state.CurrentDirID, kLeadingSlashDir);
    EXPECT_EQ(g.state.CurrentHistoryKey, pages + "\\lead.htm");
    EXPECT_EQ(back.Caption, "斜杠");
    EXPECT_FALSE(GoBack(g.state, g.panel).Moved);

    // An entry of a page link (DirID 0) loads no directory.
    g.state.History.Add(0, pages + "\\A12(B4).htz");
    g.state.History.Position = 0;
    g.state.CurrentHistoryKey = pages + "\\LEAD.HTM";
    HistoryStepResult forward = GoForward(g.state, g.panel);
    EXPECT_TRUE(forward.Moved);
    for (const ViewAction& action : forward.Actions)
        EXPECT_NE(action.What, ViewAction::Kind::SelectDirectory);
}

TEST(HistoryStepsTest, CaptionNamesThePageOfTheKey)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    g.state.History.Add(kLeadingSlashDir, pages + "\\lead.htm");
    g.state.History.Add(kPagesDir, pages + "\\P2.htm");
    g.state.History.Add(kLeadingSlashDir, pages + "\\lead.htm");
    g.state.CurrentHistoryKey = pages + "\\lead.htm";
    g.state.CurrentPage = 2;
    HistoryStepResult back = GoBack(g.state, g.panel);
    EXPECT_EQ(g.state.CurrentPage, 1);
    EXPECT_EQ(back.Caption, "多页 (第2页/共3页)");
}

// A link followed inside a page moves the view and the history key on, but not ShownKey:
// going back to the page shown before must show it again.
TEST(HistoryStepsTest, BackAfterAnInPageLinkShowsTheEntry)
{
    ContentGallery g;
    const std::string keyA = g.root + "\\Mech\\Pages\\A12(B3).htz";
    const std::string keyB = g.root + "\\Mech\\Pages\\A12(B4).htz";
    g.state.History.Add(kPackageDir, keyA);
    g.state.CurrentHistoryKey = keyA;
    g.panel.ContentKey = keyA;
    ShowContent(g.state, g.panel);
    g.state.ContentViewReady = true;
    // What the link router does for a link to B4 inside the page.
    g.state.History.Add(0, keyB);
    g.state.CurrentHistoryKey = keyB;

    HistoryStepResult back = GoBack(g.state, g.panel);
    EXPECT_EQ(Navigations(back), std::vector<std::string> { g.temp + "\\ORVBookDefault.htm" });
    EXPECT_EQ(g.panel.ShownKey, keyA);
    EXPECT_EQ(g.panel.MainView.PageName, "B3.htm");
}

} // namespace
} // namespace orv

#include "content/ContentPanel.h"

#include "content/ContentTestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace orv {
namespace {

using namespace test;

// "main ADDRESS" / "second ADDRESS" for every navigation a panel step asks for, in order.
std::vector<std::string> Navigations(const PanelShowResult& result)
{
    std::vector<std::string> out;
    for (const auto& [slot, shown] : result.Shows)
        for (const ViewAction& action : shown.Actions)
            if (action.What == ViewAction::Kind::Navigate)
                out.push_back((slot == ContentViewSlot::Main ? "main " : "second ") + action.Text);
    return out;
}

std::string ReadAll(const std::string& programPath)
{
    std::ifstream in(platform::NativePath(programPath), std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

TEST(ContentPanelTest, CurrentDirectoryIsShownAfreshAndItsVisitRecordedOnlyWhenAsked)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    g.state.CurrentDirID = kLeadingSlashDir;
    ShowContentResult shown = ShowCurrentDirectory(g.state, g.panel, true);
    EXPECT_EQ(g.state.CurrentHistoryKey, pages + "\\lead.htm");
    ASSERT_EQ(shown.Actions.size(), 1u);
    EXPECT_EQ(shown.Actions[0].Text, pages + "\\lead.htm");
    EXPECT_EQ(g.state.History.Keys, std::vector<std::string> { pages + "\\lead.htm" });
    EXPECT_EQ(g.state.History.DirIds, std::vector<std::uint32_t> { kLeadingSlashDir });

    // The same directory again (the bookmark's "show"): shown again, the history as it was.
    shown = ShowCurrentDirectory(g.state, g.panel, false);
    EXPECT_EQ(shown.Actions.size(), 1u);
    EXPECT_EQ(g.state.History.Size(), 1u);

    // A package page: extracted, and the history holds the directory's key.
    g.state.CurrentDirID = kPackageDir;
    shown = ShowCurrentDirectory(g.state, g.panel, true);
    EXPECT_EQ(g.state.CurrentHistoryKey, pages + "\\A12(B3).htz");
    EXPECT_TRUE(g.panel.MainView.ShowingPackagePage);
    EXPECT_TRUE(platform::FileExists(shown.Shown));
    EXPECT_EQ(g.state.History.Position, 1);
}

TEST(ContentPanelTest, SplitStepsShowTheCurrentPageInTheNewViewOnce)
{
    ContentGallery g;
    const std::string page = g.root + "\\Mech\\Pages\\lead.htm";
    g.state.CurrentDirID = kLeadingSlashDir;
    ShowCurrentDirectory(g.state, g.panel, true);

    struct Step {
        int mode;
        bool changed;
        std::vector<std::string> navigations;
        ContentViewSlot active;
    };
    const Step steps[] = {
        { kSplitHorizontal, true, { "second " + page }, ContentViewSlot::Second },
        { kSplitHorizontal, false, {}, ContentViewSlot::Second }, // already so
        { kSplitVertical, true, {}, ContentViewSlot::Second }, // turned: both keep their pages
        { kSplitNone, true, {}, ContentViewSlot::Main },
        { kSplitNone, false, {}, ContentViewSlot::Main },
        { 7, false, {}, ContentViewSlot::Main }, // no such mode: closes, which it is
        { kSplitVertical, true, { "second " + page }, ContentViewSlot::Second },
    };
    for (const Step& step : steps) {
        const PanelShowResult result = SetSplitMode(g.state, g.panel, step.mode);
        EXPECT_EQ(result.Changed, step.changed) << step.mode;
        EXPECT_EQ(Navigations(result), step.navigations) << step.mode;
        EXPECT_EQ(ActiveSlot(g.state, g.panel), step.active) << step.mode;
    }
    EXPECT_EQ(ToggledSplitMode(kSplitNone), kSplitHorizontal);
    EXPECT_EQ(ToggledSplitMode(kSplitVertical), kSplitNone);
}

TEST(ContentPanelTest, PictureSizesAndSplitsRedrawThePicturePage)
{
    ContentGallery g;
    g.state.CurrentDirID = kPictureFallbackDir;
    ShowCurrentDirectory(g.state, g.panel, true);
    ASSERT_TRUE(g.panel.PicturePageShown);
    const std::string page = g.temp + "\\ORVBookDefault.htm";
    EXPECT_EQ(ReadAll(page).find("height=\"100%\""), std::string::npos);

    PanelShowResult result = SetPictureSize(g.state, g.panel, true);
    EXPECT_TRUE(g.state.WholePage);
    EXPECT_EQ(Navigations(result), std::vector<std::string> { "main " + page });
    EXPECT_NE(ReadAll(page).find("height=\"100%\""), std::string::npos);

    // A split first redraws the picture for the main view's new size, then fills the second.
    result = SetSplitMode(g.state, g.panel, kSplitHorizontal);
    EXPECT_EQ(Navigations(result), (std::vector<std::string> { "main " + page, "second " + page }));

    // Zoom closes the split and draws the picture at its own size.
    result = SetPictureSize(g.state, g.panel, false);
    EXPECT_TRUE(result.Changed);
    EXPECT_EQ(g.state.SplitMode, kSplitNone);
    EXPECT_EQ(Navigations(result), std::vector<std::string> { "main " + page });
    EXPECT_EQ(ReadAll(page).find("height=\"100%\""), std::string::npos);
}

} // namespace
} // namespace orv

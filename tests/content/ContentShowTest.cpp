#include "content/ContentShow.h"

#include "browser/MetafileRenderer.h"
#include "content/ContentTestSupport.h"
#include "content/DirectoryContent.h"
#include "content/GeneratedPages.h"
#include "content/LocalContent.h"
#include "content/WordMarking.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace orv {
namespace {

using namespace test;

std::vector<std::string> Navigations(const ShowContentResult& result)
{
    std::vector<std::string> out;
    for (const ViewAction& action : result.Actions)
        if (action.What == ViewAction::Kind::Navigate)
            out.push_back(action.Text);
    return out;
}

std::string Slurp(const std::string& programPath)
{
    return ReadFile(platform::NativePath(programPath));
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(text.substr(from, nl - from));
    return lines;
}

// Every file below the folder, as native paths relative to it.
std::vector<std::string> FilesBelow(const std::string& native)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(native))
        files.push_back(std::filesystem::relative(entry.path(), native).string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string PackageKey(const ContentGallery& g, const std::string& name)
{
    return g.root + "\\Mech\\Pages\\" + name;
}

TEST(ContentShowTest, PackagePageIsExtractedWithItsCompanions)
{
    ContentGallery g;
    g.state.CurrentDirID = kPackageDir;
    g.panel.ContentKey = PackageKey(g, "A12(B3).htz");
    const ShowContentResult result = ShowContent(g.state, g.panel);
    const std::string target = g.temp + "\\ORVBookDefault.htm";
    EXPECT_EQ(Navigations(result), std::vector<std::string> { target });
    EXPECT_EQ(result.Shown, target);
    ASSERT_EQ(result.Files.size(), 2u);
    EXPECT_EQ(result.Files[0].To, g.temp + "\\B3.files");
    EXPECT_EQ(result.Files[1].From, PackageKey(g, "A12.HTZ") + "(B3.htm)");
    EXPECT_FALSE(g.state.ContentViewReady);
    EXPECT_TRUE(g.panel.MainView.ShowingPackagePage);
    EXPECT_TRUE(g.panel.MainView.CompanionExtracted);
    EXPECT_EQ(g.panel.MainView.PackagePath, PackageKey(g, "A12.HTZ"));
    EXPECT_EQ(g.panel.MainView.PageName, "B3.htm");
    // The page's pictures point into the extracted companion folder.
    EXPECT_NE(Slurp(target).find("src=\"" + g.temp + "\\B3.files/a.gif\""), std::string::npos);
    EXPECT_EQ(Slurp(g.temp + "\\B3.files\\a.gif"), "GIF89a");

    // The same key again does nothing.
    const ShowContentResult again = ShowContent(g.state, g.panel);
    EXPECT_TRUE(again.Actions.empty());
    EXPECT_TRUE(again.Files.empty());
}

TEST(ContentShowTest, ContentMarkAndHighlightGoThroughTheRedirectPage)
{
    ContentGallery g;
    const std::string target = g.temp + "\\ORVBookDefault.htm";
    const std::string redirect = g.temp + "\\Redirect.htm";
    const std::string line9 = "<body onload=\"redirect('" + PathToLocalUrl(target) + "#part2')\">";

    g.state.CurrentDirID = kMarkedPackageDir;
    g.panel.ContentKey = PackageKey(g, "A12(B3).htz");
    EXPECT_EQ(Navigations(ShowContent(g.state, g.panel)), std::vector<std::string> { redirect });
    std::vector<std::string> lines = Lines(Slurp(redirect));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[8], line9);

    // A plain page gets the anchor on its address.
    g.state.CurrentDirID = kMarkedPageDir;
    g.panel.ContentKey = PackageKey(g, "lead.htm");
    EXPECT_EQ(Navigations(ShowContent(g.state, g.panel)),
        std::vector<std::string> { PackageKey(g, "lead.htm") + "#part2" });

    // The pending highlight marks the copy and wins over the mark.
    g.state.CurrentDirID = kMarkedPackageDir;
    g.state.PendingHighlight = "钢";
    g.panel.ContentKey = PackageKey(g, "A12(B3).htz");
    EXPECT_EQ(Navigations(ShowContent(g.state, g.panel)), std::vector<std::string> { redirect });
    lines = Lines(Slurp(redirect));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(
        lines[8], "<body onload=\"redirect('" + PathToLocalUrl(target) + "#orv_find_bookmark')\">");
    const std::string page = Slurp(target);
    EXPECT_NE(page.find(std::string(kFindAnchor) + kHighlightOpen + Gb("钢") + kHighlightClose + Gb("材")),
        std::string::npos);
    EXPECT_NE(page.find("<title>" + Gb("钢") + "</title>"), std::string::npos);
}

TEST(ContentShowTest, PackageFailuresFallBack)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    struct Case {
        std::string key;
        std::vector<std::string> navigations;
    };
    const Case cases[] = {
        // Not in the package: the page beside it.
        { pages + "\\A12(B9).htz", { "about:blank", pages + "\\B9.htm" } },
        { pages + "\\A12(B7).htz", { "about:blank", "about:blank" } },
        // No package at all.
        { pages + "\\Z(B9).htz", { pages + "\\B9.htm" } },
        { pages + "\\A12.htz", { "about:blank" } },
        // A "(" in a folder is no page title.
        { g.root + " (copy)\\Mech\\Pages\\A12.htz", { "about:blank" } },
        // Names that would leave the folder.
        { pages + "\\A12(..\\..\\..\\evil).htz", { "about:blank" } },
        { pages + "\\A12(x/..).htz", { "about:blank" } },
    };
    for (const Case& c : cases) {
        g.panel.ShownKey.clear();
        g.panel.ContentKey = c.key;
        EXPECT_EQ(Navigations(ShowContent(g.state, g.panel)), c.navigations) << c.key;
        EXPECT_FALSE(g.panel.MainView.ShowingPackagePage) << c.key;
    }
    // Nothing was written: the failed extractions left no file behind.
    for (const std::string& file : FilesBelow(g.folder.NativeAt("temp")))
        EXPECT_TRUE(std::filesystem::is_directory(g.folder.NativeAt("temp/" + file))) << file;
}

// Galleries copied into a folder such as "Galleries (copy)" keep their package pages.
TEST(ContentShowTest, ParenthesisInAFolderIsNoPageTitle)
{
    ContentGallery g;
    std::filesystem::create_directories(g.folder.NativeAt("Galleries (copy)"));
    std::filesystem::copy(g.folder.NativeAt("lib/G/Mech/Pages"), g.folder.NativeAt("Galleries (copy)/Pages"),
        std::filesystem::copy_options::recursive);
    g.panel.ContentKey = g.folder.ProgramAt("Galleries (copy)\\Pages\\A12(B3).htz");
    EXPECT_EQ(Navigations(ShowContent(g.state, g.panel)),
        std::vector<std::string> { g.temp + "\\ORVBookDefault.htm" });
    EXPECT_EQ(g.panel.MainView.PackagePath, g.folder.ProgramAt("Galleries (copy)\\Pages\\A12.HTZ"));
    EXPECT_EQ(g.panel.MainView.PageName, "B3.htm");
}

TEST(ContentShowTest, SearchRunningRefusesWithoutChangingAnything)
{
    ContentGallery g;
    g.panel.ContentKey = PackageKey(g, "lead.htm");
    ShowContent(g.state, g.panel);
    g.state.SearchRunning = true;
    g.panel.ContentKey = PackageKey(g, "A12(B3).htz");
    ShowContentResult refused = ShowContent(g.state, g.panel);
    ASSERT_EQ(refused.Actions.size(), 1u);
    EXPECT_EQ(refused.Actions[0].What, ViewAction::Kind::Message);
    EXPECT_EQ(refused.Actions[0].Text, "请先停止搜索后再打开。");
    EXPECT_EQ(refused.Actions[0].Caption, "打开");
    EXPECT_EQ(refused.Actions[0].Icon, 2);
    EXPECT_EQ(g.panel.ShownKey, PackageKey(g, "lead.htm"));
    EXPECT_TRUE(g.state.ContentViewReady);
    // Once the search has stopped the same key shows.
    g.state.SearchRunning = false;
    EXPECT_EQ(Navigations(ShowContent(g.state, g.panel)),
        std::vector<std::string> { g.temp + "\\ORVBookDefault.htm" });
}

TEST(ContentShowTest, PicturePageLinesAndNames)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    const std::string target = g.temp + "\\ORVBookDefault.htm";
    g.panel.ContentKey = pages + "\\fig1.gif";
    ShowContentResult result = ShowContent(g.state, g.panel);
    EXPECT_TRUE(result.PicturePage);
    EXPECT_EQ(Navigations(result), std::vector<std::string> { target });
    std::vector<std::string> lines = Lines(Slurp(target));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[2], "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">");
    EXPECT_EQ(lines[12], "\tborder-left-style: solid; ");
    EXPECT_EQ(lines[17], "\tborder-bottom: 3px ridge #999999;");
    EXPECT_EQ(
        lines[25], "<img src=\"" + FileToLocalUrl(pages + "\\FIG1.GIF") + "\" align=\"middle\">");
    EXPECT_EQ(lines[27], "</html>");
    // The same picture again: nothing happens and the picture page stays offered for zoom.
    EXPECT_TRUE(ShowContent(g.state, g.panel).PicturePage);
    EXPECT_TRUE(g.panel.PicturePageShown);

    // Names that would break the attribute or the page come through as an encoded URL.
    const std::string odd = "a\"b<c#d%e'f.png";
    WriteFile(g.folder.NativeAt("lib/G/Mech/Pages/" + odd), "png");
    g.state.WholePage = true;
    g.panel.ContentKey = pages + "\\" + odd;
    ShowContent(g.state, g.panel);
    lines = Lines(Slurp(target));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[25],
        "<img src=\"" + FileToLocalUrl(pages)
            + "/a%22b%3Cc%23d%25e%27f.png\" height=\"100%\" align=\"middle\">");

    // A metafile is named, not shown as an image.
    g.panel.ContentKey = pages + "\\x<y.wmf";
    ShowContent(g.state, g.panel);
    lines = Lines(Slurp(target));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[25], pages + "\\x&lt;y.wmf");

    // Any other key takes the picture page away.
    g.panel.ContentKey = pages + "\\lead.htm";
    EXPECT_FALSE(ShowContent(g.state, g.panel).PicturePage);
}

// Every file under root but those in its "temp" folder, with their sizes.
std::vector<std::pair<std::string, std::uintmax_t>> FilesOutsideTemp(const std::string& root)
{
    std::vector<std::pair<std::string, std::uintmax_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = std::filesystem::relative(entry.path(), root).string();
        if (entry.is_regular_file() && relative.rfind("temp/", 0) != 0)
            files.emplace_back(relative, entry.file_size());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ContentShowTest, MetafilePictureShowsAsThePngTheRendererMakes)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    const std::string target = g.temp + "\\ORVBookDefault.htm";
    const std::string png = g.temp + "\\" + kMetafilePictureName;
    std::vector<std::string> asked;
    bool succeed = true;
    struct Restore {
        MetafileRenderer previous;
        ~Restore() { SetMetafileRenderer(previous); }
    } restore { SetMetafileRenderer([&](const std::string& wmf, std::string& bytes) {
        asked.push_back(wmf);
        bytes = "PNG of " + wmf;
        return succeed;
    }) };
    const auto before = FilesOutsideTemp(g.folder.Native());

    g.panel.ContentKey = pages + "\\Drawing.WMF";
    ShowContentResult result = ShowContent(g.state, g.panel);
    EXPECT_EQ(Navigations(result), std::vector<std::string> { target });
    EXPECT_EQ(asked, std::vector<std::string> { g.panel.ContentKey });
    EXPECT_EQ(Slurp(png), "PNG of " + g.panel.ContentKey);
    std::vector<std::string> lines = Lines(Slurp(target));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[25], "<img src=\"" + PageUrlWithAnchor(png, {}) + "?v=1\" align=\"middle\">");
    EXPECT_TRUE(std::any_of(result.Files.begin(), result.Files.end(),
        [&](const FileStep& step) { return step.What == FileStep::Kind::Write && step.To == png; }));
    EXPECT_EQ(FilesOutsideTemp(g.folder.Native()), before);
    // Shown again, the page asks for the rewritten picture afresh, not the engine's cached one.
    g.panel.ShownKey.clear();
    ShowContent(g.state, g.panel);
    EXPECT_EQ(Lines(Slurp(target))[25], "<img src=\"" + PageUrlWithAnchor(png, {}) + "?v=2\" align=\"middle\">");

    // Other pictures are not rendered; a failed rendering leaves the metafile named.
    g.panel.ContentKey = pages + "\\fig1.gif";
    ShowContent(g.state, g.panel);
    EXPECT_EQ(asked.size(), 2u);
    succeed = false;
    g.panel.ContentKey = pages + "\\other.wmf";
    ShowContent(g.state, g.panel);
    lines = Lines(Slurp(target));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[25], pages + "\\other.wmf");
    EXPECT_EQ(FilesOutsideTemp(g.folder.Native()), before);
}

TEST(ContentShowTest, SecondViewAlwaysShowsWithoutMarkOrHighlight)
{
    ContentGallery g;
    g.state.CurrentDirID = kMarkedPackageDir;
    g.state.PendingHighlight = "钢";
    g.panel.ContentKey = PackageKey(g, "A12(B3).htz");
    const std::string target = g.temp + "\\ORVBookDefault.htm";
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Navigations(ShowContent(g.state, g.panel, ContentViewSlot::Second)),
            std::vector<std::string> { target });
    EXPECT_EQ(Slurp(target).find(kHighlightOpen), std::string::npos);
    EXPECT_TRUE(g.panel.SecondView.ShowingPackagePage);
    EXPECT_FALSE(g.panel.MainView.ShowingPackagePage);

    g.panel.ContentKey = g.root + "\\Mech\\Pages\\fig1.gif";
    ShowContent(g.state, g.panel, ContentViewSlot::Second);
    EXPECT_FALSE(g.panel.PicturePageShown);
}

TEST(ContentShowTest, LoadedCopyIsDeletedOnlyWhenItsOwnLoadFinishes)
{
    ContentGallery g;
    const std::string target = g.temp + "\\ORVBookDefault.htm";
    g.panel.ContentKey = PackageKey(g, "A12(B3).htz");
    ShowContent(g.state, g.panel);
    ContentViewState& view = g.panel.MainView;

    // Other pages finishing (the home page, a gallery page, the redirect) delete nothing.
    EXPECT_TRUE(
        OnPackagePageLoaded(g.panel.PreviousCompanionFolder, view, platform::PathToFileUrl(PackageKey(g, "lead.htm"))).Files.empty());
    EXPECT_TRUE(OnPackagePageLoaded(g.panel.PreviousCompanionFolder, view, HomePagePath(g.state.AppPath)).Files.empty());
    EXPECT_FALSE(OnPackagePageLoaded(g.panel.PreviousCompanionFolder, view, g.temp + "\\Redirect.htm").Finished);
    EXPECT_TRUE(platform::FileExists(target));

    PackagePageLoad loaded = OnPackagePageLoaded(g.panel.PreviousCompanionFolder, view, PathToLocalUrl(target) + "#part2");
    EXPECT_TRUE(loaded.Finished);
    ASSERT_EQ(loaded.Files.size(), 1u);
    EXPECT_FALSE(platform::FileExists(target));
    EXPECT_EQ(g.panel.PreviousCompanionFolder, g.temp + "\\B3.files");

    // A page with another companion folder removes the earlier one, never one outside.
    std::filesystem::create_directories(g.folder.NativeAt("outside"));
    g.panel.PreviousCompanionFolder = g.folder.ProgramAt("outside");
    g.panel.ShownKey.clear();
    ShowContent(g.state, g.panel);
    OnPackagePageLoaded(g.panel.PreviousCompanionFolder, view, target);
    EXPECT_TRUE(std::filesystem::exists(g.folder.NativeAt("outside")));

    std::filesystem::create_directories(g.folder.NativeAt("temp/B1.files"));
    g.panel.PreviousCompanionFolder = g.temp + "\\B1.files";
    g.panel.ShownKey.clear();
    ShowContent(g.state, g.panel);
    loaded = OnPackagePageLoaded(g.panel.PreviousCompanionFolder, view, target);
    EXPECT_FALSE(std::filesystem::exists(g.folder.NativeAt("temp/B1.files")));
    EXPECT_TRUE(std::filesystem::exists(g.folder.NativeAt("temp/B3.files")));
}

} // namespace
} // namespace orv

#include "navigation/DirectoryQueries.h"

#include "navigation/TreeBuild.h"
#include "navigation/TreeCommands.h"
#include "navigation/TreeTestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::MakeDirectory;

struct QueryGallery {
    explicit QueryGallery(const GalleryManifest& manifest, const std::string& sql = std::string())
    {
        gallery = test::BuildSqliteGallery(folder, manifest);
        if (!sql.empty())
            test::ExecGallerySql(gallery, sql);
        test::OpenTestGallery(state, folder, gallery);
    }
    test::TempFolder folder;
    std::string gallery;
    ReaderState state;
};

GalleryManifest Manifest(std::vector<ManifestDirectory> directories)
{
    GalleryManifest m;
    m.Name = "Q";
    m.GalleryName = "查询";
    m.Specialities = { { 1, "甲", "\\A", 1 }, { 2, "乙", "\\B", 2 } };
    m.Directories = std::move(directories);
    return m;
}

// Directories whose ParDirID links form cycles (the builder refuses them, so they are made
// afterwards): 10 and 11 are each other's parent, 12 is its own.
TEST(DirectoryQueriesTest, TitlePathsAndDescendantsStopOnCycles)
{
    QueryGallery g(Manifest({ MakeDirectory(1, 0, 1, "A"), MakeDirectory(2, 1, 1, "B"),
                       MakeDirectory(3, 2, 1, "C"), MakeDirectory(4, 1, 1, "D"), MakeDirectory(10, 0, 1, "X"),
                       MakeDirectory(11, 10, 1, "Y"), MakeDirectory(12, 0, 1, "Z") }),
        "UPDATE DrawingDir SET ParDirID = 11 WHERE DirID = 10; UPDATE DrawingDir SET ParDirID = 12 WHERE "
        "DirID = 12");
    struct Case {
        std::int32_t dirId;
        const char* path;
        std::vector<std::int32_t> descendants;
    };
    const Case cases[] = {
        { 3, "A\\B\\C", {} },
        { 1, "A", { 2, 3, 4 } },
        { 10, "Y\\X", { 11 } },
        { 11, "X\\Y", { 10 } },
        { 12, "Z", {} },
        { 99, "", {} },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DirTitlePath(g.state.Database, c.dirId), c.path) << c.dirId;
        std::vector<std::int32_t> list { -7 };
        CollectChildDirs(g.state.Database, c.dirId, list);
        list.erase(list.begin());
        EXPECT_EQ(list, c.descendants) << c.dirId;
    }
}

TEST(DirectoryQueriesTest, CaptionIsTheTitlePathWithItsPage)
{
    ManifestDirectory b = MakeDirectory(2, 1, 1, "B");
    b.Pages = { "b1.htm", "b2.htm", "b3.htm" };
    ManifestDirectory c = MakeDirectory(3, 1, 1, "C");
    c.Pages = { "c1.htm" };
    QueryGallery g(Manifest({ MakeDirectory(1, 0, 1, "A"), b, c }));
    BuildTree(g.state);
    struct Case {
        std::int32_t select; // the DirID of the node to select
        std::int32_t page;
        const char* caption;
    };
    const Case cases[] = {
        { 2, 1, "A\\B (第2页/共3页)" },
        { 2, 0, "A\\B (第1页/共3页)" },
        { 3, 0, "A\\C" },
        { 1, 0, "A" },
    };
    for (const Case& k : cases) {
        ASSERT_TRUE(SelectDirNode(g.state.Tree, k.select));
        g.state.CurrentDirID = 0;
        g.state.CurrentPage = k.page;
        EXPECT_EQ(UpdateCaption(g.state), k.caption);
        EXPECT_EQ(g.state.CurrentDirID, k.select);
    }
    g.state.ContentViewReady = false;
    g.state.CurrentDirID = 0;
    EXPECT_FALSE(UpdateCaption(g.state));
    EXPECT_EQ(g.state.CurrentDirID, 0) << "nothing changes while the content view is busy";
}

// The walk goes by DirVisible across specialities and through hidden directories: 5 (hidden,
// two pages), 1 (three pages), 2 (none), 3 (one, another speciality).
TEST(DirectoryQueriesTest, PagesStepWithinAndAcrossDirectories)
{
    ManifestDirectory hidden = MakeDirectory(5, 0, 1, "H", 0, -1);
    hidden.Pages = { "h1.htm", "h2.htm" };
    ManifestDirectory one = MakeDirectory(1, 0, 1, "A");
    one.Pages = { "a1.htm", "a2.htm", "a3.htm" };
    ManifestDirectory three = MakeDirectory(3, 0, 2, "C");
    three.Pages = { "c1.htm" };
    QueryGallery g(Manifest({ hidden, one, MakeDirectory(2, 0, 1, "B"), three }));
    struct Case {
        bool next;
        std::int32_t dirId, page;
        std::int32_t expectedDir, expectedPage;
    };
    const Case cases[] = {
        { true, 1, 0, 1, 1 },
        { true, 1, 2, 2, 0 },
        { true, 2, 0, 3, 0 },
        { true, 3, 0, 0, 0 }, // the last page of the last directory
        { true, 3, 4, 0, 0 },
        { true, 99, 4, 0, 0 },
        { true, 5, 1, 1, 0 },
        { false, 1, 2, 1, 1 },
        { false, 1, 0, 5, 1 }, // the last page of the hidden directory before it
        { false, 2, 0, 1, 2 },
        { false, 2, 3, 1, 2 }, // no page files: a page number means nothing
        { false, 3, 0, 2, 0 },
        { false, 5, 0, 0, 0 }, // the first directory: nothing before it, the page stays
        { false, 99, 4, 0, 4 },
    };
    for (const Case& c : cases) {
        g.state.CurrentDirID = c.dirId;
        g.state.CurrentPage = c.page;
        const std::int32_t result = c.next ? NextPage(g.state) : PrevPage(g.state);
        EXPECT_EQ(result, c.expectedDir) << (c.next ? "next " : "prev ") << c.dirId << " " << c.page;
        EXPECT_EQ(g.state.CurrentPage, c.expectedPage)
            << (c.next ? "next " : "prev ") << c.dirId << " " << c.page;
    }
    g.state.DatabaseOpen = false;
    g.state.CurrentDirID = 1;
    g.state.CurrentPage = 0;
    EXPECT_EQ(NextPage(g.state), 0);
    EXPECT_EQ(PrevPage(g.state), 0);
}

TEST(DirectoryQueriesTest, ToolNodeMarksBecomeAddOnCalls)
{
    const std::string app = "\\opt\\orv";
    const std::string up = "\\OPT\\ORV";
    struct Case {
        const char* mark;
        AddOnCall::Kind kind;
        std::string file,
            detail; // detail: work folder|parameters, function/args/int/text, or CAD app|command
    };
    using K = AddOnCall::Kind;
    const Case cases[] = {
        { "add:tools\\calc.exe,<root>\\data", K::StartProgram, up + "\\TOOLS\\CALC.EXE",
            up + "\\TOOLS|/opt/orv\\data" },
        { "ADD:\\bin\\x.Exe", K::StartProgram, up + "\\BIN\\X.EXE", up + "\\BIN|" },
        { "Add:lib\\f.dll,Fn", K::CallLibrary, up + "\\LIB\\F.DLL", "Fn/0/0/" },
        { "add:f.dll,Fn,12", K::CallLibrary, up + "\\F.DLL", "Fn/1/12/" },
        { "add:f.dll,Fn,7,<root>\\a <root>", K::CallLibrary, up + "\\F.DLL", "Fn/2/7//opt/orv\\a /opt/orv" },
        { "add:f.dll", K::None, up + "\\F.DLL", "" },
        { "add:f.dll,a,1,b,c", K::None, up + "\\F.DLL", "" },
        { "add:acad\\tool.arx,(tool)", K::CadCommand, up + "\\ACAD\\TOOL.ARX", up + "\\ACAD\\TOOL|(tool)" },
        { "add:tool.arx", K::CadCommand, up + "\\TOOL.ARX", up + "\\TOOL|" },
        { "add:readme.txt,x", K::None, up + "\\README.TXT", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mark);
        ASSERT_TRUE(IsToolNodeMark(c.mark));
        const AddOnCall call = ToolNodeCall(app, c.mark);
        EXPECT_EQ(call.Type, c.kind);
        EXPECT_EQ(call.File, c.file);
        EXPECT_TRUE(call.PublishToolsFolder);
        std::string detail;
        if (c.kind == K::StartProgram)
            detail = call.WorkFolder + "|" + call.Parameters;
        else if (c.kind == K::CallLibrary)
            detail = call.Function + "/" + std::to_string(call.Arguments) + "/"
                + std::to_string(call.IntArgument) + "/" + call.TextArgument;
        else if (c.kind == K::CadCommand)
            detail = call.CadApplication + "|" + call.Command;
        EXPECT_EQ(detail, c.detail);
        if (c.kind == K::StartProgram || c.kind == K::CallLibrary) {
            EXPECT_EQ(call.MissingMessage, "未找到" + c.file + "！");
        }
    }
    for (const char* mark : { "add:", "anchor", "ad", "" }) {
        const AddOnCall call = ToolNodeCall(app, mark);
        EXPECT_EQ(call.Type, K::None) << mark;
        EXPECT_FALSE(call.PublishToolsFolder) << mark;
    }
}

// The upper-cased program path still names the file as it lies in the application folder.
TEST(DirectoryQueriesTest, ToolNodeSelectionFindsTheProgramInAnyLetterCase)
{
    ManifestDirectory tool = MakeDirectory(2, 0, 1, "计算器");
    tool.Mark = "add:tools\\calc.exe,<root>\\data";
    ManifestDirectory page = MakeDirectory(3, 0, 1, "页");
    page.Mark = "part2";
    QueryGallery g(Manifest({ MakeDirectory(1, 0, 1, "A"), tool, page }));
    test::WriteFile(g.folder.NativeAt("app/tools/calc.exe"), "");
    BuildTree(g.state);

    g.state.PendingHighlight = "螺栓";
    g.state.CurrentPage = 2;
    ASSERT_TRUE(SelectDirNode(g.state.Tree, 2));
    TreeSelectionEffect effect = SelectTreeNode(g.state, g.state.Tree.Selected);
    EXPECT_TRUE(effect.Handled);
    EXPECT_EQ(effect.Caption, "计算器");
    EXPECT_TRUE(g.state.PendingHighlight.empty());
    EXPECT_EQ(g.state.CurrentPage, 0);
    ASSERT_TRUE(effect.Tool);
    EXPECT_EQ(platform::NativePath(effect.Tool->File), g.folder.NativeAt("app/tools/calc.exe"));
    EXPECT_EQ(platform::NativePath(effect.Tool->WorkFolder), g.folder.NativeAt("app/tools"));
    EXPECT_EQ(effect.Tool->Parameters, g.folder.NativeAt("app") + "\\data");

    g.state.CurrentDirID = 3;
    ASSERT_TRUE(SelectCurrentDir(g.state));
    effect = SelectTreeNode(g.state, g.state.Tree.Selected);
    EXPECT_EQ(g.state.CurrentDirID, 3);
    EXPECT_FALSE(effect.Tool) << "an anchor is no tool";

    g.state.ContentViewReady = false;
    effect = SelectTreeNode(g.state, g.state.Tree.Roots.front());
    EXPECT_FALSE(effect.Handled);
    EXPECT_EQ(g.state.CurrentDirID, 3);
}

} // namespace
} // namespace orv

#include "platform/Paths.h"
#include "support/GalleryFixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::RunTool;

// Directory 1 holds drawings 1 (a library preview, no caption), 2 and a drawing 3 bound to
// drawing 1; the memberships list 2 before 1.
struct ToolBrowserGallery {
    ToolBrowserGallery()
    {
        GalleryManifest m;
        m.Name = "Br";
        m.GalleryName = "浏览";
        m.Titles = { { "AppClass", "用途" } };
        m.Specialities = { { 1, "机械", "\\M", 1 } };
        ManifestDirectory dir = test::MakeDirectory(1, 0, 1, "零件");
        dir.Path = "\\P";
        m.Directories = { dir };
        ManifestDrawing a, b, c;
        a.Id = 1, a.Dir = 1, a.Name = "A\t1", a.Caption = "", a.Preview = "bolt(m12).sld";
        a.Data = { { std::string("长度"), 1, 12.5, std::nullopt },
            { std::string("材料"), 0, std::nullopt, std::string("Q235") } };
        b.Id = 2, b.Dir = 1, b.Name = "B", b.Caption = "螺母", b.Preview = "nut.jpg", b.Status1 = "新";
        c.Id = 3, c.Dir = 1, c.Name = "C", c.Caption = "关联", c.Preview = "c.jpg", c.Bound = 1;
        m.Drawings = { a, b, c };
        m.HasMemberships = true;
        m.Memberships = { { 1, 2, 1 }, { 1, 1, 2 } };
        gallery = platform::NativePath(test::BuildSqliteGallery(folder, m));
        root = gallery.substr(0, gallery.size() - 4);
        test::WriteFile(root + "/M/P/BOLT.SLB", "x"); // only its presence counts
        test::WriteFile(folder.NativeAt("app/ORVBook.ini"), "[Preview]\r\nRow=1\r\nCol=1\r\n");
        app = folder.NativeAt("app");
    }
    test::TempFolder folder;
    std::string gallery, root, app;
};

// Program form of a native path, escaped as the tool prints it.
std::string Escaped(const std::string& native)
{
    std::string out;
    for (char c : platform::ProgramPath(native))
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

TEST(OrvtoolBrowser, DrawingsPrintsTheStatementTitlesAndListOfEitherLoader)
{
    ToolBrowserGallery g;
    const std::string titles = "titles\t内容1\t用途\t内容3\t内容4\n";
    const std::string d1 = "drawing\t1\t1\tA\\t1\t\tBOLT.SLB(M12)\n";
    const std::string d0b = "drawing\t0\t2\tB\t螺母\tNUT.JPG\n";
    auto tree = RunTool({ "drawings", g.gallery, "1", "--app-dir", g.app });
    ASSERT_EQ(tree.status, 0) << tree.err;
    EXPECT_EQ(
        tree.out.substr(0, tree.out.find('\n') + 1).rfind("sql\tSelect DrawingName,DrawingList.DrawingID", 0),
        0u)
        << tree.out;
    EXPECT_NE(tree.out.find(titles + d0b + d1), std::string::npos) << tree.out;

    auto link = RunTool({ "drawings", g.gallery, "1", "--loader", "link", "--app-dir", g.app });
    ASSERT_EQ(link.status, 0) << link.err;
    EXPECT_NE(link.out.find("BoundDrawingID=0"), std::string::npos);
    EXPECT_NE(
        link.out.find(titles + "drawing\t0\t1\tA\\t1\t\tBOLT.SLB(M12)\ndrawing\t1\t2\tB\t螺母\tNUT.JPG\n"),
        std::string::npos)
        << link.out;
    EXPECT_EQ(link.out.find("drawing\t2\t"), std::string::npos);

    EXPECT_NE(RunTool({ "drawings", g.gallery, "1", "--loader", "other" }).status, 0);
    auto missing = RunTool({ "drawings", g.folder.NativeAt("none.gal"), "1" });
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.empty());
}

TEST(OrvtoolBrowser, GridPrintsThePageItsCellsAndTheirPictures)
{
    ToolBrowserGallery g;
    const std::string parts = Escaped(g.root) + "\\\\M\\\\P";
    // The load result of each picture, as the cell's picture control has it.
#ifdef ORV_HAVE_RENDER
    const std::string nut = "\t0\t", bolt = "\t-1\t"; // no such file; no such member
#else
    const std::string nut = "\t-\t", bolt = "\t-\t";
#endif
    const std::pair<std::string, std::string> cases[] = {
        { "0", "grid\t1\t1\t2\t2\t0\ncell\t0\t0\t" + parts + "\\\\NUT.jpg" + nut + "螺母(新)\n" },
        { "1", "grid\t1\t1\t2\t2\t1\ncell\t0\t1\t" + parts + "\\\\BOLT(M12).slb" + bolt + "(A\\t1)\n" },
        { "2", "grid\t1\t1\t2\t2\t2\n" },
    };
    for (const auto& [page, out] : cases) {
        auto result = RunTool({ "grid", g.gallery, "1", "--app-dir", g.app, "--page", page });
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, out) << page;
    }
    // The page drawn as the grid page draws it.
    const std::string png = g.folder.NativeAt("page.png");
    auto drawn = RunTool({ "grid", g.gallery, "1", "--app-dir", g.app, "--out", png, "--size", "200x150" });
#ifdef ORV_HAVE_RENDER
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(test::ReadFile(png).substr(0, 4), "\x89PNG");
#else
    EXPECT_EQ(drawn.status, 1);
#endif
    EXPECT_EQ(RunTool({ "grid", g.gallery, "1", "--size", "0x5" }).status, 1);
}

TEST(OrvtoolBrowser, DatasheetPrintsEachFieldFormatted)
{
    ToolBrowserGallery g;
    auto result = RunTool({ "datasheet", g.gallery, "1", "--app-dir", g.app });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "field\t长度\t12.5000\nfield\t材料\tQ235\n");
    auto none = RunTool({ "datasheet", g.gallery, "2", "--app-dir", g.app });
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

} // namespace
} // namespace orv

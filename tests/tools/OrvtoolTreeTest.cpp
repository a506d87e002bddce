#include "platform/Paths.h"
#include "support/GalleryFixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::MakeDirectory;
using test::RunTool;

struct ToolGallery {
    ToolGallery()
    {
        GalleryManifest m;
        m.Name = "Tool";
        m.GalleryName = "工具";
        m.Specialities = { { 1, "机械", "\\M", 1 }, { 2, "电气", "\\E", 2 } };
        ManifestDirectory b = MakeDirectory(2, 1, 1, "B\\1");
        b.Pages = { "b1.htm", "b2.htm" };
        m.Directories = { MakeDirectory(1, 0, 1, "A"), b, MakeDirectory(3, 0, 2, "C") };
        gallery = platform::NativePath(test::BuildSqliteGallery(folder, m));
        test::WriteFile(folder.NativeAt("app/ORVBook.ini"), "[System]\r\nAutoExpand=0\r\n");
    }
    test::TempFolder folder;
    std::string gallery;
};

TEST(OrvtoolTree, ShowPrintsTheTreeFromTheDatabaseThenFromTheCache)
{
    ToolGallery g;
    const std::string nodes = "node\t0\t0\t0\t0\t1\t机械\n"
                              "node\t1\t1\t1\t2\t0\tA\n"
                              "node\t2\t2\t1\t2\t0\tB\\\\1\n"
                              "node\t0\t0\t0\t0\t1\t电气\n"
                              "node\t1\t3\t1\t2\t0\tC\n";
    auto first = RunTool({ "tree", "show", g.gallery, "--app-dir", g.folder.NativeAt("app") });
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "source\tdatabase\n" + nodes + "selected\t0\t机械\ncaption\t\n");

    auto second
        = RunTool({ "tree", "show", g.gallery, "--app-dir", g.folder.NativeAt("app"), "--current", "2" });
    ASSERT_EQ(second.status, 0) << second.err;
    std::string opened = nodes;
    opened.replace(opened.find("\t0\tA"), 4, "\t1\tA"); // A opens to show the selection
    EXPECT_EQ(
        second.out, "source\tcache\n" + opened + "selected\t2\tB\\\\1\ncaption\tA\\\\B\\\\1 (第1页/共2页)\n");
}

TEST(OrvtoolTree, QueriesPrintPathsDescendantsAndSteps)
{
    ToolGallery g;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        { { "tree", "path", g.gallery, "2" }, "A\\\\B\\\\1\n" },
        { { "tree", "children", g.gallery, "1" }, "2\n" },
        { { "tree", "step", "next", g.gallery, "2", "0" }, "2\t1\n" },
        { { "tree", "step", "next", g.gallery, "2", "1" }, "3\t0\n" },
        { { "tree", "step", "prev", g.gallery, "3", "0" }, "2\t1\n" },
    };
    for (const auto& [args, out] : cases) {
        auto result = RunTool(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, out) << args[1];
    }
    auto missing = RunTool({ "tree", "show", g.folder.NativeAt("none.gal") });
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.gal"), std::string::npos) << missing.err;
    EXPECT_NE(RunTool({ "tree", "step", "up", g.gallery, "1", "0" }).status, 0);
}

} // namespace
} // namespace orv

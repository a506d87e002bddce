#include "builder/GalleryBuilder.h"
#include "platform/Encoding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::RunTool;
using test::WriteFile;

void AddGallery(const test::TempFolder& dir, const std::string& file, const std::string& name)
{
    GalleryManifest manifest;
    manifest.Name = file;
    manifest.GalleryName = name;
    manifest.Titles = { { "status1", "标准" } };
    manifest.FullTextForm = GalleryManifest::FullText::None;
    GalleryBuildOptions options;
    options.Sqlite = true;
    GalleryBuildReport report;
    std::string error;
    ASSERT_TRUE(BuildGallery(manifest, dir.ProgramAt("app\\lib"), options, report, error)) << error;
}

TEST(OrvtoolApp, ShowOpenAndMenu)
{
    test::TempFolder dir;
    test::ScopedEnv cache("XDG_CACHE_HOME", dir.NativeAt("cache"));
    AddGallery(dir, "Pipes", "管道");
    AddGallery(dir, "Valves", "阀门");
    const std::string app = dir.NativeAt("app");
    WriteFile(app + "/ORVBook.ini",
        "[Gallery]\nGalleryPath=<APPPATH>\\LIB\nCurrectGallery=1\nSplitW=300\nActiveDirID=4\n");
    WriteFile(app + "/ORVBook.odr", platform::Utf8ToGb18030("阀门\n"));
    WriteFile(app + "/calc.add", "[Add]\nCap=计算\nTip=a\tb\n");
    WriteFile(app + "/menu.add", "[Add]\nMNU=tools.mnu\n");

    auto show = RunTool({ "app", "show", "--app-dir", app });
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out,
        "apppath\t" + app + "\nlibpath\t" + app
            + "/lib\ntitle\tOrv机电工程师手册\n"
              "gallery\t0\t阀门\t"
            + app + "/lib/Valves.GAL\ngallery\t1\t管道\t" + app
            + "/lib/Pipes.GAL\n"
              "current\t1\ndirid\t4\nsplitw\t300\naddin\tcalc.add\t计算\ta\\tb\naddin\tmenu.add\t工具2\t\n");
    EXPECT_EQ(test::ReadFile(app + "/ORVBook.odr"), platform::Utf8ToGb18030("阀门\n管道\n"));

    auto open = RunTool({ "app", "open", "--app-dir", app, "0" });
    ASSERT_EQ(open.status, 0) << open.err;
    EXPECT_EQ(open.out,
        "gallery\t0\nopen\t1\ntreecache\t" + app + "/lib/VALVES.Lst\nhistory\t" + app
            + "/Valves.HIS\n"
              "drawings\t0\ncaption\t1\t标准\ncaption\t2\t内容2\ncaption\t3\t内容3\ncaption\t4\t内容4\n");

    WriteFile(
        app + "/tools.mnu", platform::Utf8ToGb18030("[计算]calc.exe,-x [->更多] [--] [<-关于]about.exe"));
    auto menu = RunTool({ "app", "menu", app + "/tools.mnu" });
    ASSERT_EQ(menu.status, 0) << menu.err;
    EXPECT_EQ(menu.out,
        "item\t0\t0\t计算\tcalc.exe,-x\nsubmenu\t0\t更多\nseparator\t1\nitem\t1\t2\t关于\tabout.exe\n");

    auto empty = RunTool({ "app", "show", "--app-dir", dir.NativeAt("app/lib/Pipes") });
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("no gallery"), std::string::npos) << empty.err;
    EXPECT_EQ(RunTool({ "app", "show", "--app-dir", dir.NativeAt("missing") }).status, 1);
}

} // namespace
} // namespace orv

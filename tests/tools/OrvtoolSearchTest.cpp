#include "navigation/FullTextFiles.h"
#include "platform/Paths.h"
#include "support/GalleryFixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orv {
namespace {

using test::MakeDirectory;
using test::RunTool;

// One speciality (so the tree shows its directories at the top): A (1), its child Bolt M10
// (2), and C (3); full text in the compressed form: directory 2 says "hex bolt", 3 says "bolt and nut".
struct SearchGallery {
    SearchGallery()
    {
        GalleryManifest m;
        m.Name = "Srch";
        m.GalleryName = "搜索";
        m.Specialities = { { 1, "机械", "\\M", 1 } };
        m.Directories = { MakeDirectory(1, 0, 1, "A"), MakeDirectory(2, 1, 1, "Bolt M10"),
            MakeDirectory(3, 0, 1, "C") };
        const std::string program = test::BuildSqliteGallery(folder, m);
        gallery = platform::NativePath(program);
        const std::string root = program.substr(0, program.size() - 4);
        std::string error;
        EXPECT_TRUE(WriteFullTextFiles(root, root.substr(root.rfind('\\') + 1),
            { { { 2 }, "hex bolt" }, { { 3 }, "bolt and nut" } }, FullTextFormat::Compressed, error))
            << error;
    }
    test::TempFolder folder;
    std::string gallery;
};

TEST(OrvtoolSearch, PrintsRowsInListOrderForEachModeAndScope)
{
    SearchGallery g;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        { { "bolt", "--mode", "title" }, "row\t2\tBOLT M10\tA\\\\Bolt M10\ncount\t1\n" },
        { { "bolt" }, "row\t2\tBolt M10\tA\\\\Bolt M10\nrow\t3\tC\tC\ncount\t2\n" },
        { { "BOLT", "--scope", "under:1" }, "row\t2\tBolt M10\tA\\\\Bolt M10\ncount\t1\n" },
        { { "nut", "--scope", "within:1,2,3" }, "row\t3\tC\tC\ncount\t1\n" },
        { { "m10", "--mode", "title", "--scope", "within:3,2" },
            "row\t2\tBolt M10\tA\\\\Bolt M10\ncount\t1\n" },
        { { "washer" }, "count\t0\n" },
    };
    for (const auto& [extra, out] : cases) {
        std::vector<std::string> args = { "search", g.gallery };
        args.insert(args.end(), extra.begin(), extra.end());
        const auto result = RunTool(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, out) << extra[0];
    }
}

TEST(OrvtoolSearch, HistoryIsUpdatedAfterASearchWithRows)
{
    SearchGallery g;
    const std::string his = g.folder.NativeAt("G.HIS");
    test::WriteFile(his, "[BookMark]\r\nBookMark1=2|A|B\r\n");
    const std::pair<std::string, std::string> cases[]
        = { { "bolt", "added" }, { "BOLT", "unchanged" }, { "washer", "unchanged" }, { "nut", "added" } };
    for (const auto& [text, change] : cases) {
        const auto result = RunTool({ "search", g.gallery, text, "--history", his });
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("history\t" + change + "\n"), std::string::npos) << text << result.out;
    }
    EXPECT_EQ(
        test::ReadFile(his), "[BookMark]\r\nBookMark1=2|A|B\r\n\r\n[Query]\r\nQuery1=nut\r\nQuery2=bolt\r\n");

    ::chmod(his.c_str(), 0444);
    const std::string before = test::ReadFile(his);
    const auto refused = RunTool({ "search", g.gallery, "hex", "--history", his });
    ::chmod(his.c_str(), 0644);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(test::ReadFile(his), before);
}

} // namespace
} // namespace orv

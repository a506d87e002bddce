// orvtool pack|compress|decompress|page, run as a user runs them.

#include "PackageFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::ReadFile;
using test::RunTool;
using test::TempFolder;
using test::WriteFile;

class PackageCommandsTest : public ::testing::Test {
protected:
    std::string At(const std::string& relative) const { return folder.NativeAt(relative); }
    TempFolder folder;
};

TEST_F(PackageCommandsTest, BuildsListsExtractsAndRemoves)
{
    ASSERT_EQ(RunTool({ "pack", "create", At("lib/P_files.flz") }).status, 1); // the folder is missing
    std::filesystem::create_directory(At("lib"));
    ASSERT_EQ(RunTool({ "pack", "create", At("lib/P_files.flz") }).status, 0);
    EXPECT_EQ(ReadFile(At("lib/P_files.flz")), "");
    EXPECT_EQ(ReadFile(At("lib/P_files.idx")), "");
    auto again = RunTool({ "pack", "create", At("lib/P_files.flz") });
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);

    std::string picture = test::PageLikeText(5000);
    WriteFile(At("src/A12.files/a.gif"), picture);
    WriteFile(At("src/plain.txt"), "plain");
    auto add = RunTool({ "pack", "add", At("lib/P_files.flz"), At("src/A12.files/a.gif"), "--depth", "1" });
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out, "A12.files\\a.gif\n");
    auto append
        = RunTool({ "pack", "append", At("lib/P_files.flz"), At("src/plain.txt"), "--folder", "raw" });
    ASSERT_EQ(append.status, 0) << append.err;
    EXPECT_EQ(append.out, "raw\\plain.txt\n");

    std::size_t compressed = test::ZlibStream(picture).size();
    auto list = RunTool({ "pack", "list", At("lib/P_files.flz") });
    ASSERT_EQ(list.status, 0);
    EXPECT_EQ(list.out,
        "A12.files\\a.gif\t0\t" + std::to_string(compressed) + "\nraw\\plain.txt\t"
            + std::to_string(compressed) + "\t5\n");

    std::filesystem::create_directory(At("lib/A12.files"));
    auto extract = RunTool({ "pack", "extract", At("lib/P_files.flz"), "a12.files/A.GIF" });
    ASSERT_EQ(extract.status, 0) << extract.err;
    EXPECT_EQ(extract.out, At("lib/A12.files/A.GIF") + "\n");
    EXPECT_EQ(ReadFile(At("lib/A12.files/A.GIF")), picture);
    auto raw
        = RunTool({ "pack", "extract", At("lib/P_files.flz"), "raw\\plain.txt", At("out.txt"), "--raw" });
    ASSERT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(ReadFile(At("out.txt")), "plain");
    auto stored
        = RunTool({ "pack", "extract", At("lib/P_files.flz"), "A12.files\\a.gif", At("a.z"), "--raw" });
    ASSERT_EQ(stored.status, 0);
    EXPECT_EQ(ReadFile(At("a.z")), test::ZlibStream(picture));

    auto missing = RunTool({ "pack", "extract", At("lib/P_files.flz"), "nothing.gif" });
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no member"), std::string::npos);

    ASSERT_EQ(RunTool({ "pack", "remove", At("lib/P_files.flz"), "A12.FILES\\A.GIF" }).status, 0);
    EXPECT_EQ(RunTool({ "pack", "list", At("lib/P_files.flz") }).out, "raw\\plain.txt\t0\t5\n");
    EXPECT_EQ(RunTool({ "pack", "remove", At("lib/P_files.flz"), "A12.files\\a.gif" }).status, 1);
    EXPECT_EQ(RunTool({ "pack", "list", At("nowhere.flz") }).status, 1);
}

TEST_F(PackageCommandsTest, DamagedMemberExitsWithAReason)
{
    std::vector<test::Member> members = test::Compressed({ { "bad.htm", test::PageLikeText(20000) } });
    members[0].blob.resize(members[0].blob.size() - 10);
    test::WriteLibrary(folder, "P.htz", members);
    auto result = RunTool({ "pack", "extract", At("P.htz"), "bad.htm", At("bad.out") });
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(result.err.empty());
    EXPECT_FALSE(std::filesystem::exists(At("bad.out")));
}

TEST_F(PackageCommandsTest, CompressAndDecompressWholeFiles)
{
    std::string text = test::PageLikeText(300000);
    WriteFile(At("tree.txt"), text);
    ASSERT_EQ(RunTool({ "compress", At("tree.txt"), At("tree.lst") }).status, 0);
    EXPECT_EQ(ReadFile(At("tree.lst")), test::ZlibStream(text));
    ASSERT_EQ(RunTool({ "decompress", At("tree.lst"), At("back.txt") }).status, 0);
    EXPECT_EQ(ReadFile(At("back.txt")), text);

    WriteFile(At("cut.lst"), test::ZlibStream(text).substr(0, 1000));
    auto cut = RunTool({ "decompress", At("cut.lst"), At("cut.txt") });
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("code -5"), std::string::npos) << cut.err;
    EXPECT_FALSE(std::filesystem::exists(At("cut.txt")));
    auto none = RunTool({ "compress", At("missing"), At("x") });
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("code -200"), std::string::npos) << none.err;
}

TEST_F(PackageCommandsTest, ReadsAndExtractsPagesWithTheirCompanions)
{
    std::string page = platform::Utf8ToGb18030("<html><p>齿轮</p><img src=\"A12.files/a.gif\"></html>tail");
    test::WriteLibrary(folder, "Pages/P.htz", test::Compressed({ { "A12.htm", page } }));
    test::WriteLibrary(folder, "Pages/P_files.flz", test::Compressed({ { "A12.files\\a.gif", "GIF" } }));

    auto read = RunTool({ "page", "read", At("Pages/p.htz"), "a12.htm" });
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out, "<html><p>齿轮</p><img src=\"A12.files/a.gif\"></html>");
    auto raw = RunTool({ "page", "read", At("Pages/P.htz"), "A12.htm", "--raw" });
    EXPECT_EQ(raw.out, platform::Utf8ToGb18030("<html><p>齿轮</p><img src=\"A12.files/a.gif\"></html>"));

    auto companions = RunTool({ "page", "companions", At("Pages/P.htz"), "A12.htm", At("temp") });
    ASSERT_EQ(companions.status, 0) << companions.err;
    EXPECT_EQ(companions.out, "A12.files\n");
    EXPECT_EQ(ReadFile(At("temp/A12.files/a.gif")), "GIF");

    auto extract = RunTool(
        { "page", "extract", At("Pages/P.htz"), "A12.htm", At("temp/A12.htm"), "--base", At("temp") });
    ASSERT_EQ(extract.status, 0) << extract.err;
    EXPECT_EQ(extract.out, At("temp/A12.htm") + "\n");
    EXPECT_EQ(ReadFile(At("temp/A12.htm")),
        platform::Utf8ToGb18030(
            "<html><p>齿轮</p><img src=\"" + folder.ProgramAt("temp") + "\\A12.files/a.gif\"></html>"));

    EXPECT_EQ(RunTool({ "page", "read", At("Pages/P.htz"), "B3.htm" }).status, 1);
    EXPECT_EQ(RunTool({ "page", "companions", At("Pages/Q.htz"), "A12.htm", At("temp") }).status, 1);
}

} // namespace
} // namespace orv

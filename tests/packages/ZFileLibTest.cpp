#include "packages/ZFileLib.h"

#include "PackageFixtures.h"
#include "packages/Compression.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

class ZFileLibTest : public ::testing::Test {
protected:
    bool Exists(const std::string& relative) const
    {
        return std::filesystem::exists(folder.NativeAt(relative));
    }
    TempFolder folder;
};

TEST_F(ZFileLibTest, ExtractDecompressesTheMember)
{
    std::string page = test::PageLikeText(100 * 1024);
    test::WriteLibrary(folder, "A12_files.flz",
        test::Compressed({ { "A12.files\\a.gif", "GIF89a picture" }, { "A12.files\\page.css", page } }));
    CZFileLib lib(folder.ProgramAt("A12_files.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("A12_files.flz")));
    std::string target = folder.ProgramAt("out.css");
    ASSERT_TRUE(lib.ExtractFile("a12.files\\PAGE.CSS", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("out.css")), page);

    std::filesystem::create_directory(folder.NativeAt("A12.files"));
    target.clear();
    ASSERT_TRUE(lib.ExtractFile("A12.files\\a.gif", target));
    EXPECT_EQ(target, folder.ProgramAt("A12.files\\a.gif"));
    EXPECT_EQ(ReadFile(folder.NativeAt("A12.files/a.gif")), "GIF89a picture");
}

TEST_F(ZFileLibTest, DamagedMemberFailsAndLeavesNoTarget)
{
    std::vector<test::Member> members
        = test::Compressed({ { "good.htm", "fine" }, { "bad.htm", test::PageLikeText(50000) } });
    std::string& blob = members[1].blob;
    blob[blob.size() / 2] ^= 0x5a;
    blob[blob.size() / 2 + 3] ^= 0x5a;
    test::WriteLibrary(folder, "lib.htz", members);
    CZFileLib lib(folder.ProgramAt("lib.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.htz")));
    std::string target = folder.ProgramAt("bad.out");
    EXPECT_FALSE(lib.ExtractFile("bad.htm", target));
    EXPECT_FALSE(Exists("bad.out"));
    target = folder.ProgramAt("good.out");
    EXPECT_TRUE(lib.ExtractFile("good.htm", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("good.out")), "fine");
}

TEST_F(ZFileLibTest, TruncatedMemberFailsAndLeavesNoTarget)
{
    std::vector<test::Member> members = test::Compressed({ { "cut.htm", test::PageLikeText(80000) } });
    members[0].blob.resize(members[0].blob.size() - 100);
    test::WriteLibrary(folder, "lib.htz", members);
    CZFileLib lib(folder.ProgramAt("lib.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.htz")));
    std::string target = folder.ProgramAt("cut.out");
    EXPECT_FALSE(lib.ExtractFile("cut.htm", target));
    EXPECT_FALSE(Exists("cut.out"));
}

TEST_F(ZFileLibTest, DataFileShorterThanIndexClaimsFails)
{
    test::WriteLibrary(folder, "lib.htz", test::Compressed({ { "a.htm", "first" }, { "b.htm", "second" } }));
    std::string data = ReadFile(folder.NativeAt("lib.htz"));
    WriteFile(folder.NativeAt("lib.htz"), data.substr(0, data.size() - 1));
    CZFileLib lib(folder.ProgramAt("lib.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.htz")));
    std::string target = folder.ProgramAt("b.out");
    EXPECT_FALSE(lib.ExtractFile("b.htm", target));
    EXPECT_FALSE(Exists("b.out"));
    target = folder.ProgramAt("a.out");
    EXPECT_TRUE(lib.ExtractFile("a.htm", target));
}

TEST_F(ZFileLibTest, MemberFolderKeepsTheAskedNumberOfFolderNames)
{
    EXPECT_EQ(CZFileLib::MemberFolderFor("C:\\Lib\\Pages\\A12.files\\a.gif", 0), "");
    EXPECT_EQ(CZFileLib::MemberFolderFor("C:\\Lib\\Pages\\A12.files\\a.gif", -1), "");
    EXPECT_EQ(CZFileLib::MemberFolderFor("C:\\Lib\\Pages\\A12.files\\a.gif", 1), "A12.files");
    EXPECT_EQ(CZFileLib::MemberFolderFor("C:\\Lib\\Pages\\A12.files\\a.gif", 2), "Pages\\A12.files");
    EXPECT_EQ(CZFileLib::MemberFolderFor("C:\\Lib\\Pages\\a.gif", 5), "Lib\\Pages");
    EXPECT_EQ(CZFileLib::MemberFolderFor("a.gif", 3), "");
    EXPECT_EQ(CZFileLib::MemberFolderFor("Pages\\a.gif", 1), "");
    EXPECT_EQ(CZFileLib::MemberFolderFor("\\home\\u\\A12.files\\a.gif", 1), "A12.files");
}

TEST_F(ZFileLibTest, AddFileStoresAZlibStreamUnderTheMemberFolder)
{
    WriteFile(folder.NativeAt("lib.flz"), "");
    WriteFile(folder.NativeAt("lib.idx"), "");
    std::string picture = test::PageLikeText(30000, 3);
    WriteFile(folder.NativeAt("Pages/A12.files/a.gif"), picture);
    WriteFile(folder.NativeAt("Pages/b.css"), "body{}");
    CZFileLib lib(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.flz")));
    ASSERT_TRUE(lib.AddFile(folder.ProgramAt("Pages\\A12.files\\a.gif"), 1));
    ASSERT_TRUE(lib.AddFile(folder.ProgramAt("Pages\\b.css"), 0));
    EXPECT_FALSE(lib.AddFile(folder.ProgramAt("Pages\\missing.css"), 0));

    EXPECT_EQ(ReadFile(folder.NativeAt("lib.flz")), test::ZlibStream(picture) + test::ZlibStream("body{}"));
    CZFileLib reopened(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(reopened.Open(folder.ProgramAt("lib.flz")));
    std::vector<std::string> names;
    EXPECT_EQ(reopened.GetFileNames(names), 2);
    EXPECT_EQ(names, (std::vector<std::string> { "A12.files\\a.gif", "b.css" }));
    std::string target = folder.ProgramAt("a.out");
    ASSERT_TRUE(reopened.ExtractFile("A12.FILES\\A.GIF", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("a.out")), picture);
    // The compressed copy made on the way is not left behind.
    for (const auto& entry :
        std::filesystem::directory_iterator(platform::NativePath(lib.GetTempFolderPath())))
        EXPECT_EQ(entry.path().filename().string().rfind("ORVAdd-", 0), std::string::npos) << entry.path();
}

TEST_F(ZFileLibTest, ExtractOverAnExistingFileKeepsItsPermissions)
{
    test::WriteLibrary(folder, "lib.htz", test::Compressed({ { "a.htm", "new page" } }));
    WriteFile(folder.NativeAt("OUT.htm"), std::string(5000, 'o'));
    std::filesystem::permissions(folder.NativeAt("OUT.htm"), std::filesystem::perms(0640));
    CZFileLib lib(folder.ProgramAt("lib.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.htz")));
    // The existing file is found without regard to case and replaced, not joined by another.
    std::string target = folder.ProgramAt("out.htm");
    ASSERT_TRUE(lib.ExtractFile("a.htm", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("OUT.htm")), "new page");
    EXPECT_FALSE(Exists("out.htm"));
    EXPECT_EQ(
        std::filesystem::status(folder.NativeAt("OUT.htm")).permissions(), std::filesystem::perms(0640));
}

} // namespace
} // namespace orv

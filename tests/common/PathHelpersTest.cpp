#include "app/common/PathHelpers.h"

#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace orv {
namespace {

using test::TempFolder;

TEST(PathParts, SplitAtTheLastBackslashAndDot)
{
    EXPECT_EQ(GetFolderPart("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(GetFolderPart("b.txt"), "");
    EXPECT_EQ(GetFolderPart("\\root"), "");
    EXPECT_EQ(GetBaseName("C:\\a\\b.tar.gz"), "b.tar");
    EXPECT_EQ(GetBaseName("C:\\a.d\\readme"), "readme");
    EXPECT_EQ(GetBaseName("图库\\机械.GAL"), "机械");
    EXPECT_EQ(GetExtension("C:\\a.d\\readme"), "d\\readme");
    EXPECT_EQ(GetExtension("C:\\a\\b.tar.gz"), "gz");
    EXPECT_EQ(GetExtension("C:\\a\\b"), "");
}

TEST(CreateFolderPathTest, CreatesEveryMissingLevel)
{
    TempFolder dir;
    CreateFolderPath(dir.ProgramAt("a\\b\\c"));
    EXPECT_TRUE(platform::FolderExists(dir.ProgramAt("a\\b\\c")));

    // An existing level in other letter case is used, not duplicated.
    CreateFolderPath(dir.ProgramAt("A\\B\\d"));
    EXPECT_TRUE(platform::FolderExists(dir.ProgramAt("a\\b\\d")));
    EXPECT_NE(::access(dir.NativeAt("A").c_str(), F_OK), 0);

    // A path that already exists as a file is left alone.
    test::WriteFile(dir.NativeAt("file"), "x");
    CreateFolderPath(dir.ProgramAt("file"));
    EXPECT_TRUE(platform::FileExists(dir.ProgramAt("file")));
}

TEST(CreateFolderPathTest, BareNameCreatesNothing)
{
    TempFolder dir;
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(dir.Native().c_str()), 0);
    CreateFolderPath("bare");
    CreateFolderPath("rel\\sub");
    bool bareMade = ::access("bare", F_OK) == 0;
    bool relMade = ::access("rel/sub", F_OK) == 0;
    ASSERT_EQ(::chdir(cwd), 0);
    EXPECT_FALSE(bareMade);
    EXPECT_TRUE(relMade);
}

TEST(DeleteFolderTreeTest, RemovesEverythingButNeverFollowsLinks)
{
    TempFolder dir;
    test::WriteFile(dir.NativeAt("keep/precious"), "data");
    test::WriteFile(dir.NativeAt("tree/a/b/c.txt"), "x");
    test::WriteFile(dir.NativeAt("tree/中文.htm"), "x");
    ASSERT_EQ(::symlink(dir.NativeAt("keep").c_str(), dir.NativeAt("tree/a/link").c_str()), 0);
    EXPECT_TRUE(DeleteFolderTree(dir.ProgramAt("tree")));
    EXPECT_FALSE(platform::PathExists(dir.ProgramAt("tree")));
    EXPECT_EQ(test::ReadFile(dir.NativeAt("keep/precious")), "data");
    EXPECT_FALSE(DeleteFolderTree(dir.ProgramAt("tree")));
    EXPECT_FALSE(DeleteFolderTree(dir.ProgramAt("keep\\precious")));
}

TEST(TempFolderTest, PrefersThePrivateRuntimeFolder)
{
    TempFolder dir;
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.NativeAt(""));
    test::ScopedEnv cache("XDG_CACHE_HOME", dir.NativeAt("cache/"));
    std::string folder = GetTempFolder();
    EXPECT_EQ(folder, dir.ProgramAt("ORVTemp"));
    struct stat st;
    ASSERT_EQ(::stat(dir.NativeAt("ORVTemp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Without a usable runtime folder it lives in the user's cache folder.
    ::setenv("XDG_RUNTIME_DIR", dir.NativeAt("missing").c_str(), 1);
    EXPECT_EQ(GetTempFolder(), dir.ProgramAt("cache\\orvbook\\ORVTemp"));
    EXPECT_TRUE(platform::FolderExists(dir.ProgramAt("cache\\orvbook\\ORVTemp")));
}

}  // namespace
}  // namespace orv

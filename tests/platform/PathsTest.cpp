#include "platform/Paths.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orv::platform {
namespace {

using test::TempFolder;
using test::WriteFile;

class PathsTest : public testing::Test {
protected:
    TempFolder m_dir;
};

TEST_F(PathsTest, ResolvesEachComponentWithoutRegardToCase)
{
    WriteFile(m_dir.NativeAt("Gallery/Pages/A12.HTZ"), "x");
    EXPECT_EQ(NativePath(m_dir.ProgramAt("gallery\\PAGES\\a12.htz")), m_dir.NativeAt("Gallery/Pages/A12.HTZ"));
    EXPECT_TRUE(FileExists(m_dir.ProgramAt("GALLERY\\pages\\a12.Htz")));
    EXPECT_TRUE(FolderExists(m_dir.ProgramAt("gallery\\pages")));
    EXPECT_FALSE(FileExists(m_dir.ProgramAt("gallery\\pages")));
    EXPECT_FALSE(FolderExists(m_dir.ProgramAt("gallery\\pages\\a12.htz")));
}

TEST_F(PathsTest, PrefersTheExactNameThenTheFirstInSortedOrder)
{
    WriteFile(m_dir.NativeAt("a12.htz"), "lower");
    WriteFile(m_dir.NativeAt("A12.HTZ"), "upper");
    WriteFile(m_dir.NativeAt("A12.htz"), "mixed");
    EXPECT_EQ(NativePath(m_dir.ProgramAt("a12.htz")), m_dir.NativeAt("a12.htz"));
    EXPECT_EQ(NativePath(m_dir.ProgramAt("a12.HTZ")), m_dir.NativeAt("A12.HTZ"));
}

TEST_F(PathsTest, KeepsMissingComponentsAsWritten)
{
    WriteFile(m_dir.NativeAt("Data/x"), "");
    EXPECT_EQ(NativePath(m_dir.ProgramAt("DATA\\New\\Sub")), m_dir.NativeAt("Data/New/Sub"));
    EXPECT_EQ(NativePath("rel\\a"), "rel/a");
    EXPECT_EQ(NativePath(""), "");
    // A drive letter names nothing on this system.
    EXPECT_FALSE(FileExists("D:\\gallery\\a.gal"));
}

TEST_F(PathsTest, ConvertsBackToProgramPaths)
{
    EXPECT_EQ(ProgramPath("/home/u/x"), "\\home\\u\\x");
    EXPECT_EQ(NativePath(ProgramPath(m_dir.Native())), m_dir.Native());
}

TEST_F(PathsTest, FindsFilesByPatternSortedByName)
{
    for (const char* name : {"b.GAL", "A.gal", "c.txt", "noext", "C.Gal"})
        WriteFile(m_dir.NativeAt(name), "");
    ::mkdir(m_dir.NativeAt("sub.gal").c_str(), 0755);
    EXPECT_EQ(FindFiles(m_dir.Program(), "*.GAL"), (std::vector<std::string>{"A.gal", "C.Gal", "b.GAL"}));
    EXPECT_EQ(FindFiles(m_dir.Program(), "*.*").size(), 5u);
    EXPECT_EQ(FindFiles(m_dir.Program(), "?.txt"), std::vector<std::string>{"c.txt"});
    auto entries = FindEntries(m_dir.Program(), "*.gal");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries.back().name, "sub.gal");
    EXPECT_TRUE(entries.back().isFolder);
}

TEST_F(PathsTest, FindsNothingInMissingOrUnreadableFolders)
{
    EXPECT_TRUE(FindFiles(m_dir.ProgramAt("missing"), "*.*").empty());
    WriteFile(m_dir.NativeAt("locked/a.gal"), "");
    ::chmod(m_dir.NativeAt("locked").c_str(), 0);
    if (::geteuid() != 0) {  // root reads every folder
        EXPECT_TRUE(FindFiles(m_dir.ProgramAt("locked"), "*.*").empty());
    }
    ::chmod(m_dir.NativeAt("locked").c_str(), 0755);
}

TEST(PathPatterns, MatchLikeWindows)
{
    EXPECT_TRUE(MatchesPattern("README", "*.*"));
    EXPECT_TRUE(MatchesPattern("abc", "a*.*"));
    EXPECT_TRUE(MatchesPattern("A.Gal", "*.gAL"));
    EXPECT_FALSE(MatchesPattern("a.gall", "*.gal"));
    EXPECT_TRUE(MatchesPattern("x1y", "x?y"));
    EXPECT_FALSE(MatchesPattern("xy", "x?y"));
}

TEST(FileUrls, ConvertBothWays)
{
    EXPECT_EQ(FileUrlToPath("file:///home/u/a%20b%E4%B8%AD.htm"), "\\home\\u\\a b中.htm");
    EXPECT_EQ(FileUrlToPath("file://localhost/tmp/x.htm#top"), "\\tmp\\x.htm");
    EXPECT_EQ(FileUrlToPath("FILE:///tmp/x%2"), "\\tmp\\x%2");
    EXPECT_EQ(FileUrlToPath("http://host/x"), "");
    EXPECT_EQ(FileUrlToPath("file://otherhost/x"), "");

    TempFolder dir;
    WriteFile(dir.NativeAt("Page 1#中.htm"), "");
    std::string url = PathToFileUrl(dir.ProgramAt("page 1#中.HTM"));
    EXPECT_EQ(url.find(' '), std::string::npos);
    EXPECT_EQ(url.find('#'), std::string::npos);
    EXPECT_EQ(FileUrlToPath(url), dir.ProgramAt("Page 1#中.htm"));
}

TEST(FileUrls, EncodedNulOrSeparatorInAComponentNamesNoFile)
{
    // Decoded whole, these name /etc/passwd, or climb folders past URL normalisation.
    for (const char* url : { "file:///etc/passwd%00/x.htm", "file:///gal/pages/..%2F..%2F..%2Fetc/passwd",
             "file:///gal/..%2f..%2fetc%2fpasswd", "file:///gal/a%5C..%5C..%5Cb.htm",
             "file://localhost/gal/a%00" }) {
        EXPECT_EQ(FileUrlToPath(url), "") << url;
    }
    // Other encoded bytes still decode, and a "." component is left for NativePath.
    EXPECT_EQ(FileUrlToPath("file:///gal/a%23b%3F/%2E%2E/x.htm"), "\\gal\\a#b?\\..\\x.htm");
    using namespace std::string_literals;
    EXPECT_EQ(NativePath("\\etc\\passwd\0\\x.htm"s), "");
}

TEST_F(PathsTest, DotsInProgramPathsCollapseAsOnWindows)
{
    const std::pair<const char*, const char*> cases[] = {
        { "\\gal\\nosuch\\..\\sub\\a12.htm", "\\gal\\sub\\a12.htm" },
        { "\\a\\.\\b\\.\\", "\\a\\b\\" },
        { "/tmp/./x/../y", "\\tmp\\y" },
        { "\\..\\..\\x", "\\x" },
        { "\\a\\..", "\\" },
        { "C:\\a\\..\\..\\b", "C:\\b" },
        { "C:a\\..\\b", "C:b" },
        { "\\\\server\\share\\..\\..\\x", "\\\\server\\share\\x" },
        // Found by fuzzing: a ".." where the server or share name stands passed through; a
        // share ending in ":" lost the separator after it; a trailing one after it was lost;
        // a relative name like a drive became one.
        { "\\\\gah\\..\\sub\\a12.htm", "\\\\gah\\sub\\a12.htm" },
        { "\\\\..\\..\\etc", "\\etc" },
        { "\\\\srv/c:\\.\\x", "\\\\srv\\c:\\x" },
        { "\\\\srv\\share\\.\\", "\\\\srv\\share\\" },
        { "C:a\\..\\", "C:" },
        { ".\\e:x\\.", ".\\e:x" },
        { "a\\..\\..\\b", "..\\b" },
        { "a\\..", "." },
        { "..\\x\\.", "..\\x" },
        { "a.b\\...\\.c", "a.b\\...\\.c" },
    };
    for (const auto& [path, collapsed] : cases)
        EXPECT_EQ(CollapseDots(path), collapsed) << path;

    // Windows opens \gal\sub\a12.htm for this, whether or not "nosuch" exists.
    WriteFile(m_dir.NativeAt("Gal/Sub/A12.HTM"), "page");
    EXPECT_EQ(
        NativePath(m_dir.ProgramAt("gal\\nosuch\\..\\sub\\.\\a12.htm")), m_dir.NativeAt("Gal/Sub/A12.HTM"));
    EXPECT_TRUE(FileExists(m_dir.ProgramAt("nosuch\\..\\gal\\..\\GAL\\SUB\\x\\..\\a12.htm")));
}

}  // namespace
}  // namespace orv::platform

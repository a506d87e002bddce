#include "packages/ZHtmFileLib.h"

#include "PackageFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

class ZHtmFileLibTest : public ::testing::Test {
protected:
    bool Exists(const std::string& relative) const
    {
        return std::filesystem::exists(folder.NativeAt(relative));
    }
    // A package "Pages/P.htz" with the given pages, opened.
    CZHtmFileLib& Package(const std::vector<std::pair<std::string, std::string>>& pages)
    {
        test::WriteLibrary(folder, "Pages/P.htz", test::Compressed(pages));
        lib = std::make_unique<CZHtmFileLib>(folder.ProgramAt("Pages\\P.htz"));
        EXPECT_TRUE(lib->Open(folder.ProgramAt("Pages\\P.htz")));
        return *lib;
    }
    TempFolder folder;
    std::unique_ptr<CZHtmFileLib> lib;
};

TEST_F(ZHtmFileLibTest, ReadPageTextDropsTextAfterTheFirstClosingTag)
{
    CZHtmFileLib& p = Package(
        { { "A12.htm", "<html>a</html>\r\n\x01\x02junk</html>more" }, { "upper.htm", "<HTML>b</HTML>tail" },
            { "start.htm", "</html>rest" }, { "nul.htm", std::string("<html>c\0hidden</html>", 21) } });
    EXPECT_EQ(p.ReadPageText("a12.HTM"), "<html>a</html>");
    EXPECT_EQ(p.ReadPageText("upper.htm"), "<HTML>b</HTML>tail");
    EXPECT_EQ(p.ReadPageText("start.htm"), "</html>rest");
    EXPECT_EQ(p.ReadPageText("nul.htm"), "<html>c");
    EXPECT_EQ(p.ReadPageText("missing.htm"), "");
}

TEST_F(ZHtmFileLibTest, DamagedPageReadsAsNothing)
{
    std::vector<test::Member> members = test::Compressed({ { "bad.htm", test::PageLikeText(40000) } });
    members[0].blob.resize(members[0].blob.size() / 2);
    test::WriteLibrary(folder, "P.htz", members);
    CZHtmFileLib p(folder.ProgramAt("P.htz"));
    ASSERT_TRUE(p.Open(folder.ProgramAt("P.htz")));
    EXPECT_EQ(p.ReadPageText("bad.htm"), "");
    std::string target = folder.ProgramAt("bad.out");
    EXPECT_FALSE(p.ExtractFile("bad.htm", target));
    EXPECT_FALSE(Exists("bad.out"));
}

TEST_F(ZHtmFileLibTest, PageDecompressingPast64MiBIsRefused)
{
    std::string huge(64 * 1024 * 1024 + 1, 'a');
    CZHtmFileLib& p = Package({ { "bomb.htm", huge }, { "ok.htm", "<html>ok</html>" } });
    huge.clear();
    EXPECT_EQ(p.ReadPageText("bomb.htm"), "");
    EXPECT_EQ(p.ReadPageText("ok.htm"), "<html>ok</html>");
}

TEST_F(ZHtmFileLibTest, RewritesPictureAndBackgroundAddresses)
{
    EXPECT_EQ(CZHtmFileLib::RewriteLinks("<img src=\"images/a.gif\"><td background=\"bg.jpg\">", "C:\\T"),
        "<img src=\"C:\\T\\images/a.gif\"><td background=\"C:\\T\\bg.jpg\">");
    // Only the exact lower-case attribute with a double quote is rewritten.
    EXPECT_EQ(CZHtmFileLib::RewriteLinks("<img SRC=\"a.gif\"><img src='b.gif'><a href=\"B3.htm\">", "C:\\T"),
        "<img SRC=\"a.gif\"><img src='b.gif'><a href=\"B3.htm\">");
}

TEST_F(ZHtmFileLibTest, AbsoluteAddressesAreNotRewritten)
{
    for (const char* address :
        { "http://example.com/a.gif", "file:///x/a.gif", "data:image/gif;base64,R0lG", "mailto:a@b.c",
            "\\\\server\\a.gif", "\\x\\a.gif", "/x/a.gif", "C:\\x.gif", "d:/x.gif", "HTTPS://x/a.gif" }) {
        std::string page = std::string("<img src=\"") + address + "\">";
        EXPECT_EQ(CZHtmFileLib::RewriteLinks(page, "C:\\T"), page) << address;
        std::string bg = std::string("<body background=\"") + address + "\">";
        EXPECT_EQ(CZHtmFileLib::RewriteLinks(bg, "C:\\T"), bg) << address;
    }
    EXPECT_EQ(CZHtmFileLib::RewriteLinks("<img src=\"a:b.gif\"><img src=\"sub/x.gif\"><img src=\"\">", "\\t"),
        "<img src=\"a:b.gif\"><img src=\"\\t\\sub/x.gif\"><img src=\"\\t\\\">");
}

TEST_F(ZHtmFileLibTest, ThemeReferencesOfTheFirstKindWin)
{
    std::string page = "<link href=\"_themes/a.css\"><link href=\"../_themes/b.css\">";
    EXPECT_EQ(CZHtmFileLib::RewriteLinks(page, "D:\\G\\Pages"),
        "<link href=\"D:\\G\\Pages\\_themes/a.css\"><link href=\"../_themes/b.css\">");
    EXPECT_EQ(CZHtmFileLib::RewriteLinks("<link href=\"../_themes/b.css\">", "D:\\G\\Pages"),
        "<link href=\"D:\\G\\_themes/b.css\">");
    // No parent folder: left as it is. A match at the very start of the page does not count.
    EXPECT_EQ(CZHtmFileLib::RewriteLinks("<link href=\"../_themes/b.css\">", "Pages"),
        "<link href=\"../_themes/b.css\">");
    EXPECT_EQ(CZHtmFileLib::RewriteLinks("href=\"_themes/a.css\"", "D:\\G"), "href=\"_themes/a.css\"");
}

TEST_F(ZHtmFileLibTest, BaseIsInsertedInThePageEncoding)
{
    std::string gbPage = platform::Utf8ToGb18030("<p>齿轮</p><img src=\"a.gif\">");
    EXPECT_EQ(CZHtmFileLib::RewriteLinks(gbPage, "\\tmp\\图库"),
        platform::Utf8ToGb18030("<p>齿轮</p><img src=\"\\tmp\\图库\\a.gif\">"));
    std::string utf8Page = "<p>齿轮</p><img src=\"a.gif\">";
    EXPECT_EQ(
        CZHtmFileLib::RewriteLinks(utf8Page, "\\tmp\\图库"), "<p>齿轮</p><img src=\"\\tmp\\图库\\a.gif\">");
}

TEST_F(ZHtmFileLibTest, ThemeParentOfAGbPageIsCutAtABackslashNotATrailByte)
{
    // The last folder name "淺" is 0x9C 0x5C in GB18030: its trail byte is a backslash.
    std::string page = platform::Utf8ToGb18030("<p>齿轮</p><link href=\"../_themes/b.css\">");
    EXPECT_EQ(CZHtmFileLib::RewriteLinks(page, "\\G\\图库\\淺"),
        platform::Utf8ToGb18030("<p>齿轮</p><link href=\"\\G\\图库\\_themes/b.css\">"));
}

TEST_F(ZHtmFileLibTest, ExtractWritesTheRewrittenPage)
{
    CZHtmFileLib& p = Package({ { "A12.htm", "<html><img src=\"A12.files/a.gif\"></html>\r\ntrailing" } });
    std::string target;
    ASSERT_TRUE(p.ExtractFile("A12.HTM", target));
    EXPECT_EQ(target, folder.ProgramAt("Pages\\A12.HTM"));
    EXPECT_EQ(ReadFile(folder.NativeAt("Pages/A12.HTM")),
        "<html><img src=\"" + folder.ProgramAt("Pages") + "\\A12.files/a.gif\"></html>");

    p.SetBaseFolder("\\tmp\\ORVTemp");
    target = folder.ProgramAt("out.htm");
    ASSERT_TRUE(p.ExtractFile("a12.htm", target));
    EXPECT_EQ(
        ReadFile(folder.NativeAt("out.htm")), "<html><img src=\"\\tmp\\ORVTemp\\A12.files/a.gif\"></html>");

    target = folder.ProgramAt("no\\folder\\out.htm");
    EXPECT_FALSE(p.ExtractFile("A12.htm", target));
    target.clear();
    EXPECT_FALSE(p.ExtractFile("missing.htm", target));
}

TEST_F(ZHtmFileLibTest, PageNameLeavingThePackageFolderIsRefused)
{
    CZHtmFileLib& p = Package({ { "..\\up.htm", "<html>x</html>" } });
    std::string target;
    EXPECT_FALSE(p.ExtractFile("..\\up.htm", target));
    EXPECT_FALSE(Exists("up.htm"));
    EXPECT_EQ(p.ReadPageText("..\\up.htm"), "<html>x</html>");
}

TEST_F(ZHtmFileLibTest, CompanionFilesAreExtractedFlat)
{
    test::WriteLibrary(folder, "Pages/P_files.flz",
        test::Compressed({ { "A12.files\\a.gif", "A" }, { "a12.FILES\\sub\\b.png", "B" },
            { "A12.files\\readme", "R" }, { "B3.files\\c.gif", "C" },
            { "A12.files\\..\\..\\escape.gif", "E1" }, { "A12.files\\x/../../../escape2.gif", "E2" } }));
    std::string folderName;
    // The package is named in another case than the files on disk.
    ASSERT_TRUE(CZHtmFileLib::ExtractCompanionFiles(
        folder.ProgramAt("pages\\p.HTZ"), "A12.HTM", folder.ProgramAt("base"), folderName));
    EXPECT_EQ(folderName, "A12.files");
    EXPECT_EQ(ReadFile(folder.NativeAt("base/A12.files/a.gif")), "A");
    EXPECT_EQ(ReadFile(folder.NativeAt("base/A12.files/b.png")), "B");
    EXPECT_EQ(ReadFile(folder.NativeAt("base/A12.files/escape.gif")), "E1");
    EXPECT_FALSE(Exists("base/A12.files/c.gif"));
    EXPECT_FALSE(Exists("escape2.gif"));
    EXPECT_FALSE(Exists("base/escape2.gif"));
    EXPECT_FALSE(Exists("../escape2.gif"));
    // "readme" has no extension: the text after the last dot of the whole name is used, which
    // names a folder that does not exist, so that member is skipped.
    EXPECT_FALSE(Exists("base/A12.files/readme"));
}

TEST_F(ZHtmFileLibTest, MissingCompanionPackageFails)
{
    std::string folderName = "unchanged";
    EXPECT_FALSE(CZHtmFileLib::ExtractCompanionFiles(
        folder.ProgramAt("P.htz"), "A12.htm", folder.ProgramAt("base"), folderName));
    EXPECT_EQ(folderName, "unchanged");
    test::WriteLibrary(folder, "P_files.flz", test::Compressed({ { "x.files\\a.gif", "A" } }));
    EXPECT_FALSE(CZHtmFileLib::ExtractCompanionFiles(
        folder.ProgramAt("P.htz"), "..\\..\\x.htm", folder.ProgramAt("base"), folderName));
}

} // namespace
} // namespace orv

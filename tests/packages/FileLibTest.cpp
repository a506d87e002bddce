#include "packages/FileLib.h"

#include "PackageFixtures.h"
#include "packages/ZHtmFileLib.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>

namespace orv {
namespace {

using test::Member;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

class FileLibTest : public ::testing::Test {
protected:
    bool Exists(const std::string& relative) const
    {
        return std::filesystem::exists(folder.NativeAt(relative));
    }
    std::vector<std::string> Names(const CFileLib& library) const
    {
        std::vector<std::string> names;
        library.GetFileNames(names);
        return names;
    }
    // Opens a library whose index is the given bytes, over a data file of dataSize bytes.
    CFileLib& OpenWithIndex(const std::string& indexBytes, std::size_t dataSize = 1000)
    {
        WriteFile(folder.NativeAt("lib.flz"), std::string(dataSize, 'd'));
        WriteFile(folder.NativeAt("lib.idx"), indexBytes);
        library = std::make_unique<CFileLib>(folder.ProgramAt("lib.flz"));
        EXPECT_TRUE(library->Open(folder.ProgramAt("lib.flz")));
        return *library;
    }

    TempFolder folder;
    std::unique_ptr<CFileLib> library;
};

TEST_F(FileLibTest, SevenLineIndexGivesTwoMembers)
{
    CFileLib& lib = OpenWithIndex("a.htm\r\n120\r\n; a comment\r\n\r\nb.htm\r\n80\r\nc.htm\r\n");
    EXPECT_EQ(Names(lib), (std::vector<std::string> { "a.htm", "b.htm" }));
    std::uint32_t offset = 99, size = 99;
    ASSERT_TRUE(lib.FindFile("a.htm", offset, size));
    EXPECT_EQ(offset, 0u);
    EXPECT_EQ(size, 120u);
    ASSERT_TRUE(lib.FindFile("b.htm", offset, size));
    EXPECT_EQ(offset, 120u);
    EXPECT_EQ(size, 80u);
    EXPECT_FALSE(lib.FindFile("c.htm", offset, size));
    EXPECT_EQ(size, 0u);
}

TEST_F(FileLibTest, NamesMatchWithoutRegardToAsciiCaseOnly)
{
    // "图片" and full-width "Ａ" in GB18030 on disk.
    std::string index
        = "A12.files\\image1.gif\r\n10\r\n" + platform::Utf8ToGb18030("图片\\Ａ.gif") + "\r\n5\r\n";
    CFileLib& lib = OpenWithIndex(index);
    std::uint32_t offset = 0, size = 0;
    EXPECT_TRUE(lib.FindFile("A12.FILES\\IMAGE1.GIF", offset, size));
    EXPECT_TRUE(lib.FindFile("图片\\Ａ.GIF", offset, size));
    EXPECT_EQ(offset, 10u);
    EXPECT_FALSE(lib.FindFile("图片\\ａ.gif", offset, size)); // a double-byte letter is not folded
    EXPECT_EQ(Names(lib)[1], "图片\\Ａ.gif");
}

TEST_F(FileLibTest, FirstMemberOfANameWinsAndZeroSizeIsNotFound)
{
    CFileLib& lib = OpenWithIndex("empty.gif\r\n0\r\nx.gif\r\n4\r\nX.GIF\r\n6\r\n");
    std::uint32_t offset = 0, size = 7;
    EXPECT_FALSE(lib.FindFile("empty.gif", offset, size));
    EXPECT_EQ(size, 0u);
    ASSERT_TRUE(lib.FindFile("x.gif", offset, size));
    EXPECT_EQ(size, 4u);
    std::string target = folder.ProgramAt("out");
    EXPECT_FALSE(lib.ExtractFile("empty.gif", target));
    EXPECT_FALSE(Exists("out"));
}

TEST_F(FileLibTest, ReadsLinesThroughA511ByteBuffer)
{
    // A 600-byte line comes as a 510-byte name and a 90-byte piece read as the next (size)
    // line; the pairing goes on from there as it always did.
    std::string longName(600, 'n');
    CFileLib& lib = OpenWithIndex(longName + "\r\nshort.htm\r\n3\r\n7\r\n");
    std::vector<std::string> names = Names(lib);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], std::string(510, 'n'));
    EXPECT_EQ(names[1], "short.htm");
    EXPECT_EQ(lib.GetFileSizes(), (std::vector<std::uint32_t> { 0, 3 }));
}

TEST_F(FileLibTest, TenKilobyteLineAndBinaryBytesDoNotBreakReading)
{
    std::string index = std::string(10 * 1024, 'x') + "\r\n" + std::string("\x00\xff\x80\x1a\r\n5\r\n", 9)
        + "ok.htm\r\n2\r\n";
    CFileLib& lib = OpenWithIndex(index);
    std::vector<std::string> names = Names(lib);
    EXPECT_EQ(names.size(), lib.GetFileSizes().size());
    for (const std::string& name : names)
        EXPECT_TRUE(platform::IsValidUtf8(name));
}

TEST_F(FileLibTest, SizesAreReadAsAtoiReadsThem)
{
    CFileLib& lib = OpenWithIndex("a\r\n  12abc\r\nb\r\nten\r\nc\r\n-5\r\nd\r\n+7\r\ne\r\n99999999999\r\n");
    EXPECT_EQ(lib.GetFileSizes(), (std::vector<std::uint32_t> { 12, 0, 4294967291u, 7, 4294967295u }));
}

TEST_F(FileLibTest, NegativeSizeMakesLaterMembersUnreachable)
{
    CFileLib& lib = OpenWithIndex("a\r\n-1\r\nb\r\n10\r\n", 100);
    std::string target = folder.ProgramAt("a.out");
    EXPECT_FALSE(lib.ExtractFile("a", target));
    target = folder.ProgramAt("b.out");
    EXPECT_FALSE(lib.ExtractFile("b", target));
    EXPECT_FALSE(Exists("a.out"));
    EXPECT_FALSE(Exists("b.out"));
}

TEST_F(FileLibTest, MemberRunningPastDataEndIsRefused)
{
    // The index claims far more than the 50-byte data file holds.
    CFileLib& lib = OpenWithIndex("a.gif\r\n40\r\nb.gif\r\n2000000000\r\n", 50);
    std::string target = folder.ProgramAt("b.gif.out");
    EXPECT_FALSE(lib.ExtractFile("b.gif", target));
    EXPECT_FALSE(Exists("b.gif.out"));
    target = folder.ProgramAt("a.gif.out");
    EXPECT_TRUE(lib.ExtractFile("a.gif", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("a.gif.out")), std::string(40, 'd'));
    EXPECT_FALSE(lib.RemoveFile("b.gif"));
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.flz")).size(), 50u);
}

TEST_F(FileLibTest, OpenNeedsBothFiles)
{
    WriteFile(folder.NativeAt("only.flz"), "data");
    CFileLib lib(folder.ProgramAt("only.flz"));
    EXPECT_FALSE(lib.Open(folder.ProgramAt("only.flz")));
    WriteFile(folder.NativeAt("noData.idx"), "a\r\n1\r\n");
    EXPECT_FALSE(lib.Open(folder.ProgramAt("noData.flz")));
}

TEST_F(FileLibTest, FindsTheDataAndIndexFilesWithoutRegardToCase)
{
    test::WriteLibrary(folder, "Pages/A12.HTZ", { { "a.htm", "plain" } });
    std::filesystem::rename(folder.NativeAt("Pages/A12.idx"), folder.NativeAt("Pages/a12.IDX"));
    CFileLib lib(folder.ProgramAt("pages\\a12.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("pages\\a12.htz")));
    std::string target = folder.ProgramAt("out");
    ASSERT_TRUE(lib.ExtractFile("A.HTM", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("out")), "plain");
}

TEST_F(FileLibTest, ExtractWithEmptyTargetUsesAndReturnsTheDefaultTarget)
{
    test::WriteLibrary(folder, "Pages/A12_files.flz", { { "A12.files\\a.gif", "GIF89a" } });
    CFileLib lib(folder.ProgramAt("Pages\\A12_files.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("Pages\\A12_files.flz")));
    std::string target;
    // The member's folder does not exist yet: the write fails.
    EXPECT_FALSE(lib.ExtractFile("A12.files\\a.gif", target));
    std::filesystem::create_directories(folder.NativeAt("Pages/A12.files"));
    target.clear();
    ASSERT_TRUE(lib.ExtractFile("a12.FILES\\a.gif", target));
    EXPECT_EQ(target, folder.ProgramAt("Pages\\a12.FILES\\a.gif"));
    EXPECT_EQ(ReadFile(folder.NativeAt("Pages/A12.files/a.gif")), "GIF89a");
}

TEST_F(FileLibTest, MemberNamedAfterItsOwnLibraryIsNotExtractedOverIt)
{
    // A damaged or hostile package must not overwrite its own data or index file.
    test::WriteLibrary(folder, "lib/P.htz", { { "p.HTZ", "junk" }, { "P.idx", "junk" }, { "q.htm", "ok" } });
    std::string dataBefore = ReadFile(folder.NativeAt("lib/P.htz"));
    std::string indexBefore = ReadFile(folder.NativeAt("lib/P.idx"));
    CFileLib lib(folder.ProgramAt("lib\\P.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib\\P.htz")));
    for (const char* name : { "p.HTZ", "P.idx" }) {
        std::string target;
        EXPECT_FALSE(lib.ExtractFile(name, target)) << name;
    }
    EXPECT_EQ(ReadFile(folder.NativeAt("lib/P.htz")), dataBefore);
    EXPECT_EQ(ReadFile(folder.NativeAt("lib/P.idx")), indexBefore);
    std::string target;
    EXPECT_TRUE(lib.ExtractFile("q.htm", target));
}

TEST_F(FileLibTest, MemberNameLeavingTargetFolderIsRefused)
{
    std::filesystem::create_directories(folder.NativeAt("lib/sub"));
    test::WriteLibrary(folder, "lib/evil.flz",
        { { "..\\escaped.txt", "1" }, { "sub\\..\\..\\escaped2.txt", "2" }, { "sub/../../escaped3.txt", "3" },
            { "\\escaped4.txt", "4" }, { "C:\\escaped5.txt", "5" }, { "sub\\fine.txt", "6" } });
    CFileLib lib(folder.ProgramAt("lib\\evil.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib\\evil.flz")));
    for (const char* name : { "..\\escaped.txt", "sub\\..\\..\\escaped2.txt", "sub/../../escaped3.txt",
             "\\escaped4.txt", "C:\\escaped5.txt" }) {
        std::string target;
        EXPECT_FALSE(lib.ExtractFile(name, target)) << name;
        EXPECT_TRUE(target.empty()) << name;
    }
    EXPECT_FALSE(Exists("escaped.txt"));
    EXPECT_FALSE(Exists("escaped2.txt"));
    EXPECT_FALSE(Exists("escaped3.txt"));
    EXPECT_FALSE(std::filesystem::exists("/escaped4.txt"));
    std::string target;
    EXPECT_TRUE(lib.ExtractFile("sub\\fine.txt", target));
    // An explicit target is the caller's choice.
    target = folder.ProgramAt("chosen.txt");
    EXPECT_TRUE(lib.ExtractFile("..\\escaped.txt", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("chosen.txt")), "1");
}

TEST_F(FileLibTest, ANewLibraryStartsFromEmptyFiles)
{
    WriteFile(folder.NativeAt("src/a.gif"), "AAAA");
    WriteFile(folder.NativeAt("src/齿轮.gif"), "BB");
    CFileLib missing(folder.ProgramAt("new.flz"));
    EXPECT_FALSE(missing.AppendFile(folder.ProgramAt("src\\a.gif"), ""));
    EXPECT_FALSE(Exists("new.flz"));

    WriteFile(folder.NativeAt("new.flz"), "");
    WriteFile(folder.NativeAt("new.idx"), "");
    CFileLib lib(folder.ProgramAt("new.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("new.flz")));
    EXPECT_EQ(Names(lib).size(), 0u);
    ASSERT_TRUE(lib.AppendFile(folder.ProgramAt("src\\a.gif"), ""));
    ASSERT_TRUE(lib.AppendFile(folder.ProgramAt("src\\齿轮.gif"), "A12.files"));
    ASSERT_TRUE(lib.AppendFile(folder.ProgramAt("src\\a.gif"), "B3.files\\"));
    EXPECT_EQ(ReadFile(folder.NativeAt("new.flz")), "AAAABBAAAA");
    EXPECT_EQ(ReadFile(folder.NativeAt("new.idx")),
        "a.gif\r\n4\r\n" + platform::Utf8ToGb18030("A12.files\\齿轮.gif")
            + "\r\n2\r\nB3.files\\a.gif\r\n4\r\n");

    CFileLib reopened(folder.ProgramAt("new.flz"));
    ASSERT_TRUE(reopened.Open(folder.ProgramAt("new.flz")));
    EXPECT_EQ(
        Names(reopened), (std::vector<std::string> { "a.gif", "A12.files\\齿轮.gif", "B3.files\\a.gif" }));
    std::uint32_t offset = 0, size = 0;
    ASSERT_TRUE(reopened.FindFile("b3.files\\A.GIF", offset, size));
    EXPECT_EQ(offset, 6u);
}

TEST_F(FileLibTest, AppendToAnIndexWithoutFinalLineEndKeepsLinesApart)
{
    WriteFile(folder.NativeAt("lib.flz"), "xyz");
    WriteFile(folder.NativeAt("lib.idx"), "old.gif\r\n3");
    WriteFile(folder.NativeAt("new.gif"), "NN");
    CFileLib lib(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.flz")));
    ASSERT_TRUE(lib.AppendFile(folder.ProgramAt("new.gif"), ""));
    CFileLib reopened(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(reopened.Open(folder.ProgramAt("lib.flz")));
    EXPECT_EQ(Names(reopened), (std::vector<std::string> { "old.gif", "new.gif" }));
}

TEST_F(FileLibTest, AppendThatCannotWriteTheIndexLeavesTheLibraryUnchanged)
{
    WriteFile(folder.NativeAt("lib.flz"), "xyz");
    WriteFile(folder.NativeAt("lib.idx"), "old.gif\r\n3\r\n");
    WriteFile(folder.NativeAt("new.gif"), "NN");
    CFileLib lib(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.flz")));
    // The index turns into something that can't be appended to.
    std::filesystem::remove(folder.NativeAt("lib.idx"));
    std::filesystem::create_directory(folder.NativeAt("lib.idx"));
    EXPECT_FALSE(lib.AppendFile(folder.ProgramAt("new.gif"), ""));
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.flz")), "xyz");
    EXPECT_EQ(Names(lib), (std::vector<std::string> { "old.gif" }));
}

TEST_F(FileLibTest, AppendRefusesNamesTheIndexCannotHold)
{
    WriteFile(folder.NativeAt("lib.flz"), "");
    WriteFile(folder.NativeAt("lib.idx"), "");
    WriteFile(folder.NativeAt("a.gif"), "A");
    CFileLib lib(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.flz")));
    EXPECT_FALSE(lib.AppendFile(folder.ProgramAt("a.gif"), ";comment")); // would read back as a comment
    EXPECT_FALSE(lib.AppendFile(folder.ProgramAt("a.gif"), std::string(600, 'f')));
    EXPECT_FALSE(lib.AppendFile(folder.ProgramAt("missing.gif"), ""));
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.flz")), "");
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.idx")), "");
}

TEST_F(FileLibTest, RemoveOnlyMemberLeavesTwoEmptyFiles)
{
    test::WriteLibrary(folder, "lib.flz", { { "only.gif", "ONLY" } });
    CFileLib lib(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.flz")));
    EXPECT_FALSE(lib.RemoveFile("other.gif"));
    ASSERT_TRUE(lib.RemoveFile("ONLY.GIF"));
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.flz")), "");
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.idx")), "");
    EXPECT_EQ(Names(lib).size(), 0u);
}

TEST_F(FileLibTest, RemoveMiddleMemberKeepsHeadAndTail)
{
    test::WriteLibrary(folder, "lib.flz", { { "a.gif", "AAA" }, { "图.gif", "BBBB" }, { "c.gif", "CC" } });
    std::filesystem::permissions(folder.NativeAt("lib.flz"), std::filesystem::perms(0640));
    CFileLib lib(folder.ProgramAt("lib.flz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib.flz")));
    ASSERT_TRUE(lib.RemoveFile("图.GIF"));
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.flz")), "AAACC");
    EXPECT_EQ(ReadFile(folder.NativeAt("lib.idx")), "a.gif\r\n3\r\nc.gif\r\n2\r\n");
    EXPECT_EQ(
        std::filesystem::status(folder.NativeAt("lib.flz")).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(Names(lib), (std::vector<std::string> { "a.gif", "c.gif" }));
    std::string target = folder.ProgramAt("c.out");
    ASSERT_TRUE(lib.ExtractFile("c.gif", target));
    EXPECT_EQ(ReadFile(folder.NativeAt("c.out")), "CC");
    // No stray files are left beside the library.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Native()),
                  std::filesystem::directory_iterator()),
        3);
}

TEST_F(FileLibTest, ExtractionWritesNoFileThroughLinksOrIntoFifos)
{
    // What sits in the extraction folder beforehand must not carry the output elsewhere:
    // a link at the target, a linked folder on the member's path, a hard link to a file
    // elsewhere, a FIFO (which would block the writer for ever).
    WriteFile(folder.NativeAt("outside/victim.txt"), "precious");
    std::filesystem::create_directories(folder.NativeAt("plain"));
    std::filesystem::create_directories(folder.NativeAt("zlib"));
    const std::vector<std::pair<std::string, std::string>> files
        = { { "link.htm", "L" }, { "A12.files\\a.gif", "G" }, { "hard.htm", "H" }, { "fifo.htm", "F" } };
    std::vector<Member> plainMembers;
    for (const auto& [name, content] : files)
        plainMembers.push_back({ name, content });
    test::WriteLibrary(folder, "plain/lib.flz", plainMembers);
    test::WriteLibrary(folder, "zlib/lib.flz", test::Compressed(files));

    for (const char* kind : { "plain", "zlib" }) {
        SCOPED_TRACE(kind);
        const std::string dir = kind;
        std::filesystem::create_symlink("../outside/victim.txt", folder.NativeAt(dir + "/link.htm"));
        std::filesystem::create_directory_symlink("../outside", folder.NativeAt(dir + "/A12.files"));
        std::filesystem::create_hard_link(
            folder.NativeAt("outside/victim.txt"), folder.NativeAt(dir + "/hard.htm"));
        ASSERT_EQ(::mkfifo(folder.NativeAt(dir + "/fifo.htm").c_str(), 0600), 0);
        std::unique_ptr<CFileLib> lib = dir == "plain"
            ? std::make_unique<CFileLib>(folder.ProgramAt(dir + "\\lib.flz"))
            : std::make_unique<CZFileLib>(folder.ProgramAt(dir + "\\lib.flz"));
        ASSERT_TRUE(lib->Open(lib->GetDataPath()));

        std::string target;
        EXPECT_FALSE(lib->ExtractFile("link.htm", target));
        target = folder.ProgramAt(dir + "\\link.htm"); // named by the caller: the same
        EXPECT_FALSE(lib->ExtractFile("link.htm", target));
        EXPECT_TRUE(std::filesystem::is_symlink(folder.NativeAt(dir + "/link.htm")));
        target.clear();
        EXPECT_FALSE(lib->ExtractFile("A12.files\\a.gif", target));
        EXPECT_FALSE(Exists("outside/a.gif"));
        target.clear();
        EXPECT_TRUE(lib->ExtractFile("hard.htm", target));
        EXPECT_EQ(ReadFile(folder.NativeAt(dir + "/hard.htm")), "H");

        target.clear();
        auto fifo = std::async(std::launch::async, [&lib] {
            std::string fifoTarget;
            return lib->ExtractFile("fifo.htm", fifoTarget);
        });
        if (fifo.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Let the blocked writer go before failing.
            int reader = ::open(folder.NativeAt(dir + "/fifo.htm").c_str(), O_RDONLY | O_NONBLOCK);
            fifo.wait();
            ::close(reader);
            ADD_FAILURE() << "extraction blocked on a FIFO";
        } else {
            EXPECT_FALSE(fifo.get());
        }
        EXPECT_EQ(ReadFile(folder.NativeAt("outside/victim.txt")), "precious");
    }

    // The companion folder below the base folder is walked the same way.
    test::WriteLibrary(folder, "pages/P_files.flz", test::Compressed({ { "A12.files\\a.gif", "G" } }));
    std::filesystem::create_directories(folder.NativeAt("base"));
    std::filesystem::create_directory_symlink("../outside", folder.NativeAt("base/A12.files"));
    std::string folderName;
    CZHtmFileLib::ExtractCompanionFiles(
        folder.ProgramAt("pages\\P.htz"), "A12.htm", folder.ProgramAt("base"), folderName);
    EXPECT_FALSE(Exists("outside/a.gif"));
}

TEST_F(FileLibTest, MemberNamedDotSlashIndexDoesNotOverwriteItsLibrary)
{
    test::WriteLibrary(folder, "lib/lib.htz",
        { { ".\\lib.idx", "junk1" }, { "./LIB.HTZ", "junk2" }, { "sub\\.\\..\\lib.idx", "junk3" },
            { "alias.idx", "junk4" }, { "q.htm", "ok" } });
    std::filesystem::create_directories(folder.NativeAt("lib/sub"));
    // Another name of the index in the same folder.
    std::filesystem::create_hard_link(folder.NativeAt("lib/lib.idx"), folder.NativeAt("lib/alias.idx"));
    const std::string dataBefore = ReadFile(folder.NativeAt("lib/lib.htz"));
    const std::string indexBefore = ReadFile(folder.NativeAt("lib/lib.idx"));
    CFileLib lib(folder.ProgramAt("lib\\lib.htz"));
    ASSERT_TRUE(lib.Open(folder.ProgramAt("lib\\lib.htz")));
    for (const char* name : { ".\\lib.idx", "./LIB.HTZ", "sub\\.\\..\\lib.idx", "alias.idx" }) {
        std::string target;
        EXPECT_FALSE(lib.ExtractFile(name, target)) << name;
    }
    // Named by the caller in another case, or through a dot, it is still the library.
    for (const char* name : { "LIB.IDX", "LIB.htz", ".\\lib.htz" }) {
        std::string target = folder.ProgramAt("lib\\") + name;
        EXPECT_FALSE(lib.ExtractFile("q.htm", target)) << name;
    }
    EXPECT_EQ(ReadFile(folder.NativeAt("lib/lib.htz")), dataBefore);
    EXPECT_EQ(ReadFile(folder.NativeAt("lib/lib.idx")), indexBefore);
    std::string target;
    EXPECT_TRUE(lib.ExtractFile("q.htm", target));
}

} // namespace
} // namespace orv

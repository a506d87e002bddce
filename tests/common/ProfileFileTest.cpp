#include "app/common/ProfileFile.h"

#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>

namespace orv {
namespace {

using platform::Utf8ToGb18030;

class ProfileFileTest : public testing::Test {
protected:
    std::string Native() const { return m_dir.NativeAt("ORVBook.ini"); }
    void Write(const std::string& bytes) { test::WriteFile(Native(), bytes); }
    std::string Bytes() const { return test::ReadFile(platform::NativePath(m_ini.Path())); }

    test::TempFolder m_dir;
    CProfileFile m_ini{m_dir.ProgramAt("orvbook.INI")};
};

TEST_F(ProfileFileTest, ReadsValuesWithoutRegardToCase)
{
    Write("; settings\r\n[Set]\r\nLibPath = \\opt\\gal \r\nQuoted=\"  x  \"\r\nEmpty=\r\n[Other]\r\nLibPath=no\r\n");
    std::string value = "stale";
    EXPECT_EQ(m_ini.ReadString("SET", "libpath", value), 0);
    EXPECT_EQ(value, "\\opt\\gal");
    EXPECT_EQ(m_ini.ReadString("set", "quoted", value), 0);
    EXPECT_EQ(value, "  x  ");
    EXPECT_EQ(m_ini.ReadString("Set", "Empty", value), 1);
    EXPECT_EQ(value, "");
    EXPECT_EQ(m_ini.ReadString("Set", "Missing", value), 1);
    EXPECT_EQ(m_ini.ReadString("Nope", "LibPath", value), 1);
    EXPECT_EQ(CProfileFile(m_dir.ProgramAt("none.ini")).ReadString("Set", "LibPath", value), 1);
}

TEST_F(ProfileFileTest, ConvertsNumbersAsTheWindowsEditionDid)
{
    Write("[n]\nfrac=3.9\nneg=-3.9\nword=abc\nhuge=1e30\nreal=-2.5\ndots=1.2.3\nexp=1e5\n");
    int i = 77;
    EXPECT_EQ(m_ini.ReadInt("n", "frac", i), 0);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(m_ini.ReadInt("n", "neg", i), 0);
    EXPECT_EQ(i, -3);
    EXPECT_EQ(m_ini.ReadInt("n", "word", i), 0);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(m_ini.ReadInt("n", "huge", i), 0);
    EXPECT_EQ(i, 2147483647);
    i = 77;
    EXPECT_EQ(m_ini.ReadInt("n", "missing", i), 1);
    EXPECT_EQ(i, 77);

    double d = 9;
    EXPECT_EQ(m_ini.ReadDouble("n", "real", d), 0);
    EXPECT_DOUBLE_EQ(d, -2.5);
    EXPECT_EQ(m_ini.ReadDouble("n", "dots", d), 0);
    EXPECT_DOUBLE_EQ(d, 1.2);
    d = 9;
    EXPECT_EQ(m_ini.ReadDouble("n", "exp", d), -1);
    EXPECT_EQ(m_ini.ReadDouble("n", "missing", d), 1);
    EXPECT_DOUBLE_EQ(d, 9);
}

TEST_F(ProfileFileTest, ReadsAtMost1279BytesOfAValue)
{
    std::string gb;
    for (int i = 0; i < 700; ++i)
        gb += Utf8ToGb18030("图");
    Write("[s]\nlong=" + std::string(2000, 'v') + "\ngb=x" + gb + "\n");
    std::string value;
    ASSERT_EQ(m_ini.ReadString("s", "long", value), 0);
    EXPECT_EQ(value, std::string(1279, 'v'));
    // 1 + 639 two-byte characters fit; the 640th would be cut in half and is dropped.
    ASSERT_EQ(m_ini.ReadString("s", "gb", value), 0);
    EXPECT_EQ(Utf8ToGb18030(value).size(), 1279u);
}

TEST_F(ProfileFileTest, RewritingAKeyKeepsEverythingElseInGb18030)
{
    std::string original = Utf8ToGb18030("; 图库设置\r\n[Gallery]\r\nName=机械\r\nOdd line\r\n\r\n[Other]\r\nK=1\r\n");
    Write(original);
    ASSERT_EQ(m_ini.WriteString("gallery", "NAME", "电气图库"), 0);
    ASSERT_EQ(m_ini.WriteInt("Gallery", "Split", -200), 0);
    ASSERT_EQ(m_ini.WriteString("新节", "键", "值"), 0);
    EXPECT_EQ(Bytes(), Utf8ToGb18030("; 图库设置\r\n[Gallery]\r\nNAME=电气图库\r\nOdd line\r\nSplit=-200\r\n\r\n"
                                     "[Other]\r\nK=1\r\n\r\n[新节]\r\n键=值\r\n"));
    std::string value;
    EXPECT_EQ(m_ini.ReadString("新节", "键", value), 0);
    EXPECT_EQ(value, "值");
    EXPECT_EQ(m_ini.ReadString("Gallery", "name", value), 0);
    EXPECT_EQ(value, "电气图库");
}

TEST_F(ProfileFileTest, Utf8FilesStayUtf8)
{
    Write("\n[Set]\nTitle=机械手册\n");
    ASSERT_EQ(m_ini.WriteString("Set", "Gallery", "电气"), 0);
    EXPECT_EQ(Bytes(), "\n[Set]\nTitle=机械手册\nGallery=电气\n");
    Write("\xEF\xBB\xBF[Set]\r\nA=1\r\n");
    ASSERT_EQ(m_ini.WriteString("Set", "B", "图"), 0);
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[Set]\r\nA=1\r\nB=图\r\n");
}

TEST_F(ProfileFileTest, GbFileThatPassesForUtf8AfterARewriteStaysGb)
{
    // Found by fuzzing: a stray U+FEFF plus a GB2312 character that is also valid two-byte
    // UTF-8 made the rewritten file read back as UTF-8.
    Write("[Set]\r\nH=\xEF\xBB\xBF\r\nK=\xE4\xF9\r\n");
    ASSERT_EQ(m_ini.WriteString("Set", "K", "图 value"), 0);
    std::string value;
    ASSERT_EQ(m_ini.ReadString("Set", "K", value), 0);
    EXPECT_EQ(value, "图 value");
}

TEST_F(ProfileFileTest, NewFilesAreGb18030AndValuesCannotAddLines)
{
    ASSERT_EQ(m_ini.WriteString("Set", "Path", "图\r\n[Evil]\nx=1"), 0);
    EXPECT_EQ(Bytes(), Utf8ToGb18030("[Set]\r\nPath=图  [Evil] x=1\r\n"));
    std::string value;
    EXPECT_EQ(m_ini.ReadString("Evil", "x", value), 1);
}

TEST_F(ProfileFileTest, SurvivesBinaryFilesAndHugeLines)
{
    std::string junk(std::string("\0\xFF[\n=\r", 6));
    for (int i = 0; i < 5000; ++i)
        junk += static_cast<char>(i * 31);
    Write(junk + "\n[S]\nK=" + std::string(100000, 'z') + "\n");
    std::string value;
    EXPECT_EQ(m_ini.ReadString("S", "K", value), 0);
    EXPECT_EQ(value.size(), 1279u);
    EXPECT_EQ(m_ini.WriteString("S", "K", "ok"), 0);
    EXPECT_EQ(m_ini.ReadString("S", "K", value), 0);
    EXPECT_EQ(value, "ok");
}

TEST_F(ProfileFileTest, AFailedWriteLeavesTheOldFile)
{
    Write("[S]\nK=old\n");
    // A file size limit makes every write past 64 bytes fail, as a full disk would.
    pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(m_ini.WriteString("S", "K", std::string(1000, 'n')));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(Bytes(), "[S]\nK=old\n");
    EXPECT_EQ(platform::FindFiles(m_dir.Program(), "*.*").size(), 1u);  // no temporary file left

    EXPECT_EQ(CProfileFile(m_dir.ProgramAt("missing\\x.ini")).WriteString("S", "K", "v"), 1);
    EXPECT_EQ(CProfileFile().WriteString("S", "K", "v"), 1);
}

TEST_F(ProfileFileTest, SettingsWriteKeepsLinksPermissionsAndOwner)
{
    // Dotfile managers keep the settings file as a link: the link stays, the file it names
    // is replaced in its own folder, and nothing is left in either folder.
    test::WriteFile(m_dir.NativeAt("dotfiles/ORVBook.ini"), "[S]\r\nK=old\r\n");
    test::WriteFile(m_dir.NativeAt("app/.keep"), "");
    ASSERT_EQ(::symlink("../dotfiles/ORVBook.ini", m_dir.NativeAt("app/ORVBook.ini").c_str()), 0);
    CProfileFile linked(m_dir.ProgramAt("app\\orvbook.ini"));
    ASSERT_EQ(linked.WriteString("S", "K", "new"), 0);
    struct stat st;
    ASSERT_EQ(::lstat(m_dir.NativeAt("app/ORVBook.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(test::ReadFile(m_dir.NativeAt("dotfiles/ORVBook.ini")), "[S]\r\nK=new\r\n");
    EXPECT_EQ(platform::FindFiles(m_dir.ProgramAt("dotfiles"), "*.*").size(), 1u);
    EXPECT_EQ(platform::FindFiles(m_dir.ProgramAt("app"), "*.*").size(), 2u);

    // A read-only file is read-only to root as well: result 1, the file as it was.
    Write("[S]\r\nK=old\r\n");
    ::chmod(Native().c_str(), 0444);
    EXPECT_EQ(m_ini.WriteString("S", "K", "new"), 1);
    EXPECT_EQ(Bytes(), "[S]\r\nK=old\r\n");
    ::chmod(Native().c_str(), 0644);

    if (::geteuid() != 0) {
        std::cout << "not root: the cases of a file of another user are skipped\n";
        return;
    }
    constexpr uid_t kOther = 65534; // nobody
    // Root writing another user's settings (sudo) leaves them that user's.
    ASSERT_EQ(::chown(Native().c_str(), kOther, kOther), 0);
    ::chmod(Native().c_str(), 0640);
    ASSERT_EQ(m_ini.WriteString("S", "K", "root"), 0);
    ASSERT_EQ(::stat(Native().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(st.st_gid, kOther);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Bytes(), "[S]\r\nK=root\r\n");

    // Another user may replace files in the folder, but not this file of root's.
    ASSERT_EQ(::chown(Native().c_str(), 0, 0), 0);
    ::chmod(Native().c_str(), 0644);
    ::chmod(m_dir.Native().c_str(), 0777);
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setresgid(kOther, kOther, kOther) != 0 || ::setresuid(kOther, kOther, kOther) != 0)
            ::_exit(99);
        ::_exit(m_ini.WriteString("S", "K", "nobody"));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(Bytes(), "[S]\r\nK=root\r\n");
    ASSERT_EQ(::stat(Native().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
}

TEST_F(ProfileFileTest, Utf16FilesCrLineEndsAndNulsReadAsWindowsReadsThem)
{
    // Notepad's "Unicode" files, both byte orders: read, and written back as they were.
    for (bool bigEndian : { false, true }) {
        std::string bom = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        Write(bom + platform::Utf8ToUtf16("[Set]\r\nK=值\r\nOther=1\r\n", bigEndian));
        std::string value;
        ASSERT_EQ(m_ini.ReadString("set", "k", value), 0) << bigEndian;
        EXPECT_EQ(value, "值");
        ASSERT_EQ(m_ini.WriteString("Set", "K", "新值"), 0);
        EXPECT_EQ(Bytes(), bom + platform::Utf8ToUtf16("[Set]\r\nK=新值\r\nOther=1\r\n", bigEndian))
            << bigEndian;
    }

    // Lines ended by CR alone, in a file without a single LF.
    Write("[S]\rK=v\rL=w\r");
    std::string value;
    ASSERT_EQ(m_ini.ReadString("S", "L", value), 0);
    EXPECT_EQ(value, "w");
    ASSERT_EQ(m_ini.WriteString("S", "K", "x"), 0);
    EXPECT_EQ(Bytes(), "[S]\rK=x\rL=w\r");

    // A value is a C string to the Windows edition: a NUL ends it.
    using namespace std::string_literals;
    Write("[S]\r\nK=abc\0def\r\nQ=\"q\" \0junk\r\n"s);
    ASSERT_EQ(m_ini.ReadString("S", "K", value), 0);
    EXPECT_EQ(value, "abc");
    ASSERT_EQ(m_ini.ReadString("S", "Q", value), 0);
    EXPECT_EQ(value, "q");
}

}  // namespace
}  // namespace orv

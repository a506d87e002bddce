#include "platform/DynamicLibrary.h"
#include "platform/Processes.h"
#include "platform/SharedText.h"

#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace orv::platform {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsRules)
{
    EXPECT_EQ(SplitCommandLine("  a  b\tc "), (Args{"a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\x.dwg\" -s"), (Args{"C:\\Program Files\\x.dwg", "-s"}));
    EXPECT_EQ(SplitCommandLine("a\"b c\"d"), (Args{"ab cd"}));
    EXPECT_EQ(SplitCommandLine("\"\" x"), (Args{"", "x"}));
    // Backslashes are literal unless a quote follows them.
    EXPECT_EQ(SplitCommandLine("a\\\\b c\\"), (Args{"a\\\\b", "c\\"}));
    EXPECT_EQ(SplitCommandLine("a\\\"b"), (Args{"a\"b"}));            // 1 -> literal quote
    EXPECT_EQ(SplitCommandLine("\"a\\\\\" b"), (Args{"a\\", "b"}));    // 2 -> one, quote closes
    EXPECT_EQ(SplitCommandLine("a\\\\\\\"b"), (Args{"a\\\"b"}));       // 3 -> one and a quote
    EXPECT_EQ(SplitCommandLine("\"a \"\"b\"\" c\""), (Args{"a \"b\" c"}));
    EXPECT_EQ(SplitCommandLine("\"open ended"), (Args{"open ended"}));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

class StartProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_script = m_dir.NativeAt("bin/Record Args.sh");
        test::WriteFile(m_script, "#!/bin/sh\npwd > \"$0.out.tmp\"\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$0.out.tmp\"\n"
                                  "mv \"$0.out.tmp\" \"$0.out\"\n");
        ::chmod(m_script.c_str(), 0755);
        test::WriteFile(m_dir.NativeAt("work/.keep"), "");
    }

    // What the script recorded: its working folder, then one argument a line.
    std::string WaitForRecord()
    {
        std::string out = m_script + ".out";
        for (int i = 0; i < 500 && ::access(out.c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return test::ReadFile(out);
    }

    test::TempFolder m_dir;
    std::string m_script;
};

TEST_F(StartProgramTest, SplitsParametersAndRunsInTheWorkingFolder)
{
    ASSERT_TRUE(StartProgram(m_dir.ProgramAt("BIN\\record args.sh"), "\"a b\" c\\\"d 中文", m_dir.ProgramAt("Work")));
    EXPECT_EQ(WaitForRecord(), m_dir.NativeAt("work") + "\na b\nc\"d\n中文\n");
}

TEST_F(StartProgramTest, PassesOneArgumentWhole)
{
    ASSERT_TRUE(StartProgramWithArgument(m_dir.ProgramAt("bin\\Record Args.sh"), "(command \"_insert\" \"x y\")", ""));
    std::string record = WaitForRecord();
    EXPECT_NE(record.find("\n(command \"_insert\" \"x y\")\n"), std::string::npos) << record;
}

TEST_F(StartProgramTest, ReportsProgramsThatCannotStart)
{
    EXPECT_FALSE(StartProgram(m_dir.ProgramAt("bin\\missing.sh"), "", ""));
    test::WriteFile(m_dir.NativeAt("bin/plain.txt"), "not a program");
    EXPECT_FALSE(StartProgram(m_dir.ProgramAt("bin\\plain.txt"), "", ""));
    EXPECT_FALSE(StartProgram(m_dir.ProgramAt("bin"), "", ""));
}

TEST(DynamicLibraryTest, LoadsCallsAndReportsErrors)
{
    DynamicLibrary library;
    ASSERT_TRUE(library.Open(ProgramPath(ORV_TEST_PLUGIN_PATH))) << library.LastError();
    auto twice = library.Function<int (*)(int)>("Twice");
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice(21), 42);
    EXPECT_EQ(library.Symbol("NoSuchFunction"), nullptr);
    EXPECT_FALSE(library.LastError().empty());

    DynamicLibrary moved = std::move(library);
    EXPECT_FALSE(library.IsOpen());
    EXPECT_TRUE(moved.IsOpen());

    DynamicLibrary missing;
    EXPECT_FALSE(missing.Open("\\no\\such\\library.dll"));
    EXPECT_FALSE(missing.LastError().empty());
    EXPECT_EQ(missing.Symbol("Twice"), nullptr);
}

class SharedTextTest : public testing::Test {
protected:
    void TearDown() override { ::shm_unlink(m_name.c_str()); }

    // Reads the block from a separate process, the way the tool suite does.
    std::string ReadFromOtherProcess()
    {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return "pipe failed";
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(pipeFds[0]);
            int fd = ::shm_open(m_name.c_str(), O_RDONLY, 0);
            if (fd < 0)
                ::_exit(2);
            void* view = ::mmap(nullptr, kSharedTextSize, PROT_READ, MAP_SHARED, fd, 0);
            if (view == MAP_FAILED)
                ::_exit(3);
            const char* text = static_cast<const char*>(view);
            ssize_t ignored = ::write(pipeFds[1], text, ::strnlen(text, kSharedTextSize));
            (void)ignored;
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        std::string text;
        char buffer[8192];
        ssize_t got;
        while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "child failed";
    }

    std::string m_name = "/ORVBOOKPATH-test-" + std::to_string(::getpid());
};

TEST_F(SharedTextTest, AnotherProcessSeesTheTextInGb18030)
{
    ASSERT_EQ(PublishSharedText("\\opt\\orv\\ORVMTools\\Support\\工具", m_name), 0);
    EXPECT_EQ(ReadFromOtherProcess(), Utf8ToGb18030("\\opt\\orv\\ORVMTools\\Support\\工具"));
    struct stat st;
    int fd = ::shm_open(m_name.c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::fstat(fd, &st), 0);
    ::close(fd);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, static_cast<off_t>(kSharedTextSize));
}

TEST_F(SharedTextTest, LaterCallsOverwriteAndLongTextsAreCut)
{
    ASSERT_EQ(PublishSharedText("a long first text", m_name), 0);
    ASSERT_EQ(PublishSharedText("short", m_name), 0);
    EXPECT_EQ(ReadFromOtherProcess(), "short");

    std::string longText = "x";
    for (int i = 0; i < 3000; ++i)
        longText += "中";  // two bytes each in GB18030: 6001 bytes in all
    ASSERT_EQ(PublishSharedText(longText, m_name), 0);
    std::string seen = ReadFromOtherProcess();
    EXPECT_EQ(seen.size(), 4095u);  // 'x' and 2047 whole characters
    EXPECT_EQ(Gb18030ToUtf8(seen), longText.substr(0, 1 + 2047 * 3));
}

TEST_F(SharedTextTest, FailsWhenTheBlockCannotBeCreated)
{
    EXPECT_EQ(PublishSharedText("x", "/no/slashes/allowed"), -1);
}

}  // namespace
}  // namespace orv::platform

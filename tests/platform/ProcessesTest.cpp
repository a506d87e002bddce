#include "platform/Processes.h"

#include "platform/DynamicLibrary.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "platform/SharedText.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <iostream>
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

TEST_F(StartProgramTest, StartedProgramsInheritNoDescriptors)
{
    // A host's pipe and file, opened without close-on-exec as toolkits and plug-ins do.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    test::WriteFile(m_dir.NativeAt("open-database.gal"), "db");
    int file = ::open(m_dir.NativeAt("open-database.gal").c_str(), O_RDONLY);
    ASSERT_GE(file, 0);
    struct stat pipeStat;
    ASSERT_EQ(::fstat(pipeFds[0], &pipeStat), 0);

    std::string lister = m_dir.NativeAt("bin/list-fds.sh");
    test::WriteFile(lister,
        "#!/bin/sh\nfor f in /proc/$$/fd/*; do printf '%s %s\\n' \"${f##*/}\" \"$(readlink \"$f\")\"; done"
        " > \"$0.out.tmp\"\nmv \"$0.out.tmp\" \"$0.out\"\n");
    ::chmod(lister.c_str(), 0755);
    ASSERT_TRUE(StartProgram(ProgramPath(lister), "", ""));
    std::string out = lister + ".out";
    for (int i = 0; i < 500 && ::access(out.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string listed = test::ReadFile(out);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    ::close(file);

    EXPECT_NE(listed.find("\n1 "), std::string::npos) << listed; // the listing worked
    EXPECT_EQ(listed.find("pipe:[" + std::to_string(pipeStat.st_ino) + "]"), std::string::npos) << listed;
    EXPECT_EQ(listed.find("open-database.gal"), std::string::npos) << listed;
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

    // One name per test: the mapping of a name is kept for the life of the process.
    static inline int s_count = 0;
    std::string m_name = "/ORVBOOKPATH-test-" + std::to_string(::getpid()) + "-" + std::to_string(s_count++);
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

TEST_F(SharedTextTest, BlockOfAnotherUserOrOfWrongModeOrSizeIsRefused)
{
    // The block's name is one for the whole machine; someone may have made it first.
    struct Case {
        bool otherUser;
        mode_t mode;
        off_t size;
        int result;
    };
    const Case cases[] = {
        { true, 0600, 4096, -1 }, // theirs: we could not write it (and root must not)
        { true, 0666, 4096, -1 }, // theirs, open to all: they would read and redirect us
        { false, 0644, 4096, -1 }, // ours, but others may read it
        { false, 0600, 100, -1 }, // too small: mapping it would fault; never resized
        { false, 0600, 4096, 0 }, // ours as we make it
    };
    int index = 0;
    for (const Case& c : cases) {
        std::string name = m_name + "-" + std::to_string(index++);
        if (c.otherUser && ::geteuid() != 0) {
            std::cout << "not root: cannot make a block of another user; case " << name << " skipped\n";
            continue;
        }
        int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, c.size), 0);
        ASSERT_EQ(::pwrite(fd, "theirs", 7, 0), 7);
        if (c.otherUser) {
            ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
        }
        ASSERT_EQ(::fchmod(fd, c.mode), 0);

        EXPECT_EQ(PublishSharedText("\\opt\\orv\\Support", name), c.result) << name;
        char seen[8] = {};
        ASSERT_EQ(::pread(fd, seen, sizeof seen - 1, 0), 7);
        EXPECT_STREQ(seen, c.result == 0 ? "\\opt\\or" : "theirs") << name;
        struct stat st;
        ASSERT_EQ(::fstat(fd, &st), 0);
        EXPECT_EQ(st.st_size, c.size) << name;
        ::close(fd);
        ::shm_unlink(name.c_str());
    }
}

TEST_F(SharedTextTest, FailsWhenTheBlockCannotBeCreated)
{
    EXPECT_EQ(PublishSharedText("x", "/no/slashes/allowed"), -1);
}

}  // namespace
}  // namespace orv::platform

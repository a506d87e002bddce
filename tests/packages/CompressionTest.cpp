#include "packages/Compression.h"

#include "PackageFixtures.h"
#include "packages/NativeFile.h"
#include "platform/Hooks.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace orv {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

class CompressionTest : public ::testing::Test {
protected:
    bool Exists(const std::string& relative) const
    {
        return std::filesystem::exists(folder.NativeAt(relative));
    }
    TempFolder folder;
};

TEST_F(CompressionTest, CompressesToTheZlibStreamOfLevel6)
{
    std::string text = test::PageLikeText(600 * 1024);
    WriteFile(folder.NativeAt("page.htm"), text);
    ASSERT_EQ(CompressFile(folder.ProgramAt("page.htm"), folder.ProgramAt("page.z")), 0);
    // zlib's one-shot compress2 at level 6 makes the same stream: same format, same settings.
    EXPECT_EQ(ReadFile(folder.NativeAt("page.z")), test::ZlibStream(text));
    ASSERT_EQ(DecompressFile(folder.ProgramAt("page.z"), folder.ProgramAt("back.htm")), 0);
    EXPECT_EQ(ReadFile(folder.NativeAt("back.htm")), text);
}

TEST_F(CompressionTest, EmptyFileRoundTrips)
{
    WriteFile(folder.NativeAt("empty"), "");
    ASSERT_EQ(CompressFile(folder.ProgramAt("empty"), folder.ProgramAt("empty.z")), 0);
    EXPECT_EQ(ReadFile(folder.NativeAt("empty.z")), test::ZlibStream(""));
    ASSERT_EQ(DecompressFile(folder.ProgramAt("empty.z"), folder.ProgramAt("back")), 0);
    EXPECT_TRUE(Exists("back"));
    EXPECT_EQ(ReadFile(folder.NativeAt("back")), "");
}

TEST_F(CompressionTest, MissingSourceAndUncreatableTargetGiveTheirCodes)
{
    EXPECT_EQ(CompressFile(folder.ProgramAt("missing"), folder.ProgramAt("out")), kSourceOpenFailed);
    EXPECT_EQ(DecompressFile(folder.ProgramAt("missing"), folder.ProgramAt("out")), kSourceOpenFailed);
    EXPECT_FALSE(Exists("out"));
    WriteFile(folder.NativeAt("in"), "x");
    EXPECT_EQ(
        CompressFile(folder.ProgramAt("in"), folder.ProgramAt("no\\such\\folder\\out")), kTargetOpenFailed);
    EXPECT_EQ(
        DecompressFile(folder.ProgramAt("in"), folder.ProgramAt("no\\such\\folder\\out")), kTargetOpenFailed);
}

TEST_F(CompressionTest, DamagedStreamReturnsZlibCodeAndRemovesPartialTarget)
{
    std::string stream = test::ZlibStream(test::PageLikeText(2 * 1024 * 1024));
    stream[stream.size() / 2] ^= 0x55;
    stream[stream.size() / 2 + 1] ^= 0x55;
    WriteFile(folder.NativeAt("damaged.z"), stream);
    int code = DecompressFile(folder.ProgramAt("damaged.z"), folder.ProgramAt("out"));
    EXPECT_LT(code, 0);
    EXPECT_NE(code, kSourceOpenFailed);
    EXPECT_FALSE(Exists("out"));
}

TEST_F(CompressionTest, BadChecksumIsADamagedStream)
{
    std::string stream = test::ZlibStream("checksum at the end");
    stream.back() ^= 1;
    WriteFile(folder.NativeAt("bad.z"), stream);
    EXPECT_EQ(DecompressFile(folder.ProgramAt("bad.z"), folder.ProgramAt("out")), -3);
    EXPECT_FALSE(Exists("out"));
}

TEST_F(CompressionTest, TruncatedStreamReturnsZlibCodeAndRemovesPartialTarget)
{
    std::string stream = test::ZlibStream(test::PageLikeText(1024 * 1024));
    WriteFile(folder.NativeAt("cut.z"), stream.substr(0, stream.size() * 3 / 4));
    EXPECT_EQ(DecompressFile(folder.ProgramAt("cut.z"), folder.ProgramAt("out")), -5);
    EXPECT_FALSE(Exists("out"));
    WriteFile(folder.NativeAt("empty.z"), "");
    EXPECT_EQ(DecompressFile(folder.ProgramAt("empty.z"), folder.ProgramAt("out")), -5);
    EXPECT_FALSE(Exists("out"));
}

TEST_F(CompressionTest, BytesAfterTheStreamAreIgnored)
{
    WriteFile(folder.NativeAt("padded.z"), test::ZlibStream("member") + "trailing bytes");
    ASSERT_EQ(DecompressFile(folder.ProgramAt("padded.z"), folder.ProgramAt("out")), 0);
    EXPECT_EQ(ReadFile(folder.NativeAt("out")), "member");
}

// Writes past a small file-size limit fail with EFBIG, the way a full disk fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(CompressionTest, ShortWriteReturnsMinusOneAndRemovesPartialTarget)
{
    std::string text = test::PageLikeText(4 * 1024 * 1024);
    WriteFile(folder.NativeAt("big.htm"), text);
    WriteFile(folder.NativeAt("big.z"), test::ZlibStream(text));
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(CompressFile(folder.ProgramAt("big.htm"), folder.ProgramAt("out.z")), -1);
        EXPECT_EQ(DecompressFile(folder.ProgramAt("big.z"), folder.ProgramAt("out.htm")), -1);
    }
    EXPECT_FALSE(Exists("out.z"));
    EXPECT_FALSE(Exists("out.htm"));
}

TEST_F(CompressionTest, DecompressionStopsPastItsSizeBound)
{
    std::string zeros(4 * 1024 * 1024, '\0');
    std::string stream = test::ZlibStream(zeros);
    std::string out;
    EXPECT_EQ(InflateBytes(stream, out, 1024 * 1024), kOutputTooLarge);
    EXPECT_LE(out.size(), 1024u * 1024 + 256 * 1024);

    WriteFile(folder.NativeAt("bomb.z"), stream);
    NativeFile source = NativeFile::OpenRead(folder.ProgramAt("bomb.z"));
    std::uint64_t written = 0;
    int code = InflateFileRange(
        source, 0, stream.size(),
        [&written](const char*, std::size_t n) {
            written += n;
            return true;
        },
        100 * 1024);
    EXPECT_EQ(code, kOutputTooLarge);
    EXPECT_LT(written, 1024u * 1024);

    out.clear();
    EXPECT_EQ(InflateBytes(stream, out, zeros.size()), 0);
    EXPECT_EQ(out, zeros);
}

TEST_F(CompressionTest, InflatesOnlyTheGivenRangeOfAFile)
{
    std::string first = test::ZlibStream("first"), second = test::ZlibStream("second member");
    WriteFile(folder.NativeAt("lib"), first + second);
    NativeFile source = NativeFile::OpenRead(folder.ProgramAt("lib"));
    std::string out;
    auto sink = [&out](const char* bytes, std::size_t n) {
        out.append(bytes, n);
        return true;
    };
    ASSERT_EQ(InflateFileRange(source, first.size(), second.size(), sink, 1 << 20), 0);
    EXPECT_EQ(out, "second member");
    out.clear();
    // A range that stops inside the stream is a truncated stream, even with more bytes behind it.
    EXPECT_EQ(InflateFileRange(source, 0, first.size() - 2, sink, 1 << 20), -5);
}

TEST_F(CompressionTest, DispatchesEventsAndAllowsANestedCallWhileWorking)
{
    std::string text = test::PageLikeText(3 * 1024 * 1024, 7);
    WriteFile(folder.NativeAt("outer.htm"), text);
    WriteFile(folder.NativeAt("inner.z"), test::ZlibStream("inner file"));
    int pumps = 0;
    int innerCode = 1;
    auto previous = platform::SetPumpEventsHook([&] {
        // A user action arriving mid-way runs a second operation on the same thread.
        if (pumps++ == 0)
            innerCode = DecompressFile(folder.ProgramAt("inner.z"), folder.ProgramAt("inner.txt"));
    });
    int code = CompressFile(folder.ProgramAt("outer.htm"), folder.ProgramAt("outer.z"));
    platform::SetPumpEventsHook(previous);
    EXPECT_EQ(code, 0);
    EXPECT_GE(pumps, 1);
    EXPECT_EQ(innerCode, 0);
    EXPECT_EQ(ReadFile(folder.NativeAt("inner.txt")), "inner file");
    EXPECT_EQ(ReadFile(folder.NativeAt("outer.z")), test::ZlibStream(text));
}

} // namespace
} // namespace orv

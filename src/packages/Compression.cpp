#include "packages/Compression.h"

#include "platform/EventPump.h"
#include "packages/NativeFile.h"
#include "platform/Paths.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace orv {
namespace {

// Whole files get buffers large enough that zlib, not the system calls, sets the pace; small
// members get smaller ones that the heap reuses instead of mapping fresh pages for every page
// extracted.
constexpr std::size_t kLargeBuffer = 256 * 1024;
constexpr std::size_t kSmallBuffer = 64 * 1024;

std::size_t BufferSizeFor(std::uint64_t inputLength)
{
    return inputLength >= 1024 * 1024 ? kLargeBuffer : kSmallBuffer;
}

struct Buffers {
    Buffers(std::size_t inSize, std::size_t outSize)
        : inSize(std::max<std::size_t>(inSize, 1))
        , outSize(outSize)
        , in(new (std::nothrow) unsigned char[this->inSize])
        , out(new (std::nothrow) unsigned char[outSize])
    {
    }
    bool Ok() const { return in && out; }
    std::size_t inSize;
    std::size_t outSize;
    std::unique_ptr<unsigned char[]> in;
    std::unique_ptr<unsigned char[]> out;
};

class DeflateStream {
public:
    int Init()
    {
        std::memset(&m_stream, 0, sizeof m_stream);
        int code = deflateInit2(&m_stream, 6, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        m_live = code == Z_OK;
        return code;
    }
    ~DeflateStream()
    {
        if (m_live)
            deflateEnd(&m_stream);
    }
    z_stream* operator->() { return &m_stream; }
    z_stream* Get() { return &m_stream; }

private:
    z_stream m_stream {};
    bool m_live = false;
};

class InflateStream {
public:
    int Init()
    {
        std::memset(&m_stream, 0, sizeof m_stream);
        int code = inflateInit2(&m_stream, 15);
        m_live = code == Z_OK;
        return code;
    }
    ~InflateStream()
    {
        if (m_live)
            inflateEnd(&m_stream);
    }
    z_stream* operator->() { return &m_stream; }
    z_stream* Get() { return &m_stream; }

private:
    z_stream m_stream {};
    bool m_live = false;
};

// Reads compressed input into the buffer; the count, 0 at the end, -1 on error.
using ByteSource = std::function<long long(unsigned char* buffer, std::size_t size)>;

int Inflate(
    const ByteSource& source, std::uint64_t inputLength, const ByteSink& sink, std::uint64_t maxOutput)
{
    const std::size_t size = BufferSizeFor(inputLength);
    Buffers buffers(static_cast<std::size_t>(std::min<std::uint64_t>(inputLength, size)), size);
    if (!buffers.Ok())
        return Z_MEM_ERROR;
    InflateStream stream;
    if (int code = stream.Init(); code != Z_OK)
        return code;
    platform::EventPump pump;
    std::uint64_t produced = 0;
    while (true) {
        pump.Tick();
        long long got = source(buffers.in.get(), buffers.inSize);
        if (got < 0)
            return Z_ERRNO;
        if (got == 0)
            return Z_BUF_ERROR; // the input ended before the stream did
        stream->next_in = buffers.in.get();
        stream->avail_in = static_cast<uInt>(got);
        do {
            stream->next_out = buffers.out.get();
            stream->avail_out = static_cast<uInt>(buffers.outSize);
            int code = inflate(stream.Get(), Z_NO_FLUSH);
            if (code == Z_NEED_DICT)
                return Z_DATA_ERROR;
            if (code != Z_OK && code != Z_STREAM_END && code != Z_BUF_ERROR)
                return code;
            std::size_t have = buffers.outSize - stream->avail_out;
            produced += have;
            if (produced > maxOutput)
                return kOutputTooLarge;
            if (have > 0 && !sink(reinterpret_cast<const char*>(buffers.out.get()), have))
                return Z_ERRNO;
            if (code == Z_STREAM_END)
                return Z_OK;
        } while (stream->avail_out == 0);
    }
}

class TargetGuard {
public:
    explicit TargetGuard(NativeFile& target)
        : m_target(target)
    {
    }
    ~TargetGuard()
    {
        if (!m_keep) {
            std::string native = m_target.NativePath();
            m_target.Close();
            RemoveNativeFile(native);
        }
    }
    void Keep() { m_keep = true; }

private:
    NativeFile& m_target;
    bool m_keep = false;
};

} // namespace

int CompressFile(std::string_view sourcePath, std::string_view targetPath)
{
    NativeFile source = NativeFile::OpenRead(sourcePath);
    if (!source.IsOpen())
        return kSourceOpenFailed;
    NativeFile target = NativeFile::Replace(targetPath);
    if (!target.IsOpen())
        return kTargetOpenFailed;
    TargetGuard guard(target);
    const std::size_t size = BufferSizeFor(source.Size().value_or(0));
    Buffers buffers(size, size);
    if (!buffers.Ok())
        return Z_MEM_ERROR;
    DeflateStream stream;
    if (int code = stream.Init(); code != Z_OK)
        return code;

    platform::EventPump pump;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        pump.Tick();
        long long got = source.Read(buffers.in.get(), buffers.inSize);
        if (got < 0)
            return Z_ERRNO;
        flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream->next_in = buffers.in.get();
        stream->avail_in = static_cast<uInt>(got);
        int code = Z_OK;
        do {
            stream->next_out = buffers.out.get();
            stream->avail_out = static_cast<uInt>(buffers.outSize);
            code = deflate(stream.Get(), flush);
            if (code == Z_STREAM_ERROR)
                return code;
            std::size_t have = buffers.outSize - stream->avail_out;
            if (have > 0 && !target.WriteAll(buffers.out.get(), have))
                return Z_ERRNO;
        } while (stream->avail_out == 0);
        if (flush == Z_FINISH && code != Z_STREAM_END)
            return Z_STREAM_ERROR;
    }
    if (!target.Close())
        return Z_ERRNO;
    guard.Keep();
    return Z_OK;
}

int DecompressFile(std::string_view sourcePath, std::string_view targetPath)
{
    NativeFile source = NativeFile::OpenRead(sourcePath);
    if (!source.IsOpen())
        return kSourceOpenFailed;
    std::uint64_t length = source.Size().value_or(0);
    NativeFile target = NativeFile::Replace(targetPath);
    if (!target.IsOpen())
        return kTargetOpenFailed;
    TargetGuard guard(target);
    int code = InflateFileRange(
        source, 0, length,
        [&target](const char* bytes, std::size_t size) { return target.WriteAll(bytes, size); },
        kMaxDecompressedFile);
    if (code != Z_OK)
        return code;
    if (!target.Close())
        return Z_ERRNO;
    guard.Keep();
    return Z_OK;
}

int InflateFileRange(NativeFile& source, std::uint64_t offset, std::uint64_t length, const ByteSink& sink,
    std::uint64_t maxOutput)
{
    std::uint64_t position = offset;
    const std::uint64_t end = offset + length;
    auto read = [&](unsigned char* buffer, std::size_t size) -> long long {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, end - position));
        if (want == 0)
            return 0;
        if (!source.ReadExactAt(buffer, want, position))
            return -1;
        position += want;
        return static_cast<long long>(want);
    };
    return Inflate(read, length, sink, maxOutput);
}

int InflateBytes(std::string_view compressed, std::string& out, std::uint64_t maxOutput)
{
    std::size_t position = 0;
    auto read = [&](unsigned char* buffer, std::size_t size) -> long long {
        std::size_t want = std::min(size, compressed.size() - position);
        std::memcpy(buffer, compressed.data() + position, want);
        position += want;
        return static_cast<long long>(want);
    };
    auto append = [&out](const char* bytes, std::size_t size) {
        out.append(bytes, size);
        return true;
    };
    return Inflate(read, compressed.size(), append, maxOutput);
}

int DeflateBytes(std::string_view bytes, std::string& out)
{
    DeflateStream stream;
    if (int code = stream.Init(); code != Z_OK)
        return code;
    if (bytes.size() > std::numeric_limits<uInt>::max())
        return Z_BUF_ERROR;
    // Fed in one piece; zlib's output does not depend on how the input is divided.
    stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream->avail_in = static_cast<uInt>(bytes.size());
    unsigned char buffer[64 * 1024];
    int code = Z_OK;
    do {
        stream->next_out = buffer;
        stream->avail_out = sizeof buffer;
        code = deflate(stream.Get(), Z_FINISH);
        if (code == Z_STREAM_ERROR)
            return code;
        out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - stream->avail_out);
    } while (code != Z_STREAM_END);
    return Z_OK;
}

} // namespace orv

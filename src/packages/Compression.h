#pragma once
// Whole-file compression: a file becomes one zlib stream (RFC 1950; level 6, window 15 bits,
// memory level 8, default strategy) and back. Package members, the tree cache and compressed
// full-text sources are written this way. Files are streamed through fixed buffers, never
// held whole, and pending window events are dispatched while the loop runs.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orv {

class NativeFile;

// Results besides 0 (success) and zlib's own negative codes: -1 a read or write failed,
// -3 the stream is damaged, -4 no memory, -5 the stream ends early.
constexpr int kSourceOpenFailed = -200;
constexpr int kTargetOpenFailed = -201;
constexpr int kOutputTooLarge = -202; // the decompressed data passed its size bound

// A whole decompressed file may not grow past this; a page read into memory past the second.
constexpr std::uint64_t kMaxDecompressedFile = 4ull * 1024 * 1024 * 1024;
constexpr std::uint64_t kMaxPageInMemory = 64ull * 1024 * 1024;

// 0 on success, else a negative code; on any failure after the target was opened the partial
// target is removed.
int CompressFile(std::string_view sourcePath, std::string_view targetPath);
int DecompressFile(std::string_view sourcePath, std::string_view targetPath);

// Receives decompressed bytes; returns false to stop with a write failure (-1).
using ByteSink = std::function<bool(const char* bytes, std::size_t size)>;

// Inflates the one zlib stream stored at [offset, offset + length) of an open file. Bytes
// after the end of the stream are ignored. 0 on success, else a negative code as above.
int InflateFileRange(NativeFile& source, std::uint64_t offset, std::uint64_t length, const ByteSink& sink,
    std::uint64_t maxOutput);

// The same over bytes in memory, appending to out.
int InflateBytes(std::string_view compressed, std::string& out, std::uint64_t maxOutput);

// Bytes in memory made into one zlib stream exactly as CompressFile makes a file, appended
// to out. 0 on success, else zlib's negative code.
int DeflateBytes(std::string_view bytes, std::string& out);

} // namespace orv

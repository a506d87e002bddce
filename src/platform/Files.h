#pragma once
// Whole-file reading and crash-safe replacement, on program paths.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv::platform {

// The bytes of a regular file, or nothing when it is missing, unreadable or larger than
// maxBytes.
std::optional<std::string> ReadFileBytes(std::string_view programPath,
                                         std::uint64_t maxBytes = 256ull * 1024 * 1024);

// The first count bytes of a file (fewer when it is shorter), or nothing when it cannot be
// opened. Takes a native path: callers have usually resolved it already.
std::optional<std::string> ReadNativeFileHead(const std::string& nativePath, std::size_t count);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it
// over the target, so the target is always either the old file or the new one. The target
// keeps its permissions. False (and the target untouched) when any step fails.
bool AtomicWriteFile(std::string_view programPath, std::string_view bytes);

}  // namespace orv::platform

#pragma once
// Whole-file reading and crash-safe replacement, on program paths.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::platform {

// The bytes of a regular file, or nothing when it is missing, unreadable or larger than
// maxBytes.
std::optional<std::string> ReadFileBytes(std::string_view programPath,
                                         std::uint64_t maxBytes = 256ull * 1024 * 1024);

// The first count bytes of a file (fewer when it is shorter), or nothing when it cannot be
// opened. Takes a native path: callers have usually resolved it already.
std::optional<std::string> ReadNativeFileHead(const std::string& nativePath, std::size_t count);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it
// over the target, so the target is always either the old file or the new one. A target
// that is a symbolic link stays one: the file it leads to is replaced, in its own folder.
// The target keeps its permissions, and its owner and group where we may give them away.
// False, and the target untouched, when any step fails, when the target is not a regular
// file, or when it is not writable by us (for root: when it has no write permission at all).
// Files made again at every use (pages in the temporary folder) need the replacement in one
// step but not the flush: they pass Durability::Unsynced.
enum class Durability { Synced, Unsynced };
bool AtomicWriteFile(
    std::string_view programPath, std::string_view bytes, Durability durability = Durability::Synced);

// A file's place on disk (device and inode), to tell whether two names are the same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};
std::optional<FileIdentity> IdentityOf(std::string_view programPath);

// Creates a new file, for writing, at relative ("A12.files\a.gif") inside a folder, for output
// that must land in that folder and nowhere else. The folder is opened as named; below it,
// every folder of relative must exist and is opened without following links, matched without
// regard to ASCII case as NativePath matches. An existing regular file at the name is removed
// first (a hard link to a file elsewhere is never written through) and its permissions kept;
// a link, FIFO, socket, device or folder there is refused, as is a file listed in keep. A "."
// or ".." in relative is refused. Returns the descriptor (close-on-exec) and sets nativePath,
// or returns -1.
int CreateFileBeneath(std::string_view programFolder, std::string_view relative,
    const std::vector<FileIdentity>& keep, std::string& nativePath);

}  // namespace orv::platform

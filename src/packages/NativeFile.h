#pragma once
// A file descriptor that closes itself, opened on a program path, with the few whole-buffer
// reads and writes the package code needs. Short reads and EINTR are handled here so that
// callers see only "all of it" or "failed".

#include "platform/Files.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class NativeFile {
public:
    NativeFile() = default;
    ~NativeFile();
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // An existing regular file, read only.
    static NativeFile OpenRead(std::string_view programPath);
    // An existing file, write only, neither created nor truncated.
    static NativeFile OpenWrite(std::string_view programPath);
    // Created or truncated, write only.
    static NativeFile Create(std::string_view programPath);
    // Like Create, for an output written whole: an existing regular file with no other links
    // is replaced by a new one with the same permissions rather than truncated, because ext4
    // forces a truncated-and-rewritten file to disk when it is closed (milliseconds for every
    // page shown).
    static NativeFile Replace(std::string_view programPath);
    // A new file at relative inside the folder, reached without following links below it
    // (platform::CreateFileBeneath): what extraction writes lands there and nowhere else.
    static NativeFile CreateBeneath(std::string_view programFolder, std::string_view relative,
        const std::vector<platform::FileIdentity>& keep);
    // A new file with a unique name "<prefix>XXXXXX" (prefix is a program path).
    static NativeFile CreateUnique(std::string_view programPrefix);

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& NativePath() const { return m_native; }

    std::optional<std::uint64_t> Size() const;
    // Up to size bytes from the current position; the count read (0 at the end), -1 on error.
    long long Read(void* buffer, std::size_t size);
    // Exactly size bytes at the offset, or false.
    bool ReadExactAt(void* buffer, std::size_t size, std::uint64_t offset);
    bool Seek(std::uint64_t offset);
    bool WriteAll(const void* bytes, std::size_t size);
    bool Truncate(std::uint64_t size);
    // Closes and reports whether the close itself succeeded (a delayed write error shows here).
    bool Close();

private:
    NativeFile(int fd, std::string native)
        : m_fd(fd)
        , m_native(std::move(native))
    {
    }
    int m_fd = -1;
    std::string m_native;
};

// Removes a regular file by its native path; used to drop a partial output.
void RemoveNativeFile(const std::string& nativePath);

} // namespace orv

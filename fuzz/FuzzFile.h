#pragma once
// Parsers that read a file by its path get the fuzzer's bytes through one scratch file per
// process, in memory where the system offers it.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orv::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The scratch file's native path, named after the process and the tag (one tag per target).
inline const std::string& ScratchPath(const char* tag)
{
    static const std::string path = [tag] {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(dir) + "/orv-fuzz-" + tag + "-" + std::to_string(getpid());
    }();
    return path;
}

// Writes the bytes to the scratch file and returns its path.
inline const std::string& WriteScratch(const char* tag, const std::uint8_t* data, std::size_t size)
{
    const std::string& path = ScratchPath(tag);
    FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, file) == size);
    std::fclose(file);
    return path;
}

} // namespace orv::fuzz

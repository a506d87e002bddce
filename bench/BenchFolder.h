#pragma once
// One temporary folder per benchmark program, removed at exit. The SQLite copies of Access
// galleries go to its "cache" folder, so a run never touches the user's cache.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace orv {

struct BenchFolder {
    BenchFolder()
    {
        char pattern[] = "/tmp/orvbench-XXXXXX";
        path = ::mkdtemp(pattern);
        setenv("XDG_CACHE_HOME", (path + "/cache").c_str(), 1);
    }
    ~BenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    std::string path;
};

inline BenchFolder& Folder()
{
    static BenchFolder folder;
    return folder;
}

} // namespace orv

#pragma once
// One temporary folder per benchmark program, removed at exit. The SQLite copies of Access
// galleries go to its "cache" folder, so a run never touches the user's cache. And the demo
// mechanical gallery, written there by orvdemo when it was built.

#include <stdlib.h>
#include <unistd.h>

#include "platform/Paths.h"

#include <cstdlib>
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

// Program path of the demo mechanical gallery (Access form), or "" when orvdemo is not there.
inline const std::string& DemoGallery()
{
    static const std::string path = [] {
#ifdef ORVDEMO_PATH
        const std::string out = Folder().path + "/demo";
        const std::string command = std::string("'") + ORVDEMO_PATH + "' '" + ORV_DEMO_SOURCE + "' '" + out
            + "' --quiet >/dev/null 2>&1";
        if (::access(ORVDEMO_PATH, X_OK) == 0 && std::system(command.c_str()) == 0
            && std::filesystem::exists(out + "/ORVBookLib/Mech.GAL"))
            return platform::ProgramPath(out + "/ORVBookLib/Mech.GAL");
#endif
        return std::string();
    }();
    return path;
}

} // namespace orv

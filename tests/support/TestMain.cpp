// The test programs' main: every test process gets its own cache and runtime folders, so
// tests never touch the user's and never see each other's.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    std::string base = (std::filesystem::temp_directory_path() / "orvtest-home-XXXXXX").string();
    if (::mkdtemp(base.data())) {
        std::filesystem::create_directories(base + "/cache");
        std::filesystem::create_directories(base + "/runtime");
        ::setenv("XDG_CACHE_HOME", (base + "/cache").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (base + "/runtime").c_str(), 1);
    }
    int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    return result;
}

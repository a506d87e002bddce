// Package index files come from galleries: any bytes must read without a crash, give as
// many sizes as names, and never let a name that leaves its folder pass the containment check.

#include "packages/FileLib.h"
#include "packages/ZFileLib.h"
#include "platform/Paths.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Folder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvfuzz-index-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        // A data file holding two small zlib streams and some plain bytes.
        static const unsigned char data[] = { 0x78, 0x9c, 0xcb, 0x48, 0xcd, 0xc9, 0xc9, 0x07, 0x00, 0x06,
            0x2c, 0x02, 0x15, 0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01, 'p', 'l', 'a', 'i', 'n' };
        std::ofstream(pattern + "/lib.flz", std::ios::binary)
            .write(reinterpret_cast<const char*>(data), sizeof data);
        return pattern;
    }();
    return folder;
}

void CheckContainment(const std::string& name)
{
    if (!orv::CFileLib::IsContainedName(name))
        return;
    std::string native = name;
    for (char& c : native)
        if (c == '\\')
            c = '/';
    std::filesystem::path joined = (std::filesystem::path("/base/dir") / native).lexically_normal();
    std::string text = joined.string();
    if (text.rfind("/base/dir/", 0) != 0 && text != "/base/dir" && text != "/base/dir/")
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> names;
    std::vector<std::uint32_t> sizes;
    if (std::FILE* index = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb")) {
        orv::CFileLib::ReadIndex(index, names, sizes);
        std::fclose(index);
    } else if (size == 0) {
        return 0;
    }
    if (names.size() != sizes.size())
        std::abort();

    // The same bytes as the index of a real library, each member extracted to a fixed target.
    std::string folder = Folder();
    std::ofstream(folder + "/lib.idx", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string dataPath = orv::platform::ProgramPath(folder + "/lib.flz");
    orv::CZFileLib lib(dataPath);
    if (!lib.Open(dataPath))
        return 0;
    std::vector<std::string> members;
    lib.GetFileNames(members);
    for (std::size_t i = 0; i < members.size() && i < 16; ++i) {
        CheckContainment(members[i]);
        std::string target = orv::platform::ProgramPath(folder + "/out");
        lib.ExtractFile(members[i], target);
        std::string raw = orv::platform::ProgramPath(folder + "/raw");
        lib.CFileLib::ExtractFile(members[i], raw);
    }
    return 0;
}

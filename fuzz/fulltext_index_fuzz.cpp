// Full-text indexes and keyword files come with galleries: any bytes read in both index forms
// and as a keyword file give lists of matching lengths and never read out of bounds.

#include "navigation/FullTextFiles.h"
#include "navigation/KeywordFile.h"
#include "platform/Paths.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/orv-fulltext-fuzz-" + std::to_string(::getpid()) + ".cnx";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const std::string program = orv::platform::ProgramPath(path);
    orv::CompressedRecordList compressed = orv::ReadCompressedRecordList(program);
    if (compressed.Names.size() != compressed.Ends.size())
        std::abort();
    for (const std::string& name : compressed.Names)
        orv::FirstMarkerGroup(name);
    orv::PlainRecordList plain = orv::ReadPlainRecordList(program);
    if (plain.Markers.size() != plain.Starts.size() || plain.Starts.size() != plain.Ends.size())
        std::abort();
    for (const std::string& keyword : orv::ReadKeywordFile(program))
        if (keyword.empty())
            std::abort();
    return 0;
}

// A gallery's keyword file (Name.idx) comes with the gallery. Any bytes must read as keywords
// that are valid UTF-8, not empty and free of line feeds (a CR not followed by one stays, as
// the Windows edition reads it); the keywords that can be written must write and read back as
// the same list.

#include "FuzzFile.h"
#include "navigation/KeywordFile.h"
#include "platform/Encoding.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using orv::fuzz::Check;
    const std::vector<std::string> keywords
        = orv::ReadKeywordFile(orv::fuzz::WriteScratch("idx", data, size));
    std::vector<std::string> writable;
    for (const std::string& keyword : keywords) {
        Check(!keyword.empty() && orv::platform::IsValidUtf8(keyword));
        Check(keyword.find('\n') == std::string::npos);
        if (orv::IsWritableKeyword(keyword))
            writable.push_back(keyword);
    }
    const std::string& path = orv::fuzz::ScratchPath("idx");
    Check(orv::WriteKeywordFile(path, writable));
    Check(orv::ReadKeywordFile(path) == writable);
    return 0;
}

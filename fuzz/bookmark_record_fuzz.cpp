// Bookmark records come from history files anyone may edit: reading one must stay in bounds,
// and a record read and written again must read back the same.

#include "navigation/Bookmarks.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string value(reinterpret_cast<const char*>(data), size);
    const auto bookmark = orv::BookmarkList::ParseRecord(value);
    if (!bookmark)
        return 0;
    const std::string stored = orv::BookmarkList::FormatRecord(*bookmark);
    const auto again = orv::BookmarkList::ParseRecord(stored);
    if (!again || orv::BookmarkList::FormatRecord(*again) != stored)
        std::abort();
    return 0;
}

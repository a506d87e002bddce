// A gallery's history file (Name.HIS) holds the search texts and the bookmarks, and may have
// been written by anything. Any bytes must read as at most 50 non-empty texts; adding a text
// and rewriting the file must keep the bookmark section as it was and read back the new list.

#include "FuzzFile.h"
#include "app/common/ProfileFile.h"
#include "navigation/SearchHistory.h"
#include "platform/Paths.h"

#include <vector>

namespace {

std::vector<std::string> Bookmarks(const std::string& path)
{
    std::vector<std::string> values;
    const orv::CProfileFile file(path);
    for (int n = 1; n <= 3; ++n) {
        std::string value;
        file.ReadString("BookMark", "Book" + std::to_string(n), value);
        values.push_back(value);
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using orv::fuzz::Check;
    const std::string path = orv::platform::ProgramPath(orv::fuzz::WriteScratch("his", data, size));
    std::vector<std::string> history = orv::ReadSearchHistory(path);
    Check(history.size() <= orv::kMaxSearchHistory);
    for (const std::string& text : history)
        Check(!text.empty());
    const std::vector<std::string> bookmarks = Bookmarks(path);
    if (orv::AddSearchText(history, { "M10" }, "螺栓 bolt") == orv::HistoryChange::Unchanged)
        return 0;
    Check(orv::WriteSearchHistory(path, history));
    Check(Bookmarks(path) == bookmarks);
    const std::vector<std::string> again = orv::ReadSearchHistory(path);
    Check(!again.empty() && again.front() == "螺栓 bolt");
    return 0;
}

#include "navigation/SearchHistory.h"

#include "app/common/ProfileFile.h"
#include "navigation/DirectorySearch.h"

#include <algorithm>

namespace orv {

std::vector<std::string> ReadSearchHistory(const std::string& hisPath)
{
    std::vector<std::string> history;
    const CProfileFile file(hisPath);
    for (std::size_t n = 1; n <= kMaxSearchHistory; ++n) {
        std::string value;
        if (file.ReadString("Query", "Query" + std::to_string(n), value) != 0 || value.empty())
            break;
        history.push_back(std::move(value));
    }
    return history;
}

const char* HistoryChangeName(HistoryChange change)
{
    switch (change) {
    case HistoryChange::Added:
        return "added";
    case HistoryChange::Replaced:
        return "replaced";
    case HistoryChange::Unchanged:
        break;
    }
    return "unchanged";
}

HistoryChange AddSearchText(
    std::vector<std::string>& history, const std::vector<std::string>& keywords, std::string_view text)
{
    const std::string key = FoldAsciiUpper(text);
    const auto same = [&](const std::string& entry) { return FoldAsciiUpper(entry) == key; };
    if (std::any_of(history.begin(), history.end(), same)
        || std::any_of(keywords.begin(), keywords.end(), same))
        return HistoryChange::Unchanged;
    if (history.size() >= kMaxSearchHistory) {
        history[0] = std::string(text);
        return HistoryChange::Replaced;
    }
    history.insert(history.begin(), std::string(text));
    return HistoryChange::Added;
}

bool WriteSearchHistory(const std::string& hisPath, const std::vector<std::string>& history)
{
    std::vector<ProfileValue> values;
    const std::size_t count = std::min(history.size(), kMaxSearchHistory);
    for (std::size_t n = 0; n < count; ++n)
        values.push_back({ "Query", "Query" + std::to_string(n + 1), history[n] });
    if (values.empty())
        return true;
    return CProfileFile(hisPath).WriteStrings(values) == 0;
}

} // namespace orv

#pragma once
// The search texts a gallery remembers, in its history file (an ini file beside the
// application): section "Query", keys "Query1" to "Query50", the newest first. The file's
// section "BookMark" and any other keys belong to others and are kept as they are.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

constexpr std::size_t kMaxSearchHistory = 50;

// "Query1", "Query2", ... until a key is missing or empty (at most 50).
std::vector<std::string> ReadSearchHistory(const std::string& hisPath);

enum class HistoryChange { Unchanged, Added, Replaced };
const char* HistoryChangeName(HistoryChange change); // "unchanged", "added", "replaced"

// After a search that found rows: a text equal (ASCII case folded) to an entry of the
// combo's list (the history, then the keywords) changes nothing; else with 50 entries it
// replaces the newest, with fewer it goes before it.
HistoryChange AddSearchText(
    std::vector<std::string>& history, const std::vector<std::string>& keywords, std::string_view text);

// Writes the entries (at most 50) as "Query1".. in one atomic replacement of the file,
// which keeps its encoding, its other sections and keys; keys past the count stay. False
// when the file could not be written, and then it is as it was.
bool WriteSearchHistory(const std::string& hisPath, const std::vector<std::string>& history);

} // namespace orv

#include "navigation/KeywordIndex.h"

#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "app/common/TextHelpers.h"
#include "database/AdoRecordset.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orv {
namespace {

bool SameNoCase(std::string_view a, std::string_view b)
{
    return platform::EqualsNoCase(a, b);
}

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameNoCase(text.substr(0, prefix.size()), prefix);
}

// The index page's combo holds the gallery's search texts, read until the first missing key.
std::vector<std::string> ReadQueryHistory(const std::string& historyPath)
{
    std::vector<std::string> entries;
    if (historyPath.empty())
        return entries;
    const CProfileFile file(historyPath);
    for (int n = 1;; ++n) {
        std::string value;
        if (file.ReadString("Query", "Query" + std::to_string(n), value) != 0)
            break;
        entries.push_back(std::move(value));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace

void KeywordIndex::Clear()
{
    From = Source::Tree;
    Terms.clear();
    DirIDs.clear();
    History.clear();
}

const char* IndexSourceName(KeywordIndex::Source source)
{
    return source == KeywordIndex::Source::Index ? "index" : "tree";
}

void LoadIndex(const ReaderState& state, KeywordIndex& index)
{
    index.Clear();
    if (!state.DatabaseOpen)
        return;
    CAdoRecordset rs;
    if (rs.OpenSql("Select * from DrawingDirIndex Order By IndexOrder", state.Database) == 0) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const std::string idText = rs.GetString("IndexDirID");
            double value = 0;
            // An empty IndexDirID stands for 0, as the Windows edition reads it.
            if (idText.find_first_not_of(" \t") != std::string::npos && !ParseNumber(idText, value))
                continue;
            const double id = std::trunc(value);
            // Beyond the DirID range the value would wrap round to some other directory.
            if (!(id >= 0 && id <= static_cast<double>(std::numeric_limits<std::int32_t>::max())))
                continue;
            index.Terms.push_back(rs.GetString("IndexName"));
            index.DirIDs.push_back(static_cast<std::uint32_t>(id));
        }
    }
    if (!index.DirIDs.empty()) {
        index.From = KeywordIndex::Source::Index;
    } else {
        const ContentsTree& tree = state.Tree;
        for (std::size_t i = 0; i < tree.Table.Size(); ++i) {
            const int node = tree.Table.Item[i];
            index.Terms.push_back(
                tree.IsNode(node) ? tree.Nodes[static_cast<std::size_t>(node)].Text : std::string());
            index.DirIDs.push_back(tree.Table.DirID[i]);
        }
    }
    index.History = ReadQueryHistory(state.HistoryIniPath);
}

bool IsAmbiguous(const KeywordIndex& index, int position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= index.Terms.size())
        return false;
    const auto p = static_cast<std::size_t>(position);
    return (p > 0 && SameNoCase(index.Terms[p - 1], index.Terms[p]))
        || (p + 1 < index.Terms.size() && SameNoCase(index.Terms[p + 1], index.Terms[p]));
}

int FindTyped(const KeywordIndex& index, std::string_view text)
{
    for (std::size_t i = 0; i < index.Terms.size(); ++i)
        if (std::string_view(index.Terms[i]).substr(0, text.size()) == text)
            return static_cast<int>(i);
    return -1;
}

int FindPicked(const KeywordIndex& index, std::string_view text)
{
    for (std::size_t i = 0; i < index.Terms.size(); ++i)
        if (SameNoCase(index.Terms[i], text))
            return static_cast<int>(i);
    for (std::size_t i = 0; i < index.Terms.size(); ++i)
        if (StartsNoCase(index.Terms[i], text))
            return static_cast<int>(i);
    return -1;
}

IndexOpening OpenSelected(const KeywordIndex& index, int selected)
{
    IndexOpening opening;
    if (selected < 0 || static_cast<std::size_t>(selected) >= index.Size()
        || static_cast<std::size_t>(selected) >= index.Terms.size())
        return opening;
    if (IsAmbiguous(index, selected)) {
        opening.What = IndexOpening::Kind::Choose;
        opening.Term = index.Terms[static_cast<std::size_t>(selected)];
    } else {
        opening.What = IndexOpening::Kind::Jump;
        opening.DirID = index.DirIDs[static_cast<std::size_t>(selected)];
    }
    return opening;
}

} // namespace orv

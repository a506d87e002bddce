#include "navigation/DirectorySearch.h"

#include "navigation/ContentsTree.h"
#include "navigation/TreeCommands.h"
#include "platform/Hooks.h"

#include <algorithm>
#include <unordered_set>

namespace orv {
namespace {

// Steps of a title or candidate loop between two event pumps.
constexpr std::size_t kStepsPerPump = 512;

bool PumpAndCheck(std::size_t step, std::size_t range, const bool& running, const SearchProgress& progress)
{
    if (step % kStepsPerPump != kStepsPerPump - 1)
        return running;
    if (progress)
        progress(step, range);
    platform::PumpEvents();
    return running;
}

SearchRow MakeRow(const SearchTreeCopy& tree, int node, bool upper)
{
    const SearchTreeCopy::Node& n = tree.Nodes[static_cast<std::size_t>(node)];
    SearchRow row;
    row.DirID = static_cast<std::uint32_t>(n.DirID);
    row.Title = upper ? FoldAsciiUpper(n.Text) : n.Text;
    row.Location = tree.Location(node);
    return row;
}

bool IsDirectoryNode(const SearchTreeCopy& tree, int node)
{
    return node >= 0 && static_cast<std::size_t>(node) < tree.Nodes.size()
        && tree.Nodes[static_cast<std::size_t>(node)].DirID != 0;
}

} // namespace

SearchTreeCopy SearchTreeCopy::From(const ContentsTree& tree)
{
    SearchTreeCopy copy;
    copy.Nodes.reserve(tree.Nodes.size());
    for (const TreeNode& node : tree.Nodes)
        copy.Nodes.push_back({ node.Text, node.Parent, node.DirID });
    const std::size_t positions
        = std::min({ tree.Table.DirID.size(), tree.Table.Item.size(), tree.Table.Content.size() });
    copy.TableDirIDs.assign(
        tree.Table.DirID.begin(), tree.Table.DirID.begin() + static_cast<long>(positions));
    copy.TableItems.assign(tree.Table.Item.begin(), tree.Table.Item.begin() + static_cast<long>(positions));
    if (tree.IsNode(tree.Selected)) {
        copy.SelectedSubtree.push_back(tree.Selected);
        CollectSubtreeItems(tree, copy.SelectedSubtree);
    }
    return copy;
}

std::string SearchTreeCopy::Location(int node) const
{
    std::vector<int> path;
    // A parent chain can be no longer than the tree; a longer one is a cycle.
    while (node >= 0 && static_cast<std::size_t>(node) < Nodes.size() && path.size() <= Nodes.size()) {
        path.push_back(node);
        node = Nodes[static_cast<std::size_t>(node)].Parent;
    }
    std::string text;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        if (!text.empty() || it != path.rbegin())
            text += '\\';
        text += Nodes[static_cast<std::size_t>(*it)].Text;
    }
    return text;
}

std::string FoldAsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string TrimSearchText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

std::vector<std::int64_t> ParseDirMarkers(std::string_view markers)
{
    std::vector<std::int64_t> ids;
    for (std::size_t i = 0; i < markers.size(); ++i) {
        if (markers[i] != '[')
            continue;
        std::size_t j = i + 1;
        const bool negative = j < markers.size() && markers[j] == '-';
        if (negative)
            ++j;
        std::int64_t value = 0;
        std::size_t digits = 0;
        while (j < markers.size() && markers[j] >= '0' && markers[j] <= '9' && digits < 12) {
            value = value * 10 + (markers[j] - '0');
            ++j;
            ++digits;
        }
        if (digits > 0 && j < markers.size() && markers[j] == ']') {
            ids.push_back(negative ? -value : value);
            i = j;
        }
    }
    return ids;
}

SearchOutcome SearchTitles(const SearchTreeCopy& tree, std::string_view text, SearchScope scope,
    const std::vector<SearchRow>& previous, const bool& running, const SearchRowAdded& added,
    const SearchProgress& progress)
{
    SearchOutcome outcome;
    const std::string key = FoldAsciiUpper(text);
    if (scope == SearchScope::WithinResults) {
        // Every row is tested; a removal does not skip the row after it.
        for (const SearchRow& row : previous) {
            if (FoldAsciiUpper(row.Title).find(key) == std::string::npos)
                continue;
            outcome.Rows.push_back(row);
            if (added)
                added(outcome.Rows.back());
        }
        return outcome;
    }
    const bool upper = scope == SearchScope::All;
    std::vector<int> candidates;
    if (scope == SearchScope::All)
        candidates = tree.TableItems;
    else
        candidates = tree.SelectedSubtree;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (!PumpAndCheck(i, candidates.size(), running, progress)) {
            outcome.Interrupted = true;
            break;
        }
        const int node = candidates[i];
        if (!IsDirectoryNode(tree, node))
            continue;
        if (FoldAsciiUpper(tree.Nodes[static_cast<std::size_t>(node)].Text).find(key) == std::string::npos)
            continue;
        outcome.Rows.push_back(MakeRow(tree, node, upper));
        if (added)
            added(outcome.Rows.back());
    }
    if (progress)
        progress(candidates.size(), candidates.size());
    return outcome;
}

SearchOutcome SearchFullText(const SearchTreeCopy& tree, const FullTextIndex& index, std::string_view text,
    SearchScope scope, const std::vector<SearchRow>& previous, const bool& running,
    const SearchRowAdded& added, const SearchProgress& progress)
{
    SearchOutcome outcome;
    if (index.LoadStatus() == FullTextIndex::Status::Damaged) {
        outcome.ContentDamaged = true;
        return outcome;
    }
    // Candidates: DirNodeTable positions, in scopes 1 and 2 only those of the chosen DirIDs.
    std::unordered_set<std::int64_t> chosen;
    if (scope == SearchScope::Selected) {
        for (int node : tree.SelectedSubtree)
            if (IsDirectoryNode(tree, node))
                chosen.insert(tree.Nodes[static_cast<std::size_t>(node)].DirID);
    } else if (scope == SearchScope::WithinResults) {
        for (const SearchRow& row : previous)
            chosen.insert(static_cast<std::int32_t>(row.DirID));
    }
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < tree.TableItems.size(); ++i) {
        if (scope == SearchScope::All || chosen.count(static_cast<std::int32_t>(tree.TableDirIDs[i])))
            candidates.push_back(i);
    }
    if (candidates.empty())
        return outcome;

    const FullTextIndex::Result found = index.Find(text, running);
    outcome.Interrupted = found.Interrupted;
    std::unordered_set<std::int64_t> hitDirs;
    for (std::size_t r : found.Hits)
        for (std::int64_t id : ParseDirMarkers(index.Records()[r].Markers))
            hitDirs.insert(id);
    if (hitDirs.empty())
        return outcome;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const std::size_t i = candidates[c];
        const int node = tree.TableItems[i];
        if (!IsDirectoryNode(tree, node) || !hitDirs.count(static_cast<std::int32_t>(tree.TableDirIDs[i])))
            continue;
        SearchRow row = MakeRow(tree, node, false);
        row.DirID = tree.TableDirIDs[i];
        outcome.Rows.push_back(std::move(row));
        if (added)
            added(outcome.Rows.back());
    }
    if (progress)
        progress(candidates.size(), candidates.size());
    return outcome;
}

} // namespace orv

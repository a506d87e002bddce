#pragma once
// The search page's decisions without the page: the title search and the full-text search
// of the open gallery's directories, each in three scopes (the whole tree, the selected
// node's subtree, the previous results). Letter case is folded for the ASCII letters only.
//
// A search reads its own copy of the tree's rows (SearchTreeCopy), taken when it starts, so
// a tree rebuilt while the search pumps events cannot pull nodes from under it. Long loops
// pump events in chunks and end early, keeping the rows found so far, when the running flag
// is cleared.

#include "navigation/FullTextIndex.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ContentsTree;

enum class SearchMode { Title, FullText };
enum class SearchScope { All = 0, Selected = 1, WithinResults = 2 };

struct SearchRow {
    std::uint32_t DirID = 0;
    std::string Title, Location;
};

// The rows of the contents tree a search reads.
struct SearchTreeCopy {
    struct Node {
        std::string Text;
        int Parent = -1;
        std::int32_t DirID = 0; // 0: a speciality node, never a result
    };
    std::vector<Node> Nodes;
    // DirNodeTable's positions where all three columns have an entry.
    std::vector<std::uint32_t> TableDirIDs;
    std::vector<int> TableItems;
    // The selected node followed by its descendants in pre-order; empty without a selection.
    std::vector<int> SelectedSubtree;

    static SearchTreeCopy From(const ContentsTree& tree);
    // The texts from the top-level ancestor down to the node, joined with "\".
    std::string Location(int node) const;
};

// ASCII letters a to z upper-cased, every other byte as it is (UTF-8 text).
std::string FoldAsciiUpper(std::string_view text);
// Spaces trimmed at both ends, as the page trims the typed text.
std::string TrimSearchText(std::string_view text);

struct SearchOutcome {
    std::vector<SearchRow> Rows;
    bool Interrupted = false; // the running flag was cleared: Rows holds what was found before
    // Full text: the gallery's content could not be searched to its end (damaged compressed
    // content); then Rows is empty rather than partial.
    bool ContentDamaged = false;
};

using SearchRowAdded = std::function<void(const SearchRow& row)>;
// How far a loop has come: position of range, reported between event pumps and at its end.
using SearchProgress = std::function<void(std::size_t position, std::size_t range)>;

// Title mode. Scope All lists the matching DirNodeTable positions in order, each title shown
// upper-cased (the form it was matched in); Selected lists the selected node and its
// subtree with titles as in the tree; WithinResults keeps the previous rows whose title
// holds the text, every other one removed.
SearchOutcome SearchTitles(const SearchTreeCopy& tree, std::string_view text, SearchScope scope,
    const std::vector<SearchRow>& previous, const bool& running,
    const SearchRowAdded& added = SearchRowAdded(), const SearchProgress& progress = SearchProgress());

// Full-text mode: the candidates (DirNodeTable's directories; in scope Selected those of the
// selected subtree, in WithinResults those of the previous rows) whose marker "[DirID]"
// belongs to a record that holds the text, in DirNodeTable order.
SearchOutcome SearchFullText(const SearchTreeCopy& tree, const FullTextIndex& index, std::string_view text,
    SearchScope scope, const std::vector<SearchRow>& previous, const bool& running,
    const SearchRowAdded& added = SearchRowAdded(), const SearchProgress& progress = SearchProgress());

// The directories named by markers "[%d]" in a marker text.
std::vector<std::int64_t> ParseDirMarkers(std::string_view markers);

} // namespace orv

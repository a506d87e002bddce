#pragma once
// The keyword index of the open gallery, as the index page lists it: the terms of table
// DrawingDirIndex in IndexOrder, each leading to one directory, or, when the gallery defines
// none, the titles of the contents tree's directories in DirNodeTable order. The page's combo
// box offers the search texts of the gallery's history file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ReaderState;

struct KeywordIndex {
    enum class Source { Index, Tree };

    Source From = Source::Tree;
    std::vector<std::string> Terms; // list entries, in load order
    std::vector<std::uint32_t> DirIDs; // IndexDirIDs: position i is the DirID of Terms[i]
    std::vector<std::string> History; // the combo's entries, sorted

    std::size_t Size() const { return DirIDs.size(); }
    void Clear();
};

const char* IndexSourceName(KeywordIndex::Source source); // "index", "tree"

// Rebuilds the index for the gallery open in state. It always starts empty, so a gallery
// without index rows, or no gallery at all, never shows the previous gallery's terms.
// Rows whose IndexDirID is no number, or one outside 0..2147483647, are skipped.
void LoadIndex(const ReaderState& state, KeywordIndex& index);

// Whether the entry's neighbour above or below has the same text (ASCII case ignored).
bool IsAmbiguous(const KeywordIndex& index, int position);

// Incremental find: the first entry whose leading bytes are exactly the text; -1 for none
// (the selection then stays where it was).
int FindTyped(const KeywordIndex& index, std::string_view text);

// A history entry picked in the combo: the first entry equal to it, else the first that
// starts with it, both ignoring ASCII case; -1 for none.
int FindPicked(const KeywordIndex& index, std::string_view text);

// What opening the selected entry does.
struct IndexOpening {
    enum class Kind { None, Jump, Choose };
    Kind What = Kind::None;
    std::uint32_t DirID = 0; // Jump: the directory
    std::string Term; // Choose: the text to run the topic chooser with
};
IndexOpening OpenSelected(const KeywordIndex& index, int selected);

} // namespace orv

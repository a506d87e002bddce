#pragma once
// Building the contents tree of the open gallery: from its tree cache when a sound one
// exists, else from the gallery database (which then writes the cache). The build fills
// ReaderState::Tree (nodes and DirNodeTable), opens nodes by the "AutoExpand" setting,
// selects the remembered directory or the first top-level node, and makes the selection
// current. The tree widget mirrors the result; showing it and the progress bar is its part.

#include "navigation/TreeCache.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orv {

struct ContentsTree;
struct ReaderState;

// Reports the progress of a build from the database: (range, 0) when a speciality's rows
// begin, (range, position) after each row, and (0, 0) once when the build is over, for the
// widget to hide its bar. A build from the cache reports nothing.
using TreeProgress = std::function<void(int range, int position)>;

struct TreeBuildResult {
    enum class Source { Empty, Database, Cache };
    Source From = Source::Empty; // Empty: no gallery database was open
    int Nodes = 0; // N: nodes inserted
    int TopLevel = 0; // R: the top-level count of the path taken (the two paths count apart)
    bool ShowHomePage = false; // the tree is empty: the main window shows the home page
    bool CacheWritten = false;
    // The selection's caption (UpdateCaption); unset when nothing is selected or the content
    // view is busy. The caller shows it and loads the directory's drawings.
    std::optional<std::string> Caption;
    // Another build began while this one dispatched events; this one stopped.
    bool Interrupted = false;
};

const char* TreeSourceName(TreeBuildResult::Source source); // "empty", "database", "cache"

// Empties and fills state.Tree for the open gallery (state.DatabaseOpen). The cache at
// state.TreeCachePath is used unless it is missing, older than the gallery database
// (GalleryFiles[CurrentGallery]) or damaged; then the tree comes from the database, whose
// connection is opened again (twice when DriverType is 1), and the cache is written when the
// records can be written and read back the same. Events are dispatched while rows are read.
TreeBuildResult BuildTree(ReaderState& state, const TreeProgress& progress = TreeProgress());

// The nodes N and the top-level count R that one build path keeps.
struct TreeCounts {
    int Nodes = 0;
    int TopLevel = 0;
};

// Inserts cache records into an empty tree as the cache path of the build does: a speciality
// record opens a new top-level node (the one before it is expanded); a directory record hangs
// below the current speciality node (parent position negative), below the node at its parent
// position in DirNodeTable, or at the top (a position past the table). The last speciality
// node is expanded at the end.
TreeCounts LoadTreeRecords(ContentsTree& tree, const std::vector<TreeCacheRecord>& records);

// Opens nodes after a build of n nodes with top-level count r, as the setting "AutoExpand"
// (missing: 1) asks: with 1 and n > 200, the top-level nodes one level when r <= 5; with 1
// and n <= 200, every top-level node with all its descendants; any other value, nothing.
void AutoExpandTree(ContentsTree& tree, int autoExpand, int n, int r);

} // namespace orv

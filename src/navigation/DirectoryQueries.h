#pragma once
// Queries about directories that several parts of the reader share: a directory's title path
// and its descendants, the caption of the current directory, the page stepping within and
// across directories, and what a selection in the contents tree sets off. Walks along
// ParDirID stop when a directory comes round again, so a gallery whose directories form a
// cycle cannot hang the reader.

#include "app/AddOnCall.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CAdoConnection;
struct ReaderState;

// The names from the top-level directory down to dirId, joined with "\"; "" for an unknown
// directory. The walk up ends at ParDirID 0, at a missing row, or before a directory already
// on the path.
std::string DirTitlePath(const CAdoConnection& db, std::int32_t dirId);

// Appends the descendants of dirId (its DirID 0 children left out), depth first in pre-order
// by the order the database lists the children in; dirId itself is not appended, and no
// directory is appended twice.
void CollectChildDirs(const CAdoConnection& db, std::int32_t dirId, std::vector<std::int32_t>& list);

// The number of page files (DrawingDirFiles rows) of a directory.
int DirPageCount(const CAdoConnection& db, std::int32_t dirId);

// A directory's caption: its title path, followed by " (第%d页/共%d页)" with page + 1 (page
// counts from 0) and the count when it has more than one page file.
std::string PagedCaption(const std::string& titlePath, std::int32_t page, int pageCount);

// Unset while the content view is busy. Otherwise the selected node's DirID (if a node is
// selected) becomes CurrentDirID, and the caption is its title path, followed by
// " (第%d页/共%d页)" with CurrentPage + 1 and the count when it has more than one page file.
// The caller sets the main window's caption and loads the directory's drawings.
std::optional<std::string> UpdateCaption(ReaderState& state);

// Next page: within the current directory's page files while there are more, else the first
// page of the directory after it in "Order By DirVisible" order (all specialities, hidden
// directories too). Returns the DirID to show (CurrentDirID when the page moved, 0 when there
// is nothing after it or no gallery is open) and sets CurrentPage (0 when the directory changes
// or nothing comes after it).
std::int32_t NextPage(ReaderState& state);

// Previous page: within the page files while CurrentPage is not 0, else the last page of the
// directory before it. Returns the DirID to show, 0 when there is none (CurrentPage then
// stays).
std::int32_t PrevPage(ReaderState& state);

// The tool node decision for a ContentMark: "add:" (any letter case) followed by fields
// separated by ",". File = AppPath + "\" + F1 upper-cased; by its last three letters:
// EXE starts it in its own folder with F2 as parameters; DLL calls export F2 with no
// argument, atoi(F3), or atoi(F3) and F4; ARX sends F2 to the CAD program after loading the
// file without its extension. "<root>" in F2 and F4 stands for the application folder. The
// call publishes the tools folder first. Kind None for anything else.
bool IsToolNodeMark(std::string_view contentMark);
AddOnCall ToolNodeCall(const std::string& appPath, std::string_view contentMark);

// Selects the first node in DirNodeTable order whose DirID is CurrentDirID, without the
// effects of a user's selection (after a search, index or bookmark jump); false when the tree
// has no such node.
bool SelectCurrentDir(ReaderState& state);

// What a user's selection in the contents tree sets off.
struct TreeSelectionEffect {
    bool Handled = false; // false: the content view is busy, the selection is ignored
    std::optional<std::string> Caption; // UpdateCaption's
    std::optional<AddOnCall> Tool; // the directory is a tool node
};

// The user selected node: it becomes the selection, the pending highlight is cleared,
// CurrentPage is 0, the caption is updated, and the directory's ContentMark decides whether
// it is a tool node. The caller runs the directory's action and carries the tool call out.
TreeSelectionEffect SelectTreeNode(ReaderState& state, int node);

} // namespace orv

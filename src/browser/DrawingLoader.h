#pragma once
// Loading a directory's drawings into the shared drawing list (ReaderState::Drawings). Two
// loaders exist because the contents tree lists a directory through its DrawingDirList
// memberships when the gallery has that table, while links, bookmarks, search and index
// results list the drawings that name the directory in DrawingList.DirID.
//
// Every load empties the list and clears the selection first, so the panes never show the
// drawings of the directory before, also when no gallery is open or a statement fails.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class CAdoConnection;
struct ReaderState;

// A PreviewFile value upper-cased and split: "bolt(m12).sld" is member "M12" of library
// "BOLT.SLB"; anything else is a plain member with no library.
struct PreviewSplit {
    std::string Member;
    std::string Library; // "" for a plain member
};
PreviewSplit SplitPreviewFile(std::string_view previewFile);

// True only when "ShowJoin" of section "Preview" of the settings file reads as 1: drawings
// bound to another drawing are then listed too.
bool ShowBoundDrawings(const ReaderState& state);

// The statements the two loaders choose for a directory. The tree's choice probes the
// database for DrawingDirList and its DrawingOrder column.
std::string TreeDirectoryStatement(const ReaderState& state, std::int32_t dirId);
std::string LinkDirectoryStatement(bool showBound, std::int32_t dirId);

// Runs sql and appends every row to the drawing list. False when the statement cannot be
// opened (error is then "图集库错误"); the list is left as it was.
bool FillDrawingList(ReaderState& state, const std::string& sql, std::string& error);

struct DrawingLoadResult {
    std::string Statement; // the statement chosen (run only when the gallery is open)
    bool Filled = false; // the statement ran
    std::string Error;
    // The link loader's directory title, with " (第%d页/共%d页)" for a directory of several
    // pages; nothing from the tree loader or with no gallery open.
    std::optional<std::string> Title;
};

// The loaders for CurrentDirID. The caller refreshes the grid and the detail list and, for a
// title, hands it to the main window.
DrawingLoadResult LoadTreeDirectoryDrawings(ReaderState& state);
DrawingLoadResult LoadDirectoryDrawings(ReaderState& state);

} // namespace orv

#pragma once
// The program-wide state of the reader, one instance owned by the application object and
// passed by reference to whatever needs it, so every behaviour can be driven from a test:
// the application state (paths, galleries, settings, add-ins, the database connection), the
// open gallery's state, the navigation state, the browse history, the contents tree and the
// drawing list with its selection.

#include "database/AdoConnection.h"
#include "navigation/ContentsTree.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// The visited directories and pages with a current position (-1 when empty).
struct BrowseHistory {
    std::vector<std::uint32_t> DirIds;
    std::vector<std::string> Keys; // page addresses (content keys)
    int Position = -1;

    // Inside the list but before its last entry: insert just after the position and move to
    // the new entry (the entries after it stay); otherwise append and move to the end.
    void Add(std::uint32_t dirId, const std::string& key);
    void Clear();
    std::size_t Size() const { return DirIds.size(); }
};

// The drawings of the current directory (parallel arrays, index i the i-th row of the
// directory's statement) with the selection. The attribute columns ride along so that the
// detail list shows exactly the drawings of this list, row r being drawing r.
struct DirDrawingList {
    std::vector<std::uint32_t> Ids;
    std::vector<std::string> Names, Captions, PreviewMembers, PreviewLibraries, Folders;
    std::vector<std::string> Status1, AppClass, FunClass, ShpClass, QueryKeyword;
    int SelectedDrawingIndex = -1;
    std::int32_t SelectedDrawingID = -1;

    std::size_t Size() const { return Ids.size(); }
    void Clear();
};

struct ReaderState {
    ReaderState() = default;
    ReaderState(const ReaderState&) = delete;
    ReaderState& operator=(const ReaderState&) = delete;

    // Application state.
    std::string AppPath; // no trailing "\"
    std::string IniPath; // AppPath + "\ORVBook.ini"
    std::string LibPath; // the gallery library folder
    std::string AppTitle = "Orv机电工程师手册";
    std::string ToolbarBackPath; // AppPath + "\Support\TBBack.bmp"
    std::vector<std::string> GalleryNames, GalleryFiles; // parallel, display order
    int CurrentGallery = -1;
    int SplitW = 200;
    int TabIndex = 0;
    std::vector<std::string> AddinList; // add-in description files, relative to AppPath
    std::string HistoryIniPath;
    int DriverType = 0; // 1: a failed database open is tried once more
    CAdoConnection Database;

    // The open gallery.
    bool DatabaseOpen = false;
    std::string TreeCachePath;
    std::array<std::string, 4> ColumnCaptions { "内容1", "内容2", "内容3", "内容4" };
    bool GalleryHasDrawings = false;

    // Navigation.
    std::int32_t CurrentDirID = 0;
    std::int32_t CurrentPage = 0;
    std::string PendingHighlight;
    bool SearchRunning = false;
    bool ContentViewReady = true;
    BrowseHistory History;
    std::string CurrentHistoryKey;
    int SplitMode = 0; // content area: 0 none, 1 horizontal, 2 vertical
    bool WholePage = false;

    ContentsTree Tree;
    DirDrawingList Drawings;
};

} // namespace orv

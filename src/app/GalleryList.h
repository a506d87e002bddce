#pragma once
// The installed galleries: every "*.GAL" database of the gallery library folder that opens
// and has a row in its Gallery table, named by that row, in the order the gallery order file
// gives.
//
// The order file ORVBook.odr (in AppPath) holds one gallery name a line, GB18030, each line
// ended by "\n"; empty lines are skipped. Named galleries come first, in the file's order
// (names compared without regard to ASCII case); the others follow in discovery order and are
// added to the file, so they keep their place at the next start.

#include <functional>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;

// One gallery database's first Gallery row.
struct GalleryRow {
    std::string File; // program path of the ".GAL"
    std::string Name, Version, Date;
};

// Opens the database with the gallery password through a connection of its own (once more
// when driverType is 1) and reads the first row of its Gallery table. Nothing when it does
// not open or has no row.
bool ReadGalleryRow(const std::string& galleryFile, int driverType, GalleryRow& row);

// The galleries of a folder that open and have a Gallery row, in directory order (byte order
// of the names; "*.GAL" matched without regard to case).
std::vector<GalleryRow> FindGalleries(const std::string& folder, int driverType);

// Places the found galleries (names and files, parallel, discovery order) in the order the
// order-file lines give and returns the names that the file does not place yet, in the order
// they are to be appended. Pure: the caller reads and writes the file.
std::vector<std::string> OrderGalleries(const std::vector<std::string>& orderLines,
    std::vector<std::string>& names, std::vector<std::string>& files);

// Rebuilds GalleryNames and GalleryFiles from LibPath and the order file, and writes the
// order file when it gains lines: the whole file replaced in one write, never appended in
// place. False when that write failed (the lists are set all the same).
bool LoadGalleryList(ReaderState& state);

// Makes a gallery file (a program path, as "orvbook FILE.GAL" names it) known: its index in
// the lists when it is a gallery of the library folder, else it is added at the end of the
// lists for this run only (the order file is not told). -1 with the reason in error when the
// file is no gallery (missing, does not open, no Gallery row).
int AddGalleryFile(ReaderState& state, const std::string& galleryFile, std::string& error);

// Whether the gallery at index lies in the library folder (false for one added for this run).
bool IsLibraryGallery(const ReaderState& state, int index);

// The gallery whose database file name is name + ".gal" (without regard to case), made
// current when it is not already: true when CurrentGallery changed. The caller then runs the
// gallery switch of the main window.
bool SelectGalleryByFile(ReaderState& state, const std::string& name);
// The same with the caller's result codes: when CurrentGallery changed and a gallery switch is
// given (a main window exists), it runs and 0 is returned; otherwise -1 (CurrentGallery has
// changed all the same when a gallery was found without a switch).
int SelectGalleryByFile(
    ReaderState& state, const std::string& name, const std::function<void()>& gallerySwitch);

} // namespace orv

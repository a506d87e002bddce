#pragma once
// The gallery information dialog's decisions: the galleries of a work directory (the gallery
// library folder) with name, version and date, how the work directory is shown, the storing
// of a chosen folder, and the confirmation that makes it the program's library folder.

#include "app/GalleryList.h"

#include <string>
#include <vector>

namespace orv {

struct ReaderState;

// Shown in place of the work directory when it is the application folder itself.
inline constexpr const char* kCurrentWorkDirText = "<当前工作目录>";

// Rows of the gallery list: every gallery of the folder that opens and has a Gallery row
// (GalleryName, GalleryVersion, CreateDate), in directory order.
std::vector<GalleryRow> ListGalleryInfo(const ReaderState& state, const std::string& workDir);

// One row per add-in: its caption, Version and ProDate.
std::vector<GalleryRow> ListAddinInfo(const ReaderState& state);

// kCurrentWorkDirText when workDir is AppPath (without regard to case), else workDir.
std::string WorkDirDisplay(const ReaderState& state, const std::string& workDir);

// A folder the user picked ("...\" from the folder chooser): stored at once as GalleryPath of
// ORVBook.ini, so the next start uses it even when the dialog is cancelled. Returns the new
// work directory (without the trailing "\"); written is false when the settings file could
// not be written.
std::string ChooseWorkDir(const ReaderState& state, const std::string& pickedFolder, bool* written = nullptr);

// The dialog's OK with the edit's text (kCurrentWorkDirText stands for AppPath). When it names
// another folder than LibPath: LibPath becomes it, GalleryPath is written ("" when it is
// AppPath), the gallery list is reloaded, CurrentGallery is 0 (-1 when the folder has no
// gallery) and CurrentDirID 0. Returns the Changed flag: true when the caller has the
// navigation panel reload the gallery list. written is false when GalleryPath could not be
// stored (this run uses the folder all the same).
bool ConfirmWorkDir(ReaderState& state, const std::string& editText, bool* written = nullptr);

} // namespace orv

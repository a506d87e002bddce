#pragma once
// Start-up and shut-down of the reader over the program-wide state: where the application
// folder is, the settings of ORVBook.ini, the installed galleries, the remembered gallery,
// directory and panel width, the add-ins, and the write-back of the remembered state when the
// program closes.
//
// ORVBook.ini, as far as start-up reads it:
//   [System]  DriverType     1: a failed database open is tried once more
//   [Gallery] AppTitle       the main window's caption
//             GalleryPath    LibPath; upper-cased, then "<APPPATH>" replaced by AppPath
//             CurrectGallery the open gallery's index (spelled so), written at exit
//             ActiveDirID    the current directory, a real number truncated; written at exit
//             SplitW         the navigation panel's width, ignored when 5 or less; written at exit
//             TabIndex       the content tab shown last, written at exit

#include <optional>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;

// The caption of the start-up messages.
inline constexpr const char* kStartUpCaption = "Orv提示：";

// Shown (with a warning icon) when no gallery can be opened; the program then ends.
std::string NoGalleryMessage();

// The application folder as a program path without a trailing "\": appDirOption (the
// "--app-dir" value) when not empty, else $ORVBOOK_HOME when set, else the current folder when
// it holds ORVBook.ini or ORVBookLib, else $XDG_DATA_HOME/orvbook (~/.local/share/orvbook),
// created when missing. Nothing, with the reason in error, when a named folder does not exist
// or the user's folder cannot be made.
std::optional<std::string> ResolveAppPath(const std::string& appDirOption, std::string& error);

// Sets AppPath (its trailing "\" removed) and what follows from it and ORVBook.ini: IniPath,
// ToolbarBackPath, DriverType (on the state and its connection), AppTitle and LibPath.
void LoadSettings(ReaderState& state, const std::string& appPath);

// The add-in description files (relative to AppPath): the names listed in orvBookAddin.lst
// whose files exist, in list order; without that list every "*.add" file of AppPath, in
// directory order.
std::vector<std::string> CollectAddins(const std::string& appPath);

// The remembered state after the gallery list is loaded: CurrentGallery, CurrentDirID, SplitW
// and AddinList.
void RestoreState(ReaderState& state);

enum class StartUpResult {
    Ready, // galleries found, state restored: show the main window
    NoGallery, // show NoGalleryMessage() under kStartUpCaption, then end
};

// Settings, gallery list and remembered state in start-up order, for an application folder
// already resolved.
StartUpResult StartUp(ReaderState& state, const std::string& appPath);
// The same, opening a gallery file (a program path; "" for none) as "orvbook FILE.GAL" asks:
// it becomes the current gallery (see AddGalleryFile), on its first directory unless it is
// the remembered gallery. When it is no gallery the start goes on as without it and notice
// says why.
StartUpResult StartUp(
    ReaderState& state, const std::string& appPath, const std::string& galleryFile, std::string& notice);

// Writes CurrectGallery, ActiveDirID, SplitW and TabIndex to ORVBook.ini in one replacement
// of the file; false when it could not be written (the old file is then as it was). A gallery
// opened for this run only leaves the remembered gallery and directory as they were.
bool SaveState(const ReaderState& state);

// What happens once the user has confirmed that the program closes: the temporary folder is
// deleted, the gallery connection closed and the remembered state written back. False when the state could
// not be written.
bool ShutDown(ReaderState& state);

} // namespace orv

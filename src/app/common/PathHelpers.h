#pragma once
// Path splitting, folder creation and removal, and the private temporary folder. Paths are
// program paths ("\" separates); see platform/Paths.h for the conversion to native ones.

#include <string>
#include <string_view>

namespace orv {

// The text before the last backslash; "" when there is none.
std::string GetFolderPart(std::string_view path);
// The text after the last backslash, cut before its last ".".
std::string GetBaseName(std::string_view path);
// The text after the last "." of the whole path (so "C:\a.d\readme" gives "d\readme").
std::string GetExtension(std::string_view path);

// Creates every missing level of the folder path. A path with no backslash creates nothing;
// an absolute path ("\home\u\a") starts at the root.
void CreateFolderPath(std::string_view path);

// Deletes the folder with everything below it; true when the folder itself was removed.
// Symbolic links are removed, never followed.
bool DeleteFolderTree(std::string_view path);

// The private temporary folder ("...\ORVTemp", no trailing backslash), created with mode 0700:
// $XDG_RUNTIME_DIR/ORVTemp when that is a writable folder, else
// $XDG_CACHE_HOME/orvbook/ORVTemp (~/.cache/orvbook/ORVTemp).
std::string GetTempFolder();

// The user's cache folder for this program ($XDG_CACHE_HOME/orvbook or ~/.cache/orvbook),
// as a program path; not created.
std::string GetCacheFolder();

}  // namespace orv

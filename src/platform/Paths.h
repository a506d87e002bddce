#pragma once
// Program paths are written the Windows way ("\home\u\gallery\A12.HTZ"); these functions
// turn them into the native paths the OS opens, and back. Gallery data names the same file
// in different letter case in different places, so every component that does not exist as
// written is matched against its folder's entries without regard to ASCII case.

#include <string>
#include <string_view>
#include <vector>

namespace orv::platform {

// "\" and "/" both separate. A component that is missing as written resolves to the first
// entry (in byte order) that equals it without regard to ASCII case; a component with no
// such entry, and every one after it, stays as written (so a path to create keeps its name).
// "." and ".." are collapsed by text first (CollapseDots), as Windows does; a path holding a
// NUL names no file and gives "".
std::string NativePath(std::string_view programPath);

// "." and ".." components removed by text, as Windows does before it opens a path: ".."
// drops the component before it, never above the root ("\a\..\.." is "\"), a drive ("C:")
// or a UNC share ("\\server\share"); a relative path keeps its leading ".." and collapses to
// "." when nothing is left. Both separators are read, "\" is written, a trailing one stays.
std::string CollapseDots(std::string_view path);

// The reverse: "/" becomes "\" ("/home/u/x" is "\home\u\x").
std::string ProgramPath(std::string_view nativePath);

bool FileExists(std::string_view programPath);    // a regular file (after resolving)
bool FolderExists(std::string_view programPath);  // a folder (after resolving)
bool PathExists(std::string_view programPath);    // either

struct FoundEntry {
    std::string name;  // the name as it is on disk (UTF-8, not a path)
    bool isFolder = false;
};

// Entries of a folder whose names match a pattern with "*" and "?" (ASCII case ignored;
// "*" and "*.*" match every name), sorted by name in byte order, "." and ".." left out.
// A missing or unreadable folder gives nothing.
std::vector<FoundEntry> FindEntries(std::string_view programFolder, std::string_view pattern);
// The same, regular files only, as names.
std::vector<std::string> FindFiles(std::string_view programFolder, std::string_view pattern);

bool MatchesPattern(std::string_view name, std::string_view pattern);
bool EqualsNoCase(std::string_view a, std::string_view b);  // ASCII letters folded only
std::string ToLowerAscii(std::string_view text);

// "file:///home/u/a%20b.htm" -> "\home\u\a b.htm"; "" when the text is not a local file URL,
// or when a component decodes to a NUL, "/" or "\" (it would name another file).
std::string FileUrlToPath(std::string_view url);
// A program path, resolved on disk, as a percent-encoded file URL.
std::string PathToFileUrl(std::string_view programPath);

std::string PercentDecode(std::string_view text);

}  // namespace orv::platform

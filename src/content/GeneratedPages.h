#pragma once
// The pages the content panel writes itself into the temporary folder: the picture page
// (ORVBookDefault.htm, a picture centred with a framed border) and the redirect page
// (Redirect.htm, whose script goes to a page at an anchor, so the view opens scrolled to it).
// Addresses in them are percent-encoded file URLs, so no name can break out of the attribute
// or the script string it stands in. Both are GB18030 text ("charset=gb2312").

#include <string>
#include <string_view>
#include <vector>

namespace orv {

inline constexpr const char* kDefaultPageName = "ORVBookDefault.htm";
inline constexpr const char* kRedirectPageName = "Redirect.htm";
// The PNG a metafile picture is rendered into for the picture page (browser/MetafileRenderer.h).
inline constexpr const char* kMetafilePictureName = "ORVBookPicture.png";

// The 28 lines of the picture page. wholePage: the picture is fitted to the page height. A
// WMF picture has no reader in the web view: the page names the file instead (the content
// panel passes the PNG rendered from it when it can make one). version, when not empty, goes
// into the picture's address as its query, so a picture rewritten under the same name is not
// taken from the engine's cache.
std::vector<std::string> PicturePageLines(
    const std::string& picturePath, bool wholePage, const std::string& version = std::string());

// The 11 lines of the redirect page going to address (already a URL).
std::vector<std::string> RedirectPageLines(const std::string& address);

// The address the content view loads a program path by: its local-content URL (a file URL
// for a path that has none), percent-encoded, followed by "#" and the encoded anchor (no "#"
// when the anchor is empty). Generated pages name their targets so: a page of the view's own
// scheme may not load file URLs.
std::string PageUrlWithAnchor(const std::string& path, std::string_view anchor);

// Replaces tempFolder\name at once (the old file or the new one, never half of either), the
// lines each ended by "\n" and written as GB18030. False when name is not a single name,
// when the entry is a link or not a regular file, or when the write fails.
bool WriteTempPage(
    const std::string& tempFolder, const std::string& name, const std::vector<std::string>& lines);
// The same with bytes as they are.
bool WriteTempFile(const std::string& tempFolder, const std::string& name, std::string_view bytes);

// Writes tempFolder\Redirect.htm going to path#anchor; its path, or "" when it could not be
// written.
std::string WriteRedirect(const std::string& tempFolder, const std::string& path, std::string_view anchor);

} // namespace orv

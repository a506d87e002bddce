#pragma once
// Content keys: what the content panel shows for a directory. A key is one of
//   a package page  <folder>\<package title>(<page title>).htz  (member <page title>.htm of
//                   <folder>\<package title>.HTZ),
//   a picture       a path ending in .jpg, .gif, .wmf, .png or .bmp (any letter case),
//   a page          any other path, possibly followed by "#" and an anchor,
//   the home page   the empty key, or AppPath\HomePage\Index.htm.
// A directory whose page cannot be had falls back to the gallery's about.htm, else the home
// page.

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class CAdoConnection;
struct ReaderState;

enum class ContentKeyKind { PackagePage, Picture, Page, About, Home };

// "package", "picture", "page", "about" or "home".
const char* ContentKeyKindName(ContentKeyKind kind);

// The value of a gallery option (GallerySet.ParaValue of ParaName = name); false when the
// query fails or finds no row.
bool ReadGallerySetting(const CAdoConnection& connection, const std::string& name, std::string& value);

// The open gallery's database file without its extension ("\lib\Mech.gal" gives "\lib\Mech");
// "" with no gallery.
std::string GalleryRoot(const ReaderState& state);
// AppPath + "\HomePage\Index.htm".
std::string HomePagePath(const std::string& appPath);

// The content key of a directory (CurrentPage picks among its DrawingDirFiles pages);
// compressed tells whether it names a package page. With no gallery open the key is empty
// (the home page).
void GetDirectoryContent(const ReaderState& state, std::int32_t dirId, std::string& key, bool& compressed);

// What a key names. About: the open gallery's about.htm.
ContentKeyKind KindOfContentKey(const ReaderState& state, std::string_view key);

// Splits a package key at the first "(" of its file name (never of a folder): package =
// the text before it + ".HTZ", page = the text after it without ").htz" + ".htm". False when
// the file name has no "(" past its first character, or when the page is not a single name.
bool SplitPackageKey(std::string_view key, std::string& package, std::string& page);

// A name that stays in the folder it is joined to: not empty, not ".", no "\", "/", ".." or NUL.
bool IsSingleName(std::string_view name);

} // namespace orv

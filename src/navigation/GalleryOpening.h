#pragma once
// Opening one gallery of the installed list: the application's connection is connected to its
// database and the per-gallery state is reset and filled: the tree cache path (the database
// path upper-cased, its ".GAL" replaced by ".Lst"), the four column captions (from the
// GalleryTitle rows Status1, AppClass, FunClass and ShpClass; "内容1" to "内容4" otherwise),
// the navigation history (emptied), the history file (AppPath\<gallery file name>.HIS) and
// whether the gallery has drawings.

namespace orv {

struct ReaderState;

// The caption of the warning shown when a gallery's database does not open.
inline constexpr const char* kOpenGalleryCaption = "打开库";

// Opens gallery s (an index into GalleryFiles). An index outside the list leaves no gallery
// open (and no history file). A database that does not open (tried twice with DriverType 1)
// gives a warning with its path under kOpenGalleryCaption; DatabaseOpen then stays false, the
// history file path is set all the same.
void OpenGallery(ReaderState& state, int s);

} // namespace orv

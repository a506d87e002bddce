#pragma once
// A generated gallery of any size with Chinese names, memos, NULLs and every table filled:
// for tests, fuzzing, benchmarks and demonstrations. Without content it is only the database
// (the rows exercise the importer and the statements); with content it is a whole gallery
// the reader can open: a page for every directory (some in packages, some with several page
// files, some given as source content), a slide library of previews per directory, the
// keyword file, and about 2.5 KB of full text per directory.

#include "builder/GalleryManifest.h"

#include <string>
#include <string_view>

namespace orv {

struct SampleGallerySize {
    int Directories = 200;
    int Drawings = 1000;
};

// The generated manifest. Its name is "Sample" unless the caller renames it.
GalleryManifest SampleGalleryManifest(SampleGallerySize size, bool withContent);

// Writes the generated gallery's database alone, as Access, to a program path; false with
// the reason in error.
bool WriteSampleAccessGallery(std::string_view programPath, std::string_view password, SampleGallerySize size,
    std::string& error);

} // namespace orv

#pragma once
// Galleries for tests: a manifest built with the gallery builder (SQLite form, the fastest)
// into a temporary folder, and rows the builder refuses on purpose (a directory that is its
// own ancestor, a DirID of 0) written into the database afterwards.

#include "builder/GalleryManifest.h"
#include "support/TestSupport.h"

#include <optional>
#include <string>

namespace orv::test {

// Builds the manifest into folder/<subfolder> and returns the gallery's program path ("" after
// a test failure that names the reason).
std::string BuildSqliteGallery(
    const TempFolder& folder, const GalleryManifest& manifest, const std::string& subfolder = "lib");

// Runs statements on a gallery database (SQLite form) that no connection holds open; a failing
// statement fails the test.
void ExecGallerySql(const std::string& galleryPath, const std::string& sql);

// A directory row in the manifest's friendly form, shown in the order of its id unless visible
// says otherwise; content and the other texts stay NULL.
ManifestDirectory MakeDirectory(std::int32_t id, std::int32_t parent, std::int32_t spec, OptText name,
    int type = 0, std::optional<std::int32_t> visible = std::nullopt);

} // namespace orv::test

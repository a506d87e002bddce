#pragma once
// The rows a manifest puts into each gallery table, in the table order and column order of
// GalleryJetTables(), with the manifest's defaults filled in (orders from positions, a
// drawing's speciality and folder from its directory). Both database forms are written from
// these rows.

#include "builder/GalleryManifest.h"
#include "database/jet/JetTable.h"

#include <vector>

namespace orv {

// One list of rows per table of GalleryJetTables(). The manifest must have passed
// CheckGalleryManifest (references resolve).
std::vector<std::vector<JetRow>> GalleryRows(const GalleryManifest& manifest);

} // namespace orv

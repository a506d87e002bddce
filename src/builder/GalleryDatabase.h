#pragma once
// The database of a built gallery. The rows a manifest puts into each gallery table, in the table order and column order of
// GalleryJetTables(), with the manifest's defaults filled in (orders from positions, a
// drawing's speciality and folder from its directory). Both database forms are written from
// these rows.

#include "builder/GalleryManifest.h"
#include "database/jet/JetTable.h"

#include <string>
#include <vector>

namespace orv {

// One list of rows per table of GalleryJetTables(). A drawing whose directory is missing
// keeps its own speciality (0 when it has none) and no folder.
std::vector<std::vector<JetRow>> GalleryRows(const GalleryManifest& manifest);

// Writes the rows as a new database file at a program path: Access (Jet 4, with the
// password) or SQLite. An existing file is replaced. False with the reason.
bool WriteGalleryDatabase(const GalleryManifest& manifest, const std::vector<std::vector<JetRow>>& rows,
    const std::string& path, bool sqlite, const std::string& password, std::string& error);

} // namespace orv

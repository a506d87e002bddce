#pragma once
// The gallery database's tables and columns as SQLite DDL, the one description that tests,
// the gallery builder and `orvtool gallery schema` create galleries from. Text columns
// compare without regard to case as Jet's do; numbers are INTEGER or REAL wherever
// statements compare them with unquoted numbers. IndexDirID stays text: galleries store the
// directory id there as written text.

#include "database/jet/JetTable.h"

#include <string>
#include <vector>

struct sqlite3;

namespace orv {

// CREATE TABLE statements for every gallery table and CREATE INDEX statements for the key
// columns that statements join and filter on, separated by ";\n".
const std::string& GallerySchemaSql();

// Creates the tables in an open database; false with the reason in error on failure.
bool CreateGallerySchema(sqlite3* db, std::string& error);

// Writes an empty gallery (the schema, no rows) to a native path, replacing any file there
// only once the new one is complete.
bool WriteEmptyGallery(const std::string& nativePath, std::string& error);

// The gallery tables as Access declares them, in the same order and with the same columns as
// the DDL: texts as Text (keyword lists as Memo), the 16-bit columns as Integer, the other
// integers as Long, reals as Double.
std::vector<JetTableDef> GalleryJetTables();

}  // namespace orv

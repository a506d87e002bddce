#pragma once
// Access galleries are read through an SQLite copy of their tables. The copy lives in
// GetCacheFolder() + "\galleries", named after the gallery's full path and keyed by that
// path, the file's size and modification time and the importer's version, so a changed
// gallery is imported again and an unchanged one is reused. A copy is written under a
// temporary name and renamed when complete: a crash never leaves a half copy under the real
// name. When the cache folder cannot be written, the import goes to an in-memory database.
//
// The Jet 4 database password is checked before anything is read, also when a fresh copy
// exists. Jet 3 (Access 97) files open with any password: their password field is not
// decoded.
//
// Entry point for callers and tools: ImportAccessGallery(path, password[, options]).

#include "database/ImportTable.h"
#include "database/SqliteHandle.h"

#include <functional>
#include <string>
#include <string_view>

namespace orv {

// Bump when the copy's layout or conversions change: old copies are then imported again.
constexpr int kAccessImporterVersion = 2;

// Reads the tables of the Access file at a native path into the sink; false with the reason
// in error, and sinkFailed true when the sink (the writer) was the one that stopped.
using AccessTableSource = std::function<bool(const std::string& nativePath, int version,
                                             std::uint16_t codePage, TableSink& sink,
                                             std::string& error, bool& sinkFailed)>;

struct AccessImportOptions {
    std::string cacheFolder;    // program path; "" means GetCacheFolder() + "\galleries"
    AccessTableSource source;   // empty means libmdb (CAccessTableReader)
};

struct AccessImportResult {
    bool ok = false;
    std::string error;          // why it failed, for the user
    std::string copyPath;       // program path of the SQLite copy ("" when in memory)
    bool reused = false;        // a fresh copy was found and nothing was imported
    bool inMemory = false;      // the cache was not writable: memoryDb holds the tables
    SqliteHandle memoryDb;
};

// Makes (or reuses) the SQLite copy of the Access gallery at a program path.
AccessImportResult ImportAccessGallery(std::string_view galleryPath, std::string_view password);
AccessImportResult ImportAccessGallery(std::string_view galleryPath, std::string_view password,
                                       const AccessImportOptions& options);

// The cache file name for a gallery in its current state (for tests and tools).
std::string AccessCopyName(const std::string& nativePath, std::uint64_t size, std::int64_t mtimeNs);

}  // namespace orv

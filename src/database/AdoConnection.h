#pragma once
// The connection to one gallery database. A gallery is either an SQLite file, opened
// read-only as it is, or an Access (Jet 3 / Jet 4) file, which is imported once into an
// SQLite copy in the user's cache folder (see GalleryImport.h) and read from there. Every
// failure to open shows its reason under the caption "Open_Connection" and returns -1.

#include "database/JetDialect.h"
#include "database/SqliteHandle.h"

#include <string>

struct sqlite3;

namespace orv {

// The password every gallery database is opened with.
inline constexpr const char* kGalleryPassword = "qvelb7381";

class CAdoConnection {
public:
    CAdoConnection();
    virtual ~CAdoConnection();
    CAdoConnection(const CAdoConnection&) = delete;
    CAdoConnection& operator=(const CAdoConnection&) = delete;

    // 0 when the gallery at the program path is open, -1 (after a message) when it is not.
    // The password is checked against an Access file that carries one; a file without one
    // opens with any password, as Jet does.
    int ConnectDatabase(const std::string& path, const std::string& password);
    void CloseConnection();
    bool IsConnected() const;
    // The open database, or null.
    sqlite3* GetConnection() const;

    // The reason the last ConnectDatabase failed ("" after a success).
    const std::string& LastError() const { return m_lastError; }
    // The text columns of the open database, for the Jet dialect translation.
    const TextColumnCatalog& TextColumns() const { return m_textColumns; }

    // Copied from the settings by the caller: 1 makes callers retry a failed open once.
    int DriverType = 0;

private:
    int Fail(const std::string& reason);

    SqliteHandle m_db;
    TextColumnCatalog m_textColumns;
    std::string m_lastError;
};

}  // namespace orv

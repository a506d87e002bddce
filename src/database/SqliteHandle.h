#pragma once
// Owning handles for SQLite connections and statements, so every early return closes them.

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace orv {

struct SqliteCloser {
    void operator()(sqlite3* db) const;
};
struct SqliteFinalizer {
    void operator()(sqlite3_stmt* statement) const;
};

using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// Opens a database at a native path (or ":memory:") with the given SQLITE_OPEN_* flags; on
// failure the handle is empty and error says why.
SqliteHandle OpenSqlite(const std::string& nativePath, int flags, std::string& error);

// Runs statements that return no rows; false with the reason in error on failure.
bool ExecSqlite(sqlite3* db, const std::string& sql, std::string& error);

}  // namespace orv

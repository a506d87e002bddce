#include "database/SqliteHandle.h"

#include <sqlite3.h>

namespace orv {

void SqliteCloser::operator()(sqlite3* db) const
{
    sqlite3_close_v2(db);
}

void SqliteFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

SqliteHandle OpenSqlite(const std::string& nativePath, int flags, std::string& error)
{
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(nativePath.c_str(), &raw, flags, nullptr);
    SqliteHandle db(raw);
    if (rc != SQLITE_OK) {
        error = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
        return SqliteHandle();
    }
    sqlite3_extended_result_codes(raw, 1);
    return db;
}

bool ExecSqlite(sqlite3* db, const std::string& sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        error = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        return false;
    }
    return true;
}

}  // namespace orv

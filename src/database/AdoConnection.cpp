#include "database/AdoConnection.h"

#include "database/GalleryImport.h"
#include "database/jet/JetHeader.h"
#include "platform/Files.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orv {
namespace {

// Opening is lazy in SQLite: read the schema now, so a damaged file fails here and not on
// the first statement.
bool CheckReadable(sqlite3* db, std::string& error)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    SqliteStatement statement(raw);
    if (sqlite3_step(raw) != SQLITE_ROW) {
        error = sqlite3_errmsg(db);
        return false;
    }
    return true;
}

}  // namespace

CAdoConnection::CAdoConnection() = default;

CAdoConnection::~CAdoConnection()
{
    CloseConnection();
}

int CAdoConnection::Fail(const std::string& reason)
{
    m_lastError = reason;
    platform::ShowMessage(reason, "Open_Connection", platform::MessageKind::Warning);
    return -1;
}

int CAdoConnection::ConnectDatabase(const std::string& path, const std::string& password)
{
    CloseConnection();
    m_lastError.clear();
    const std::string native = platform::NativePath(path);
    struct stat st;
    if (native.empty() || ::stat(native.c_str(), &st) != 0)
        return Fail("找不到数据库文件 " + path);
    if (!S_ISREG(st.st_mode))
        return Fail(path + " 不是数据库文件");
    const std::string head = platform::ReadNativeFileHead(native, 32).value_or(std::string());

    SqliteHandle db;
    std::string error;
    if (LooksLikeSqliteFile(head)) {
        db = OpenSqlite(native, SQLITE_OPEN_READONLY, error);
        if (!db || !CheckReadable(db.get(), error))
            return Fail("数据库文件已损坏（" + error + "）：" + path);
    } else if (LooksLikeAccessFile(head)) {
        // A reused copy that no longer opens (damaged on disk) is dropped and made again.
        for (int attempt = 0; attempt < 2 && !db; ++attempt) {
            AccessImportResult imported = ImportAccessGallery(path, password);
            if (!imported.ok)
                return Fail(imported.error);
            if (imported.inMemory) {
                db = std::move(imported.memoryDb);
                break;
            }
            const std::string copy = platform::NativePath(imported.copyPath);
            db = OpenSqlite(copy, SQLITE_OPEN_READONLY, error);
            if (db && CheckReadable(db.get(), error))
                break;
            db.reset();
            if (!imported.reused)
                break;
            ::unlink(copy.c_str());
        }
        if (!db)
            return Fail("无法打开数据库副本（" + error + "）：" + path);
    } else {
        return Fail(path + " 不是图库数据库（既不是 Access 也不是 SQLite 文件）");
    }
    m_textColumns = ReadTextColumns(db.get());
    m_db = std::move(db);
    return 0;
}

void CAdoConnection::CloseConnection()
{
    m_db.reset();
    m_textColumns = TextColumnCatalog();
}

bool CAdoConnection::IsConnected() const
{
    return m_db != nullptr;
}

sqlite3* CAdoConnection::GetConnection() const
{
    return m_db.get();
}

}  // namespace orv

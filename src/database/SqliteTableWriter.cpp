#include "database/SqliteTableWriter.h"

#include "platform/Paths.h"

#include <sqlite3.h>

namespace orv {

CSqliteTableWriter::CSqliteTableWriter(sqlite3* db) : m_db(db) {}

CSqliteTableWriter::~CSqliteTableWriter()
{
    m_insert.reset();
    if (m_inTransaction)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

const char* CSqliteTableWriter::ColumnDeclaration(ImportColumnType type)
{
    switch (type) {
    case ImportColumnType::Integer:
        return "INTEGER";
    case ImportColumnType::Real:
        return "REAL";
    case ImportColumnType::Text:
        return "TEXT COLLATE NOCASE";
    case ImportColumnType::Memo:
    case ImportColumnType::DateTime:
        return "TEXT";
    case ImportColumnType::Blob:
        return "BLOB";
    }
    return "TEXT";
}

std::string CSqliteTableWriter::QuoteIdentifier(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        out.push_back(c);
        if (c == '"')
            out.push_back('"');
    }
    out.push_back('"');
    return out;
}

bool CSqliteTableWriter::Fail(const std::string& what)
{
    m_error = what + ": " + sqlite3_errmsg(m_db);
    return false;
}

bool CSqliteTableWriter::Begin()
{
    if (!m_db) {
        m_error = "no database";
        return false;
    }
    if (sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail("cannot start the import");
    m_inTransaction = true;
    return true;
}

bool CSqliteTableWriter::BeginTable(const ImportTableDef& table)
{
    m_insert.reset();
    m_table = table;
    if (table.columns.empty()) {
        m_error = "table " + table.name + " has no columns";
        return false;
    }
    std::string create = "CREATE TABLE " + QuoteIdentifier(table.name) + " (";
    std::string insert = "INSERT INTO " + QuoteIdentifier(table.name) + " VALUES (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (i) {
            create += ", ";
            insert += ", ";
        }
        create += QuoteIdentifier(table.columns[i].name) + " " + ColumnDeclaration(table.columns[i].type);
        insert += "?";
    }
    create += ")";
    insert += ")";
    if (sqlite3_exec(m_db, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail("cannot create table " + table.name);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db, insert.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        return Fail("cannot prepare the rows of " + table.name);
    m_insert.reset(raw);
    return true;
}

bool CSqliteTableWriter::AddRow(const std::vector<DbValue>& row)
{
    sqlite3_stmt* statement = m_insert.get();
    if (!statement || row.size() != m_table.columns.size()) {
        m_error = "row does not match table " + m_table.name;
        return false;
    }
    sqlite3_reset(statement);
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const DbValue& value = row[i];
        int rc = SQLITE_OK;
        switch (value.kind) {
        case DbValue::Kind::Null:
            rc = sqlite3_bind_null(statement, index);
            break;
        case DbValue::Kind::Integer:
            rc = sqlite3_bind_int64(statement, index, value.integer);
            break;
        case DbValue::Kind::Real:
            rc = sqlite3_bind_double(statement, index, value.real);
            break;
        case DbValue::Kind::Text:
            rc = sqlite3_bind_text64(statement, index, value.bytes.data(), value.bytes.size(), SQLITE_STATIC,
                                     SQLITE_UTF8);
            break;
        case DbValue::Kind::Blob:
            rc = sqlite3_bind_blob64(statement, index, value.bytes.data(), value.bytes.size(), SQLITE_STATIC);
            break;
        }
        if (rc != SQLITE_OK)
            return Fail("cannot store a row of " + m_table.name);
    }
    if (sqlite3_step(statement) != SQLITE_DONE)
        return Fail("cannot store a row of " + m_table.name);
    sqlite3_clear_bindings(statement);
    return true;
}

bool CSqliteTableWriter::EndTable()
{
    m_insert.reset();
    for (const ImportColumn& column : m_table.columns) {
        const std::string lower = platform::ToLowerAscii(column.name);
        if (lower.size() < 2 || lower.compare(lower.size() - 2, 2, "id") != 0)
            continue;
        const std::string index = QuoteIdentifier("orv_" + m_table.name + "_" + column.name);
        const std::string sql = "CREATE INDEX " + index + " ON " + QuoteIdentifier(m_table.name) + " (" +
                                QuoteIdentifier(column.name) + ")";
        // An index only speeds up lookups; a name clash must not cost the import.
        sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    return true;
}

bool CSqliteTableWriter::Commit()
{
    if (!m_inTransaction) {
        m_error = "no import in progress";
        return false;
    }
    // Statistics let the planner prefer the selective index in the gallery joins (DirID over
    // SpecID); without them it may walk a whole speciality for every drawing.
    sqlite3_exec(m_db, "ANALYZE", nullptr, nullptr, nullptr);
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail("cannot finish the import");
    m_inTransaction = false;
    return true;
}

}  // namespace orv

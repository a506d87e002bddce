#pragma once
// The writing half of the Access import: creates each table in an SQLite database and
// inserts its rows, the whole import in one transaction (Commit makes it visible; a writer
// destroyed without Commit rolls everything back). Columns whose name ends in "ID" get an
// index, since every gallery statement joins or filters on them, and the copy is analysed so
// the planner knows which of them are selective.

#include "database/ImportTable.h"
#include "database/SqliteHandle.h"

#include <string>

struct sqlite3;

namespace orv {

class CSqliteTableWriter : public TableSink {
public:
    explicit CSqliteTableWriter(sqlite3* db);
    ~CSqliteTableWriter() override;
    CSqliteTableWriter(const CSqliteTableWriter&) = delete;
    CSqliteTableWriter& operator=(const CSqliteTableWriter&) = delete;

    bool Begin();
    bool BeginTable(const ImportTableDef& table) override;
    bool AddRow(const std::vector<DbValue>& row) override;
    bool EndTable() override;
    bool Commit();
    const std::string& Error() const override { return m_error; }

    // The SQLite column declaration for an imported column type.
    static const char* ColumnDeclaration(ImportColumnType type);
    // "name" with its double quotes doubled.
    static std::string QuoteIdentifier(const std::string& name);

private:
    bool Fail(const std::string& what);

    sqlite3* m_db;
    bool m_inTransaction = false;
    ImportTableDef m_table;
    SqliteStatement m_insert;
    std::string m_error;
};

}  // namespace orv

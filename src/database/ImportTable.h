#pragma once
// The neutral form in which an Access table travels from the reader (libmdb) to the writer
// (SQLite): a definition, then its rows one at a time, so a large table is never held whole.

#include "database/DbValue.h"

#include <string>
#include <vector>

namespace orv {

// Access column types as the copy keeps them: Long, Integer, Byte and Boolean are Integer;
// Single, Double, Currency and Decimal are Real; Text is Text (compared without regard to
// case, as Jet does); Memo is Memo; DateTime is Text in ISO 8601; OLE and Binary are Blob.
enum class ImportColumnType { Integer, Real, Text, Memo, DateTime, Blob };

struct ImportColumn {
    std::string name;
    ImportColumnType type = ImportColumnType::Text;
    int accessType = 0;  // the Access type code (libmdb's MDB_*) when read from Access, else 0
};

struct ImportTableDef {
    std::string name;
    std::vector<ImportColumn> columns;
};

// Receives the tables. Each call returns false (with the reason in Error()) to stop the
// import, for example when the disk is full.
class TableSink {
public:
    virtual ~TableSink() = default;
    virtual bool BeginTable(const ImportTableDef& table) = 0;
    // One value per column of the current table, in column order.
    virtual bool AddRow(const std::vector<DbValue>& row) = 0;
    virtual bool EndTable() = 0;
    virtual const std::string& Error() const = 0;
};

}  // namespace orv

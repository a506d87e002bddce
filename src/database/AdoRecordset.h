#pragma once
// The result of one statement on a gallery connection, read row by row with conversions.
// OpenSql materialises the whole result (a static cursor): GetRecordCount is exact and moves
// never fail. Columns are found by name without regard to ASCII case; the first column of
// that name wins. A getter on a closed recordset, at the end, on an unknown column or on a
// value that does not convert returns its start value ("", 0.0, 0).

#include "database/DbValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

class CAdoConnection;

class CAdoRecordset {
public:
    CAdoRecordset() = default;
    virtual ~CAdoRecordset() = default;
    CAdoRecordset(const CAdoRecordset&) = delete;
    CAdoRecordset& operator=(const CAdoRecordset&) = delete;

    // 0 when the statement ran, 1 (silently) when it failed or the connection is not open.
    // A previous result is closed first. Statements are written in the Jet dialect.
    int OpenSql(const std::string& sql, const CAdoConnection& connection);
    bool IsOpen() const { return m_open; }
    bool IsBOF() const;
    bool IsEOF() const;
    bool MoveFirst();
    bool MoveNext();
    std::int32_t GetRecordCount() const;

    std::string GetString(const std::string& column) const;
    double GetDouble(const std::string& column) const;
    std::int32_t GetShort(const std::string& column) const;
    std::int32_t GetLong(const std::string& column) const;
    void Close();

    // For tools: the result's column names in order, and the raw value of the current row
    // (nothing when closed, at the end or past the last column).
    const std::vector<std::string>& ColumnNames() const { return m_columns; }
    std::optional<DbValue> Value(std::size_t columnIndex) const;

private:
    // One field of the result, 16 bytes; texts and blobs live in m_bytes. A whole table can
    // be a result (the opening check reads every drawing), so fields are kept compact.
    struct Cell {
        DbValue::Kind kind = DbValue::Kind::Null;
        std::uint32_t length = 0;
        union {
            std::int64_t integer = 0;
            double real;
            std::uint64_t offset;
        };
    };

    std::optional<DbValue> Find(const std::string& column) const;

    bool m_open = false;
    std::vector<std::string> m_columns;
    std::unordered_map<std::string, std::size_t> m_columnIndex;  // lower-case name -> index
    std::vector<Cell> m_cells;                                   // row-major
    std::string m_bytes;
    std::size_t m_rowCount = 0;
    std::size_t m_position = 0;
};

}  // namespace orv

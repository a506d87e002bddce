#include "database/AdoRecordset.h"

#include "database/AdoConnection.h"
#include "database/JetDialect.h"
#include "database/SqliteHandle.h"
#include "platform/Paths.h"

#include <sqlite3.h>

namespace orv {
namespace {

}  // namespace

int CAdoRecordset::OpenSql(const std::string& sql, const CAdoConnection& connection)
{
    Close();
    sqlite3* db = connection.GetConnection();
    if (!db)
        return 1;
    const std::string translated = TranslateJetSql(sql, connection.TextColumns());
    sqlite3_stmt* raw = nullptr;
    const int length = static_cast<int>(translated.size()) + 1;
    if (sqlite3_prepare_v2(db, translated.c_str(), length, &raw, nullptr) != SQLITE_OK || !raw)
        return 1;
    SqliteStatement statement(raw);
    // Galleries are only read; an in-memory import must not be changed behind its source.
    if (!sqlite3_stmt_readonly(raw))
        return 1;
    const int columnCount = sqlite3_column_count(raw);
    std::vector<std::string> columns;
    std::unordered_map<std::string, std::size_t> index;
    for (int c = 0; c < columnCount; ++c) {
        const char* name = sqlite3_column_name(raw, c);
        columns.emplace_back(name ? name : "");
        index.emplace(platform::ToLowerAscii(columns.back()), static_cast<std::size_t>(c));  // first wins
    }
    std::vector<Cell> cells;
    std::string bytes;
    std::size_t rows = 0;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (int c = 0; c < columnCount; ++c) {
            Cell& cell = cells.emplace_back();
            const int type = sqlite3_column_type(raw, c);
            if (type == SQLITE_INTEGER) {
                cell.kind = DbValue::Kind::Integer;
                cell.integer = sqlite3_column_int64(raw, c);
            } else if (type == SQLITE_FLOAT) {
                cell.kind = DbValue::Kind::Real;
                cell.real = sqlite3_column_double(raw, c);
            } else if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
                const void* data = type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(raw, c))
                                                       : sqlite3_column_blob(raw, c);
                const auto length = static_cast<std::size_t>(sqlite3_column_bytes(raw, c));
                if (length > 0xFFFFFFFFu)
                    return 1;
                cell.kind = type == SQLITE_TEXT ? DbValue::Kind::Text : DbValue::Kind::Blob;
                cell.offset = bytes.size();
                cell.length = static_cast<std::uint32_t>(length);
                if (data)
                    bytes.append(static_cast<const char*>(data), length);
                else
                    cell.length = 0;
            }
        }
        ++rows;
    }
    if (rc != SQLITE_DONE)
        return 1;
    m_columns = std::move(columns);
    m_columnIndex = std::move(index);
    m_cells = std::move(cells);
    m_bytes = std::move(bytes);
    m_rowCount = rows;
    m_position = 0;
    m_open = true;
    return 0;
}

bool CAdoRecordset::IsBOF() const
{
    // Only an empty result starts before its first row; the cursor never moves backwards.
    return m_open && m_rowCount == 0;
}

bool CAdoRecordset::IsEOF() const
{
    return m_open && m_position >= m_rowCount;
}

bool CAdoRecordset::MoveFirst()
{
    if (!m_open || IsBOF())
        return false;
    m_position = 0;
    return true;
}

bool CAdoRecordset::MoveNext()
{
    if (!m_open || IsEOF())
        return false;
    ++m_position;
    return true;
}

std::int32_t CAdoRecordset::GetRecordCount() const
{
    if (!m_open)
        return 0;
    return m_rowCount > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(m_rowCount);
}

std::optional<DbValue> CAdoRecordset::Value(std::size_t columnIndex) const
{
    if (!m_open || m_position >= m_rowCount || columnIndex >= m_columns.size())
        return std::nullopt;
    const Cell& cell = m_cells[m_position * m_columns.size() + columnIndex];
    switch (cell.kind) {
    case DbValue::Kind::Integer:
        return DbValue::MakeInteger(cell.integer);
    case DbValue::Kind::Real:
        return DbValue::MakeReal(cell.real);
    case DbValue::Kind::Text:
        return DbValue::MakeText(m_bytes.substr(cell.offset, cell.length));
    case DbValue::Kind::Blob:
        return DbValue::MakeBlob(m_bytes.substr(cell.offset, cell.length));
    default:
        return DbValue::MakeNull();
    }
}

std::optional<DbValue> CAdoRecordset::Find(const std::string& column) const
{
    if (!m_open)
        return std::nullopt;
    auto it = m_columnIndex.find(platform::ToLowerAscii(column));
    if (it == m_columnIndex.end())
        return std::nullopt;
    return Value(it->second);
}

std::string CAdoRecordset::GetString(const std::string& column) const
{
    const std::optional<DbValue> value = Find(column);
    if (!value)
        return std::string();
    return ConvertToText(*value).value_or(std::string());
}

double CAdoRecordset::GetDouble(const std::string& column) const
{
    const std::optional<DbValue> value = Find(column);
    return value ? ConvertToDouble(*value).value_or(0.0) : 0.0;
}

std::int32_t CAdoRecordset::GetShort(const std::string& column) const
{
    const std::optional<DbValue> value = Find(column);
    return value ? ConvertToInt16(*value).value_or(0) : 0;
}

std::int32_t CAdoRecordset::GetLong(const std::string& column) const
{
    const std::optional<DbValue> value = Find(column);
    return value ? ConvertToInt32(*value).value_or(0) : 0;
}

void CAdoRecordset::Close()
{
    m_open = false;
    m_columns.clear();
    m_columnIndex.clear();
    m_cells.clear();
    m_bytes.clear();
    m_rowCount = 0;
    m_position = 0;
}

}  // namespace orv

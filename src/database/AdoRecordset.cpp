#include "database/AdoRecordset.h"

#include "database/AdoConnection.h"
#include "database/JetDialect.h"
#include "database/SqliteHandle.h"
#include "platform/Paths.h"

#include <sqlite3.h>

namespace orv {
namespace {

DbValue ReadColumn(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return DbValue::MakeInteger(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return DbValue::MakeReal(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return DbValue::MakeText(std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
    }
    case SQLITE_BLOB: {
        const auto* blob = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return DbValue::MakeBlob(std::string(blob ? blob : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
    }
    default:
        return DbValue::MakeNull();
    }
}

}  // namespace

int CAdoRecordset::OpenSql(const std::string& sql, const CAdoConnection& connection)
{
    Close();
    sqlite3* db = connection.GetConnection();
    if (!db)
        return 1;
    const std::string translated = TranslateJetSql(sql, connection.TextColumns());
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, translated.c_str(), static_cast<int>(translated.size()) + 1, &raw, nullptr) != SQLITE_OK ||
        !raw)
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
    std::vector<DbValue> values;
    std::size_t rows = 0;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (int c = 0; c < columnCount; ++c)
            values.push_back(ReadColumn(raw, c));
        ++rows;
    }
    if (rc != SQLITE_DONE)
        return 1;
    m_columns = std::move(columns);
    m_columnIndex = std::move(index);
    m_values = std::move(values);
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

const DbValue* CAdoRecordset::Value(std::size_t columnIndex) const
{
    if (!m_open || m_position >= m_rowCount || columnIndex >= m_columns.size())
        return nullptr;
    return &m_values[m_position * m_columns.size() + columnIndex];
}

const DbValue* CAdoRecordset::Find(const std::string& column) const
{
    if (!m_open)
        return nullptr;
    auto it = m_columnIndex.find(platform::ToLowerAscii(column));
    if (it == m_columnIndex.end())
        return nullptr;
    return Value(it->second);
}

std::string CAdoRecordset::GetString(const std::string& column) const
{
    const DbValue* value = Find(column);
    if (!value)
        return std::string();
    return ConvertToText(*value).value_or(std::string());
}

double CAdoRecordset::GetDouble(const std::string& column) const
{
    const DbValue* value = Find(column);
    return value ? ConvertToDouble(*value).value_or(0.0) : 0.0;
}

std::int32_t CAdoRecordset::GetShort(const std::string& column) const
{
    const DbValue* value = Find(column);
    return value ? ConvertToInt16(*value).value_or(0) : 0;
}

std::int32_t CAdoRecordset::GetLong(const std::string& column) const
{
    const DbValue* value = Find(column);
    return value ? ConvertToInt32(*value).value_or(0) : 0;
}

void CAdoRecordset::Close()
{
    m_open = false;
    m_columns.clear();
    m_columnIndex.clear();
    m_values.clear();
    m_rowCount = 0;
    m_position = 0;
}

}  // namespace orv

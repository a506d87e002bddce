#include "database/AccessTableReader.h"

#include "database/jet/JetFileGuard.h"
#include "database/jet/JetMemo.h"

#include <fcntl.h>
#include <mdbtools.h>
#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace orv {
namespace {

// libmdb cuts text at this size; longer memos are read again whole (WholeMemo).
constexpr std::size_t kBindSize = 256 * 1024;
// An OLE value larger than this is left out (NULL) rather than risk a huge allocation that a
// damaged length field asks for.
constexpr std::size_t kMaxOleBytes = 64 * 1024 * 1024;

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableDefFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

ImportColumnType MapType(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return ImportColumnType::Integer;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return ImportColumnType::Real;
    case MDB_DATETIME:
        return ImportColumnType::DateTime;
    case MDB_MEMO:
        return ImportColumnType::Memo;
    case MDB_OLE:
    case MDB_BINARY:
        return ImportColumnType::Blob;
    default:  // Text, replication ids
        return ImportColumnType::Text;
    }
}

template <typename T>
T ReadLittle(const unsigned char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);  // Jet and our hosts are little-endian
    return value;
}

// A fixed-size value straight from the row on the page, so reals keep every bit (libmdb's
// text form rounds them and follows the locale's decimal point).
bool RawFixed(MdbHandle* mdb, MdbColumn* col, std::size_t size, const unsigned char*& data)
{
    if (col->cur_value_len <= 0 || static_cast<std::size_t>(col->cur_value_len) < size ||
        col->cur_value_start < 0)
        return false;
    const std::size_t start = static_cast<std::size_t>(col->cur_value_start);
    const std::size_t pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    if (pageSize > MDB_PGSIZE || start > pageSize || size > pageSize - start)
        return false;
    data = mdb->pg_buf + start;
    return true;
}

// A memo whose text filled the bind buffer may have been cut by libmdb: read it whole from
// its header and long-value rows.
std::optional<std::string> WholeMemo(MdbHandle* mdb, MdbColumn* col)
{
    const std::size_t pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    if (IS_JET3(mdb) || col->cur_value_start < 0 || col->cur_value_len < MDB_MEMO_OVERHEAD || pageSize > MDB_PGSIZE ||
        static_cast<std::size_t>(col->cur_value_start) + static_cast<std::size_t>(col->cur_value_len) > pageSize)
        return std::nullopt;
    std::string field(reinterpret_cast<const char*>(mdb->pg_buf) + col->cur_value_start,
                      static_cast<std::size_t>(col->cur_value_len));
    return ReadJetMemo(field, [mdb](std::uint32_t pgRow, std::string& row) {
        void* buf = nullptr;
        int start = 0;
        std::size_t length = 0;
        if (pgRow > 0x7FFFFFFF || mdb_find_pg_row(mdb, static_cast<int>(pgRow), &buf, &start, &length) != 0 || !buf ||
            start < 0 || static_cast<std::size_t>(start) + length > static_cast<std::size_t>(mdb->fmt->pg_size))
            return false;
        row.assign(static_cast<const char*>(buf) + start, length);
        return true;
    });
}

// A Single keeps the decimal value Access shows for it (1.1, not the binary
// 1.10000002384185791015625 widened to a double).
double SingleAsShown(float value)
{
    char text[32];
    auto written = std::to_chars(text, text + sizeof text, value);
    double shown = value;
    if (written.ec == std::errc())
        std::from_chars(text, written.ptr, shown);
    return shown;
}

DbValue ConvertValue(MdbHandle* mdb, MdbColumn* col, const char* bound, int boundLen)
{
    const unsigned char* raw = nullptr;
    switch (col->col_type) {
    case MDB_BOOL: {
        const char* yes = mdb->boolean_true_value ? mdb->boolean_true_value : "1";
        // Access stores True as -1.
        return DbValue::MakeInteger(std::strcmp(bound, yes) == 0 ? -1 : 0);
    }
    case MDB_BYTE:
        if (RawFixed(mdb, col, 1, raw))
            return DbValue::MakeInteger(raw[0]);
        break;
    case MDB_INT:
        if (RawFixed(mdb, col, 2, raw))
            return DbValue::MakeInteger(ReadLittle<std::int16_t>(raw));
        break;
    case MDB_LONGINT:
    case MDB_COMPLEX:
        if (RawFixed(mdb, col, 4, raw))
            return DbValue::MakeInteger(ReadLittle<std::int32_t>(raw));
        break;
    case MDB_MONEY:
        if (RawFixed(mdb, col, 8, raw))
            return DbValue::MakeReal(static_cast<double>(ReadLittle<std::int64_t>(raw)) / 10000.0);
        break;
    case MDB_FLOAT:
        if (RawFixed(mdb, col, 4, raw))
            return DbValue::MakeReal(SingleAsShown(ReadLittle<float>(raw)));
        break;
    case MDB_DOUBLE:
        if (RawFixed(mdb, col, 8, raw))
            return DbValue::MakeReal(ReadLittle<double>(raw));
        break;
    case MDB_NUMERIC:
        if (boundLen > 0) {
            if (auto number = ParseDecimalText(bound))
                return DbValue::MakeReal(*number);
            return DbValue::MakeText(bound);
        }
        break;
    case MDB_BINARY:
        if (col->cur_value_len > 0 && col->cur_value_start >= 0) {
            const std::size_t start = static_cast<std::size_t>(col->cur_value_start);
            const std::size_t length = static_cast<std::size_t>(col->cur_value_len);
            const std::size_t pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
            if (pageSize <= MDB_PGSIZE && start <= pageSize && length <= pageSize - start)
                return DbValue::MakeBlob(
                    std::string(reinterpret_cast<const char*>(mdb->pg_buf + start), length));
        }
        break;
    case MDB_OLE:
        if (boundLen > 0) {
            std::size_t size = 0;
            void* data = mdb_ole_read_full(mdb, col, &size);
            DbValue value;
            if (data && size <= kMaxOleBytes)
                value = DbValue::MakeBlob(std::string(static_cast<const char*>(data), size));
            std::free(data);
            return value;
        }
        break;
    case MDB_MEMO:
        if (boundLen > 0 && static_cast<std::size_t>(boundLen) + 8 >= kBindSize) {
            if (std::optional<std::string> whole = WholeMemo(mdb, col))
                return DbValue::MakeText(std::move(*whole));
        }
        if (boundLen > 0)
            return DbValue::MakeText(std::string(bound, std::strlen(bound)));
        break;
    default:
        // Text, Memo, DateTime and replication ids arrive as text. libmdb reports an empty
        // text and a NULL alike; both become NULL, as mdb-export writes them.
        if (boundLen > 0)
            return DbValue::MakeText(std::string(bound, std::strlen(bound)));
        break;
    }
    return DbValue::MakeNull();
}

// libmdb decodes Jet 3 text with the charset named by MDB_JET3_CHARSET (default CP1252) and
// reads it when a file is opened. Chinese galleries need GB18030; a charset the user set
// wins.
void PrepareJet3Charset(int version, std::uint16_t codePage)
{
    static const bool userChoice = std::getenv("MDB_JET3_CHARSET") != nullptr;
    if (version != 0 || userChoice)
        return;
    std::string charset = "GB18030";
    if (codePage != 0 && codePage != 936)
        charset = "CP" + std::to_string(codePage);
    setenv("MDB_JET3_CHARSET", charset.c_str(), 1);
}

}  // namespace

CAccessTableReader::CAccessTableReader(std::string nativePath, int version, std::uint16_t jet3CodePage)
    : m_path(std::move(nativePath)), m_version(version), m_codePage(jet3CodePage)
{
}

bool CAccessTableReader::ReadAll(TableSink& sink, std::string& error, bool& sinkFailed)
{
    sinkFailed = false;
    PrepareJet3Charset(m_version, m_codePage);
    // libmdb loops for minutes or misreads on some damage; the guard refuses such files first.
    CJetFileGuard guard;
    if (!guard.Open(m_path) || !guard.CheckCatalog()) {
        error = "数据库文件已损坏（" + guard.Reason() + "）";
        return false;
    }
    std::unique_ptr<MdbHandle, MdbCloser> mdb(mdb_open(m_path.c_str(), MDB_NOFLAGS));
    if (!mdb) {
        error = "无法读取 Access 数据库";
        return false;
    }
    // libmdb opens the file without close-on-exec; a program started meanwhile must not get it.
    if (mdb->f && mdb->f->stream)
        ::fcntl(::fileno(mdb->f->stream), F_SETFD, FD_CLOEXEC);
    // A page holds at most 256 rows, so a table that yields more rows than the file has room
    // for is walking a cycle of damaged page links: stop instead of looping for ever.
    struct stat st;
    if (::stat(m_path.c_str(), &st) != 0 || st.st_size <= 0) {
        error = "无法读取 Access 数据库";
        return false;
    }
    const std::uint64_t pageSize = m_version == 0 ? 2048 : 4096;
    const std::uint64_t maxRows = (static_cast<std::uint64_t>(st.st_size) / pageSize) * 256;
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_bind_size(mdb.get(), kBindSize);
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        error = "数据库目录已损坏";
        return false;
    }
    // Copy the entries first: reading a table may not touch the catalog, but be safe.
    std::vector<MdbCatalogEntry*> entries;
    for (unsigned i = 0; i < mdb->num_catalog && mdb->catalog && i < mdb->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry && entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            entries.push_back(entry);
    }
    std::vector<std::vector<char>> buffers;
    std::vector<int> lengths;
    for (MdbCatalogEntry* entry : entries) {
        if (entry->table_pg > 0xFFFFFF || !guard.CheckTable(static_cast<std::uint32_t>(entry->table_pg))) {
            error = std::string("数据表 ") + entry->object_name + " 已损坏（" + guard.Reason() + "）";
            return false;
        }
        std::unique_ptr<MdbTableDef, TableDefFreer> table(mdb_read_table(entry));
        if (!table) {
            error = std::string("无法读取数据表 ") + entry->object_name;
            return false;
        }
        if (!mdb_read_columns(table.get()) || !table->columns) {
            error = std::string("数据表 ") + entry->object_name + " 的列定义已损坏";
            return false;
        }
        ImportTableDef def;
        def.name = entry->object_name;
        const unsigned columnCount = table->columns->len;
        buffers.assign(columnCount, std::vector<char>(kBindSize + 1, 0));
        lengths.assign(columnCount, 0);
        std::vector<MdbColumn*> columns;
        for (unsigned c = 0; c < columnCount; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            columns.push_back(col);
            def.columns.push_back({col->name, MapType(col->col_type), col->col_type});
            mdb_bind_column(table.get(), static_cast<int>(c) + 1, buffers[c].data(), &lengths[c]);
        }
        if (!sink.BeginTable(def)) {
            sinkFailed = true;
            error = sink.Error();
            return false;
        }
        mdb_rewind_table(table.get());
        std::vector<DbValue> row(columnCount);
        std::uint64_t rowsRead = 0;
        while (mdb_fetch_row(table.get())) {
            if (++rowsRead > maxRows) {
                error = std::string("数据表 ") + entry->object_name + " 已损坏（行链接成环）";
                return false;
            }
            for (unsigned c = 0; c < columnCount; ++c) {
                buffers[c][kBindSize] = '\0';
                row[c] = ConvertValue(mdb.get(), columns[c], buffers[c].data(), lengths[c]);
            }
            if (!sink.AddRow(row)) {
                sinkFailed = true;
                error = sink.Error();
                return false;
            }
        }
        if (!sink.EndTable()) {
            sinkFailed = true;
            error = sink.Error();
            return false;
        }
    }
    return true;
}

}  // namespace orv

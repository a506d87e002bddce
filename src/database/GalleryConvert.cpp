#include "database/GalleryConvert.h"

#include "database/AccessTableReader.h"
#include "database/jet/Jet4Writer.h"
#include "database/jet/JetHeader.h"
#include "database/jet/JetTableEncoder.h"
#include "database/SqliteHandle.h"
#include "database/SqliteTableWriter.h"
#include "platform/Paths.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace orv {
namespace {

// The gallery columns that the reader reads as 16-bit integers: Access galleries hold them
// as Integer.
constexpr const char* kShortColumns[] = {"DirType", "DirContentCompress", "DriverType", "IsCompressed",
                                         "FieldDataType"};

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool IsShortColumn(const std::string& name)
{
    std::string upper = Upper(name);
    return std::any_of(std::begin(kShortColumns), std::end(kShortColumns),
                       [&](const char* c) { return Upper(c) == upper; });
}

// Counts the rows each table receives on their way to the real sink.
class CountingSink : public TableSink {
public:
    CountingSink(TableSink& inner, GalleryConvertResult& result) : m_inner(inner), m_result(result) {}
    bool BeginTable(const ImportTableDef& table) override
    {
        m_result.Tables.emplace_back(table.name, 0);
        return m_inner.BeginTable(table);
    }
    bool AddRow(const std::vector<DbValue>& row) override
    {
        ++m_result.Tables.back().second;
        return m_inner.AddRow(row);
    }
    bool EndTable() override { return m_inner.EndTable(); }
    const std::string& Error() const override { return m_inner.Error(); }

private:
    TableSink& m_inner;
    GalleryConvertResult& m_result;
};

// Writes the tables into a Jet 4 file.
class JetSink : public TableSink {
public:
    explicit JetSink(CJet4Writer& writer) : m_writer(writer) {}

    bool BeginTable(const ImportTableDef& table) override
    {
        JetTableDef def{table.name, {}};
        for (const ImportColumn& column : table.columns) {
            std::optional<JetColumnType> type = TypeFor(column);
            if (!type) {
                m_error = "column \"" + column.name + "\" of table \"" + table.name +
                          "\" holds binary data, which an Access gallery cannot take here";
                return false;
            }
            def.Columns.push_back({column.name, *type, 255});
        }
        std::optional<int> index = m_writer.AddTable(def);
        if (!index) {
            m_error = m_writer.LastError();
            return false;
        }
        m_table = *index;
        return true;
    }

    bool AddRow(const std::vector<DbValue>& values) override
    {
        m_row.resize(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            const DbValue& v = values[i];
            switch (v.kind) {
            case DbValue::Kind::Null: m_row[i] = JetValue::Null(); break;
            case DbValue::Kind::Integer: m_row[i] = JetValue::FromInt(v.integer); break;
            case DbValue::Kind::Real: m_row[i] = JetValue::FromReal(v.real); break;
            case DbValue::Kind::Text: m_row[i] = JetValue::FromText(v.bytes); break;
            case DbValue::Kind::Blob: m_error = "a binary value cannot be written to an Access gallery"; return false;
            }
        }
        if (!m_writer.AddRow(m_table, m_row)) {
            m_error = m_writer.LastError();
            return false;
        }
        return true;
    }

    bool EndTable() override { return true; }
    const std::string& Error() const override { return m_error; }

private:
    static std::optional<JetColumnType> TypeFor(const ImportColumn& column)
    {
        switch (column.accessType) {
        case kJetBoolean: return JetColumnType::Boolean;
        case kJetByte: return JetColumnType::Byte;
        case kJetInteger: return JetColumnType::Integer;
        case kJetLong:
        case 0x12: return JetColumnType::Long;  // complex-column ids
        case kJetCurrency: return JetColumnType::Currency;
        case kJetSingle: return JetColumnType::Single;
        case kJetDouble:
        case 0x10: return JetColumnType::Double;
        case kJetDateTime: return JetColumnType::DateTime;
        case kJetText:
        case 0x0F: return JetColumnType::Text;  // replication ids arrive as their text
        case kJetMemo: return JetColumnType::Memo;
        case 0x09:
        case kJetOle: return std::nullopt;
        default: break;
        }
        switch (column.type) {
        case ImportColumnType::Integer: return JetColumnType::Long;
        case ImportColumnType::Real: return JetColumnType::Double;
        case ImportColumnType::Text: return JetColumnType::Text;
        case ImportColumnType::Memo: return JetColumnType::Memo;
        case ImportColumnType::DateTime: return JetColumnType::DateTime;
        case ImportColumnType::Blob: return std::nullopt;
        }
        return std::nullopt;
    }

    CJet4Writer& m_writer;
    int m_table = -1;
    JetRow m_row;
    std::string m_error;
};

std::string QuoteName(const std::string& name)
{
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

DbValue ColumnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: return DbValue::MakeInteger(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT: return DbValue::MakeReal(sqlite3_column_double(statement, column));
    case SQLITE_TEXT:
        return DbValue::MakeText(std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                             static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(statement, column);
        return DbValue::MakeBlob(std::string(static_cast<const char*>(data),
                                             static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
    }
    default: return DbValue::MakeNull();
    }
}

// What the values of a column allow, for choosing its Access type.
struct ColumnStats {
    bool AnyText = false, AnyReal = false, AnyBlob = false, AnyInteger = false;
    bool AllInt16 = true, AllInt32 = true, AllDates = true, AnyValue = false;
    std::size_t MaxUnits = 0;

    void Add(const DbValue& v)
    {
        if (v.IsNull())
            return;
        AnyValue = true;
        switch (v.kind) {
        case DbValue::Kind::Integer:
            AnyInteger = true;
            AllInt16 = AllInt16 && v.integer >= -32768 && v.integer <= 32767;
            AllInt32 = AllInt32 && v.integer >= INT32_MIN && v.integer <= INT32_MAX;
            AllDates = false;
            break;
        case DbValue::Kind::Real: AnyReal = true; AllDates = false; break;
        case DbValue::Kind::Text:
            AnyText = true;
            MaxUnits = std::max(MaxUnits, Utf8ToUtf16(v.bytes).size());
            AllDates = AllDates && v.bytes.size() >= 10 && OleDateFromIso(v.bytes).has_value();
            break;
        case DbValue::Kind::Blob: AnyBlob = true; AllDates = false; break;
        case DbValue::Kind::Null: break;
        }
    }
};

// The column as the SQLite declaration describes it; accessType stays 0 where the values
// have to decide.
ImportColumn DeclaredColumn(const std::string& name, const std::string& declared, const std::string& collation)
{
    std::string type = Upper(declared);
    ImportColumn column{name, ImportColumnType::Text, 0};
    if (Contains(type, "BOOL") || type == "BIT")
        column = {name, ImportColumnType::Integer, kJetBoolean};
    else if (Contains(type, "TINYINT") || Contains(type, "BYTE"))
        column = {name, ImportColumnType::Integer, kJetByte};
    else if (Contains(type, "SMALLINT") || Contains(type, "SHORT"))
        column = {name, ImportColumnType::Integer, kJetInteger};
    else if (Contains(type, "INT"))
        column = {name, ImportColumnType::Integer, 0};
    else if (Contains(type, "DATE") || Contains(type, "TIME"))
        column = {name, ImportColumnType::DateTime, kJetDateTime};
    else if (Contains(type, "MEMO") || Contains(type, "LONGTEXT") || Contains(type, "CLOB"))
        column = {name, ImportColumnType::Memo, kJetMemo};
    else if (Contains(type, "CHAR") || Contains(type, "TEXT"))
        column = {name, Upper(collation) == "NOCASE" ? ImportColumnType::Text : ImportColumnType::Memo, 0};
    else if (Contains(type, "BLOB") || Contains(type, "BINARY"))
        column = {name, ImportColumnType::Blob, 0};
    else if (Contains(type, "REAL") || Contains(type, "FLOA") || Contains(type, "DOUB") || Contains(type, "NUM") ||
             Contains(type, "DEC") || Contains(type, "MONEY") || Contains(type, "CURRENCY"))
        column = {name, ImportColumnType::Real, 0};
    return column;
}

// Settles the Access type of a column from its declaration and its values.
void PlanAccessType(ImportColumn& column, const ColumnStats& s, bool untyped)
{
    if (s.AnyBlob) {
        column.type = ImportColumnType::Blob;
        column.accessType = 0;
        return;
    }
    if (column.type == ImportColumnType::Blob)  // declared binary but empty
        column.type = ImportColumnType::Memo;
    if (column.accessType == kJetDateTime && (!s.AnyText || s.AllDates))
        return;  // declared a date, and the values are dates
    bool declaredText = !untyped && (column.type == ImportColumnType::Text || column.type == ImportColumnType::Memo);
    if (s.AnyText || declaredText || (untyped && !s.AnyInteger && !s.AnyReal)) {
        // The reader's copies keep dates as plain text: a plain text column of dates is one.
        bool dates = column.accessType == 0 && column.type == ImportColumnType::Memo && s.AnyValue && s.AllDates;
        bool memo = s.MaxUnits > 255 || column.type == ImportColumnType::Memo;
        column.type = memo ? ImportColumnType::Memo : ImportColumnType::Text;
        column.accessType = dates ? kJetDateTime : memo ? kJetMemo : kJetText;
        return;
    }
    if (column.accessType != 0)
        return;  // declared Boolean, Byte or Integer
    if (s.AnyReal || column.type == ImportColumnType::Real)
        column.accessType = kJetDouble;
    else if (!s.AllInt32)
        column.accessType = kJetDouble;
    else if (s.AllInt16 && IsShortColumn(column.name))
        column.accessType = kJetInteger;
    else
        column.accessType = kJetLong;
    column.type = column.accessType == kJetDouble ? ImportColumnType::Real : ImportColumnType::Integer;
}

bool ReadSqliteGallery(sqlite3* db, bool planForAccess, TableSink& sink, std::string& error)
{
    std::vector<std::string> tables;
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
                                   "ESCAPE '\\' ORDER BY rowid", -1, &raw, nullptr) != SQLITE_OK) {
            error = sqlite3_errmsg(db);
            return false;
        }
        SqliteStatement statement(raw);
        while (sqlite3_step(raw) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
    }
    for (const std::string& name : tables) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db, ("SELECT * FROM " + QuoteName(name)).c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            error = "cannot read table " + name + ": " + sqlite3_errmsg(db);
            return false;
        }
        SqliteStatement statement(raw);
        const int count = sqlite3_column_count(raw);
        ImportTableDef def{name, {}};
        std::vector<bool> untyped;
        for (int c = 0; c < count; ++c) {
            const char* column = sqlite3_column_name(raw, c);
            const char* declared = nullptr;
            const char* collation = nullptr;
            sqlite3_table_column_metadata(db, nullptr, name.c_str(), column, &declared, &collation, nullptr, nullptr,
                                          nullptr);
            def.columns.push_back(DeclaredColumn(column, declared ? declared : "", collation ? collation : ""));
            untyped.push_back(!declared || !*declared);
        }
        if (planForAccess) {
            std::vector<ColumnStats> stats(static_cast<std::size_t>(count));
            int step;
            while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
                for (int c = 0; c < count; ++c)
                    stats[static_cast<std::size_t>(c)].Add(ColumnValue(raw, c));
            }
            if (step != SQLITE_DONE) {
                error = "cannot read table " + name + ": " + sqlite3_errmsg(db);
                return false;
            }
            for (std::size_t c = 0; c < def.columns.size(); ++c)
                PlanAccessType(def.columns[c], stats[c], untyped[c]);
            sqlite3_reset(raw);
        }
        if (!sink.BeginTable(def)) {
            error = sink.Error();
            return false;
        }
        std::vector<DbValue> row(static_cast<std::size_t>(count));
        int step;
        while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
            for (int c = 0; c < count; ++c)
                row[static_cast<std::size_t>(c)] = ColumnValue(raw, c);
            if (!sink.AddRow(row)) {
                error = sink.Error();
                return false;
            }
        }
        if (step != SQLITE_DONE) {
            error = "cannot read table " + name + ": " + sqlite3_errmsg(db);
            return false;
        }
        if (!sink.EndTable()) {
            error = sink.Error();
            return false;
        }
    }
    return true;
}

std::string FullPath(const std::string& native)
{
    char resolved[PATH_MAX];
    return ::realpath(native.c_str(), resolved) ? std::string(resolved) : native;
}

}  // namespace

bool IsAccessGallery(std::string_view programPath)
{
    std::string head(32, '\0');
    FILE* f = std::fopen(platform::NativePath(programPath).c_str(), "rbe");
    if (!f)
        return false;
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::fclose(f);
    return LooksLikeAccessFile(head);
}

GalleryConvertResult ConvertGallery(std::string_view inPath, std::string_view outPath,
                                    const GalleryConvertOptions& options)
{
    GalleryConvertResult result;
    const std::string inNative = platform::NativePath(inPath);
    const std::string outNative = platform::NativePath(outPath);
    struct stat st {};
    if (::stat(inNative.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.Error = "cannot find the gallery " + std::string(inPath);
        return result;
    }
    if (FullPath(inNative) == FullPath(outNative)) {
        result.Error = "the output would replace the gallery it is made from";
        return result;
    }
    std::string head(256, '\0');
    if (FILE* f = std::fopen(inNative.c_str(), "rbe")) {
        head.resize(std::fread(head.data(), 1, head.size(), f));
        std::fclose(f);
    }
    const bool accessInput = LooksLikeAccessFile(head);
    if (!accessInput && !LooksLikeSqliteFile(head)) {
        result.Error = std::string(inPath) + " is neither an Access nor an SQLite gallery";
        return result;
    }

    // The input, read into whichever sink the output needs.
    std::optional<JetHeader> header;
    SqliteHandle input;
    if (accessInput) {
        std::string reason;
        header = ParseJetHeader(head, static_cast<std::uint64_t>(st.st_size), reason);
        if (!header) {
            result.Error = reason;
            return result;
        }
        if (!JetPasswordMatches(*header, options.Password)) {
            result.Error = "wrong password for " + std::string(inPath);
            return result;
        }
    } else {
        input = OpenSqlite(inNative, SQLITE_OPEN_READONLY, result.Error);
        if (!input)
            return result;
    }
    auto readInto = [&](TableSink& sink, bool planForAccess, std::string& error) {
        CountingSink counting(sink, result);
        if (!accessInput)
            return ReadSqliteGallery(input.get(), planForAccess, counting, error);
        bool sinkFailed = false;
        return CAccessTableReader(inNative, header->version, header->codePage).ReadAll(counting, error, sinkFailed);
    };

    if (options.Format == GalleryFormat::Access) {
        CJet4Writer::Options writerOptions;
        writerOptions.Password = options.Password;
        CJet4Writer writer(writerOptions);
        JetSink sink(writer);
        if (!readInto(sink, true, result.Error))
            return result;
        if (!writer.Save(outPath)) {
            result.Error = writer.LastError();
            return result;
        }
        result.Ok = true;
        return result;
    }

    const std::string temp = outNative + ".tmp-" + std::to_string(::getpid());
    std::remove(temp.c_str());
    {
        SqliteHandle out = OpenSqlite(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, result.Error);
        if (!out)
            return result;
        sqlite3_exec(out.get(), "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
        CSqliteTableWriter writer(out.get());
        bool ok = writer.Begin() && readInto(writer, false, result.Error) && writer.Commit();
        if (!ok && result.Error.empty())
            result.Error = writer.Error();
        if (!ok || sqlite3_close(out.release()) != SQLITE_OK) {
            std::remove(temp.c_str());
            if (result.Error.empty())
                result.Error = "cannot write " + std::string(outPath);
            return result;
        }
    }
    if (std::rename(temp.c_str(), outNative.c_str()) != 0) {
        std::remove(temp.c_str());
        result.Error = "cannot write " + std::string(outPath);
        return result;
    }
    result.Ok = true;
    return result;
}

}  // namespace orv

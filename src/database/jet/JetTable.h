#pragma once
// The neutral description of what the Jet 4 writer stores: tables with typed columns, and
// rows of values. It knows nothing of the file format, so any source (an SQLite gallery, a
// test, a generator) can fill it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The Access column types the writer supports.
enum class JetColumnType {
    Boolean,   // Yes/No; a NULL is stored as No (Access has no NULL booleans)
    Byte,      // 0..255
    Integer,   // 16-bit signed
    Long,      // 32-bit signed
    Single,    // 32-bit real
    Double,    // 64-bit real
    Currency,  // a real with four decimals, stored as a 64-bit count of 1/10000
    DateTime,  // days since 1899-12-30 as a double (an OLE date)
    Text,      // up to 255 characters
    Memo,      // text of any length up to 16 MB of storage
};

// The Access name of the type ("Long Integer", "Text", ...).
const char* JetTypeName(JetColumnType type);

struct JetColumn {
    std::string Name;  // UTF-8, up to 64 characters
    JetColumnType Type = JetColumnType::Long;
    int TextLength = 255;  // Text columns only: the declared length in characters, 1..255
};

struct JetTableDef {
    std::string Name;  // UTF-8, up to 64 characters
    std::vector<JetColumn> Columns;
};

// One value of a row. Numbers are accepted by text columns (as their shortest decimal
// text), texts by date columns (ISO 8601) and numeric texts by number columns.
struct JetValue {
    enum class Kind { Null, Integer, Real, Text };
    Kind Type = Kind::Null;
    std::int64_t Int = 0;
    double Real = 0.0;
    std::string Text;  // UTF-8

    static JetValue Null() { return {}; }
    static JetValue FromInt(std::int64_t value);
    static JetValue FromReal(double value);
    static JetValue FromText(std::string value);
    bool IsNull() const { return Type == Kind::Null; }
};

using JetRow = std::vector<JetValue>;

// OLE dates (days since 1899-12-30, the fraction the time of day, also for negative days)
// to and from "YYYY-MM-DD HH:MM:SS" texts. The parser also takes a "T" between date and
// time, a missing time and fractional seconds; nothing when the text is not such a date.
std::string OleDateToIso(double oleDate);
std::optional<double> OleDateFromIso(std::string_view text);

// UTF-8 to UTF-16 code units (characters beyond the BMP become surrogate pairs; malformed
// bytes become U+FFFD), and back.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace orv

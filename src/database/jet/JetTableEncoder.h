#pragma once
// Turns one table's column list into its Jet 4 table definition (TDEF) and its values into
// row bytes.
//
// A TDEF is "02 01", free space (u16), the next definition page (u32), the definition
// length (u32), 4 bytes, the row count (u32) at 0x10, zeros, the table type at 0x28, the
// column count (twice) and the variable-column count at 0x29-0x2E, the index counts (0), the
// pg_rows of the owned-pages and free-space maps at 0x37 and 0x3B, then one 25-byte entry per
// column, one name per column (u16 byte length + UCS-2LE) and "FF FF". A longer definition
// continues on the next definition page at its offset 8.
//
// A row is: u16 column count | fixed area | variable data | u16 end of data | u16 offsets of
// the variable columns, last first | u16 variable count | null mask (1 = present; for a
// Boolean column the bit is the value). Without variable columns the part from "end of
// data" to "variable count" is left out.

#include "database/jet/JetTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class CJetPageBuilder;

// Column type codes on disk.
enum JetTypeCode : std::uint8_t {
    kJetBoolean = 0x01,
    kJetByte = 0x02,
    kJetInteger = 0x03,
    kJetLong = 0x04,
    kJetCurrency = 0x05,
    kJetSingle = 0x06,
    kJetDouble = 0x07,
    kJetDateTime = 0x08,
    kJetText = 0x0A,
    kJetOle = 0x0B,  // catalog only; always NULL here
    kJetMemo = 0x0C,
};

// A text value as Jet stores it: "FF FE" plus one byte per character when every character
// is in U+0001..U+00FF (the compressed form both Access and other readers decode), else
// plain UCS-2LE. A leading U+FEFF is dropped, since its bytes would read as that marker.
std::string EncodeJetText(std::u16string text);

class CJetTableEncoder {
public:
    struct Column {
        std::string Name;
        JetTypeCode Code = kJetLong;
        int TextLength = 255;  // characters, Text only
    };

    // The longest row the encoder makes, so that rows stay within what Access writes.
    static constexpr std::size_t kMaxRowBytes = 4060;

    CJetTableEncoder(std::string tableName, std::vector<Column> columns);

    std::size_t ColumnCount() const { return m_columns.size(); }
    // The definition with its counts and map addresses, not yet split into pages.
    std::string Definition(std::uint32_t rowCount, std::uint32_t ownedMap, std::uint32_t freeMap,
                           bool systemTable) const;

    // Encodes a row; memo values that do not fit inline go to long-value pages of the
    // builder. False with the reason in error when a value does not fit its column.
    bool EncodeRow(const JetRow& row, CJetPageBuilder& pages, std::string& out, std::string& error) const;

private:
    struct Layout {
        Column Def;
        bool Fixed = false;
        std::uint16_t Size = 0;  // bytes in the fixed area, or the declared length
        std::uint16_t VarIndex = 0;
        std::uint16_t FixedOffset = 0;
    };
    bool FixedValue(const Layout& col, const JetValue& value, unsigned char* out, bool& present,
                    std::string& error) const;
    bool VariableValue(const Layout& col, const JetValue& value, std::string& out, std::string& error) const;
    std::string ColumnLabel(const Layout& col) const;

    std::string m_name;
    std::vector<Layout> m_columns;
    std::uint16_t m_fixedSize = 0;
    std::uint16_t m_varCount = 0;
};

}  // namespace orv

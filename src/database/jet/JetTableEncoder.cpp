#include "database/jet/JetTableEncoder.h"

#include "database/jet/JetPageBuilder.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace orv {
namespace {

constexpr std::size_t kColumnEntrySize = 25;
constexpr std::size_t kColumnsOffset = 0x3F;
constexpr std::size_t kMemoHeaderSize = 12;
constexpr std::size_t kMaxMemoBytes = 0xFFFFFF;  // the length field has 24 bits
constexpr std::size_t kLvalSingleMax = 4076;
constexpr std::size_t kLvalPieceMax = 4072;

void AppendU16(std::string& out, std::size_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void AppendU32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

void PutU16(std::string& out, std::size_t at, std::size_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}

void PutU32(std::string& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string Trimmed(const std::string& text)
{
    std::size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    return text.substr(b, text.find_last_not_of(" \t\r\n") - b + 1);
}

bool ParseInteger(const std::string& text, std::int64_t& out)
{
    std::string t = Trimmed(text);
    const char* begin = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(begin, t.data() + t.size(), out);
    return ec == std::errc() && end == t.data() + t.size() && begin != end;
}

bool ParseReal(const std::string& text, double& out)
{
    std::string t = Trimmed(text);
    if (t.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(t.c_str(), &end);
    return end == t.c_str() + t.size() && std::isfinite(out);
}

std::string NumberText(const JetValue& value)
{
    char buffer[64];
    if (value.Type == JetValue::Kind::Integer) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value.Int);
        return std::string(buffer, result.ptr);
    }
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value.Real);
    return std::string(buffer, result.ptr);
}

// Integer value of a number or numeric text; false for fractions and other texts.
bool WholeNumber(const JetValue& value, std::int64_t& out)
{
    switch (value.Type) {
    case JetValue::Kind::Integer: out = value.Int; return true;
    case JetValue::Kind::Real:
        if (!std::isfinite(value.Real) || value.Real != std::trunc(value.Real) || std::fabs(value.Real) > 9e15)
            return false;
        out = static_cast<std::int64_t>(value.Real);
        return true;
    case JetValue::Kind::Text: {
        if (ParseInteger(value.Text, out))
            return true;
        double real = 0;
        if (!ParseReal(value.Text, real))
            return false;
        return WholeNumber(JetValue::FromReal(real), out);
    }
    case JetValue::Kind::Null: break;
    }
    return false;
}

bool RealNumber(const JetValue& value, double& out)
{
    switch (value.Type) {
    case JetValue::Kind::Integer: out = static_cast<double>(value.Int); return true;
    case JetValue::Kind::Real: out = value.Real; return std::isfinite(out);
    case JetValue::Kind::Text: return ParseReal(value.Text, out);
    case JetValue::Kind::Null: break;
    }
    return false;
}

}  // namespace

std::string EncodeJetText(std::u16string text)
{
    if (!text.empty() && text.front() == 0xFEFF)
        text.erase(0, 1);
    bool compressible = true;
    for (char16_t unit : text) {
        if (unit == 0 || unit > 0xFF) {
            compressible = false;
            break;
        }
    }
    std::string out;
    if (compressible && !text.empty()) {
        out.reserve(text.size() + 2);
        out.push_back(static_cast<char>(0xFF));
        out.push_back(static_cast<char>(0xFE));
        for (char16_t unit : text)
            out.push_back(static_cast<char>(unit));
        return out;
    }
    out.reserve(text.size() * 2);
    for (char16_t unit : text)
        AppendU16(out, unit);
    return out;
}

CJetTableEncoder::CJetTableEncoder(std::string tableName, std::vector<Column> columns) : m_name(std::move(tableName))
{
    for (Column& def : columns) {
        Layout col;
        col.Def = std::move(def);
        switch (col.Def.Code) {
        case kJetBoolean: col.Fixed = true; col.Size = 0; break;
        case kJetByte: col.Fixed = true; col.Size = 1; break;
        case kJetInteger: col.Fixed = true; col.Size = 2; break;
        case kJetLong:
        case kJetSingle: col.Fixed = true; col.Size = 4; break;
        case kJetCurrency:
        case kJetDouble:
        case kJetDateTime: col.Fixed = true; col.Size = 8; break;
        case kJetText: col.Size = static_cast<std::uint16_t>(2 * col.Def.TextLength); break;
        case kJetOle:
        case kJetMemo: col.Size = 0; break;
        }
        if (col.Fixed) {
            col.FixedOffset = m_fixedSize;
            m_fixedSize = static_cast<std::uint16_t>(m_fixedSize + col.Size);
        } else {
            col.VarIndex = m_varCount++;
        }
        m_columns.push_back(std::move(col));
    }
}

std::string CJetTableEncoder::Definition(std::uint32_t rowCount, std::uint32_t ownedMap, std::uint32_t freeMap,
                                         bool systemTable) const
{
    std::string out(kColumnsOffset, '\0');
    out[0] = 0x02;
    out[1] = 0x01;
    PutU32(out, 0x10, rowCount);
    out[0x18] = 0x01;
    out[0x28] = static_cast<char>(systemTable ? 0x53 : 0x4E);
    PutU16(out, 0x29, m_columns.size());
    PutU16(out, 0x2B, m_varCount);
    PutU16(out, 0x2D, m_columns.size());
    PutU32(out, 0x37, ownedMap);
    PutU32(out, 0x3B, freeMap);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const Layout& col = m_columns[i];
        std::string entry(kColumnEntrySize, '\0');
        entry[0] = static_cast<char>(col.Def.Code);
        PutU16(entry, 5, i);
        PutU16(entry, 7, col.VarIndex);
        PutU16(entry, 9, i);
        bool text = col.Def.Code == kJetText || col.Def.Code == kJetMemo;
        if (text) {
            PutU16(entry, 11, 0x0409);  // General sort order
            entry[16] = 0x01;           // "Unicode compression" on, as Access creates text columns
        }
        entry[15] = static_cast<char>(0x02 | (col.Fixed ? 0x01 : 0x00));
        PutU16(entry, 21, col.FixedOffset);
        PutU16(entry, 23, col.Size);
        out += entry;
    }
    for (const Layout& col : m_columns) {
        std::u16string name = Utf8ToUtf16(col.Def.Name);
        AppendU16(out, name.size() * 2);
        for (char16_t unit : name)
            AppendU16(out, unit);
    }
    out += "\xFF\xFF";
    PutU32(out, 0x08, static_cast<std::uint32_t>(out.size()));
    return out;
}

std::string CJetTableEncoder::ColumnLabel(const Layout& col) const
{
    return "column \"" + col.Def.Name + "\" of table \"" + m_name + "\"";
}

bool CJetTableEncoder::FixedValue(const Layout& col, const JetValue& value, unsigned char* out, bool& present,
                                  std::string& error) const
{
    present = !value.IsNull();
    if (!present)
        return true;
    std::int64_t whole = 0;
    double real = 0;
    switch (col.Def.Code) {
    case kJetBoolean:
        if (!RealNumber(value, real)) {
            error = "not a Yes/No value for " + ColumnLabel(col);
            return false;
        }
        present = real != 0;
        return true;
    case kJetByte:
    case kJetInteger:
    case kJetLong: {
        std::int64_t low = col.Def.Code == kJetByte ? 0 : col.Def.Code == kJetInteger ? -32768 : INT32_MIN;
        std::int64_t high = col.Def.Code == kJetByte ? 255 : col.Def.Code == kJetInteger ? 32767 : INT32_MAX;
        if (!WholeNumber(value, whole) || whole < low || whole > high) {
            error = "value out of range for " + ColumnLabel(col);
            return false;
        }
        auto bits = static_cast<std::uint64_t>(whole);
        for (std::uint16_t i = 0; i < col.Size; ++i)
            out[i] = static_cast<unsigned char>(bits >> (8 * i));
        return true;
    }
    case kJetSingle: {
        if (!RealNumber(value, real) || std::fabs(real) > 3.4028234663852886e38) {
            error = "not a Single number for " + ColumnLabel(col);
            return false;
        }
        float single = static_cast<float>(real);
        std::memcpy(out, &single, 4);
        return true;
    }
    case kJetCurrency: {
        // Currency counts ten-thousandths in 64 bits.
        if (!RealNumber(value, real) || std::fabs(real) >= 922337203685477.0) {
            error = "not a Currency amount for " + ColumnLabel(col);
            return false;
        }
        auto bits = static_cast<std::uint64_t>(std::llround(real * 10000.0));
        for (int i = 0; i < 8; ++i)
            out[i] = static_cast<unsigned char>(bits >> (8 * i));
        return true;
    }
    case kJetDouble:
    case kJetDateTime: {
        bool ok = RealNumber(value, real);
        if (col.Def.Code == kJetDateTime && value.Type == JetValue::Kind::Text) {
            std::optional<double> date = OleDateFromIso(Trimmed(value.Text));
            ok = date.has_value();
            real = date.value_or(0.0);
        }
        if (!ok) {
            error = (col.Def.Code == kJetDateTime ? "not a date for " : "not a number for ") + ColumnLabel(col);
            return false;
        }
        std::memcpy(out, &real, 8);
        return true;
    }
    default: break;
    }
    return false;
}

bool CJetTableEncoder::VariableValue(const Layout& col, const JetValue& value, std::string& out,
                                     std::string& error) const
{
    if (col.Def.Code == kJetOle) {
        error = "binary values are not supported (" + ColumnLabel(col) + ")";
        return false;
    }
    std::u16string text = Utf8ToUtf16(value.Type == JetValue::Kind::Text ? value.Text : NumberText(value));
    if (col.Def.Code == kJetText && text.size() > static_cast<std::size_t>(col.Def.TextLength)) {
        error = "text longer than " + std::to_string(col.Def.TextLength) + " characters for " + ColumnLabel(col);
        return false;
    }
    out = EncodeJetText(std::move(text));
    if (col.Def.Code == kJetMemo && out.size() > kMaxMemoBytes) {
        error = "memo larger than 16 MB for " + ColumnLabel(col);
        return false;
    }
    return true;
}

bool CJetTableEncoder::EncodeRow(const JetRow& row, CJetPageBuilder& pages, std::string& out,
                                 std::string& error) const
{
    if (row.size() != m_columns.size()) {
        error = "row of " + std::to_string(row.size()) + " values for table \"" + m_name + "\" of " +
                std::to_string(m_columns.size()) + " columns";
        return false;
    }
    const std::size_t maskBytes = (m_columns.size() + 7) / 8;
    std::string mask(maskBytes, '\0');
    std::string fixed(m_fixedSize, '\0');
    std::vector<std::string> variable(m_varCount);
    std::vector<int> memoColumns;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const Layout& col = m_columns[i];
        bool present = !row[i].IsNull();
        if (col.Fixed) {
            if (!FixedValue(col, row[i], reinterpret_cast<unsigned char*>(fixed.data()) + col.FixedOffset, present,
                            error))
                return false;
        } else if (present) {
            if (!VariableValue(col, row[i], variable[col.VarIndex], error))
                return false;
            if (col.Def.Code == kJetMemo)
                memoColumns.push_back(static_cast<int>(i));
        }
        if (present)
            mask[i / 8] = static_cast<char>(mask[i / 8] | 1 << (i % 8));
    }

    // Row length with every memo as a bare 12-byte reference; the memos are then inlined in
    // column order while the row stays within bounds, and the rest go to long-value pages.
    std::size_t length = 2 + m_fixedSize + maskBytes + (m_varCount ? 4 + 2 * m_varCount : 0);
    for (std::size_t v = 0; v < variable.size(); ++v)
        length += variable[v].size();
    for (int i : memoColumns)
        length = length - variable[m_columns[i].VarIndex].size() + kMemoHeaderSize;
    if (length > kMaxRowBytes) {
        error = "row too long (" + std::to_string(length) + " bytes, at most " + std::to_string(kMaxRowBytes) +
                ") for table \"" + m_name + "\"";
        return false;
    }
    for (int i : memoColumns) {
        std::string& data = variable[m_columns[i].VarIndex];
        std::string header(kMemoHeaderSize, '\0');
        PutU32(header, 0, static_cast<std::uint32_t>(data.size()));
        if (length + data.size() <= kMaxRowBytes) {
            header[3] = static_cast<char>(0x80);
            length += data.size();
            data = header + data;
            continue;
        }
        std::uint32_t address = 0;
        if (data.size() <= kLvalSingleMax) {
            header[3] = 0x40;
            address = pages.AddRow(CJetPageBuilder::kLvalOwner, data);
        } else {
            // A chain: each piece names the next, so the pieces are written last first.
            header[3] = 0x00;
            std::size_t pieces = (data.size() + kLvalPieceMax - 1) / kLvalPieceMax;
            for (std::size_t p = pieces; p-- > 0;) {
                std::string piece;
                AppendU32(piece, address);
                piece.append(data, p * kLvalPieceMax, kLvalPieceMax);
                address = pages.AddRow(CJetPageBuilder::kLvalOwner, piece);
            }
        }
        PutU32(header, 4, address);
        data = std::move(header);
    }

    out.clear();
    out.reserve(length);
    AppendU16(out, m_columns.size());
    out += fixed;
    std::vector<std::size_t> offsets(m_varCount);
    for (std::size_t v = 0; v < variable.size(); ++v) {
        offsets[v] = out.size();
        out += variable[v];
    }
    if (m_varCount > 0) {
        AppendU16(out, out.size());  // end of the variable data
        for (std::size_t v = m_varCount; v-- > 0;)
            AppendU16(out, offsets[v]);
        AppendU16(out, m_varCount);
    }
    out += mask;
    return true;
}

}  // namespace orv

#include "database/jet/JetMemo.h"

#include "database/jet/JetTable.h"

namespace orv {
namespace {

std::uint32_t U32(std::string_view b, std::size_t at)
{
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

}  // namespace

std::string DecodeJetText(std::string_view bytes)
{
    std::u16string units;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bool compressed = true;
        for (std::size_t i = 2; i < bytes.size();) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                units.push_back(static_cast<unsigned char>(bytes[i++]));
            } else if (i + 1 < bytes.size()) {
                units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                      static_cast<unsigned char>(bytes[i + 1]) << 8));
                i += 2;
            } else {
                break;
            }
        }
    } else {
        units.reserve(bytes.size() / 2);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return Utf16ToUtf8(units);
}

std::optional<std::string> ReadJetMemo(std::string_view field, const JetRowFetcher& fetchRow)
{
    if (field.size() < 12)
        return std::nullopt;
    const std::uint32_t length = U32(field, 0) & 0xFFFFFF;
    const auto kind = static_cast<unsigned char>(field[3]);
    std::string data, row;
    if (kind == 0x80) {
        data.assign(field.substr(12));
    } else if (kind == 0x40) {
        if (!fetchRow(U32(field, 4), row))
            return std::nullopt;
        data = row.substr(0, length);
    } else if (kind == 0x00) {
        data.reserve(length);
        for (std::uint32_t next = U32(field, 4); next != 0;) {
            // Missing, empty or longer than promised: each row must add text, so a loop ends.
            if (!fetchRow(next, row) || row.size() <= 4 || data.size() + row.size() - 4 > length)
                return std::nullopt;
            data.append(row, 4, std::string::npos);
            next = U32(row, 0);
        }
    } else {
        return std::nullopt;
    }
    return DecodeJetText(data);
}

}  // namespace orv

#pragma once
// Jet 4 memo values read whole. A memo field in a row is a 12-byte header (24-bit data
// length, a kind byte: 0x80 data inline after the header, 0x40 data in one long-value row,
// 0x00 a chain of long-value rows, each a u32 pg_row of the next piece and the piece) and,
// when inline, the data. The data is Jet text: "FF FE" then one byte per character, a 00
// byte switching between one- and two-byte characters; or plain UCS-2LE.
//
// libmdb cuts memo text at its bind size; the importer reads long memos through here.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Jet 4 text bytes to UTF-8 (unpaired surrogates become U+FFFD).
std::string DecodeJetText(std::string_view bytes);

// Fetches the bytes of the long-value row at a pg_row; false when there is none.
using JetRowFetcher = std::function<bool(std::uint32_t pgRow, std::string& row)>;

// The memo's text, or nothing when its header or chain is damaged (an unknown kind, a
// missing row, a chain longer than the header says).
std::optional<std::string> ReadJetMemo(std::string_view field, const JetRowFetcher& fetchRow);

}  // namespace orv

#pragma once
// The header page of an Access (Jet) database and the checks made before the file is handed
// to libmdb, which trusts what it reads.
//
// Layout of page 0 (little-endian):
//   0x00  4   00 01 00 00
//   0x04  16  "Standard Jet DB\0" (Access 2007 and later: "Standard ACE DB\0")
//   0x14  1   version: 0 Jet 3 (2048-byte pages), 1 Jet 4 (4096-byte pages), 2+ ACE
//   0x18  128 (Jet 3: 126) region obfuscated with RC4, key C7 DA 39 6B; inside it:
//     0x3C  2   code page
//     0x3E  4   database key (non-zero: pages 1.. are RC4-encoded as well)
//     0x42  40  Jet 4 password, UCS-2LE zero-padded to 20 characters, each byte XOR-ed with
//               byte (i mod 4) of the little-endian int32 of the truncated creation date;
//               "no password" is stored as the mask itself (all zero after un-masking)
//     0x72  8   creation date, a double counting days since 1899-12-30

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct JetHeader {
    int version = 0;  // 0 Jet 3, 1 Jet 4
    std::uint32_t pageSize = 0;
    std::uint16_t codePage = 0;
    std::uint32_t databaseKey = 0;
    bool passwordKnown = false;  // Jet 4 only: whether the password field was decoded
    std::string password;        // UTF-8; "" when the database has none
};

// Whether the bytes start like an Access database ("Standard Jet DB" or "Standard ACE DB").
bool LooksLikeAccessFile(std::string_view head);
// Whether the bytes start like an SQLite database.
bool LooksLikeSqliteFile(std::string_view head);

// Checks the header page (at least the first 256 bytes of the file) and the file size; on a
// damaged or unsupported file, nothing, with the reason in reason.
std::optional<JetHeader> ParseJetHeader(std::string_view head, std::uint64_t fileSize, std::string& reason);

// Whether the password opens a database with this header: always when it carries none.
bool JetPasswordMatches(const JetHeader& header, std::string_view password);

// XORs the obfuscated region of a header page in place (the same step encodes and decodes);
// for tests and writers that build headers.
void CryptJetHeaderRegion(std::string& page, int version);

}  // namespace orv

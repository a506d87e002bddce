#pragma once
// Page 0 of a Jet 4 file: the version, and an RC4-obfuscated region (bytes 0x18-0x97) that
// holds the code page, the database key, the masked password, the sort order and the
// creation date. The password is UCS-2LE, zero-padded to 40 bytes and XORed with the
// little-endian bytes of the whole days of the creation date; "no password" is the mask
// itself, not zeros.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

constexpr std::size_t kJetPageSize = 4096;
constexpr std::size_t kJetMaxPasswordLength = 20;  // characters

// Applies the RC4 keystream of the key to the bytes in place (the same call decodes).
void JetRc4(const unsigned char* key, std::size_t keyLength, unsigned char* data, std::size_t length);

// The 4096 bytes of a Jet 4 header page. The password (UTF-8, at most 20 UTF-16 units,
// longer ones are cut) may be empty.
std::string BuildJetHeaderPage(std::string_view password, double creationDate);

struct JetHeaderInfo {
    int Version = 0;  // the byte at 0x14: 0 = Jet 3, 1 = Jet 4, higher = later Access
    std::uint32_t DatabaseKey = 0;
    double CreationDate = 0.0;
    std::optional<std::string> Password;  // Jet 4 only; nothing when the file carries none
};

// Reads the header from the first bytes of a file; nothing when they are not a Jet header
// (too short, wrong page type or magic text).
std::optional<JetHeaderInfo> ReadJetHeader(std::string_view firstPage);

}  // namespace orv

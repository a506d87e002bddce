#include "database/JetHeader.h"

#include "database/JetTable.h"

#include <cmath>
#include <cstring>

namespace orv {
namespace {

constexpr unsigned char kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kRegionStart = 0x18;
constexpr std::size_t kRegionLength = 128;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordBytes = 40;
constexpr std::size_t kCreationDateOffset = 0x72;

// The password mask: the whole days of the creation date as a little-endian int32.
void PasswordMask(double creationDate, unsigned char mask[4])
{
    double days = std::trunc(creationDate);
    auto value = static_cast<std::uint32_t>(
        days >= -2147483648.0 && days <= 2147483647.0 ? static_cast<std::int32_t>(days) : 0);
    for (int i = 0; i < 4; ++i)
        mask[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

void JetRc4(const unsigned char* key, std::size_t keyLength, unsigned char* data, std::size_t length)
{
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[static_cast<std::size_t>(i) % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    int i = 0, j = 0;
    for (std::size_t n = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xFF];
    }
}

std::string BuildJetHeaderPage(std::string_view password, double creationDate)
{
    std::string page(kJetPageSize, '\0');
    auto* p = reinterpret_cast<unsigned char*>(page.data());
    p[1] = 0x01;
    std::memcpy(p + 4, "Standard Jet DB", 15);
    p[0x14] = 1;  // Jet 4
    p[0x3C] = 0xE4;  // code page 1252; Jet 4 text is Unicode, so it only matters to Jet 3 readers
    p[0x3D] = 0x04;
    // 0x3E: the database key stays 0, so the pages after this one are stored in the clear.

    std::u16string units = Utf8ToUtf16(password);
    if (units.size() > kJetMaxPasswordLength)
        units.resize(kJetMaxPasswordLength);
    unsigned char mask[4];
    PasswordMask(creationDate, mask);
    for (std::size_t i = 0; i < kPasswordBytes; ++i) {
        unsigned char byte = 0;
        if (i / 2 < units.size())
            byte = static_cast<unsigned char>(units[i / 2] >> (i % 2 ? 8 : 0));
        p[kPasswordOffset + i] = byte ^ mask[i % 4];
    }
    p[0x6E] = 0x09;  // sort order: General
    p[0x6F] = 0x04;
    std::memcpy(p + kCreationDateOffset, &creationDate, 8);
    JetRc4(kHeaderKey, 4, p + kRegionStart, kRegionLength);
    return page;
}

std::optional<JetHeaderInfo> ReadJetHeader(std::string_view firstPage)
{
    if (firstPage.size() < kRegionStart + kRegionLength || firstPage[0] != 0 ||
        firstPage.substr(4, 15) != "Standard Jet DB")
        return std::nullopt;
    JetHeaderInfo info;
    info.Version = static_cast<unsigned char>(firstPage[0x14]);
    if (info.Version == 0)
        return info;  // Jet 3: no obfuscated region worth reading here
    unsigned char region[kRegionLength];
    std::memcpy(region, firstPage.data() + kRegionStart, kRegionLength);
    JetRc4(kHeaderKey, 4, region, kRegionLength);
    auto at = [&](std::size_t offset) { return region + (offset - kRegionStart); };
    for (int i = 0; i < 4; ++i)
        info.DatabaseKey |= static_cast<std::uint32_t>(at(0x3E)[i]) << (8 * i);
    std::memcpy(&info.CreationDate, at(kCreationDateOffset), 8);
    unsigned char mask[4];
    PasswordMask(std::isfinite(info.CreationDate) ? info.CreationDate : 0.0, mask);
    std::u16string units;
    bool any = false;
    for (std::size_t i = 0; i < kPasswordBytes; i += 2) {
        auto lo = static_cast<unsigned char>(at(kPasswordOffset)[i] ^ mask[i % 4]);
        auto hi = static_cast<unsigned char>(at(kPasswordOffset)[i + 1] ^ mask[(i + 1) % 4]);
        any = any || lo != 0 || hi != 0;
        char16_t unit = static_cast<char16_t>(lo | hi << 8);
        if (unit == 0)
            break;
        units.push_back(unit);
    }
    if (any)
        info.Password = Utf16ToUtf8(units);
    return info;
}

}  // namespace orv

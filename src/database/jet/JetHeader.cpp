#include "database/jet/JetHeader.h"

#include <array>
#include <cmath>
#include <cstring>

namespace orv {
namespace {

constexpr std::size_t kRegionStart = 0x18;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordBytes = 40;
constexpr std::size_t kDateOffset = 0x72;
constexpr std::size_t kHeaderBytes = 0x98;

std::size_t RegionLength(int version)
{
    return version == 0 ? 126 : 128;
}

void Rc4Crypt(unsigned char* data, std::size_t length)
{
    static const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    std::array<unsigned char, 256> state;
    for (int i = 0; i < 256; ++i)
        state[i] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (int i = 0; i < 256; ++i) {
        j = (j + state[i] + key[i % 4]) & 0xFF;
        std::swap(state[i], state[j]);
    }
    unsigned x = 0, y = 0;
    for (std::size_t n = 0; n < length; ++n) {
        x = (x + 1) & 0xFF;
        y = (y + state[x]) & 0xFF;
        std::swap(state[x], state[y]);
        data[n] ^= state[(state[x] + state[y]) & 0xFF];
    }
}

std::uint32_t ReadU32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// The int32 the password is masked with; a date that is not a finite int32 (a damaged
// header) gives a mask nobody could have written, which is then simply compared.
std::int32_t DateMask(const unsigned char* decoded)
{
    double date;
    std::memcpy(&date, decoded + kDateOffset, sizeof date);
    if (!std::isfinite(date) || date < -2147483648.0 || date >= 2147483648.0)
        return 0;
    return static_cast<std::int32_t>(std::trunc(date));
}

}  // namespace

bool LooksLikeAccessFile(std::string_view head)
{
    return head.size() >= 20 && head.substr(0, 4) == std::string_view("\x00\x01\x00\x00", 4) &&
           (head.substr(4, 16) == std::string_view("Standard Jet DB\0", 16) ||
            head.substr(4, 16) == std::string_view("Standard ACE DB\0", 16));
}

bool LooksLikeSqliteFile(std::string_view head)
{
    return head.size() >= 16 && head.substr(0, 16) == std::string_view("SQLite format 3\0", 16);
}

void CryptJetHeaderRegion(std::string& page, int version)
{
    const std::size_t length = RegionLength(version);
    if (page.size() < kRegionStart + length)
        return;
    Rc4Crypt(reinterpret_cast<unsigned char*>(&page[kRegionStart]), length);
}

std::optional<JetHeader> ParseJetHeader(std::string_view head, std::uint64_t fileSize, std::string& reason)
{
    if (!LooksLikeAccessFile(head) || head.size() < kHeaderBytes) {
        reason = "不是 Access 数据库文件";
        return std::nullopt;
    }
    JetHeader header;
    const unsigned char version = static_cast<unsigned char>(head[0x14]);
    if (version > 1) {
        reason = "不支持的 Access 数据库版本（只支持 Jet 3 和 Jet 4）";
        return std::nullopt;
    }
    header.version = version;
    header.pageSize = version == 0 ? 2048 : 4096;
    // The catalog's table definition lives on page 2, so a real database has at least three
    // pages; Access always writes whole pages.
    if (fileSize < 3ull * header.pageSize || fileSize % header.pageSize != 0) {
        reason = "数据库文件已损坏（长度 " + std::to_string(fileSize) + " 字节不是完整的页）";
        return std::nullopt;
    }
    std::string page(head.substr(0, kHeaderBytes));
    CryptJetHeaderRegion(page, header.version);
    const auto* decoded = reinterpret_cast<const unsigned char*>(page.data());
    header.codePage = static_cast<std::uint16_t>(decoded[0x3C] | decoded[0x3D] << 8);
    header.databaseKey = ReadU32(decoded + 0x3E);
    if (header.version == 1) {
        const std::int32_t date = DateMask(decoded);
        unsigned char mask[4];
        const std::uint32_t bits = static_cast<std::uint32_t>(date);
        for (int i = 0; i < 4; ++i)
            mask[i] = static_cast<unsigned char>(bits >> (8 * i));
        std::string password;
        for (std::size_t i = 0; i + 1 < kPasswordBytes; i += 2) {
            const std::uint32_t unit = (decoded[kPasswordOffset + i] ^ mask[i % 4]) |
                                       (decoded[kPasswordOffset + i + 1] ^ mask[(i + 1) % 4]) << 8;
            if (unit == 0)
                break;
            // A lone surrogate cannot be typed; keep it as U+FFFD so it never matches.
            AppendUtf8(password, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
        }
        header.passwordKnown = true;
        header.password = password;
    }
    return header;
}

bool JetPasswordMatches(const JetHeader& header, std::string_view password)
{
    if (!header.passwordKnown || header.password.empty())
        return true;
    return header.password == password;
}

}  // namespace orv

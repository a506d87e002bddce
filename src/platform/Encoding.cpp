#include "platform/Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace orv::platform {
namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";
constexpr char kReplacementGb18030[] = "\x84\x31\xA4\x37";

// One iconv descriptor per direction and thread: opening one costs more than most conversions.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view in, std::string_view replacement)
    {
        std::string out;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            for (unsigned char c : in)
                out.append(c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string(replacement));
            return out;
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.reserve(in.size() * 3 / 2 + 8);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a sequence cut at the end): replace one byte and go on.
            out.append(replacement);
            ++src;
            --srcLeft;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

}  // namespace

bool IsAscii(std::string_view text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

std::string Gb18030ToUtf8(std::string_view bytes)
{
    if (IsAscii(bytes))
        return std::string(bytes);
    thread_local Converter converter("UTF-8", "GB18030");
    return converter.Convert(bytes, kReplacementUtf8);
}

std::string Utf8ToGb18030(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    thread_local Converter converter("GB18030", "UTF-8");
    return converter.Convert(utf8, std::string_view(kReplacementGb18030, 4));
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char c = byte(pos);
    if (c < 0x80)
        return 1;
    std::size_t len;
    unsigned min;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        min = 0x80;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        min = 0x800;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        min = 0x10000;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (pos + len > text.size())
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        unsigned char d = byte(pos + i);
        if ((d & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t len = Utf8SequenceLength(text, pos);
        if (len == 0)
            return false;
        pos += len;
    }
    return true;
}

bool LooksLikeUtf8(std::string_view bytes)
{
    // GB2312 text passes for UTF-8 mostly in two-byte sequences, Chinese UTF-8 is nearly
    // all three-byte ones; a stray U+FEFF counts for neither.
    std::size_t narrow = 0, wide = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t len = Utf8SequenceLength(bytes, pos);
        if (len == 0)
            return false;
        if (len == 2)
            ++narrow;
        else if (len >= 3 && bytes.substr(pos, 3) != "\xEF\xBB\xBF")
            ++wide;
        pos += len;
    }
    return wide > narrow;
}

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t len = Utf8SequenceLength(text, pos);
        if (len == 0)
            len = 1;  // a stray byte is a unit of its own
        if (pos + len > maxBytes)
            break;
        pos += len;
    }
    return pos;
}

std::size_t Gb18030PrefixLength(std::string_view bytes, std::size_t maxBytes)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t len = 1;
        unsigned char c = byte(pos);
        if (c >= 0x81 && c <= 0xFE && pos + 1 < bytes.size()) {
            unsigned char d = byte(pos + 1);
            if (d >= 0x30 && d <= 0x39)
                len = pos + 3 < bytes.size() ? 4 : 1;
            else if ((d >= 0x40 && d <= 0x7E) || (d >= 0x80 && d <= 0xFE))
                len = 2;
        }
        if (pos + len > maxBytes)
            break;
        pos += len;
    }
    return pos;
}

namespace {

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16Unit(std::string& out, std::uint32_t unit, bool bigEndian)
{
    char hi = static_cast<char>(unit >> 8);
    char lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
}

} // namespace

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            out += kReplacementUtf8;
        else
            AppendUtf8(out, unit);
    }
    if (i < bytes.size())
        out += kReplacementUtf8; // an odd last byte
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t len = Utf8SequenceLength(utf8, pos);
        std::uint32_t cp = 0xFFFD;
        if (len == 0) {
            len = 1;
        } else {
            static constexpr unsigned char kLeadMask[] = { 0, 0x7F, 0x1F, 0x0F, 0x07 };
            cp = static_cast<unsigned char>(utf8[pos]) & kLeadMask[len];
            for (std::size_t k = 1; k < len; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(utf8[pos + k]) & 0x3F);
        }
        pos += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            AppendUtf16Unit(out, 0xD800 + (cp >> 10), bigEndian);
            AppendUtf16Unit(out, 0xDC00 + (cp & 0x3FF), bigEndian);
        } else {
            AppendUtf16Unit(out, cp, bigEndian);
        }
    }
    return out;
}

}  // namespace orv::platform

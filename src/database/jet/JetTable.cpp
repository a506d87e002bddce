#include "database/jet/JetTable.h"

#include <cmath>
#include <cstdio>

namespace orv {

const char* JetTypeName(JetColumnType type)
{
    switch (type) {
    case JetColumnType::Boolean: return "Boolean";
    case JetColumnType::Byte: return "Byte";
    case JetColumnType::Integer: return "Integer";
    case JetColumnType::Long: return "Long Integer";
    case JetColumnType::Single: return "Single";
    case JetColumnType::Double: return "Double";
    case JetColumnType::Currency: return "Currency";
    case JetColumnType::DateTime: return "DateTime";
    case JetColumnType::Text: return "Text";
    case JetColumnType::Memo: return "Memo";
    }
    return "?";
}

JetValue JetValue::FromInt(std::int64_t value)
{
    JetValue v;
    v.Type = Kind::Integer;
    v.Int = value;
    return v;
}

JetValue JetValue::FromReal(double value)
{
    JetValue v;
    v.Type = Kind::Real;
    v.Real = value;
    return v;
}

JetValue JetValue::FromText(std::string value)
{
    JetValue v;
    v.Type = Kind::Text;
    v.Text = std::move(value);
    return v;
}

namespace {

// Days since 0000-03-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil, shifted).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d)
{
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool ReadDigits(std::string_view text, std::size_t& pos, int count, int& out)
{
    out = 0;
    for (int i = 0; i < count; ++i, ++pos) {
        if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
            return false;
        out = out * 10 + (text[pos] - '0');
    }
    return true;
}

}  // namespace

std::string OleDateToIso(double oleDate)
{
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3e6)
        return std::string();
    // The integer part counts days; the fraction is the time of day even below zero, so -1.25
    // is 1899-12-29 06:00 and not 18:00 of the day before.
    double dayPart = std::trunc(oleDate);
    double fraction = std::fabs(oleDate - dayPart);
    long long seconds = std::llround(fraction * 86400.0);
    auto days = static_cast<std::int64_t>(dayPart);
    if (seconds >= 86400) {
        // Rounded up to midnight: the next calendar day, on either side of 1899-12-30.
        seconds -= 86400;
        ++days;
    }
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days + DaysFromCivil(1899, 12, 30), y, m, d);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(y), m, d,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

std::optional<double> OleDateFromIso(std::string_view text)
{
    std::size_t pos = 0;
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, pos, 4, year) || pos >= text.size() || text[pos++] != '-' ||
        !ReadDigits(text, pos, 2, month) || pos >= text.size() || text[pos++] != '-' ||
        !ReadDigits(text, pos, 2, day))
        return std::nullopt;
    double fractionSeconds = 0.0;
    if (pos < text.size()) {
        if (text[pos] != ' ' && text[pos] != 'T')
            return std::nullopt;
        ++pos;
        if (!ReadDigits(text, pos, 2, hour) || pos >= text.size() || text[pos++] != ':' ||
            !ReadDigits(text, pos, 2, minute))
            return std::nullopt;
        if (pos < text.size() && text[pos] == ':') {
            ++pos;
            if (!ReadDigits(text, pos, 2, second))
                return std::nullopt;
            if (pos < text.size() && text[pos] == '.') {
                double scale = 0.1;
                for (++pos; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, scale /= 10)
                    fractionSeconds += (text[pos] - '0') * scale;
            }
        }
        if (pos != text.size())
            return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    if (static_cast<int>(m) != month || static_cast<int>(d) != day)
        return std::nullopt;  // 31 April and the like
    double serial = static_cast<double>(days - DaysFromCivil(1899, 12, 30));
    double time = (hour * 3600.0 + minute * 60.0 + second + fractionSeconds) / 86400.0;
    return serial < 0 ? serial - time : serial + time;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else {
            std::size_t need = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
            if (need > 0 && i + need <= text.size()) {
                char32_t value = c & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
                bool ok = true;
                for (std::size_t k = 1; k < need; ++k) {
                    auto cc = static_cast<unsigned char>(text[i + k]);
                    if ((cc & 0xC0) != 0x80) {
                        ok = false;
                        break;
                    }
                    value = value << 6 | (cc & 0x3F);
                }
                char32_t minimum = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                if (ok && value >= minimum && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) {
                    cp = value;
                    len = need;
                }
            }
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | cp >> 6));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | cp >> 12));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | cp >> 18));
            out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace orv

#include "database/DbValue.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orv {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Rounds half to even, as variant conversion does ("2.5" -> 2, "3.5" -> 4); nothing outside
// [low, high] or for NaN.
std::optional<std::int64_t> RoundToInteger(double value, double low, double high)
{
    if (std::isnan(value))
        return std::nullopt;
    double rounded = std::nearbyint(value);  // the default rounding mode is to nearest even
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        double down = std::floor(value);
        rounded = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
    }
    if (rounded < low || rounded > high)
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

template <typename T>
std::optional<T> ConvertToInteger(const DbValue& value)
{
    constexpr double low = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double high = static_cast<double>(std::numeric_limits<T>::max());
    switch (value.kind) {
    case DbValue::Kind::Integer:
        if (value.integer < std::numeric_limits<T>::min() || value.integer > std::numeric_limits<T>::max())
            return std::nullopt;
        return static_cast<T>(value.integer);
    case DbValue::Kind::Real: {
        auto rounded = RoundToInteger(value.real, low, high);
        if (!rounded)
            return std::nullopt;
        return static_cast<T>(*rounded);
    }
    case DbValue::Kind::Text: {
        auto parsed = ParseDecimalText(value.bytes);
        if (!parsed)
            return std::nullopt;
        auto rounded = RoundToInteger(*parsed, low, high);
        if (!rounded)
            return std::nullopt;
        return static_cast<T>(*rounded);
    }
    default:
        return std::nullopt;
    }
}

}  // namespace

std::string ShortestDecimal(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc())
        return std::string();
    return std::string(buffer, result.ptr);
}

std::optional<double> ParseDecimalText(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    // Validate the shape first: strtod would also take "inf", "nan" and hexadecimal forms.
    std::size_t i = begin;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (i < end && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < end && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    // from_chars ignores the locale, so a comma-decimal locale cannot change what reads.
    std::size_t start = text[begin] == '+' ? begin + 1 : begin;
    double parsed = 0.0;
    auto result = std::from_chars(text.data() + start, text.data() + end, parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + end || !std::isfinite(parsed))
        return std::nullopt;
    return parsed;
}

std::optional<std::string> ConvertToText(const DbValue& value)
{
    switch (value.kind) {
    case DbValue::Kind::Text:
        return value.bytes;
    case DbValue::Kind::Integer:
        return std::to_string(value.integer);
    case DbValue::Kind::Real:
        if (!std::isfinite(value.real))
            return std::nullopt;
        return ShortestDecimal(value.real);
    default:
        return std::nullopt;
    }
}

std::optional<double> ConvertToDouble(const DbValue& value)
{
    switch (value.kind) {
    case DbValue::Kind::Real:
        return value.real;
    case DbValue::Kind::Integer:
        return static_cast<double>(value.integer);
    case DbValue::Kind::Text:
        return ParseDecimalText(value.bytes);
    default:
        return std::nullopt;
    }
}

std::optional<std::int32_t> ConvertToInt32(const DbValue& value)
{
    return ConvertToInteger<std::int32_t>(value);
}

std::optional<std::int16_t> ConvertToInt16(const DbValue& value)
{
    return ConvertToInteger<std::int16_t>(value);
}

}  // namespace orv

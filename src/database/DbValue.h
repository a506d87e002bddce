#pragma once
// One field value as the database layer carries it between SQLite, the Access importer and
// the recordset getters, with the conversions the getters apply. The conversions follow the
// rules of OLE variant conversion, which the reader's callers were written against: a text
// that holds a number converts to it, a value out of the target's range or not a number at
// all does not convert, and reals become integers by rounding half to even.

#include <cstdint>
#include <optional>
#include <string>

namespace orv {

struct DbValue {
    enum class Kind { Null, Integer, Real, Text, Blob };

    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string bytes;  // Text (UTF-8) or Blob

    static DbValue MakeNull() { return {}; }
    static DbValue MakeInteger(std::int64_t v)
    {
        DbValue value;
        value.kind = Kind::Integer;
        value.integer = v;
        return value;
    }
    static DbValue MakeReal(double v)
    {
        DbValue value;
        value.kind = Kind::Real;
        value.real = v;
        return value;
    }
    static DbValue MakeText(std::string v)
    {
        DbValue value;
        value.kind = Kind::Text;
        value.bytes = std::move(v);
        return value;
    }
    static DbValue MakeBlob(std::string v)
    {
        DbValue value;
        value.kind = Kind::Blob;
        value.bytes = std::move(v);
        return value;
    }
    bool IsNull() const { return kind == Kind::Null; }
};

// Nothing when the value does not convert (NULL, a blob, a text that is not a number, a
// number outside the target's range).
std::optional<std::string> ConvertToText(const DbValue& value);
std::optional<double> ConvertToDouble(const DbValue& value);
std::optional<std::int32_t> ConvertToInt32(const DbValue& value);
std::optional<std::int16_t> ConvertToInt16(const DbValue& value);

// The shortest decimal text that reads back as the same double ("0.1", "12", "1e+300").
std::string ShortestDecimal(double value);

// A decimal number as text: optional blanks, sign, digits with an optional fraction and
// exponent, optional blanks. Nothing for anything else (an empty text included).
std::optional<double> ParseDecimalText(const std::string& text);

}  // namespace orv

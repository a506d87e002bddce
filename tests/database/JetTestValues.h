#pragma once
// Short names for the cell values Jet writer tests put into rows.

#include "database/jet/JetTable.h"

#include <cstdint>
#include <string>

namespace orv::test {

inline JetValue I(std::int64_t v) { return JetValue::FromInt(v); }
inline JetValue R(double v) { return JetValue::FromReal(v); }
inline JetValue T(std::string v) { return JetValue::FromText(std::move(v)); }
inline JetValue N() { return JetValue::Null(); }

inline std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

}  // namespace orv::test

#include "database/SqlText.h"

namespace orv {

std::string SqlEscape(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    for (char c : value) {
        out.push_back(c);
        if (c == '\'')
            out.push_back('\'');
    }
    return out;
}

std::string SqlQuote(std::string_view value)
{
    return "'" + SqlEscape(value) + "'";
}

}  // namespace orv

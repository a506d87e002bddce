#pragma once
// Formatting text values into statements. Every statement that carries a text the user or
// a gallery page supplied goes through SqlQuote, so a value holding "'" (a search term, a
// directory name from a link) reads as that text instead of breaking the statement.

#include <string>
#include <string_view>

namespace orv {

// "it's" -> "'it''s'": the value between single quotes, its own single quotes doubled.
std::string SqlQuote(std::string_view value);

// The value with its single quotes doubled, for statements that put the quotes around a
// formatted pattern themselves ("DirContent = '%s(%s)'").
std::string SqlEscape(std::string_view value);

}  // namespace orv

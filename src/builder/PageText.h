#pragma once
// The readable text of an HTML page, as the full-text files hold it: tags, comments, scripts
// and styles removed, character references decoded, white space folded to single blanks,
// and a line break where a block (paragraph, heading, table row, list item, <br>) ends.

#include <string>
#include <string_view>

namespace orv {

// UTF-8 in, UTF-8 out; lines separated by CR LF, no empty lines.
std::string PageText(std::string_view html);

} // namespace orv

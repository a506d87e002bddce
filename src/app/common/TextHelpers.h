#pragma once
// String splitting, number parsing and plain text list files.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Splits at each occurrence of the separator found past the first character of the rest; a
// separator at the very start of the rest ends the splitting and stays in the last element
// ("a||b" at "|" gives "a" and "|b"; "a|b|" gives "a", "b", "").
std::vector<std::string> SplitString(std::string_view text, std::string_view separator);

// Appends one element per character of the UTF-8 text; malformed bytes are skipped.
void SplitCharacters(std::string_view text, std::vector<std::string>& list);

// Blanks trimmed, one leading "-" or "+", then digits and dots only; the value is what
// atof makes of it ("1.2.3" is 1.2). False, and out unchanged, for anything else.
bool ParseNumber(std::string_view text, double& out);

enum class LineEncoding {
    Auto,  // a line that platform::LooksLikeUtf8 stays as it is; any other is GB18030 (the Windows edition's)
    Raw,   // bytes as they are
};

// Empties the list, then appends every non-empty line of the file, each read through a
// 10,239-byte buffer (a longer line comes as several pieces) and cut at a NUL byte, without
// its line end. A missing or unreadable file leaves the list empty.
void ReadLines(std::string_view path, std::vector<std::string>& list, LineEncoding encoding = LineEncoding::Auto);

enum class WriteEncoding { Gb18030, Utf8 };

// Creates or truncates the file and writes each element followed by "\n"; false when the
// file cannot be written.
bool WriteLines(std::string_view path, const std::vector<std::string>& list,
                WriteEncoding encoding = WriteEncoding::Gb18030);

}  // namespace orv

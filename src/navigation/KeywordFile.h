#pragma once
// The keyword file of a gallery, G\Name.idx beside G\Name.GAL: one keyword a line, GB18030
// text (UTF-8 files are read too), empty lines ignored, a line read in pieces of at most
// 10,238 bytes. The search offers its keywords as search texts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The keyword file's path for a gallery database path (its last four characters replaced).
std::string KeywordFilePathFor(std::string_view galleryPath);

// The keywords in file order; nothing for a missing file.
std::vector<std::string> ReadKeywordFile(std::string_view path);

// The longest keyword a line can hold and be read back whole, in bytes on disk: lines are
// read in pieces of 10,238 bytes, and the CR LF after the keyword must fall into the same piece.
constexpr std::size_t kMaxKeywordBytes = 10236;

// Whether a keyword can be written and read back as the same single entry: not empty, no
// line end or NUL, at most kMaxKeywordBytes in GB18030.
bool IsWritableKeyword(std::string_view keyword);

// Writes the keywords in GB18030, CR LF after each; false when a keyword is not writable or
// the file cannot be written.
bool WriteKeywordFile(std::string_view path, const std::vector<std::string>& keywords);

// The same in memory.
bool BuildKeywordFileBytes(const std::vector<std::string>& keywords, std::string& bytes);

} // namespace orv

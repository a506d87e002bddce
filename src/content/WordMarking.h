#pragma once
// Marking searched words in a page before it is shown: each occurrence in the page body is
// wrapped in a highlight span and an anchor ("orv_find_bookmark") stands before the first, so
// the view can open scrolled to it. Pages are GB2312/GBK bytes: matching happens on GB18030
// bytes and only at character boundaries, so a word never matches across two characters.

#include "app/common/PathHelpers.h"

#include <string>
#include <string_view>

namespace orv {

inline constexpr const char* kHighlightOpen = "<span style='color:white;background:navy'>";
inline constexpr const char* kHighlightClose = "</span>";
inline constexpr const char* kFindAnchor = "<a name=\"orv_find_bookmark\"></a>";
inline constexpr const char* kFindAnchorName = "orv_find_bookmark";

// The page text with the words marked; text and words are GB18030 bytes. Occurrences inside
// a tag stay as they are. When the words occur nowhere whole, a run of their characters with
// tags between them ("A<b>B</b>C" for "ABC") is marked stretch by stretch, the tags kept.
// The text comes back unchanged when it has no "<body" followed by "</body>", when it does
// not decode as GB18030, or when a "<" in it is never closed.
std::string MarkWords(const std::string& text, const std::string& words);

// Marks the words (UTF-8) in the page file at path, which must lie in tempFolder: the page
// is only ever the temporary copy. The file is replaced at once when anything was marked and
// left as it is otherwise; true when it was rewritten.
bool HighlightWords(
    const std::string& path, const std::string& words, const std::string& tempFolder = GetTempFolder());

// The length of the GB18030 character at text[pos], or 0 when the bytes there are not one.
std::size_t Gb18030CharLength(std::string_view text, std::size_t pos);

} // namespace orv

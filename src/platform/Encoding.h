#pragma once
// Conversion between the GB18030 bytes that gallery files hold and the UTF-8 text the
// program keeps in memory.

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::platform {

// Bytes that do not decode become U+FFFD; the conversion never fails.
std::string Gb18030ToUtf8(std::string_view bytes);
// Invalid UTF-8 input becomes the GB18030 form of U+FFFD.
std::string Utf8ToGb18030(std::string_view utf8);

// UTF-16 bytes without their byte-order mark, in either byte order, as UTF-8; unpaired
// surrogates and an odd last byte become U+FFFD. And the reverse, invalid UTF-8 becoming
// U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

bool IsValidUtf8(std::string_view text);
bool IsAscii(std::string_view text);

// Whether bytes of unknown origin are better read as UTF-8 than as GB18030: valid UTF-8 with
// more sequences of three or more bytes (every CJK character is one) than of two. GB2312
// texts are often valid UTF-8 by chance, but then mostly in two-byte sequences.
bool LooksLikeUtf8(std::string_view bytes);

// The length of the longest prefix of at most maxBytes that does not end inside a
// character, for cutting encoded text to a byte limit.
std::size_t Gb18030PrefixLength(std::string_view bytes, std::size_t maxBytes);
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// The byte length of the UTF-8 sequence starting at text[pos], or 0 when it is malformed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

}  // namespace orv::platform

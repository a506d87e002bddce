#include "platform/Encoding.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

const std::string kUtf8 = "机械设计手册 A12";
const std::string kGb = "\xBB\xFA\xD0\xB5\xC9\xE8\xBC\xC6\xCA\xD6\xB2\xE1 A12";

TEST(Encoding, RoundTripsChineseText)
{
    EXPECT_EQ(Utf8ToGb18030(kUtf8), kGb);
    EXPECT_EQ(Gb18030ToUtf8(kGb), kUtf8);
    // Characters outside GB2312 survive through GB18030's four-byte forms.
    const std::string rare = "€😀";
    EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030(rare)), rare);
}

TEST(Encoding, UndecodableBytesBecomeReplacementCharacters)
{
    // A lone lead byte at the end, and a lead byte followed by an invalid trail byte.
    EXPECT_EQ(Gb18030ToUtf8("ab\xB0"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(Gb18030ToUtf8(std::string("\xFF\x00z", 3)), std::string("\xEF\xBF\xBD\x00z", 5));
    // Invalid UTF-8 becomes the GB18030 form of U+FFFD.
    EXPECT_EQ(Utf8ToGb18030("a\xC3"), "a\x84\x31\xA4\x37");
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary += static_cast<char>(i);
    EXPECT_TRUE(IsValidUtf8(Gb18030ToUtf8(binary + binary)));
}

TEST(Encoding, ValidatesUtf8)
{
    EXPECT_TRUE(IsValidUtf8(kUtf8));
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE6\x9C"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8(kGb));
}

TEST(Encoding, TellsUtf8FromShortGbText)
{
    EXPECT_TRUE(LooksLikeUtf8(kUtf8));
    // "值" in GB2312 is D6 B5, which is also a valid two-byte UTF-8 sequence.
    EXPECT_TRUE(IsValidUtf8("\xD6\xB5"));
    EXPECT_FALSE(LooksLikeUtf8("\xD6\xB5"));
    EXPECT_FALSE(LooksLikeUtf8("plain"));
}

TEST(Encoding, CutsAtCharacterBoundaries)
{
    // Two-byte characters: a limit inside the second one keeps only the first.
    EXPECT_EQ(Gb18030PrefixLength(kGb, 3), 2u);
    EXPECT_EQ(Gb18030PrefixLength(kGb, 4), 4u);
    EXPECT_EQ(Gb18030PrefixLength("\x81\x30\x81\x30x", 3), 0u);  // a four-byte character
    EXPECT_EQ(Gb18030PrefixLength("abc", 10), 3u);
    EXPECT_EQ(Utf8PrefixLength(kUtf8, 4), 3u);
    EXPECT_EQ(Utf8PrefixLength(kUtf8, 6), 6u);
}

}  // namespace
}  // namespace orv::platform

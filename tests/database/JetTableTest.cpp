#include "database/jet/JetTable.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(JetTableTest, OleDatesConvertBothWays)
{
    EXPECT_EQ(OleDateToIso(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(OleDateToIso(45000.5), "2023-03-15 12:00:00");
    EXPECT_EQ(OleDateToIso(2.25), "1900-01-01 06:00:00");
    // Below zero the fraction is still the time of day.
    EXPECT_EQ(OleDateToIso(-1.25), "1899-12-29 06:00:00");
    EXPECT_DOUBLE_EQ(*OleDateFromIso("1899-12-29 06:00:00"), -1.25);
    // A time rounding up to midnight is the next calendar day, on either side of zero.
    EXPECT_EQ(OleDateToIso(-1.9999999999), "1899-12-30 00:00:00");
    EXPECT_EQ(OleDateToIso(45000.99999999), "2023-03-16 00:00:00");
    EXPECT_DOUBLE_EQ(*OleDateFromIso("2023-03-15T12:00:00"), 45000.5);
    EXPECT_DOUBLE_EQ(*OleDateFromIso("2023-03-15"), 45000.0);
    EXPECT_DOUBLE_EQ(*OleDateFromIso("2000-02-29 23:59:59.5"), 36585.0 + 86399.5 / 86400.0);
    for (double d : {1.0, 36526.75, 45000.999988425923, -36500.5})
        EXPECT_NEAR(*OleDateFromIso(OleDateToIso(d)), d, 1.0 / 86400) << d;
}

TEST(JetTableTest, TextsThatAreNotDatesAreRefused)
{
    for (const char* text : {"", "2023-02-29", "2023-13-01", "2023-1-1", "2023-01-01 25:00", "yesterday",
                             "2023-01-01 10:00:00 junk"})
        EXPECT_FALSE(OleDateFromIso(text)) << text;
}

TEST(JetTableTest, Utf16KeepsCharactersBeyondTheBmpAndReplacesBadBytes)
{
    std::u16string units = Utf8ToUtf16("齿\xF0\x9F\x98\x80x");
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units[0], u'齿');
    EXPECT_EQ(units[1], 0xD83D);
    EXPECT_EQ(Utf16ToUtf8(units), "齿\xF0\x9F\x98\x80x");
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xE9\xBD"), u"\uFFFD\uFFFD");  // cut in the middle of a character
}

}  // namespace
}  // namespace orv

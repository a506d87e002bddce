#include "app/common/TextHelpers.h"

#include "platform/Encoding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using List = std::vector<std::string>;

TEST(SplitStringTest, KeepsASeparatorAtTheStartOfTheRest)
{
    EXPECT_EQ(SplitString("a||b", "|"), (List{"a", "|b"}));
    EXPECT_EQ(SplitString("a|b|", "|"), (List{"a", "b", ""}));
    EXPECT_EQ(SplitString("|a", "|"), (List{"|a"}));
    EXPECT_EQ(SplitString("abc", "|"), (List{"abc"}));
    EXPECT_EQ(SplitString("", "|"), (List{""}));
    EXPECT_EQ(SplitString("图库,机械,A", ","), (List{"图库", "机械", "A"}));
    EXPECT_EQ(SplitString("a<>b<>c", "<>"), (List{"a", "b", "c"}));
}

TEST(SplitCharactersTest, OneElementPerCharacter)
{
    List list{"kept"};
    SplitCharacters("a机b械", list);
    EXPECT_EQ(list, (List{"kept", "a", "机", "b", "械"}));
    SplitCharacters("", list);
    EXPECT_EQ(list.size(), 5u);
    List broken;
    SplitCharacters("x\xE6\x9Cy", broken);  // a cut sequence is skipped
    EXPECT_EQ(broken, (List{"x", "y"}));
}

TEST(ParseNumberTest, AcceptsSignsDigitsAndDots)
{
    double value = 7;
    EXPECT_TRUE(ParseNumber(" -2.5 ", value));
    EXPECT_DOUBLE_EQ(value, -2.5);
    EXPECT_TRUE(ParseNumber("+3", value));
    EXPECT_DOUBLE_EQ(value, 3);
    EXPECT_TRUE(ParseNumber("1.2.3", value));
    EXPECT_DOUBLE_EQ(value, 1.2);
    EXPECT_TRUE(ParseNumber("", value));  // nothing left to reject: atof gives 0
    EXPECT_DOUBLE_EQ(value, 0);

    value = 7;
    for (const char* bad : {"-", "1e5", "abc", "--1", "1,5", "0x10"}) {
        EXPECT_FALSE(ParseNumber(bad, value)) << bad;
        EXPECT_DOUBLE_EQ(value, 7) << bad;
    }
}

TEST(ReadLinesTest, SkipsEmptyLinesAndLineEnds)
{
    test::TempFolder dir;
    test::WriteFile(dir.NativeAt("list.txt"), "one\r\n\ntwo\nthree");
    List list{"stale"};
    ReadLines(dir.ProgramAt("LIST.TXT"), list);
    EXPECT_EQ(list, (List{"one", "two", "three"}));

    ReadLines(dir.ProgramAt("missing.txt"), list);
    EXPECT_TRUE(list.empty());
}

TEST(ReadLinesTest, DecodesGbLinesAndKeepsUtf8Lines)
{
    test::TempFolder dir;
    test::WriteFile(dir.NativeAt("order.odr"), platform::Utf8ToGb18030("机械图库\n") + "电气图库\n");
    List list;
    ReadLines(dir.ProgramAt("order.odr"), list);
    EXPECT_EQ(list, (List{"机械图库", "电气图库"}));
    ReadLines(dir.ProgramAt("order.odr"), list, LineEncoding::Raw);
    EXPECT_EQ(list.front(), platform::Utf8ToGb18030("机械图库"));
}

TEST(ReadLinesTest, SurvivesLongLinesAndBinaryData)
{
    test::TempFolder dir;
    std::string longLine(25000, 'x');
    test::WriteFile(dir.NativeAt("long.txt"), longLine + "\nend\n");
    List list;
    ReadLines(dir.ProgramAt("long.txt"), list, LineEncoding::Raw);
    ASSERT_EQ(list.size(), 4u);  // 10,238 + 10,238 + 4,524 bytes, then "end"
    EXPECT_EQ(list[0].size(), 10238u);
    EXPECT_EQ(list[2].size(), 25000u - 2 * 10238u);
    EXPECT_EQ(list[3], "end");

    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>(i * 7);
    test::WriteFile(dir.NativeAt("bin"), std::string("ab\0cd\n", 6) + binary);
    ReadLines(dir.ProgramAt("bin"), list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front(), "ab");  // a NUL ends the line's text
    for (const std::string& line : list)
        EXPECT_TRUE(platform::IsValidUtf8(line));
}

TEST(WriteLinesTest, WritesGbLinesAndReportsFailure)
{
    test::TempFolder dir;
    ASSERT_TRUE(WriteLines(dir.ProgramAt("out.lst"), {"机械", "b"}));
    EXPECT_EQ(test::ReadFile(dir.NativeAt("out.lst")), "\xBB\xFA\xD0\xB5\nb\n");
    ASSERT_TRUE(WriteLines(dir.ProgramAt("out.lst"), {"c"}, WriteEncoding::Utf8));
    EXPECT_EQ(test::ReadFile(dir.NativeAt("out.lst")), "c\n");
    EXPECT_FALSE(WriteLines(dir.ProgramAt("no\\such\\folder\\x.lst"), {"c"}));
}

}  // namespace
}  // namespace orv

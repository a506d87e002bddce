#include "content/TextFind.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

std::string Where(const std::optional<TextMatch>& match)
{
    return match ? std::to_string(match->Start) + "+" + std::to_string(match->Length) : "none";
}

TEST(TextFind, FirstThenNextWrapsAndNeedsAFirstFind)
{
    const std::u16string text = u"钢板 Steel 钢管 steel 钢";
    EXPECT_EQ(Where(FindFirstIn(text, u"钢")), "0+1");
    EXPECT_EQ(Where(FindFirstIn(text, u"steel")), "12+5"); // case counts
    EXPECT_EQ(Where(FindFirstIn(text, u"")), "none");
    EXPECT_EQ(Where(FindFirstIn(u"", u"钢")), "none");
    EXPECT_EQ(Where(FindFirstIn(text, u"铁")), "none");

    struct Case {
        std::size_t selectionEnd;
        const char* expected;
    };
    const Case cases[] = {
        { 1, "9+1" }, // after the first 钢
        { 10, "18+1" },
        { 19, "0+1" }, // past the last one: back to the first
        { 0, "none" }, // nothing found yet
        { 100, "none" }, // a selection past the text is no place to search from
    };
    for (const Case& c : cases)
        EXPECT_EQ(Where(FindNextIn(text, u"钢", c.selectionEnd)), c.expected) << c.selectionEnd;
    EXPECT_EQ(Where(FindNextIn(text, u"铁", 3)), "none");
}

TEST(TextFind, WindowTakesTheLowerRightQuarter)
{
    const WindowPlace even = TextWindowPlace(1280, 1024);
    EXPECT_EQ(even.X, 640);
    EXPECT_EQ(even.Y, 512);
    EXPECT_EQ(even.Width, 640);
    EXPECT_EQ(even.Height, 512);
    const WindowPlace odd = TextWindowPlace(1365, 767);
    EXPECT_EQ(odd.X, 683); // 1365 - 682
    EXPECT_EQ(odd.Y, 384);
    EXPECT_EQ(odd.Width, 682);
    EXPECT_EQ(odd.Height, 383);
}

} // namespace
} // namespace orv

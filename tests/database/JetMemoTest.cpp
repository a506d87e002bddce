#include "database/jet/JetMemo.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

std::string Header(std::uint32_t length, unsigned char kind, std::uint32_t pgRow)
{
    std::string h(12, '\0');
    for (int i = 0; i < 3; ++i)
        h[i] = static_cast<char>(length >> (8 * i));
    h[3] = static_cast<char>(kind);
    for (int i = 0; i < 4; ++i)
        h[4 + i] = static_cast<char>(pgRow >> (8 * i));
    return h;
}

std::string Ucs2(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

std::string Link(std::uint32_t next, const std::string& piece)
{
    std::string row(4, '\0');
    for (int i = 0; i < 4; ++i)
        row[i] = static_cast<char>(next >> (8 * i));
    return row + piece;
}

TEST(JetMemoTest, TextDecodesInBothForms)
{
    EXPECT_EQ(DecodeJetText(Ucs2(u"齿轮 gear")), "齿轮 gear");
    EXPECT_EQ(DecodeJetText("\xFF\xFE" "abc"), "abc");
    // A zero byte switches to two-byte characters and back.
    EXPECT_EQ(DecodeJetText(std::string("\xFF\xFE" "ab\0", 5) + Ucs2(u"齿") + std::string("\0c", 2)), "ab齿c");
    EXPECT_EQ(DecodeJetText(Ucs2(u"\xD83D")), "\xEF\xBF\xBD");  // a lone surrogate
}

TEST(JetMemoTest, InlineSingleRowAndChainedMemosReadWhole)
{
    std::map<std::uint32_t, std::string> rows;
    auto fetch = [&](std::uint32_t pgRow, std::string& row) {
        auto it = rows.find(pgRow);
        if (it == rows.end())
            return false;
        row = it->second;
        return true;
    };
    std::string text = Ucs2(u"长备注");
    EXPECT_EQ(ReadJetMemo(Header(6, 0x80, 0) + text, fetch), "长备注");
    rows[0x0501] = text;
    EXPECT_EQ(ReadJetMemo(Header(6, 0x40, 0x0501), fetch), "长备注");
    rows[0x0700] = Link(0x0802, Ucs2(u"第一"));
    rows[0x0802] = Link(0, Ucs2(u"第二"));
    EXPECT_EQ(ReadJetMemo(Header(8, 0x00, 0x0700), fetch), "第一第二");
}

TEST(JetMemoTest, DamagedMemosAreRefused)
{
    std::map<std::uint32_t, std::string> rows{{0x0700, Link(0x0700, "xxxx")}};  // a chain into itself
    auto fetch = [&](std::uint32_t pgRow, std::string& row) {
        auto it = rows.find(pgRow);
        if (it == rows.end())
            return false;
        row = it->second;
        return true;
    };
    EXPECT_FALSE(ReadJetMemo(Header(1000, 0x00, 0x0700), fetch));
    EXPECT_FALSE(ReadJetMemo(Header(4, 0x40, 0x0999), fetch));
    EXPECT_FALSE(ReadJetMemo(Header(4, 0x20, 0x0700), fetch));
    EXPECT_FALSE(ReadJetMemo("short", fetch));
    // A chain of rows that carry no text never grows past the length: it must still end.
    rows[0x0900] = Link(0x0901, "");
    rows[0x0901] = Link(0x0900, "");
    EXPECT_FALSE(ReadJetMemo(Header(1000, 0x00, 0x0900), fetch));
}

}  // namespace
}  // namespace orv

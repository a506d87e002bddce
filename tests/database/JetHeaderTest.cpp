#include "database/JetHeader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orv {
namespace {

const unsigned char kKey[4] = {0xC7, 0xDA, 0x39, 0x6B};

std::string Hex(const unsigned char* p, std::size_t n)
{
    std::string out;
    char buffer[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", p[i]);
        out += buffer;
    }
    return out;
}

// The plain region 0x18..0x97 of a header page.
std::string PlainRegion(const std::string& page)
{
    std::string region = page.substr(0x18, 128);
    JetRc4(kKey, 4, reinterpret_cast<unsigned char*>(region.data()), region.size());
    return region;
}

TEST(JetHeaderTest, Rc4KeystreamMatchesTheKnownAnswer)
{
    unsigned char data[16] = {};
    JetRc4(kKey, 4, data, sizeof data);
    EXPECT_EQ(Hex(data, 16), "b56f03626108c255eba96772433f009c");
}

TEST(JetHeaderTest, PageIsAJet4HeaderWithAZeroDatabaseKey)
{
    std::string page = BuildJetHeaderPage("", 45000.5);
    ASSERT_EQ(page.size(), 4096u);
    EXPECT_EQ(page[0], 0);
    EXPECT_EQ(page.substr(4, 16), std::string("Standard Jet DB\0", 16));
    EXPECT_EQ(page[0x14], 1);
    EXPECT_EQ(Hex(reinterpret_cast<const unsigned char*>(page.data()) + 0x3E, 4), "fb8abc4e");
}

TEST(JetHeaderTest, NoPasswordIsStoredAsTheMaskItself)
{
    std::string region = PlainRegion(BuildJetHeaderPage("", 45000.5));
    const auto* password = reinterpret_cast<const unsigned char*>(region.data()) + (0x42 - 0x18);
    for (int i = 0; i < 40; i += 4)
        EXPECT_EQ(Hex(password + i, 4), "c8af0000") << i;
    std::optional<JetHeaderInfo> info = ReadJetHeader(BuildJetHeaderPage("", 45000.5));
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->Password);
    EXPECT_DOUBLE_EQ(info->CreationDate, 45000.5);
}

TEST(JetHeaderTest, PasswordReadsBackIncludingChinese)
{
    std::optional<JetHeaderInfo> info = ReadJetHeader(BuildJetHeaderPage("秘密pw1", 45000.5));
    ASSERT_TRUE(info && info->Password);
    EXPECT_EQ(*info->Password, "秘密pw1");
    EXPECT_EQ(info->Version, 1);
    EXPECT_EQ(info->DatabaseKey, 0u);

    // The gallery password under a date before 1900 (a negative mask).
    info = ReadJetHeader(BuildJetHeaderPage("qvelb7381", -700.25));
    ASSERT_TRUE(info && info->Password);
    EXPECT_EQ(*info->Password, "qvelb7381");
}

TEST(JetHeaderTest, PasswordLongerThanTwentyCharactersIsCut)
{
    std::optional<JetHeaderInfo> info = ReadJetHeader(BuildJetHeaderPage("abcdefghijklmnopqrstuvwxyz", 45000.5));
    ASSERT_TRUE(info && info->Password);
    EXPECT_EQ(*info->Password, "abcdefghijklmnopqrst");
}

TEST(JetHeaderTest, OtherFilesAreNotJetHeaders)
{
    EXPECT_FALSE(ReadJetHeader(""));
    EXPECT_FALSE(ReadJetHeader(std::string(4096, '\0')));
    std::string page = BuildJetHeaderPage("", 45000.5);
    EXPECT_FALSE(ReadJetHeader(page.substr(0, 100)));
    page[0] = 1;
    EXPECT_FALSE(ReadJetHeader(page));
}

}  // namespace
}  // namespace orv

#include "database/jet/JetHeader.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(JetHeader, RegionUsesTheKnownKeystream)
{
    std::string page(4096, '\0');
    CryptJetHeaderRegion(page, 1);
    const unsigned char expected[] = {0xb5, 0x6f, 0x03, 0x62, 0x61, 0x08, 0xc2, 0x55,
                                      0xeb, 0xa9, 0x67, 0x72, 0x43, 0x3f, 0x00, 0x9c};
    for (std::size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(static_cast<unsigned char>(page[0x18 + i]), expected[i]) << i;
    EXPECT_EQ(page[0x18 + 128], '\0');  // the region ends at 0x97
}

TEST(JetHeader, NoPasswordIsStoredAsTheMask)
{
    const std::string file = test::MakeJet4File(u"", 45000.5);
    std::string page = file.substr(0, 4096);
    CryptJetHeaderRegion(page, 1);
    EXPECT_EQ(page.substr(0x42, 4), std::string("\xc8\xaf\x00\x00", 4));
    std::string reason;
    auto header = ParseJetHeader(file, file.size(), reason);
    ASSERT_TRUE(header) << reason;
    EXPECT_EQ(header->version, 1);
    EXPECT_EQ(header->pageSize, 4096u);
    EXPECT_EQ(header->codePage, 1252);
    EXPECT_EQ(header->databaseKey, 0u);
    EXPECT_EQ(header->password, "");
    EXPECT_TRUE(JetPasswordMatches(*header, "qvelb7381"));  // Jet ignores a password then
    EXPECT_TRUE(JetPasswordMatches(*header, ""));
}

TEST(JetHeader, ReadsAndChecksThePassword)
{
    const std::string file = test::MakeJet4File(u"秘密pw1", 38000.75);
    std::string reason;
    auto header = ParseJetHeader(file, file.size(), reason);
    ASSERT_TRUE(header) << reason;
    EXPECT_EQ(header->password, "秘密pw1");
    EXPECT_TRUE(JetPasswordMatches(*header, "秘密pw1"));
    EXPECT_FALSE(JetPasswordMatches(*header, "秘密PW1"));
    EXPECT_FALSE(JetPasswordMatches(*header, ""));
    const std::string full = test::MakeJet4File(u"abcdefghijklmnopqrst");  // 20 characters fill the field
    header = ParseJetHeader(full, full.size(), reason);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->password, "abcdefghijklmnopqrst");
}

TEST(JetHeader, RejectsDamagedHeadersAndSizes)
{
    std::string reason;
    const std::string file = test::MakeJet4File(u"");
    EXPECT_FALSE(ParseJetHeader(file.substr(0, 0x90), file.size(), reason));
    EXPECT_FALSE(ParseJetHeader(file, 4096 * 2, reason));
    EXPECT_FALSE(ParseJetHeader(file, 4096 * 3 + 1, reason));
    EXPECT_FALSE(ParseJetHeader(file, 0, reason));
    std::string bad = file;
    bad[0x14] = 7;
    EXPECT_FALSE(ParseJetHeader(bad, bad.size(), reason));
    bad = file;
    bad[5] = 'X';
    EXPECT_FALSE(ParseJetHeader(bad, bad.size(), reason));
    EXPECT_FALSE(reason.empty());
    // Jet 3 uses 2048-byte pages.
    std::string jet3 = file.substr(0, 2048 * 3);
    jet3[0x14] = 0;
    auto header = ParseJetHeader(jet3, jet3.size(), reason);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->pageSize, 2048u);
    EXPECT_TRUE(JetPasswordMatches(*header, "anything"));
}

TEST(JetHeader, DamagedCreationDateDoesNotBreakTheCheck)
{
    std::string file = test::MakeJet4File(u"");
    std::string page = file.substr(0, 4096);
    CryptJetHeaderRegion(page, 1);
    const double huge = 1e300;
    std::memcpy(&page[0x72], &huge, sizeof huge);
    CryptJetHeaderRegion(page, 1);
    file.replace(0, 4096, page);
    std::string reason;
    auto header = ParseJetHeader(file, file.size(), reason);
    ASSERT_TRUE(header);
    EXPECT_FALSE(header->password.empty());  // the field no longer unmasks to zeros
}

TEST(JetHeader, RecognisesFormats)
{
    EXPECT_TRUE(LooksLikeSqliteFile(std::string("SQLite format 3\0rest", 20)));
    EXPECT_FALSE(LooksLikeSqliteFile("SQLite format 3"));
    EXPECT_TRUE(LooksLikeAccessFile(test::MakeJet4File(u"")));
    EXPECT_FALSE(LooksLikeAccessFile(""));
}

}  // namespace
}  // namespace orv

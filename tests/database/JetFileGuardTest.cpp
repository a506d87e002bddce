#include "JetAccessShapes.h"
#include "database/jet/Jet4Writer.h"
#include "database/jet/JetFileGuard.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orv {
namespace {

constexpr std::size_t kPage = 4096;
constexpr std::uint32_t kTable = 3;  // the first declared table's definition page

std::uint32_t U32(const std::string& b, std::size_t at)
{
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
void Put16(std::string& b, std::size_t at, std::uint16_t v) { std::memcpy(b.data() + at, &v, 2); }
void Put32(std::string& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

class JetFileGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CJet4Writer writer;
        int dirs = writer.AddTable({"DrawingDir", {{"DirID", JetColumnType::Long}, {"DirName", JetColumnType::Text},
                                                   {"DirPath", JetColumnType::Memo}}}).value();
        for (int i = 0; i < 600; ++i)
            ASSERT_TRUE(writer.AddRow(dirs, {JetValue::FromInt(i), JetValue::FromText("目录" + std::to_string(i)),
                                             JetValue::FromText(std::string(i == 7 ? 9000 : 10, 'p'))}));
        int gallery = writer.AddTable({"Gallery", {{"GalleryName", JetColumnType::Text}}}).value();
        ASSERT_TRUE(writer.AddRow(gallery, {JetValue::FromText("图库")}));
        m_file = writer.Finish().value();
    }
    // Runs the guard over the bytes as the importer does: header, catalog, then the table.
    std::string Check(const std::string& bytes, std::uint32_t table = kTable)
    {
        test::WriteFile(m_folder.NativeAt("g.mdb"), bytes);
        CJetFileGuard guard;
        if (!guard.Open(m_folder.NativeAt("g.mdb")) || !guard.CheckCatalog() || !guard.CheckTable(table))
            return guard.Reason().empty() ? "failed without a reason" : guard.Reason();
        return std::string();
    }
    std::size_t MapRowStart(const std::string& bytes, std::size_t& end)
    {
        std::uint32_t pgRow = U32(bytes, kTable * kPage + 0x37);
        std::size_t page = (pgRow >> 8) * kPage, row = pgRow & 0xFF;
        std::uint16_t start, prev = kPage;
        std::memcpy(&start, bytes.data() + page + 14 + 2 * row, 2);
        if (row > 0)
            std::memcpy(&prev, bytes.data() + page + 14 + 2 * (row - 1), 2);
        end = page + prev;
        return page + start;
    }
    test::TempFolder m_folder;
    std::string m_file;
};

TEST_F(JetFileGuardTest, WrittenFilePasses)
{
    EXPECT_EQ(Check(m_file), "");
    std::uint32_t second = kTable + 1;
    while (second * kPage < m_file.size() && m_file[second * kPage] != 0x02)
        ++second;
    EXPECT_EQ(Check(m_file, second), "");
}

// Found with files Access wrote: Access keeps a deleted column's place until the database is
// compacted, so a definition may count more variable columns than it lists columns.
TEST_F(JetFileGuardTest, DefinitionsWithDeletedColumnsPass)
{
    test::JetAccessShapes shapes(m_file);
    for (const char* column : {"DirName", "DirID"})
        ASSERT_TRUE(shapes.DeleteColumn("DrawingDir", column)) << shapes.Error();
    EXPECT_EQ(Check(shapes.Bytes()), "");  // one column listed, two variable ones counted
}

TEST_F(JetFileGuardTest, TruncatedFilesFail)
{
    for (std::size_t length : {std::size_t(0), std::size_t(100), 2 * kPage, 3 * kPage + 17, m_file.size() / 2,
                               m_file.size() - kPage})
        EXPECT_NE(Check(m_file.substr(0, length)), "") << length;
    EXPECT_NE(Check("Standard Jet DB but not at its place" + std::string(3 * kPage, '\0')), "");
}

TEST_F(JetFileGuardTest, CatalogPointingPastTheEndFails)
{
    EXPECT_NE(Check(m_file, 0xFFFFF0).find("past the end"), std::string::npos);
    EXPECT_NE(Check(m_file, static_cast<std::uint32_t>(m_file.size() / kPage)), "");
    EXPECT_NE(Check(m_file, 1).find("not a table definition"), std::string::npos);
}

// Found by fuzzing: a catalog row naming page 0 made the guard read an empty definition.
TEST_F(JetFileGuardTest, CatalogNamingPageZeroFails)
{
    EXPECT_NE(Check(m_file, 0), "");
}

TEST_F(JetFileGuardTest, ImpossibleCountsInADefinitionFail)
{
    struct Case { std::size_t offset; std::uint32_t value; bool wide; };
    for (Case c : {Case{0x2D, 60000, false}, Case{0x2D, 0, false}, Case{0x2B, 256, false}, Case{0x33, 0x7FFFFFFF, true},
                   Case{0x2F, 100000, true}, Case{0x3F + 25 * 3, 0xFFFF, false} /* first name length */}) {
        std::string bad = m_file;
        if (c.wide)
            Put32(bad, kTable * kPage + c.offset, c.value);
        else
            Put16(bad, kTable * kPage + c.offset, static_cast<std::uint16_t>(c.value));
        EXPECT_NE(Check(bad), "") << std::hex << c.offset;
    }
    std::string bad = m_file;
    bad[kTable * kPage + 0x3F] = 0x55;  // unknown column type
    EXPECT_NE(Check(bad), "");
    bad = m_file;
    Put16(bad, kTable * kPage + 0x3F + 21, 4095);  // fixed offset outside any row
    EXPECT_NE(Check(bad), "");
}

TEST_F(JetFileGuardTest, DefinitionChainsThatLoopOrLeaveTheFileFail)
{
    std::string bad = m_file;
    Put32(bad, kTable * kPage + 4, kTable);
    EXPECT_NE(Check(bad).find("loop"), std::string::npos);
    Put32(bad, kTable * kPage + 4, 0x7FFFFF);
    EXPECT_NE(Check(bad), "");
}

TEST_F(JetFileGuardTest, MapsNamingForeignPagesFail)
{
    std::size_t end = 0;
    std::size_t start = MapRowStart(m_file, end);
    std::string bad = m_file;
    for (std::size_t i = start + 5; i < end; ++i)
        bad[i] = '\xFF';
    EXPECT_NE(Check(bad).find("belongs to something else"), std::string::npos);
    bad = m_file;
    Put32(bad, start + 1, 0);  // the same bits, shifted onto the header and catalog pages
    EXPECT_NE(Check(bad), "");
    bad = m_file;
    bad[start] = 7;
    EXPECT_NE(Check(bad).find("unknown usage map type"), std::string::npos);
    bad = m_file;
    Put32(bad, kTable * kPage + 0x37, (bad.size() / kPage + 3) << 8);
    EXPECT_NE(Check(bad), "");
}

// A map of bitmap pages can name far more pages than the file holds (over 32,000 a bitmap
// page, a thousand bitmap pages): the check must not gather them all.
TEST_F(JetFileGuardTest, MapOfBitmapPagesNamingMillionsOfPagesFailsQuickly)
{
    // Two added pages: a data page whose one row is the table's map, a list of bitmap pages
    // that all name the other added page, a bitmap with every bit set.
    std::string bad = m_file;
    const auto mapPage = static_cast<std::uint32_t>(bad.size() / kPage);
    std::string data(kPage, '\0');
    data[0] = 0x01;
    Put16(data, 12, 1);
    Put16(data, 14, 16);
    data[16] = 0x01;
    std::size_t entries = 0;
    for (std::size_t at = 17; at + 4 <= kPage; at += 4, ++entries)
        Put32(data, at, mapPage + 1);
    std::string bitmap(kPage, '\xFF');
    bitmap[0] = 0x05;
    bad += data + bitmap;
    Put32(bad, kTable * kPage + 0x37, mapPage << 8);
    ASSERT_GT(entries, 1000u);
    EXPECT_NE(Check(bad), "");
}

}  // namespace
}  // namespace orv

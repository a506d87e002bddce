// Access galleries written by the Jet 4 writer, opened through CAdoConnection: the importer
// meets real Jet files here, good and damaged.

#include "DatabaseTestSupport.h"
#include "JetTestValues.h"
#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/jet/Jet4Writer.h"
#include "builder/SampleGallery.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace orv {
namespace {

constexpr const char* kPassword = kGalleryPassword;

using test::I;
using test::N;
using test::R;
using test::Repeat;
using test::T;

class JetImportTest : public ::testing::Test {
protected:
    // Writes one table with the rows to gallery.gal; returns its program path.
    std::string Write(const JetTableDef& def, const std::vector<JetRow>& rows, const std::string& password = kPassword,
                      const std::string& name = "gallery.gal")
    {
        CJet4Writer::Options options;
        options.Password = password;
        CJet4Writer writer(options);
        int table = writer.AddTable(def).value();
        for (const JetRow& row : rows)
            EXPECT_TRUE(writer.AddRow(table, row)) << writer.LastError();
        EXPECT_TRUE(writer.Save(m_folder.ProgramAt(name))) << writer.LastError();
        return m_folder.ProgramAt(name);
    }
    std::vector<std::string> CopyFiles() const
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.NativeAt("cache/orvbook/galleries"), ec))
            names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempFolder m_folder;
    test::ScopedEnv m_cache{"XDG_CACHE_HOME", m_folder.NativeAt("cache")};
};

const JetTableDef kAllTypes{"Types",
                            {{"Id", JetColumnType::Long},
                             {"Flag", JetColumnType::Boolean},
                             {"Small", JetColumnType::Byte},
                             {"Short", JetColumnType::Integer},
                             {"Real", JetColumnType::Double},
                             {"Made", JetColumnType::DateTime},
                             {"Name", JetColumnType::Text},
                             {"Note", JetColumnType::Memo}}};

TEST_F(JetImportTest, EveryColumnTypeReadsAsTheCopyKeepsIt)
{
    std::string path = Write(kAllTypes, {{I(1), I(1), I(200), I(-32768), R(2.5), R(45000.25), T("Gear 齿轮"), T("备注")},
                                         {I(2), I(0), I(0), I(32767), R(-1e-3), T("1999-12-31 23:59:59"), T("x"), T("m")},
                                         {I(-2147483648LL), N(), N(), N(), N(), N(), N(), N()}});
    test::MessageRecorder messages;
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from Types where Id = 1", connection), 0);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.GetLong("Flag"), -1);  // Access stores Yes as -1
    EXPECT_EQ(rs.GetShort("Small"), 200);
    EXPECT_EQ(rs.GetShort("Short"), -32768);
    EXPECT_DOUBLE_EQ(rs.GetDouble("Real"), 2.5);
    EXPECT_EQ(rs.GetString("Made"), "2023-03-15 06:00:00");
    EXPECT_EQ(rs.GetString("Name"), "Gear 齿轮");
    EXPECT_EQ(rs.GetString("Note"), "备注");
    EXPECT_EQ(rs.GetString("Real"), "2.5");

    ASSERT_EQ(rs.OpenSql("Select typeof(Flag) as a, typeof(Small) as b, typeof(Short) as c, typeof(Id) as d, "
                         "typeof(Real) as e, typeof(Made) as f, typeof(Name) as g, typeof(Note) as h from Types "
                         "where Id = 2",
                         connection),
              0);
    for (const char* column : {"a", "b", "c", "d"})
        EXPECT_EQ(rs.GetString(column), "integer") << column;
    EXPECT_EQ(rs.GetString("e"), "real");
    for (const char* column : {"f", "g", "h"})
        EXPECT_EQ(rs.GetString(column), "text") << column;

    // Text compares without regard to case, as Jet does.
    ASSERT_EQ(rs.OpenSql("Select Id from Types where Name = 'GEAR 齿轮'", connection), 0);
    EXPECT_EQ(rs.GetRecordCount(), 1);
    ASSERT_EQ(rs.OpenSql("Select Made, Id from Types where Id = 2", connection), 0);
    EXPECT_EQ(rs.GetString("Made"), "1999-12-31 23:59:59");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(JetImportTest, SingleAndCurrencyReadAsReals)
{
    std::string path = Write({"Money", {{"S", JetColumnType::Single}, {"C", JetColumnType::Currency}}},
                             {{R(0.5), R(1234.5678)}});
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select S, C, typeof(S) as a, typeof(C) as b from Money", connection), 0);
    EXPECT_DOUBLE_EQ(rs.GetDouble("S"), 0.5);
    EXPECT_DOUBLE_EQ(rs.GetDouble("C"), 1234.5678);
    EXPECT_EQ(rs.GetString("a"), "real");
    EXPECT_EQ(rs.GetString("b"), "real");
}

TEST_F(JetImportTest, SingleKeepsTheDecimalValueAccessShows)
{
    // A Single holding 1.1 is 1.10000002384185791015625 in binary; widened as it is, every
    // data sheet showed "1.100000023841858".
    std::string path = Write({"Sizes", {{"S", JetColumnType::Single}}}, {{R(1.1)}, {R(-0.3)}, {R(16777216.0)}});
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select S from Sizes", connection), 0);
    EXPECT_EQ(rs.GetString("S"), "1.1");
    rs.MoveNext();
    EXPECT_EQ(rs.GetString("S"), "-0.3");
    rs.MoveNext();
    EXPECT_EQ(rs.GetString("S"), "16777216");
}

TEST_F(JetImportTest, NullsReadAsTheStartValues)
{
    std::string path = Write(kAllTypes, {{I(3), N(), N(), N(), N(), N(), N(), N()}});
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from Types where Small Is Null And Made Is Null And Note Is Null", connection), 0);
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetLong("Flag"), 0);  // a NULL Yes/No is No in Access
    EXPECT_EQ(rs.GetShort("Short"), 0);
    EXPECT_EQ(rs.GetDouble("Real"), 0.0);
    EXPECT_EQ(rs.GetString("Name"), "");
    EXPECT_EQ(rs.GetString("Made"), "");
    EXPECT_EQ(rs.GetLong("Note"), 0);
}

TEST_F(JetImportTest, ChineseTextAndLongMemosArriveWhole)
{
    JetTableDef def{"备注表", {{"编号", JetColumnType::Long}, {"标题", JetColumnType::Text}, {"内容", JetColumnType::Memo}}};
    // Inline, one long-value row, a chain of pages, and memos of 240 kB and 1.2 MB of UTF-8.
    std::vector<std::string> memos{"短", Repeat("中", 1500), Repeat("图库", 6000), Repeat("齿轮轴承", 20000),
                                   Repeat("齿轮轴承", 100000)};
    std::vector<JetRow> rows;
    for (std::size_t i = 0; i < memos.size(); ++i)
        rows.push_back({I(static_cast<std::int64_t>(i)), T(Repeat("标", 255)), T(memos[i])});
    std::string path = Write(def, rows);
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from 备注表 Order By 编号", connection), 0);
    for (std::size_t i = 0; i < memos.size(); ++i, rs.MoveNext()) {
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_EQ(rs.GetString("标题"), Repeat("标", 255));
        EXPECT_EQ(rs.GetString("内容"), memos[i]) << "memo " << i << " of " << memos[i].size() << " bytes";
    }
}

TEST_F(JetImportTest, ManyRowsAcrossPagesArriveInFull)
{
    JetTableDef def{"DrawingList", {{"DrawingID", JetColumnType::Long}, {"DirID", JetColumnType::Long},
                                    {"DrawingCaption", JetColumnType::Text}}};
    std::vector<JetRow> rows;
    for (int i = 1; i <= 20000; ++i)
        rows.push_back({I(i), I(i % 37), T("图样 " + std::to_string(i))});
    std::string path = Write(def, rows);
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select Count(DrawingID) as TValue, Sum(DrawingID) as S from DrawingList", connection), 0);
    EXPECT_EQ(rs.GetLong("TValue"), 20000);
    EXPECT_EQ(rs.GetDouble("S"), 20000.0 * 20001 / 2);
    ASSERT_EQ(rs.OpenSql("Select DrawingCaption from DrawingList where DrawingID = 19999", connection), 0);
    EXPECT_EQ(rs.GetString("DrawingCaption"), "图样 19999");
}

TEST_F(JetImportTest, PasswordRightWrongAndNone)
{
    std::string locked = Write(kAllTypes, {{I(1), N(), N(), N(), N(), N(), N(), N()}}, kPassword, "locked.gal");
    std::string open = Write(kAllTypes, {{I(1), N(), N(), N(), N(), N(), N(), N()}}, "", "open.gal");
    test::MessageRecorder messages;
    CAdoConnection connection;
    EXPECT_EQ(connection.ConnectDatabase(locked, kPassword), 0) << connection.LastError();
    EXPECT_TRUE(messages.messages.empty());
    for (const char* wrong : {"QVELB7381", "wrong", ""}) {
        EXPECT_EQ(connection.ConnectDatabase(locked, wrong), -1) << wrong;
        EXPECT_FALSE(connection.IsConnected());
    }
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].caption, "Open_Connection");
    // A file without a password opens with any, as Jet does.
    EXPECT_EQ(connection.ConnectDatabase(open, kPassword), 0);
    EXPECT_EQ(connection.ConnectDatabase(open, ""), 0);
}

TEST_F(JetImportTest, CopyIsReusedWhileFreshAndRebuiltWhenTheGalleryChanges)
{
    std::string path = Write(kAllTypes, {{I(1), N(), N(), N(), N(), N(), T("old"), N()}});
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0);
    ASSERT_EQ(CopyFiles().size(), 1u);
    std::string copy = m_folder.NativeAt("cache/orvbook/galleries/" + CopyFiles()[0]);
    struct stat before {};
    ::stat(copy.c_str(), &before);
    connection.CloseConnection();
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0);
    struct stat again {};
    ::stat(copy.c_str(), &again);
    EXPECT_EQ(before.st_mtim.tv_nsec, again.st_mtim.tv_nsec);  // reused, not rewritten
    EXPECT_EQ(before.st_ino, again.st_ino);

    connection.CloseConnection();
    Write(kAllTypes, {{I(1), N(), N(), N(), N(), N(), T("new"), N()}});
    struct timeval times[2] = {{1700000000, 0}, {1700000000, 0}};  // a clearly different time
    ::utimes(platform::NativePath(path).c_str(), times);
    ASSERT_EQ(connection.ConnectDatabase(path, kPassword), 0);
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select Name from Types", connection), 0);
    EXPECT_EQ(rs.GetString("Name"), "new");
    EXPECT_EQ(CopyFiles().size(), 1u);  // the stale copy is gone
}

// The statements the reader runs, on a generated gallery.
TEST_F(JetImportTest, ReaderStatementsRunOnTheImportedCopy)
{
    std::string error;
    ASSERT_TRUE(WriteSampleAccessGallery(m_folder.ProgramAt("sample.gal"), kPassword, {300, 1500}, error)) << error;
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(m_folder.ProgramAt("sample.gal"), kPassword), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from Gallery", connection), 0);
    EXPECT_EQ(rs.GetString("GalleryName"), "机械设计图库");

    ASSERT_EQ(rs.OpenSql("SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,"
                         "(SpecClass.SpecPath + DrawingDir.DirPath) AS TPath, DrawingDir.ParDirID,DrawingDir.DirContent,"
                         "DrawingDir.DirContentCompress,DrawingDir.DirName,DrawingDir.DirPath,SpecClass.SpecPath FROM "
                         "DrawingDir, SpecClass WHERE DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = 50",
                         connection),
              0);
    EXPECT_EQ(rs.GetString("TContent"), "\\Spec3\\Src\\S50.htm");
    EXPECT_EQ(rs.GetString("TPath"), "\\Spec3\\Dir50");
    EXPECT_EQ(rs.GetShort("DirContentCompress"), 1);
    EXPECT_EQ(rs.GetLong("ParDirID"), 5);
    // A NULL SourceContent makes the whole concatenation NULL, as in Jet.
    ASSERT_EQ(rs.OpenSql("SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent FROM DrawingDir, "
                         "SpecClass WHERE DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = 51",
                         connection),
              0);
    EXPECT_EQ(rs.GetString("TContent"), "");

    ASSERT_EQ(rs.OpenSql("Select Count(DirContent) as TValue From DrawingDirFiles where DirID = 30", connection), 0);
    EXPECT_EQ(rs.GetShort("TValue"), 3);
    ASSERT_EQ(rs.OpenSql("Select DirID,ParDirID,DirName,DirType,DirPath,DirContent,SourceContent from DrawingDir "
                         "where DirVisible >= 0 And SpecID = 1 Order By DirVisible,DirID,ParDirID",
                         connection),
              0);
    EXPECT_EQ(rs.GetRecordCount(), 300 / 8);  // DirID 8, 16, ... 296; the hidden ones are in other specialities
    ASSERT_EQ(rs.OpenSql("Select DirID,DirName from DrawingDir where DirName = '目录 77 零件'", connection), 0);
    EXPECT_EQ(rs.GetLong("DirID"), 77);
    ASSERT_EQ(rs.OpenSql("SELECT DrawingName,DrawingID as TDrawingID,Status1,AppClass,FunClass,ShpClass,QueryKeyword,"
                         "DrawingCaption, PreviewFile, DrawingPath FROM DrawingList WHERE BoundDrawingID=0 AND "
                         "DrawingID In (Select DrawingID from DrawingDirList where DirID = 11) Order By UserType,DrawingID",
                         connection),
              0);
    ASSERT_GT(rs.GetRecordCount(), 0);
    EXPECT_EQ(rs.GetLong("TDrawingID") % 10, 0);
    ASSERT_EQ(rs.OpenSql("Select DISTINCT DriverType from DrawingList Order By DriverType", connection), 0);
    EXPECT_EQ(rs.GetRecordCount(), 5);
    ASSERT_EQ(rs.OpenSql("Select * from DrawingData where DrawingID = 20 Order By FieldOrder", connection), 0);
    ASSERT_EQ(rs.GetRecordCount(), 2);
    EXPECT_DOUBLE_EQ(rs.GetDouble("FieldValue_DBL"), 10.0);
    rs.MoveNext();
    EXPECT_EQ(rs.GetString("FieldValue_STR"), "45号钢");
    ASSERT_EQ(rs.OpenSql("Select length(QueryKeyword) as L from DrawingList where DrawingID = 107", connection), 0);
    EXPECT_GT(rs.GetLong("L"), 1000);
}

// Damaged Jet files end in the "Open_Connection" failure, never in a crash or a hang.
class JetImportDamageTest : public JetImportTest {
protected:
    static constexpr std::size_t kPage = 4096;
    static constexpr std::uint32_t kFirstTable = 3;  // the first table's definition page
    void SetUp() override
    {
        JetImportTest::SetUp();
        std::string error;
        ASSERT_TRUE(WriteSampleAccessGallery(m_folder.ProgramAt("good.gal"), kPassword, {60, 300}, error)) << error;
        m_good = test::ReadFile(m_folder.NativeAt("good.gal"));
    }
    void Put32(std::string& b, std::size_t at, std::uint32_t v) { std::memcpy(&b[at], &v, 4); }
    void Put16(std::string& b, std::size_t at, std::uint16_t v) { std::memcpy(&b[at], &v, 2); }
    // Opens the damaged bytes; the reason shown, or "" when the open succeeded.
    std::string Open(const std::string& bytes)
    {
        test::WriteFile(m_folder.NativeAt("bad.gal"), bytes);
        test::MessageRecorder messages;
        CAdoConnection connection;
        int result = connection.ConnectDatabase(m_folder.ProgramAt("bad.gal"), kPassword);
        if (result == 0)
            return "";
        EXPECT_EQ(result, -1);
        EXPECT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages.empty() ? "" : messages.messages[0].caption, "Open_Connection");
        return messages.messages.empty() ? "no message" : messages.messages[0].text;
    }
    void CheckCatalogTarget(std::uint32_t extra);
    std::string m_good;
};

TEST_F(JetImportDamageTest, IntactFileOpens)
{
    EXPECT_EQ(Open(m_good), "");
}

// RC4 with the 4-byte little-endian key, as encoded Access databases store their pages.
void Rc4(std::uint32_t key, char* data, std::size_t length)
{
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<unsigned char>(key >> (8 * (i % 4)))) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, x = 0, y = 0; n < length; ++n) {
        x = (x + 1) & 0xFF;
        y = (y + s[x]) & 0xFF;
        std::swap(s[x], s[y]);
        data[n] = static_cast<char>(data[n] ^ s[(s[x] + s[y]) & 0xFF]);
    }
}

// Found by fuzzing: with a database key, libmdb decodes every page, so the checks must too.
TEST_F(JetImportDamageTest, EncodedDatabaseIsCheckedAsLibmdbReadsIt)
{
    const std::uint32_t key = 0x12345678;
    std::string encoded = m_good;
    std::string header = encoded.substr(0, kPage);
    CryptJetHeaderRegion(header, 1);
    Put32(header, 0x3E, key);
    CryptJetHeaderRegion(header, 1);
    std::string keyOnly = encoded;
    keyOnly.replace(0, kPage, header);
    encoded.replace(0, kPage, header);
    for (std::size_t page = 1; page < encoded.size() / kPage; ++page)
        Rc4(key ^ static_cast<std::uint32_t>(page), &encoded[page * kPage], kPage);
    EXPECT_EQ(Open(encoded), "");
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(m_folder.ProgramAt("bad.gal"), kPassword), 0);
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select Count(DrawingID) as TValue from DrawingList", connection), 0);
    EXPECT_EQ(rs.GetLong("TValue"), 300);
    connection.CloseConnection();
    // The key without encoded pages: libmdb would decode clear pages into garbage.
    EXPECT_NE(Open(keyOnly), "");
}

TEST_F(JetImportDamageTest, TruncatedFilesFail)
{
    for (std::size_t pages : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(3), m_good.size() / kPage / 2,
                              m_good.size() / kPage - 1})
        EXPECT_NE(Open(m_good.substr(0, pages * kPage)), "") << pages;
    EXPECT_NE(Open(m_good.substr(0, m_good.size() - 100)), "");
}

TEST_F(JetImportDamageTest, CatalogPointingPastTheEndFails)
{
    for (std::uint32_t target : {1000u, 0u}) {  // 0: found by fuzzing, once read outside a buffer
        SCOPED_TRACE(target);
        CheckCatalogTarget(target);
    }
}

void JetImportDamageTest::CheckCatalogTarget(std::uint32_t extra)
{
    // The catalog's rows name each table's first definition page in their leading Long.
    std::string bad = m_good;
    std::uint32_t pages = static_cast<std::uint32_t>(bad.size() / kPage);
    bool changed = false;
    for (std::size_t page = 0; page < pages && !changed; ++page) {
        std::uint32_t owner;
        std::memcpy(&owner, &bad[page * kPage + 4], 4);
        if (bad[page * kPage] != 0x01 || owner != 2)
            continue;
        std::uint16_t rows, start;
        std::memcpy(&rows, &bad[page * kPage + 12], 2);
        for (std::uint16_t r = 0; r < rows; ++r) {
            std::memcpy(&start, &bad[page * kPage + 14 + 2 * r], 2);
            std::uint32_t id;
            std::memcpy(&id, &bad[page * kPage + start + 2], 4);
            if (id == kFirstTable) {
                Put32(bad, page * kPage + start + 2, extra == 0 ? 0 : pages + extra);
                changed = true;
            }
        }
    }
    ASSERT_TRUE(changed);
    EXPECT_NE(Open(bad), "");
}

TEST_F(JetImportDamageTest, ImpossibleCountsInADefinitionFail)
{
    const std::size_t tdef = kFirstTable * kPage;
    std::string bad = m_good;
    Put16(bad, tdef + 0x2D, 60000);  // libmdb alone spends minutes on this one
    EXPECT_NE(Open(bad), "");
    bad = m_good;
    Put16(bad, tdef + 0x2B, 50);  // more variable columns than columns
    EXPECT_NE(Open(bad), "");
    bad = m_good;
    Put32(bad, tdef + 0x33, 0x7FFFFFFF);  // index count
    EXPECT_NE(Open(bad), "");
    bad = m_good;
    Put16(bad, 2 * kPage + 0x2D, 0);  // the catalog without columns
    EXPECT_NE(Open(bad), "");
}

TEST_F(JetImportDamageTest, PageMapNamingForeignPagesFails)
{
    const std::size_t tdef = kFirstTable * kPage;
    std::uint32_t pgRow;
    std::memcpy(&pgRow, &m_good[tdef + 0x37], 4);
    const std::size_t page = (pgRow >> 8) * kPage;
    std::uint16_t start;
    std::memcpy(&start, &m_good[page + 14 + 2 * (pgRow & 0xFF)], 2);
    std::string bad = m_good;
    Put32(bad, page + start + 1, 0);  // the map now starts at page 0: header and catalog pages
    EXPECT_NE(Open(bad), "");
    bad = m_good;
    bad[page + start + 5] = '\xFF';  // claims the table's definition page and its neighbours
    EXPECT_NE(Open(bad), "");
}

}  // namespace
}  // namespace orv

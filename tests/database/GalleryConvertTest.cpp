#include "DatabaseTestSupport.h"
#include "JetTestReader.h"
#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/GalleryConvert.h"
#include "database/jet/Jet4Writer.h"
#include "database/jet/JetHeader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orv {
namespace {

using test::JetReadRow;
using Opt = std::optional<std::string>;

class GalleryConvertTest : public ::testing::Test {
protected:
    test::JetReadFile ReadAccess(const std::string& name)
    {
        std::string error;
        std::optional<test::JetReadFile> file = test::ReadJetForTest(test::ReadFile(m_folder.NativeAt(name)), error);
        EXPECT_TRUE(file) << error;
        return file.value_or(test::JetReadFile{});
    }
    GalleryConvertResult Convert(const std::string& in, const std::string& out, GalleryFormat format,
                                 const std::string& password = "qvelb7381")
    {
        GalleryConvertOptions options;
        options.Format = format;
        options.Password = password;
        return ConvertGallery(m_folder.ProgramAt(in), m_folder.ProgramAt(out), options);
    }
    test::TempFolder m_folder;
    test::ScopedEnv m_cache{"XDG_CACHE_HOME", m_folder.NativeAt("cache")};
};

TEST_F(GalleryConvertTest, SqliteGalleryBecomesAnAccessGalleryWithItsTypes)
{
    const std::string longText(300, 'L');
    test::MakeGallery(m_folder.NativeAt("in.gal"),
                      "INSERT INTO Gallery VALUES ('机械图库', '1.0', NULL);"
                      "INSERT INTO DrawingDir VALUES (7, 0, 1, '目录', 2, '\\d', 'p.htm', NULL, 1, NULL, -1);"
                      "INSERT INTO DrawingList (DrawingID, DrawingCaption, QueryKeyword, DriverType) "
                      "VALUES (3000000000, 'x', '" + longText + "', 4);"
                      "CREATE TABLE Extra (Flag BOOLEAN, Tiny TINYINT, Short SMALLINT, Made DATETIME, Note MEMO,"
                      " Ratio REAL, Anything, Stamp TEXT);"
                      "INSERT INTO Extra VALUES (1, 200, -5, '2024-05-06 07:08:09', 'memo', 2, 12, '2020-01-02 03:04:05');"
                      "INSERT INTO Extra VALUES (0, NULL, NULL, NULL, NULL, 0.5, NULL, NULL);");
    GalleryConvertResult result = Convert("in.gal", "out.gal", GalleryFormat::Access);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Tables.size(), 13u);  // the twelve gallery tables and Extra
    EXPECT_EQ(result.Tables.back(), (std::pair<std::string, std::int64_t>("Extra", 2)));

    test::JetReadFile file = ReadAccess("out.gal");
    ASSERT_EQ(file.Tables.size(), 13u);
    auto types = [&](const std::string& table) {
        std::vector<int> out;
        for (const auto& c : file.Tables[table].Columns)
            out.push_back(c.Type);
        return out;
    };
    // Long, Long, Long, Text, Integer (16-bit gallery column), Text x3, Integer, Text, Long.
    EXPECT_EQ(types("DrawingDir"), (std::vector<int>{4, 4, 4, 10, 3, 10, 10, 10, 3, 10, 4}));
    EXPECT_EQ(file.Tables["DrawingDir"].Rows[0],
              (JetReadRow{"7", "0", "1", "目录", "2", "\\d", "p.htm", Opt(), "1", Opt(), "-1"}));
    // A value beyond 32 bits makes the column Double; a text beyond 255 characters makes it Memo.
    EXPECT_EQ(file.Tables["DrawingList"].Columns[0].Type, 7);
    EXPECT_EQ(file.Tables["DrawingList"].Columns[9].Type, 12);
    EXPECT_EQ(file.Tables["DrawingList"].Rows[0][9], Opt(longText));
    // Boolean, Byte, Integer, DateTime, Memo, Double, Long, and a plain text column of dates.
    EXPECT_EQ(types("Extra"), (std::vector<int>{1, 2, 3, 8, 12, 7, 4, 8}));
    EXPECT_EQ(file.Tables["Extra"].Rows[1], (JetReadRow{"0", Opt(), Opt(), Opt(), Opt(), "0.5", Opt(), Opt()}));

    // The reader opens it with the gallery password.
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(m_folder.ProgramAt("out.gal"), "qvelb7381"), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from Extra where Flag <> 0", connection), 0);
    EXPECT_EQ(rs.GetString("Made"), "2024-05-06 07:08:09");
    EXPECT_EQ(rs.GetString("Stamp"), "2020-01-02 03:04:05");
    EXPECT_EQ(rs.GetShort("Tiny"), 200);
    ASSERT_EQ(rs.OpenSql("Select GalleryName from Gallery", connection), 0);
    EXPECT_EQ(rs.GetString("GalleryName"), "机械图库");
}

TEST_F(GalleryConvertTest, AccessGalleryToSqliteAndBackKeepsValues)
{
    CJet4Writer::Options options;
    options.Password = "qvelb7381";
    CJet4Writer writer(options);
    int t = writer.AddTable({"Parts", {{"Id", JetColumnType::Long}, {"Ok", JetColumnType::Boolean},
                                       {"B", JetColumnType::Byte}, {"I", JetColumnType::Integer},
                                       {"D", JetColumnType::Double}, {"When", JetColumnType::DateTime},
                                       {"Name", JetColumnType::Text}, {"Note", JetColumnType::Memo}}}).value();
    ASSERT_TRUE(writer.AddRow(t, {JetValue::FromInt(1), JetValue::FromInt(1), JetValue::FromInt(7), JetValue::FromInt(-7),
                                  JetValue::FromReal(0.1), JetValue::FromReal(45000.5), JetValue::FromText("齿轮"),
                                  JetValue::FromText(std::string(5000, 'n'))}));
    ASSERT_TRUE(writer.AddRow(t, {JetValue::FromInt(2), JetValue::Null(), JetValue::Null(), JetValue::Null(),
                                  JetValue::Null(), JetValue::Null(), JetValue::Null(), JetValue::Null()}));
    ASSERT_TRUE(writer.Save(m_folder.ProgramAt("a.gal")));

    // Access to Access keeps every type.
    GalleryConvertResult result = Convert("a.gal", "copy.gal", GalleryFormat::Access);
    ASSERT_TRUE(result.Ok) << result.Error;
    test::JetReadFile copy = ReadAccess("copy.gal");
    std::vector<int> types;
    for (const auto& c : copy.Tables["Parts"].Columns)
        types.push_back(c.Type);
    EXPECT_EQ(types, (std::vector<int>{4, 1, 2, 3, 7, 8, 10, 12}));
    EXPECT_EQ(copy.Tables["Parts"].Rows[0], (JetReadRow{"1", "1", "7", "-7", "0.10000000000000001", "45000.5", "齿轮",
                                                         std::string(5000, 'n')}));

    result = Convert("a.gal", "s.gal", GalleryFormat::Sqlite);
    ASSERT_TRUE(result.Ok) << result.Error;
    ASSERT_EQ(result.Tables.size(), 1u);
    EXPECT_EQ(result.Tables[0].second, 2);
    CAdoConnection connection;
    ASSERT_EQ(connection.ConnectDatabase(m_folder.ProgramAt("s.gal"), ""), 0) << connection.LastError();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from Parts where Name = '齿轮'", connection), 0);
    EXPECT_EQ(rs.GetLong("Ok"), -1);
    EXPECT_EQ(rs.GetString("When"), "2023-03-15 12:00:00");
    EXPECT_EQ(rs.GetString("Note"), std::string(5000, 'n'));
    EXPECT_DOUBLE_EQ(rs.GetDouble("D"), 0.1);
    connection.CloseConnection();

    result = Convert("s.gal", "back.gal", GalleryFormat::Access);
    ASSERT_TRUE(result.Ok) << result.Error;
    test::JetReadFile back = ReadAccess("back.gal");
    EXPECT_EQ(back.Tables["Parts"].Columns[5].Type, 8);   // dates come back as dates
    EXPECT_EQ(back.Tables["Parts"].Columns[7].Type, 12);  // memos as memos
    EXPECT_EQ(back.Tables["Parts"].Rows[0][5], Opt("45000.5"));
    // Access has no NULL Yes/No: the copy holds No (0) there.
    EXPECT_EQ(back.Tables["Parts"].Rows[1], (JetReadRow{"2", "0", Opt(), Opt(), Opt(), Opt(), Opt(), Opt()}));
}

TEST_F(GalleryConvertTest, PasswordsAreCheckedAndWritten)
{
    test::MakeGallery(m_folder.NativeAt("in.gal"), "INSERT INTO Gallery VALUES ('g', '1', '2');");
    std::string reason;
    for (const std::string& password : {std::string("qvelb7381"), std::string("秘密"), std::string()}) {
        ASSERT_TRUE(Convert("in.gal", "p.gal", GalleryFormat::Access, password).Ok);
        std::string bytes = test::ReadFile(m_folder.NativeAt("p.gal"));
        std::optional<JetHeader> header = ParseJetHeader(bytes, bytes.size(), reason);
        ASSERT_TRUE(header) << reason;
        EXPECT_EQ(header->password, password);
    }
    ASSERT_TRUE(Convert("in.gal", "p.gal", GalleryFormat::Access, "right").Ok);
    GalleryConvertResult wrong = Convert("p.gal", "q.gal", GalleryFormat::Sqlite, "wrong");
    EXPECT_FALSE(wrong.Ok);
    EXPECT_NE(wrong.Error.find("password"), std::string::npos);
    EXPECT_FALSE(test::ReadFile(m_folder.NativeAt("q.gal")).size());
}

TEST_F(GalleryConvertTest, WhatCannotBeConvertedIsRefusedWithoutOutput)
{
    test::MakeGallery(m_folder.NativeAt("blob.gal"), "CREATE TABLE Pictures (Data BLOB); INSERT INTO Pictures VALUES (x'0102');");
    GalleryConvertResult result = Convert("blob.gal", "out.gal", GalleryFormat::Access);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("binary"), std::string::npos);
    EXPECT_TRUE(test::ReadFile(m_folder.NativeAt("out.gal")).empty());

    test::WriteFile(m_folder.NativeAt("junk.gal"), "not a database at all");
    EXPECT_FALSE(Convert("junk.gal", "out.gal", GalleryFormat::Sqlite).Ok);
    EXPECT_FALSE(Convert("missing.gal", "out.gal", GalleryFormat::Sqlite).Ok);
    EXPECT_FALSE(Convert("blob.gal", "blob.gal", GalleryFormat::Sqlite).Ok);
    EXPECT_EQ(test::ReadFile(m_folder.NativeAt("blob.gal")).substr(0, 6), "SQLite");
}

TEST_F(GalleryConvertTest, OrvtoolConvertsToTheOtherFormByDefault)
{
    test::MakeGallery(m_folder.NativeAt("in.gal"), "INSERT INTO SpecClass VALUES (1, '机械', '\\m', 1);");
    test::ToolResult r = test::RunTool({"gallery", "convert", m_folder.NativeAt("in.gal"), m_folder.NativeAt("out.gal")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("table\tSpecClass\t1\n"), std::string::npos);
    EXPECT_NE(r.out.find("format\taccess\n"), std::string::npos);
    std::string bytes = test::ReadFile(m_folder.NativeAt("out.gal")), reason;
    std::optional<JetHeader> header = ParseJetHeader(bytes, bytes.size(), reason);
    ASSERT_TRUE(header) << reason;
    EXPECT_EQ(header->password, "qvelb7381");  // Access galleries carry the gallery password

    r = test::RunTool({"gallery", "convert", m_folder.NativeAt("in.gal"), m_folder.NativeAt("out.gal")});
    EXPECT_EQ(r.status, 1);  // exists
    r = test::RunTool({"gallery", "convert", m_folder.NativeAt("out.gal"), m_folder.NativeAt("back.gal")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("format\tsqlite\n"), std::string::npos);
    r = test::RunTool({"sql", m_folder.NativeAt("back.gal"), "Select SpecName from SpecClass"});
    EXPECT_EQ(r.out, "SpecName\n机械\n");
}

}  // namespace
}  // namespace orv

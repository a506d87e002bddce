#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/SqliteTableWriter.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

ImportTableDef DrawingTable()
{
    ImportTableDef table;
    table.name = "DrawingList";
    table.columns = {{"DrawingID", ImportColumnType::Integer}, {"DrawingName", ImportColumnType::Text},
                     {"Note", ImportColumnType::Memo},         {"Price", ImportColumnType::Real},
                     {"Created", ImportColumnType::DateTime},  {"Picture", ImportColumnType::Blob}};
    return table;
}

class SqliteTableWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        db = OpenSqlite(folder.NativeAt("copy.sqlite"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        ASSERT_TRUE(db) << error;
    }

    // Opens the copy as a gallery, the way the reader will.
    void Connect()
    {
        db.reset();
        ASSERT_EQ(connection.ConnectDatabase(folder.ProgramAt("copy.sqlite"), ""), 0);
    }

    test::TempFolder folder;
    SqliteHandle db;
    CAdoConnection connection;
};

TEST_F(SqliteTableWriterTest, StoresEveryTypeAndChineseText)
{
    {
        CSqliteTableWriter writer(db.get());
        ASSERT_TRUE(writer.Begin());
        ASSERT_TRUE(writer.BeginTable(DrawingTable())) << writer.Error();
        ASSERT_TRUE(writer.AddRow({DbValue::MakeInteger(7), DbValue::MakeText("六角螺栓"), DbValue::MakeText("说明"),
                                   DbValue::MakeReal(12.25), DbValue::MakeText("2004-05-06 07:08:09"),
                                   DbValue::MakeBlob(std::string("\0\1\2", 3))}))
            << writer.Error();
        ASSERT_TRUE(writer.AddRow({DbValue::MakeInteger(-1), DbValue(), DbValue(), DbValue(), DbValue(), DbValue()}));
        ASSERT_TRUE(writer.EndTable());
        ASSERT_TRUE(writer.Commit()) << writer.Error();
    }
    Connect();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from DrawingList where DrawingName = '六角螺栓'", connection), 0);
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetLong("DrawingID"), 7);
    EXPECT_EQ(rs.GetString("Note"), "说明");
    EXPECT_DOUBLE_EQ(rs.GetDouble("Price"), 12.25);
    EXPECT_EQ(rs.GetString("Created"), "2004-05-06 07:08:09");
    EXPECT_EQ(rs.Value(5)->bytes, std::string("\0\1\2", 3));
    ASSERT_EQ(rs.OpenSql("Select * from DrawingList where DrawingID = -1", connection), 0);
    EXPECT_EQ(rs.GetString("DrawingName"), "");
    EXPECT_TRUE(rs.Value(1)->IsNull());
}

TEST_F(SqliteTableWriterTest, TextColumnsCompareWithoutCaseAndJoinWithPlus)
{
    {
        CSqliteTableWriter writer(db.get());
        ASSERT_TRUE(writer.Begin());
        ASSERT_TRUE(writer.BeginTable(DrawingTable()));
        ASSERT_TRUE(writer.AddRow({DbValue::MakeInteger(1), DbValue::MakeText("Bolt-M10"), DbValue::MakeText("x"),
                                   DbValue(), DbValue(), DbValue()}));
        ASSERT_TRUE(writer.EndTable());
        ASSERT_TRUE(writer.Commit());
    }
    Connect();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select DrawingName + '.dwg' as F from DrawingList where DrawingName = 'BOLT-m10'", connection), 0);
    EXPECT_EQ(rs.GetString("F"), "Bolt-M10.dwg");
    // Memo columns are text for the dialect as well.
    ASSERT_EQ(rs.OpenSql("Select Note + DrawingName as F from DrawingList", connection), 0);
    EXPECT_EQ(rs.GetString("F"), "xBolt-M10");
}

TEST_F(SqliteTableWriterTest, OddNamesAreQuoted)
{
    ImportTableDef table;
    table.name = "Select \"x\"";
    table.columns = {{"Order", ImportColumnType::Integer}, {"名 称", ImportColumnType::Text}};
    CSqliteTableWriter writer(db.get());
    ASSERT_TRUE(writer.Begin());
    ASSERT_TRUE(writer.BeginTable(table)) << writer.Error();
    ASSERT_TRUE(writer.AddRow({DbValue::MakeInteger(1), DbValue::MakeText("a")}));
    ASSERT_TRUE(writer.EndTable());
    ASSERT_TRUE(writer.Commit());
    Connect();
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select [名 称] from [Select \"x\"]", connection), 0);
    EXPECT_EQ(rs.GetString("名 称"), "a");
}

TEST_F(SqliteTableWriterTest, RejectsMismatchedRowsAndRollsBackWithoutCommit)
{
    {
        CSqliteTableWriter writer(db.get());
        ASSERT_TRUE(writer.Begin());
        ASSERT_TRUE(writer.BeginTable(DrawingTable()));
        EXPECT_FALSE(writer.AddRow({DbValue::MakeInteger(1)}));
        EXPECT_FALSE(writer.Error().empty());
        ImportTableDef empty;
        empty.name = "Empty";
        EXPECT_FALSE(writer.BeginTable(empty));
        EXPECT_FALSE(writer.BeginTable(DrawingTable()));  // the table exists already
    }
    // Nothing was committed: the database holds no table.
    sqlite3_stmt* raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM sqlite_master", -1, &raw, nullptr), SQLITE_OK);
    SqliteStatement statement(raw);
    ASSERT_EQ(sqlite3_step(raw), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(raw, 0), 0);
}

TEST_F(SqliteTableWriterTest, IndexesIdColumns)
{
    CSqliteTableWriter writer(db.get());
    ASSERT_TRUE(writer.Begin());
    ASSERT_TRUE(writer.BeginTable(DrawingTable()));
    ASSERT_TRUE(writer.EndTable());
    ASSERT_TRUE(writer.Commit());
    sqlite3_stmt* raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'DrawingList'",
                                 -1, &raw, nullptr),
              SQLITE_OK);
    SqliteStatement statement(raw);
    ASSERT_EQ(sqlite3_step(raw), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(raw, 0), 1);  // DrawingID only
}

}  // namespace
}  // namespace orv

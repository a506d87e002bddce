#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/SqlText.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const char* const kRows = R"(
INSERT INTO Gallery VALUES ('机械设计手册', '2.0', '2004-05-01');
INSERT INTO SpecClass VALUES (1, '紧固件', '\Spec1', 2), (2, '轴承', '\Spec2', 1);
INSERT INTO DrawingDir (DirID, ParDirID, SpecID, DirName, DirType, DirPath, DirContent, SourceContent,
                        DirContentCompress, ContentMark, DirVisible)
VALUES (10, 0, 1, '螺栓', 0, '\Bolts', 'bolts.htz', NULL, 1, NULL, 1),
       (11, 10, 1, 'O''Brien bolts', 1, '\Bolts\OB', 'ob.htm', 'pages\ob.htm', 0, 'add:tool', 2),
       (12, 0, 2, '深沟球轴承', 0, '\Ball', NULL, NULL, 0, NULL, -1);
INSERT INTO DrawingDirFiles VALUES (10, 'p1.htm', 2), (10, 'p2.htm', 1), (10, 'p3.htm', 3);
INSERT INTO DrawingList (DrawingID, DirID, SpecID, DrawingName, DrawingCaption, Status1, AppClass, FunClass,
                         ShpClass, QueryKeyword, PreviewFile, DrawingPath, DrawingFileName, DrawingBlock,
                         DriverType, IsCompressed, BoundDrawingID, UserType)
VALUES (100, 10, 1, 'M10', '六角螺栓 M10', 'GB5782', 'a', 'f', 's', 'kw', 'm10.sld', '\Bolts', 'm10.dwg', 'B',
        2, 0, 0, 1),
       (101, 10, 1, 'M12', '六角螺栓 M12', '', 'a', 'f', 's', 'kw', 'm12.sld', '\Bolts', 'm12.dwg', 'B',
        0, 0, 100, 1),
       (0, 10, 1, 'ghost', 'never listed', '', '', '', '', '', '', '', '', '', 0, 0, 0, 0),
       (102, 10, 1, 'M8', '六角螺栓 M8', '', '', '', '', '', 'm8.sld', '\Bolts', 'm8.dwg', '', 0, 0, 0, 0);
INSERT INTO DrawingDirList VALUES (11, 102, 2), (11, 100, 1);
INSERT INTO DrawingData VALUES (100, 1, '长度', 1, 40.5, NULL), (100, 2, 'Big', 1, 40000, '12'),
                               (100, 3, 'Half', 1, 2.5, 'x'), (100, 4, 'Tenth', 1, 0.1, ' 13 ');
)";

class AdoRecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.NativeAt("Mech.gal");
        test::MakeGallery(path, kRows);
        ASSERT_EQ(connection.ConnectDatabase(platform::ProgramPath(path), "qvelb7381"), 0);
    }

    test::TempFolder folder;
    std::string path;
    CAdoConnection connection;
    CAdoRecordset rs;
};

TEST_F(AdoRecordsetTest, WalksRowsAndStopsAtTheEnd)
{
    ASSERT_EQ(rs.OpenSql("Select DirContent from DrawingDirFiles where DirID = 10 Order By ContentOrder", connection), 0);
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_FALSE(rs.IsBOF());
    std::vector<std::string> seen;
    while (!rs.IsEOF()) {
        seen.push_back(rs.GetString("DirContent"));
        EXPECT_TRUE(rs.MoveNext());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"p2.htm", "p1.htm", "p3.htm"}));
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_EQ(rs.GetString("DirContent"), "");  // past the end reads the start value
    EXPECT_TRUE(rs.MoveFirst());
    EXPECT_EQ(rs.GetString("dircontent"), "p2.htm");
}

TEST_F(AdoRecordsetTest, EmptyResultIsBothBofAndEof)
{
    ASSERT_EQ(rs.OpenSql("Select DirID from DrawingDir where DirID = 999", connection), 0);
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 0);
    EXPECT_FALSE(rs.MoveFirst());
    EXPECT_FALSE(rs.MoveNext());
}

TEST_F(AdoRecordsetTest, ClosedRecordsetAnswersStartValues)
{
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_FALSE(rs.MoveFirst());
    EXPECT_EQ(rs.GetRecordCount(), 0);
    EXPECT_EQ(rs.GetString("DirName"), "");
    EXPECT_EQ(rs.GetLong("DirID"), 0);
    ASSERT_EQ(rs.OpenSql("Select DirID from DrawingDir", connection), 0);
    rs.Close();
    rs.Close();  // closing twice is harmless
    EXPECT_EQ(rs.GetLong("DirID"), 0);
}

TEST_F(AdoRecordsetTest, FailingStatementsReturnOneSilently)
{
    test::MessageRecorder messages;
    ASSERT_EQ(rs.OpenSql("Select DirID from DrawingDir", connection), 0);
    EXPECT_EQ(rs.OpenSql("Select Nothing from DrawingDir", connection), 1);
    EXPECT_FALSE(rs.IsOpen());  // the previous result is gone as well
    EXPECT_EQ(rs.OpenSql("Select * from NoSuchTable", connection), 1);
    EXPECT_EQ(rs.OpenSql("Selec DirID", connection), 1);
    EXPECT_EQ(rs.OpenSql("", connection), 1);
    EXPECT_EQ(rs.OpenSql("Delete from DrawingDir", connection), 1);
    EXPECT_TRUE(messages.messages.empty());
    CAdoConnection closed;
    EXPECT_EQ(rs.OpenSql("Select DirID from DrawingDir", closed), 1);
}

TEST_F(AdoRecordsetTest, SecondOpenReplacesTheFirstResult)
{
    ASSERT_EQ(rs.OpenSql("Select DirName from DrawingDir where DirID = 10", connection), 0);
    ASSERT_EQ(rs.OpenSql("Select SpecName from SpecClass Order By ShowOrder", connection), 0);
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(rs.GetString("DirName"), "");
    EXPECT_EQ(rs.GetString("SpecName"), "轴承");
}

TEST_F(AdoRecordsetTest, GettersConvertLikeVariants)
{
    ASSERT_EQ(rs.OpenSql("Select * from DrawingData where DrawingID = 100 Order By FieldOrder", connection), 0);
    EXPECT_EQ(rs.GetString("FieldValue_STR"), "");  // NULL
    EXPECT_EQ(rs.GetLong("FieldValue_STR"), 0);
    EXPECT_DOUBLE_EQ(rs.GetDouble("FieldValue_DBL"), 40.5);
    EXPECT_EQ(rs.GetString("FieldValue_DBL"), "40.5");
    EXPECT_EQ(rs.GetLong("FieldValue_DBL"), 40);  // 40.5 rounds to even
    EXPECT_EQ(rs.GetString("FieldCaption"), "长度");
    EXPECT_EQ(rs.GetLong("NoSuchColumn"), 0);
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("FieldValue_STR"), 12);  // text "12"
    EXPECT_EQ(rs.GetShort("FieldValue_STR"), 12);
    EXPECT_EQ(rs.GetShort("FieldValue_DBL"), 0);  // 40000 does not fit 16 bits
    EXPECT_EQ(rs.GetLong("FieldValue_DBL"), 40000);
    EXPECT_EQ(rs.GetString("FieldValue_DBL"), "40000");
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("FieldValue_DBL"), 2);  // 2.5 rounds to even
    EXPECT_EQ(rs.GetLong("FieldValue_STR"), 0);  // "x" is not a number
    EXPECT_DOUBLE_EQ(rs.GetDouble("FieldValue_STR"), 0.0);
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetString("FieldValue_DBL"), "0.1");
    EXPECT_EQ(rs.GetLong("FieldValue_STR"), 13);  // blanks around a number are allowed
    EXPECT_EQ(rs.GetString("DrawingID"), "100");
}

TEST_F(AdoRecordsetTest, ThumbnailStatementJoinsAndFilters)
{
    const std::string sql =
        "SELECT DrawingList.DrawingName,DrawingList.DrawingID as TDrawingID,DrawingList.Status1,DrawingList.AppClass,"
        "DrawingList.FunClass,DrawingList.ShpClass,DrawingList.QueryKeyword,DrawingList.DrawingCaption, "
        "DrawingList.PreviewFile, SpecClass.SpecPath + DrawingDir.DirPath AS DrawingPath FROM DrawingList, "
        "DrawingDir, SpecClass WHERE DrawingList.DirID = DrawingDir.DirID AND DrawingDir.SpecID = SpecClass.SpecID "
        "AND DrawingList.SpecID = SpecClass.SpecID And DrawingList.BoundDrawingID=0 And DrawingList.DrawingID>0 "
        "And DrawingList.DirID = 10 Order By DrawingList.UserType,DrawingList.DrawingID,DrawingList.DrawingName";
    ASSERT_EQ(rs.OpenSql(sql, connection), 0);
    ASSERT_EQ(rs.GetRecordCount(), 2);  // the bound drawing and DrawingID 0 are left out
    EXPECT_EQ(rs.GetLong("TDrawingID"), 102);
    EXPECT_EQ(rs.GetString("DrawingPath"), "\\Spec1\\Bolts");
    rs.MoveNext();
    EXPECT_EQ(rs.GetLong("TDrawingID"), 100);
    EXPECT_EQ(rs.GetString("DrawingCaption"), "六角螺栓 M10");
}

TEST_F(AdoRecordsetTest, MembershipStatementsWithInSubquery)
{
    ASSERT_EQ(rs.OpenSql("SELECT DrawingName,DrawingID as TDrawingID,Status1,AppClass,FunClass,ShpClass,QueryKeyword,"
                         "DrawingCaption, PreviewFile, DrawingPath FROM DrawingList WHERE BoundDrawingID=0 AND "
                         "DrawingID In (Select DrawingID from DrawingDirList where DirID = 11) Order By UserType,DrawingID",
                         connection),
              0);
    ASSERT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(rs.GetString("DrawingName"), "M8");
    ASSERT_EQ(rs.OpenSql("Select DrawingName,DrawingList.DrawingID as TDrawingID ,Status1,AppClass,FunClass,ShpClass,"
                         "QueryKeyword,DrawingCaption, PreviewFile, DrawingPath from DrawingList,DrawingDirList where "
                         "DrawingList.DrawingID = DrawingDirList.DrawingID And DrawingDirList.DirID = 11 Order By "
                         "DrawingDirList.DrawingOrder",
                         connection),
              0);
    EXPECT_EQ(rs.GetLong("TDrawingID"), 100);
}

TEST_F(AdoRecordsetTest, InsertionStatementNamesQualifiedColumnsByTheirOwnName)
{
    ASSERT_EQ(rs.OpenSql("SELECT DrawingList.DrawingCaption,DrawingList.Status1,DrawingList.DrawingFileName,"
                         "DrawingList.DrawingBlock,DrawingList.DriverType,DrawingList.IsCompressed,SpecClass.SpecPath , "
                         "DrawingDir.DirPath FROM DrawingList, DrawingDir, SpecClass WHERE DrawingList.DirID = "
                         "DrawingDir.DirID AND DrawingDir.SpecID = SpecClass.SpecID AND DrawingList.SpecID = "
                         "SpecClass.SpecID And DrawingList.DrawingID = 100",
                         connection),
              0);
    EXPECT_EQ(rs.GetString("SpecPath"), "\\Spec1");
    EXPECT_EQ(rs.GetString("DirPath"), "\\Bolts");
    EXPECT_EQ(rs.GetShort("DriverType"), 2);
}

TEST_F(AdoRecordsetTest, ContentStatementGivesEmptyContentForNullSource)
{
    const std::string sql =
        "SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,(SpecClass.SpecPath + "
        "DrawingDir.DirPath) AS TPath, DrawingDir.ParDirID,DrawingDir.DirContent,DrawingDir.DirContentCompress,"
        "DrawingDir.DirName,DrawingDir.DirPath,SpecClass.SpecPath FROM DrawingDir, SpecClass WHERE "
        "DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = %d";
    auto run = [&](int dirID) {
        char buffer[1024];
        std::snprintf(buffer, sizeof buffer, sql.c_str(), dirID);
        return rs.OpenSql(buffer, connection);
    };
    ASSERT_EQ(run(10), 0);
    EXPECT_EQ(rs.GetString("TContent"), "");
    EXPECT_EQ(rs.GetString("TPath"), "\\Spec1\\Bolts");
    EXPECT_EQ(rs.GetShort("DirContentCompress"), 1);
    ASSERT_EQ(run(11), 0);
    EXPECT_EQ(rs.GetString("TContent"), "\\Spec1\\pages\\ob.htm");
    EXPECT_EQ(rs.GetLong("ParDirID"), 10);
}

TEST_F(AdoRecordsetTest, CountAliasAndTextComparisonIgnoringCase)
{
    ASSERT_EQ(rs.OpenSql("Select Count(DirContent) as TValue From DrawingDirFiles where DirID = 10", connection), 0);
    EXPECT_EQ(rs.GetShort("TValue"), 3);
    ASSERT_EQ(rs.OpenSql("Select DirID from DrawingDir where DirPath = '\\bolts' Order By DirVisible", connection), 0);
    EXPECT_EQ(rs.GetLong("DirID"), 10);
    ASSERT_EQ(rs.OpenSql("Select DirID From DrawingDir where DirContent = 'OB.HTM'", connection), 0);
    EXPECT_EQ(rs.GetLong("DirID"), 11);
}

TEST_F(AdoRecordsetTest, QuotedTermWithApostropheFindsItsRow)
{
    ASSERT_EQ(rs.OpenSql("Select DirID,DirName from DrawingDir where DirName = " + SqlQuote("O'Brien bolts"), connection), 0);
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetLong("DirID"), 11);
    // Raw insertion, as the statements used to be formatted, breaks the statement.
    EXPECT_EQ(rs.OpenSql("Select DirID from DrawingDir where DirName = 'O'Brien bolts'", connection), 1);
    ASSERT_EQ(rs.OpenSql("Select DirID From DrawingDir where DirContent = '" + SqlEscape("it's") + "(" +
                             SqlEscape("p'1") + ")'",
                         connection),
              0);
    EXPECT_TRUE(rs.IsEOF());
}

}  // namespace
}  // namespace orv

// Access galleries in the shapes Access itself leaves behind when a gallery is edited, made
// from the Jet writer's files: deleted columns, rows moved to another page when they grew,
// date-times on both sides of 1899-12-30. The import reads every row and value, as mdb-export
// and mdb-reader read them.

#include "JetAccessShapes.h"
#include "JetCheckTools.h"
#include "JetTestValues.h"
#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/jet/Jet4Writer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

namespace orv {
namespace {

using test::I;
using test::N;
using test::R;
using test::Repeat;
using test::T;
using Cells = std::vector<std::optional<std::string>>;

class JetAccessShapesTest : public ::testing::Test {
protected:
    // Writes the table with the rows, lets the shape edit the file and saves it.
    void Write(const JetTableDef& def, const std::vector<JetRow>& rows,
               const std::function<bool(test::JetAccessShapes&)>& shape)
    {
        CJet4Writer writer;
        int table = writer.AddTable(def).value();
        for (const JetRow& row : rows)
            ASSERT_TRUE(writer.AddRow(table, row)) << writer.LastError();
        std::optional<std::string> bytes = writer.Finish();
        ASSERT_TRUE(bytes) << writer.LastError();
        test::JetAccessShapes shapes(*bytes);
        ASSERT_TRUE(shape(shapes)) << shapes.Error();
        test::WriteFile(Path(), shapes.Bytes());
    }
    std::string Path() const { return m_folder.NativeAt("gallery.gal"); }

    // The rows the import gives for the statement, each value as text, NULL as nothing.
    std::vector<Cells> Import(const std::string& sql, std::vector<std::string>& columns)
    {
        CAdoConnection connection;
        CAdoRecordset rs;
        std::vector<Cells> rows;
        if (connection.ConnectDatabase(m_folder.ProgramAt("gallery.gal"), "") != 0 ||
            rs.OpenSql(sql, connection) != 0) {
            ADD_FAILURE() << "the import failed: " << connection.LastError();
            return rows;
        }
        columns = rs.ColumnNames();
        for (; !rs.IsEOF(); rs.MoveNext()) {
            Cells cells;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                std::optional<DbValue> value = rs.Value(c);
                cells.push_back(value && !value->IsNull() ? ConvertToText(*value) : std::nullopt);
            }
            rows.push_back(std::move(cells));
        }
        return rows;
    }

    // mdb-export's rows and mdb-reader's, ordered by their first (integer) column, or why the
    // reader is missing.
    static bool ByFirstNumber(const Cells& a, const Cells& b)
    {
        return std::stoll(a[0].value_or("0")) < std::stoll(b[0].value_or("0"));
    }
    std::optional<std::vector<Cells>> ExportedRows(const std::string& table)
    {
        auto rows = test::MdbExport(Path(), table);
        if (rows)
            std::sort(rows->begin(), rows->end(), ByFirstNumber);
        return rows;
    }
    // Dates come as milliseconds since 1970, numbers and texts as they are.
    std::optional<std::vector<Cells>> ReaderRows(const std::string& table, std::vector<std::string>& columns)
    {
        std::string error;
        std::optional<nlohmann::json> json = test::MdbReaderRead(Path(), error);
        EXPECT_TRUE(json) << error;
        if (!json)
            return std::nullopt;
        std::vector<Cells> rows;
        columns.clear();
        for (const nlohmann::json& column : json->at("tables").at(table).at("columns"))
            columns.push_back(column.at("name").get<std::string>());
        for (const nlohmann::json& row : json->at("tables").at(table).at("rows")) {
            Cells cells;
            for (const nlohmann::json& v : row) {
                if (v.is_null())
                    cells.emplace_back();
                else if (v.is_string())
                    cells.push_back(v.get<std::string>());
                else if (v.is_object())
                    cells.push_back(std::to_string(v.at("ms").get<long long>()));
                else
                    cells.push_back(std::to_string(v.get<long long>()));
            }
            rows.push_back(std::move(cells));
        }
        std::sort(rows.begin(), rows.end(), ByFirstNumber);
        return rows;
    }

    test::TempFolder m_folder;
    test::ScopedEnv m_cache{"XDG_CACHE_HOME", m_folder.NativeAt("cache")};
};

// Found with files Access wrote: a table with a deleted column was refused as damaged, the
// definition counting more variable columns than it lists.
TEST_F(JetAccessShapesTest, TableWithDeletedColumnsImportsEveryRowAndValue)
{
    // Three variable columns and a fixed one deleted: the definition lists five columns but
    // still counts six variable ones, and its column numbers, variable indexes and fixed
    // offsets have gaps. Rows from before the deletion hold values in the deleted columns,
    // rows from after hold NULL there.
    const JetTableDef def{"DrawingDir",
                          {{"DirID", JetColumnType::Long},
                           {"DirName", JetColumnType::Text},
                           {"OldName", JetColumnType::Text},
                           {"DirPath", JetColumnType::Text},
                           {"OldNote", JetColumnType::Memo},
                           {"DirContent", JetColumnType::Memo},
                           {"OldMark", JetColumnType::Text, 20},
                           {"OldID", JetColumnType::Long},
                           {"DirType", JetColumnType::Integer}}};
    std::vector<JetRow> rows;
    std::vector<Cells> expected;
    for (int i = 1; i <= 60; ++i) {
        const bool before = i % 2 == 1;
        const std::string name = "目录 " + std::to_string(i), path = "\\Spec\\Dir" + std::to_string(i);
        // A memo in one long-value row and one in a chain of them.
        const std::string content =
            i == 7 ? Repeat("页", 1800) : i == 8 ? Repeat("p", 9000) : "d" + std::to_string(i) + ".htm";
        rows.push_back({I(i), i % 5 ? T(name) : N(), before ? T("old") : N(), T(path),
                        before ? T(Repeat("旧", 700)) : N(), T(content), before ? T("mark") : N(),
                        before ? I(-i) : N(), I(i % 4)});
        expected.push_back({std::to_string(i), i % 5 ? Cells::value_type(name) : std::nullopt, path, content,
                            std::to_string(i % 4)});
    }
    Write(def, rows, [](test::JetAccessShapes& s) {
        for (const char* column : {"OldName", "OldNote", "OldMark", "OldID"}) {
            if (!s.DeleteColumn("DrawingDir", column))
                return false;
        }
        return true;
    });
    const std::vector<std::string> columns{"DirID", "DirName", "DirPath", "DirContent", "DirType"};
    std::vector<std::string> got;
    EXPECT_EQ(Import("Select * from DrawingDir Order By DirID", got), expected);
    EXPECT_EQ(got, columns);

    if (test::MdbtoolsMissing().empty()) {
        EXPECT_EQ(ExportedRows("DrawingDir"), expected);
    }
    if (test::MdbReaderMissing().empty()) {
        // mdb-reader lists the columns by number too.
        std::vector<std::string> readerColumns;
        EXPECT_EQ(ReaderRows("DrawingDir", readerColumns), expected);
        EXPECT_EQ(readerColumns, columns);
    }
}

// Rows Access moved to another page when they grew: their old place holds a pointer flagged
// 0x4000, the row lies flagged 0x8000 on another page of the table.
TEST_F(JetAccessShapesTest, RowsMovedToAnotherPageArriveOnceEach)
{
    const JetTableDef def{"DrawingList",
                          {{"DrawingID", JetColumnType::Long},
                           {"DrawingCaption", JetColumnType::Text},
                           {"QueryKeyword", JetColumnType::Memo}}};
    std::vector<JetRow> rows;
    std::vector<Cells> expected;
    for (int i = 0; i < 200; ++i) {  // two full pages and a few rows on a third
        const std::string caption = "图样 " + std::to_string(i);
        const std::string keyword = i % 26 == 13 ? Repeat("键", 2500) : "k" + std::to_string(i);
        rows.push_back({I(i), T(caption), T(keyword)});
        expected.push_back({std::to_string(i), caption, keyword});
    }
    std::size_t moved = 0;
    Write(def, rows, [&](test::JetAccessShapes& s) {
        std::optional<std::size_t> count =
            s.MoveRowsToOverflow("DrawingList", [](std::size_t i) { return i % 13 == 0; });
        moved = count.value_or(0);
        return count.has_value();
    });
    ASSERT_GE(moved, 10u);

    std::vector<std::string> columns;
    EXPECT_EQ(Import("Select * from DrawingList Order By DrawingID", columns), expected);
    if (test::MdbtoolsMissing().empty()) {
        EXPECT_EQ(ExportedRows("DrawingList"), expected);
    }
    if (test::MdbReaderMissing().empty()) {
        EXPECT_EQ(ReaderRows("DrawingList", columns), expected);
    }
}

// Access keeps the days since 1899-12-30 in the integer part and the time of day in the
// fraction's absolute value, so -94.43 is 1899-09-27 10:19:12, not 10:19:12 before
// 1899-09-27. Dates before 1899-12-30 imported as "1900-01-00 00:00:00".
TEST_F(JetAccessShapesTest, DateTimesImportAsAccessShowsThem)
{
    struct Case {
        double stored;
        const char* shown;
        bool exportAgrees;  // mdb-export prints dates before 1899-12-30 and after 4637-11-25
                            // as "1900-01-00 00:00:00", and a time rounding up to midnight as 24:00:00
    };
    const Case cases[] = {
        {-657434.0, "0100-01-01 00:00:00", false},
        {-95.0 - 49245.0 / 86400, "1899-09-26 13:40:45", false},
        {-94.43, "1899-09-27 10:19:12", false},
        {-1.25, "1899-12-29 06:00:00", false},
        {-1.9999999999, "1899-12-30 00:00:00", false},  // rounds up into the next day
        {-0.5, "1899-12-30 12:00:00", false},
        {0.0, "1899-12-30 00:00:00", true},
        {2.25, "1900-01-01 06:00:00", true},
        {36892.0 + 47107.0 / 86400, "2001-01-01 13:05:07", true},
        {45000.99999999, "2023-03-16 00:00:00", false},
        {1000000.5, "4637-11-26 12:00:00", false},
        {2958465.0 + 86399.0 / 86400, "9999-12-31 23:59:59", false},
    };
    std::vector<JetRow> rows;
    std::vector<Cells> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rows.push_back({I(static_cast<std::int64_t>(i)), R(cases[i].stored)});
        expected.push_back({std::to_string(i), cases[i].shown});
    }
    rows.push_back({I(99), N()});
    expected.push_back({"99", std::nullopt});
    Write({"Dates", {{"Id", JetColumnType::Long}, {"Made", JetColumnType::DateTime}}}, rows,
          [](test::JetAccessShapes&) { return true; });

    std::vector<std::string> columns;
    EXPECT_EQ(Import("Select Id, Made from Dates Order By Id", columns), expected);
    if (test::MdbtoolsMissing().empty()) {
        auto exported = ExportedRows("Dates");
        ASSERT_TRUE(exported);
        ASSERT_EQ(exported->size(), expected.size());
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            if (cases[i].exportAgrees) {
                EXPECT_EQ((*exported)[i], expected[i]) << cases[i].stored;
            }
        }
    }
    if (test::MdbReaderMissing().empty()) {
        // mdb-reader counts back from 1899-12-30 continuously, so below zero its dates differ
        // from Access's; it must still read the very value written.
        auto read = ReaderRows("Dates", columns);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->size(), expected.size());
        for (std::size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ((*read)[i][1], std::to_string(static_cast<long long>(
                                         std::floor((cases[i].stored - 25569) * 86400 * 1000 + 0.5))))
                << i;
        EXPECT_EQ(read->back()[1], std::nullopt);
    }
}

}  // namespace
}  // namespace orv

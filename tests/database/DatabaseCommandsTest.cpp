#include "support/TestSupport.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace orv {
namespace {

class DatabaseCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gallery = folder.NativeAt("Mech.gal");
        test::MakeGallery(gallery, "INSERT INTO SpecClass VALUES (1, '紧固件', '\\Spec', 1), (2, NULL, 'a\tb', 2);"
                                   "INSERT INTO DrawingDir (DirID, SpecID, DirPath, SourceContent) VALUES "
                                   "(5, 1, '\\Bolts', NULL);");
    }

    test::TempFolder folder;
    std::string gallery;
};

TEST_F(DatabaseCommandsTest, SqlPrintsHeaderAndRows)
{
    auto result = test::RunTool({"sql", gallery, "Select SpecID,SpecName,SpecPath from SpecClass Order By ShowOrder"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "SpecID\tSpecName\tSpecPath\n1\t紧固件\t\\\\Spec\n2\t\ta\\tb\n");
}

TEST_F(DatabaseCommandsTest, SqlRunsJetStatements)
{
    auto result = test::RunTool({"sql", gallery,
                                 "SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,"
                                 "(SpecClass.SpecPath + DrawingDir.DirPath) AS TPath FROM DrawingDir, SpecClass "
                                 "WHERE DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = 5"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "TContent\tTPath\n\t\\\\Spec\\\\Bolts\n");
}

// The escaping of the values as a reader of the output undoes it (docs/orvtool-database.md).
std::string Unescaped(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        const char next = ++i < field.size() ? field[i] : '\0';
        const char* from = "\\tnr";
        const char* to = "\\\t\n\r";
        const char* at = next ? std::strchr(from, next) : nullptr;
        if (!at) {
            ADD_FAILURE() << "a lone backslash in " << field;
            return out;
        }
        out += to[at - from];
    }
    return out;
}

// Found trying galleries as a new user would: a backslash printed as it was, so the path
// Z:\temp and the text "Z:<TAB>emp" printed alike, and gallery paths are full of backslashes.
TEST_F(DatabaseCommandsTest, SqlOutputTellsEveryValueApartAndReversesToIt)
{
    const std::vector<std::string> values{"Z:\\temp", "Z:\temp", "\\\\server\\share\\", "a\\tb",
                                          "two\r\nlines\n", "\\", "\\\\n"};
    std::string error, sql;
    for (std::size_t i = 0; i < values.size(); ++i)
        sql += "INSERT INTO SpecClass (SpecID, SpecPath) VALUES (" + std::to_string(10 + i) + ", '" +
               values[i] + "');";
    SqliteHandle db = OpenSqlite(gallery, SQLITE_OPEN_READWRITE, error);
    ASSERT_TRUE(db && ExecSqlite(db.get(), sql, error)) << error;
    db.reset();

    auto result = test::RunTool({"sql", gallery,
                                 "Select SpecPath as [Path\tC:\\], SpecID from SpecClass "
                                 "where SpecID >= 10 Order By SpecID"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < result.out.size(); start = end + 1) {
        end = result.out.find('\n', start);
        lines.push_back(result.out.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), values.size() + 1) << result.out;
    EXPECT_EQ(lines[0], "Path\\tC:\\\\\tSpecID");
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& line = lines[i + 1];
        ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 1) << line;
        const std::string field = line.substr(0, line.find('\t'));
        EXPECT_EQ(Unescaped(field), values[i]) << line;
        distinct.insert(field);
    }
    EXPECT_EQ(distinct.size(), values.size());
}

TEST_F(DatabaseCommandsTest, SqlFailuresExitWithAReason)
{
    auto bad = test::RunTool({"sql", gallery, "Select Nothing from SpecClass"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("statement failed"), std::string::npos);
    auto missing = test::RunTool({"sql", folder.NativeAt("none.gal"), "Select 1"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.gal"), std::string::npos);
    EXPECT_EQ(missing.err.find("Open_Connection"), std::string::npos);  // no message box text
}

TEST_F(DatabaseCommandsTest, SchemaWritesAnEmptyGalleryAndKeepsExistingFiles)
{
    const std::string out = folder.NativeAt("new.gal");
    ASSERT_EQ(test::RunTool({"gallery", "schema", out}).status, 0);
    auto tables = test::RunTool({"sql", out, "Select name from sqlite_master where type = 'table' Order By name"});
    ASSERT_EQ(tables.status, 0);
    EXPECT_EQ(tables.out, "name\nDimDriverDefine\nDrawingData\nDrawingDir\nDrawingDirFiles\nDrawingDirIndex\n"
                          "DrawingDirList\nDrawingExecute\nDrawingList\nGallery\nGallerySet\nGalleryTitle\nSpecClass\n");
    auto again = test::RunTool({"gallery", "schema", gallery});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(test::RunTool({"sql", gallery, "Select SpecID from SpecClass"}).out, "SpecID\n1\n2\n");
    EXPECT_EQ(test::RunTool({"gallery", "schema", "--force", gallery}).status, 0);
    EXPECT_EQ(test::RunTool({"sql", gallery, "Select SpecID from SpecClass"}).out, "SpecID\n");
}

TEST_F(DatabaseCommandsTest, ImportRejectsWhatIsNotASoundAccessFile)
{
    test::ScopedEnv cache("XDG_CACHE_HOME", folder.NativeAt("cache"));
    test::WriteFile(folder.NativeAt("locked.gal"), test::MakeJet4File(u"secret", 45000.5, 8));
    auto wrong = test::RunTool({"gallery", "import", folder.NativeAt("locked.gal")});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("密码"), std::string::npos);
    auto damaged = test::RunTool({"gallery", "import", "--password", "secret", folder.NativeAt("locked.gal")});
    EXPECT_EQ(damaged.status, 1);  // a sound header over empty pages
    EXPECT_FALSE(damaged.err.empty());
    auto sqlite = test::RunTool({"gallery", "import", gallery});
    EXPECT_EQ(sqlite.status, 1);
    EXPECT_NE(sqlite.err.find("already an SQLite gallery"), std::string::npos);
}

}  // namespace
}  // namespace orv

#include "support/TestSupport.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
    EXPECT_EQ(result.out, "SpecID\tSpecName\tSpecPath\n1\t紧固件\t\\Spec\n2\t\ta\\tb\n");
}

TEST_F(DatabaseCommandsTest, SqlRunsJetStatements)
{
    auto result = test::RunTool({"sql", gallery,
                                 "SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,"
                                 "(SpecClass.SpecPath + DrawingDir.DirPath) AS TPath FROM DrawingDir, SpecClass "
                                 "WHERE DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = 5"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "TContent\tTPath\n\t\\Spec\\Bolts\n");
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

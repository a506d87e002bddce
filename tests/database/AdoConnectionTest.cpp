#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace orv {
namespace {

class AdoConnectionTest : public ::testing::Test {
protected:
    // Connects and expects the failure path: -1, one "Open_Connection" message, closed.
    void ExpectOpenFails(const std::string& nativePath, const std::string& password = "qvelb7381",
                         const std::string& reasonPart = "")
    {
        test::MessageRecorder messages;
        CAdoConnection connection;
        EXPECT_EQ(connection.ConnectDatabase(platform::ProgramPath(nativePath), password), -1);
        EXPECT_FALSE(connection.IsConnected());
        EXPECT_EQ(connection.GetConnection(), nullptr);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].caption, "Open_Connection");
        EXPECT_FALSE(messages.messages[0].text.empty());
        if (!reasonPart.empty()) {
            EXPECT_NE(messages.messages[0].text.find(reasonPart), std::string::npos) << messages.messages[0].text;
        }
        CAdoRecordset rs;
        EXPECT_EQ(rs.OpenSql("Select 1", connection), 1);
    }

    test::TempFolder folder;
    // Access copies go to this test's own cache folder.
    test::ScopedEnv m_cache{"XDG_CACHE_HOME", folder.NativeAt("cache")};
};

TEST_F(AdoConnectionTest, OpensSqliteGalleryReadOnly)
{
    const std::string path = folder.NativeAt("Lib/Mech.GAL");
    test::MakeGallery(path, "INSERT INTO Gallery VALUES ('机械', '1', '2004');");
    CAdoConnection connection;
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(connection.DriverType, 0);
    // Program paths may differ in letter case from the file on disk.
    ASSERT_EQ(connection.ConnectDatabase(folder.ProgramAt("lib\\mech.gal"), ""), 0);
    EXPECT_TRUE(connection.IsConnected());
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("Select * from Gallery", connection), 0);
    EXPECT_EQ(rs.GetString("GalleryName"), "机械");
    EXPECT_EQ(rs.OpenSql("Insert into Gallery values ('x', 'y', 'z')", connection), 1);
    connection.CloseConnection();
    EXPECT_FALSE(connection.IsConnected());
    connection.CloseConnection();  // closing twice is harmless
    EXPECT_EQ(rs.OpenSql("Select * from Gallery", connection), 1);
}

TEST_F(AdoConnectionTest, ReconnectingSwitchesGalleries)
{
    test::MakeGallery(folder.NativeAt("a.gal"), "INSERT INTO Gallery VALUES ('A', '', '');");
    test::MakeGallery(folder.NativeAt("b.gal"), "INSERT INTO Gallery VALUES ('B', '', '');");
    CAdoConnection connection;
    CAdoRecordset rs;
    ASSERT_EQ(connection.ConnectDatabase(folder.ProgramAt("a.gal"), "qvelb7381"), 0);
    ASSERT_EQ(connection.ConnectDatabase(folder.ProgramAt("b.gal"), "qvelb7381"), 0);
    ASSERT_EQ(rs.OpenSql("Select GalleryName from Gallery", connection), 0);
    EXPECT_EQ(rs.GetString("GalleryName"), "B");
    // A failed open leaves the connection closed, not on the previous gallery.
    {
        test::MessageRecorder quiet;
        EXPECT_EQ(connection.ConnectDatabase(folder.ProgramAt("missing.gal"), "qvelb7381"), -1);
    }
    EXPECT_FALSE(connection.IsConnected());
}

TEST_F(AdoConnectionTest, MissingFileAndFolderFail)
{
    ExpectOpenFails(folder.NativeAt("nothing.gal"));
    ExpectOpenFails(folder.Native());
}

TEST_F(AdoConnectionTest, FilesOfNeitherFormatFail)
{
    test::WriteFile(folder.NativeAt("empty.gal"), "");
    ExpectOpenFails(folder.NativeAt("empty.gal"));
    std::mt19937 random(7);
    std::string noise(10000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    test::WriteFile(folder.NativeAt("noise.gal"), noise);
    ExpectOpenFails(folder.NativeAt("noise.gal"));
    test::WriteFile(folder.NativeAt("text.gal"), "Standard Jet DB, honestly");
    ExpectOpenFails(folder.NativeAt("text.gal"));
}

TEST_F(AdoConnectionTest, DamagedSqliteFails)
{
    const std::string path = folder.NativeAt("cut.gal");
    test::MakeGallery(path, "INSERT INTO Gallery VALUES ('A', '', '');");
    std::string bytes = test::ReadFile(path);
    test::WriteFile(path, bytes.substr(0, 100));  // the header and nothing else
    ExpectOpenFails(path);
    std::string scrambled = bytes;
    for (std::size_t i = 100; i < scrambled.size(); ++i)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    test::WriteFile(path, scrambled);
    ExpectOpenFails(path);
}

TEST_F(AdoConnectionTest, DamagedAccessFilesFail)
{
    // Truncated to less than the catalog page, and not a whole number of pages.
    test::WriteFile(folder.NativeAt("short.gal"), test::MakeJet4File(u"").substr(0, 4096 * 2));
    ExpectOpenFails(folder.NativeAt("short.gal"));
    test::WriteFile(folder.NativeAt("ragged.gal"), test::MakeJet4File(u"") + "xyz");
    ExpectOpenFails(folder.NativeAt("ragged.gal"));
    // A sound header over empty pages: the catalog cannot be read.
    test::WriteFile(folder.NativeAt("nocatalog.gal"), test::MakeJet4File(u"", 45000.5, 8));
    ExpectOpenFails(folder.NativeAt("nocatalog.gal"));
    // An Access 2007 header.
    std::string ace = test::MakeJet4File(u"");
    ace[0x14] = 2;
    test::WriteFile(folder.NativeAt("ace.gal"), ace);
    ExpectOpenFails(folder.NativeAt("ace.gal"));
}

TEST_F(AdoConnectionTest, WrongJetPasswordFailsBeforeReading)
{
    test::WriteFile(folder.NativeAt("locked.gal"), test::MakeJet4File(u"qvelb7381", 45000.5, 8));
    ExpectOpenFails(folder.NativeAt("locked.gal"), "wrong", "密码");
    ExpectOpenFails(folder.NativeAt("locked.gal"), "", "密码");
    ExpectOpenFails(folder.NativeAt("locked.gal"), "QVELB7381", "密码");  // passwords are case-sensitive
}

}  // namespace
}  // namespace orv

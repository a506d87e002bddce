#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/GalleryImport.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include "DatabaseTestSupport.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

// Stands in for libmdb: one table whose content the test controls, counting its runs.
struct FakeSource {
    int runs = 0;
    std::string name = "六角螺栓";
    bool failReading = false;
    std::string finalCopy;     // native path that must not exist while the import runs
    bool copyExistedDuringRun = false;

    AccessTableSource Source()
    {
        return [this](const std::string&, int, std::uint16_t, TableSink& sink, std::string& error, bool& sinkFailed) {
            ++runs;
            sinkFailed = false;
            if (!finalCopy.empty())
                copyExistedDuringRun = std::filesystem::exists(finalCopy);
            ImportTableDef table;
            table.name = "Gallery";
            table.columns = {{"GalleryName", ImportColumnType::Text}, {"Rows", ImportColumnType::Integer}};
            if (!sink.BeginTable(table)) {
                sinkFailed = true;
                error = sink.Error();
                return false;
            }
            if (!sink.AddRow({DbValue::MakeText(name), DbValue::MakeInteger(1)})) {
                sinkFailed = true;
                error = sink.Error();
                return false;
            }
            if (failReading) {
                error = "数据表已损坏";
                return false;
            }
            if (!sink.EndTable()) {
                sinkFailed = true;
                error = sink.Error();
                return false;
            }
            return true;
        };
    }
};

std::string GalleryNameIn(sqlite3* db)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT GalleryName FROM Gallery", -1, &raw, nullptr) != SQLITE_OK)
        return "<no table>";
    SqliteStatement statement(raw);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return "<no row>";
    return reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
}

std::string GalleryNameIn(const std::string& programPath)
{
    std::string error;
    SqliteHandle db = OpenSqlite(platform::NativePath(programPath), SQLITE_OPEN_READONLY, error);
    return db ? GalleryNameIn(db.get()) : error;
}

void SetModificationTime(const std::string& nativePath, time_t seconds)
{
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimes(nativePath.c_str(), times), 0);
}

class GalleryImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gallery = folder.NativeAt("Lib/Mech.gal");
        test::WriteFile(gallery, test::MakeJet4File(u"qvelb7381"));
        SetModificationTime(gallery, 1700000000);
        options.cacheFolder = folder.ProgramAt("cache/galleries");
        options.source = fake.Source();
    }

    AccessImportResult Import(const std::string& password = "qvelb7381")
    {
        return ImportAccessGallery(platform::ProgramPath(gallery), password, options);
    }

    std::vector<std::string> CacheFiles() const
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder.NativeAt("cache/galleries"), ec))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder folder;
    std::string gallery;
    FakeSource fake;
    AccessImportOptions options;
};

TEST_F(GalleryImportTest, ImportsOnceAndReusesAFreshCopy)
{
    AccessImportResult first = Import();
    ASSERT_TRUE(first.ok) << first.error;
    EXPECT_FALSE(first.reused);
    EXPECT_FALSE(first.inMemory);
    EXPECT_EQ(GalleryNameIn(first.copyPath), "六角螺栓");
    EXPECT_EQ(fake.runs, 1);

    AccessImportResult second = Import();
    ASSERT_TRUE(second.ok);
    EXPECT_TRUE(second.reused);
    EXPECT_EQ(second.copyPath, first.copyPath);
    EXPECT_EQ(fake.runs, 1);
    EXPECT_EQ(CacheFiles().size(), 1u);
    // The copies may hold protected data: only the owner reads the folder.
    struct stat st;
    ASSERT_EQ(::stat(folder.NativeAt("cache/galleries").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(GalleryImportTest, ChangedSourceIsImportedAgainAndTheOldCopyGoes)
{
    AccessImportResult first = Import();
    ASSERT_TRUE(first.ok);
    fake.name = "新版";
    SetModificationTime(gallery, 1700000100);  // same size, newer time
    AccessImportResult second = Import();
    ASSERT_TRUE(second.ok);
    EXPECT_FALSE(second.reused);
    EXPECT_NE(second.copyPath, first.copyPath);
    EXPECT_EQ(GalleryNameIn(second.copyPath), "新版");
    EXPECT_EQ(CacheFiles().size(), 1u);
    // A size change alone counts too.
    test::WriteFile(gallery, test::MakeJet4File(u"qvelb7381", 45000.5, 4));
    SetModificationTime(gallery, 1700000100);
    AccessImportResult third = Import();
    ASSERT_TRUE(third.ok);
    EXPECT_FALSE(third.reused);
    EXPECT_EQ(fake.runs, 3);
}

TEST_F(GalleryImportTest, CopyAppearsUnderItsNameOnlyWhenComplete)
{
    struct stat st;
    ASSERT_EQ(::stat(gallery.c_str(), &st), 0);
    const std::int64_t mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    fake.finalCopy = folder.NativeAt("cache/galleries/") + AccessCopyName(gallery, st.st_size, mtime);
    AccessImportResult result = Import();
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(fake.copyExistedDuringRun);
    EXPECT_EQ(platform::NativePath(result.copyPath), fake.finalCopy);
    EXPECT_EQ(CacheFiles(), std::vector<std::string>{std::filesystem::path(fake.finalCopy).filename().string()});
}

TEST_F(GalleryImportTest, ReaderFailureLeavesNothingBehind)
{
    fake.failReading = true;
    AccessImportResult result = Import();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("数据表已损坏"), std::string::npos);
    EXPECT_TRUE(CacheFiles().empty());
    EXPECT_EQ(fake.runs, 1);  // a damaged source is not tried again in memory
}

TEST_F(GalleryImportTest, UnwritableCacheImportsIntoMemory)
{
    test::WriteFile(folder.NativeAt("blocker"), "a file where the cache folder should be");
    options.cacheFolder = folder.ProgramAt("blocker/galleries");
    AccessImportResult result = Import();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.inMemory);
    EXPECT_TRUE(result.copyPath.empty());
    ASSERT_TRUE(result.memoryDb);
    EXPECT_EQ(GalleryNameIn(result.memoryDb.get()), "六角螺栓");
}

TEST_F(GalleryImportTest, WrongPasswordReadsNothing)
{
    AccessImportResult result = Import("qvelb738");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("密码"), std::string::npos);
    EXPECT_EQ(fake.runs, 0);
    // A fresh copy does not bypass the check either.
    ASSERT_TRUE(Import().ok);
    EXPECT_FALSE(Import("").ok);
}

TEST_F(GalleryImportTest, FileWithoutPasswordOpensWithTheGalleryPassword)
{
    test::WriteFile(gallery, test::MakeJet4File(u""));
    EXPECT_TRUE(Import("qvelb7381").ok);
    EXPECT_TRUE(Import("").ok);
}

TEST_F(GalleryImportTest, ConnectionUsesTheCacheFolderCopy)
{
    test::ScopedEnv cache("XDG_CACHE_HOME", folder.NativeAt("xdg"));
    options.cacheFolder.clear();  // the default: GetCacheFolder() + "\galleries"
    AccessImportResult result = Import();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.copyPath.rfind(folder.ProgramAt("xdg\\orvbook\\galleries\\"), 0), 0u) << result.copyPath;
}

TEST_F(GalleryImportTest, ConnectionOpensAFreshCopyAndDropsADamagedOne)
{
    test::ScopedEnv cache("XDG_CACHE_HOME", folder.NativeAt("xdg"));
    options.cacheFolder.clear();
    AccessImportResult made = Import();
    ASSERT_TRUE(made.ok);
    {
        // The copy is fresh, so the connection reads it without importing (the stand-in
        // source made it; libmdb could not read this header-only file).
        CAdoConnection connection;
        ASSERT_EQ(connection.ConnectDatabase(platform::ProgramPath(gallery), "qvelb7381"), 0);
        CAdoRecordset rs;
        ASSERT_EQ(rs.OpenSql("Select GalleryName + '!' as N from Gallery", connection), 0);
        EXPECT_EQ(rs.GetString("N"), "六角螺栓!");
        EXPECT_EQ(rs.OpenSql("Delete from Gallery", connection), 1);
    }
    test::WriteFile(platform::NativePath(made.copyPath), std::string(8192, 'x'));
    {
        test::MessageRecorder messages;
        CAdoConnection connection;
        EXPECT_EQ(connection.ConnectDatabase(platform::ProgramPath(gallery), "qvelb7381"), -1);
        EXPECT_EQ(messages.messages.size(), 1u);
    }
    EXPECT_FALSE(std::filesystem::exists(platform::NativePath(made.copyPath)));
}

TEST_F(GalleryImportTest, LeftoversOfACrashedImportAreCleared)
{
    ASSERT_TRUE(Import().ok);
    const std::string copy = folder.NativeAt("cache/galleries/") + CacheFiles().front();
    test::WriteFile(copy + ".tmp-99999", "half a copy");
    SetModificationTime(copy + ".tmp-99999", 1600000000);
    test::WriteFile(copy + ".tmp-99998", "an import running now");
    SetModificationTime(gallery, 1700000200);
    ASSERT_TRUE(Import().ok);
    const auto files = CacheFiles();
    ASSERT_EQ(files.size(), 2u);  // the new copy and the recent temporary file
    const std::string old = std::filesystem::path(copy).filename().string();
    EXPECT_EQ(std::count(files.begin(), files.end(), old + ".tmp-99998"), 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), old + ".tmp-99999"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), old), 0);
}

}  // namespace
}  // namespace orv

// Gallery database speed: opening an Access gallery whose SQLite copy is fresh, opening an
// SQLite gallery, and the thumbnail grid's drawing statement on a 100,000-drawing gallery.
//
//   build/bench/database_bench --benchmark_min_time=1

#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/GalleryImport.h"
#include "database/GallerySchema.h"
#include "database/jet/JetHeader.h"
#include "database/SqliteHandle.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include "BenchFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace orv {
namespace {

constexpr int kDrawings = 100000;
constexpr int kDirectories = 1000;

void Exec(sqlite3* db, const std::string& sql)
{
    std::string error;
    if (!ExecSqlite(db, sql, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
}

// 10 specialities, 1000 directories, 100,000 drawings (100 a directory).
const std::string& LargeGallery()
{
    static const std::string path = [] {
        const std::string file = Folder().path + "/Large.gal";
        std::string error;
        if (!WriteEmptyGallery(file, error))
            std::abort();
        SqliteHandle db = OpenSqlite(file, SQLITE_OPEN_READWRITE, error);
        Exec(db.get(), "BEGIN");
        for (int spec = 1; spec <= 10; ++spec)
            Exec(db.get(), "INSERT INTO SpecClass VALUES (" + std::to_string(spec) + ", '专业" + std::to_string(spec) +
                               "', '\\Spec" + std::to_string(spec) + "', " + std::to_string(spec) + ")");
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare_v2(db.get(),
                           "INSERT INTO DrawingDir (DirID, ParDirID, SpecID, DirName, DirType, DirPath, DirContent, "
                           "DirVisible) VALUES (?1, 0, ?2, '目录' || ?1, 0, '\\Dir' || ?1, 'p' || ?1 || '.htm', ?1)",
                           -1, &raw, nullptr);
        SqliteStatement dirs(raw);
        for (int dir = 1; dir <= kDirectories; ++dir) {
            sqlite3_bind_int(raw, 1, dir);
            sqlite3_bind_int(raw, 2, 1 + dir % 10);
            sqlite3_step(raw);
            sqlite3_reset(raw);
        }
        sqlite3_prepare_v2(db.get(),
                           "INSERT INTO DrawingList VALUES (?1, ?2, ?3, 'D' || ?1, '图纸 ' || ?1, 'S', 'A', 'F', "
                           "'H', '关键词', 'd' || ?1 || '.sld', '\\Dir' || ?2, 'd' || ?1 || '.dwg', 'B', 0, 0, "
                           "?4, ?1 % 3)",
                           -1, &raw, nullptr);
        SqliteStatement drawings(raw);
        for (int id = 1; id <= kDrawings; ++id) {
            const int dir = 1 + (id - 1) / (kDrawings / kDirectories);
            sqlite3_bind_int(raw, 1, id);
            sqlite3_bind_int(raw, 2, dir);
            sqlite3_bind_int(raw, 3, 1 + dir % 10);
            sqlite3_bind_int(raw, 4, id % 10 == 0 ? id - 1 : 0);
            sqlite3_step(raw);
            sqlite3_reset(raw);
        }
        drawings.reset();
        dirs.reset();
        Exec(db.get(), "COMMIT");
        return file;
    }();
    return path;
}

// A table source that reads an SQLite gallery, standing in for libmdb so that the cache
// holds a copy of the large gallery for a Jet file.
bool CopySqliteTables(const std::string& sourcePath, TableSink& sink, std::string& error, bool& sinkFailed)
{
    SqliteHandle db = OpenSqlite(sourcePath, SQLITE_OPEN_READONLY, error);
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db.get(), "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &raw, nullptr);
    SqliteStatement tables(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        ImportTableDef def;
        def.name = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        sqlite3_stmt* rowsRaw = nullptr;
        sqlite3_prepare_v2(db.get(), ("SELECT * FROM " + def.name).c_str(), -1, &rowsRaw, nullptr);
        SqliteStatement rows(rowsRaw);
        for (int c = 0; c < sqlite3_column_count(rowsRaw); ++c) {
            const char* type = sqlite3_column_decltype(rowsRaw, c);
            def.columns.push_back({sqlite3_column_name(rowsRaw, c),
                                   type && std::strstr(type, "INTEGER") ? ImportColumnType::Integer
                                   : type && std::strstr(type, "REAL")  ? ImportColumnType::Real
                                                                        : ImportColumnType::Text});
        }
        sinkFailed = true;
        if (!sink.BeginTable(def))
            return false;
        std::vector<DbValue> row(def.columns.size());
        while (sqlite3_step(rowsRaw) == SQLITE_ROW) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                const int column = static_cast<int>(c);
                switch (sqlite3_column_type(rowsRaw, column)) {
                case SQLITE_INTEGER:
                    row[c] = DbValue::MakeInteger(sqlite3_column_int64(rowsRaw, column));
                    break;
                case SQLITE_FLOAT:
                    row[c] = DbValue::MakeReal(sqlite3_column_double(rowsRaw, column));
                    break;
                case SQLITE_NULL:
                    row[c] = DbValue();
                    break;
                default:
                    row[c] = DbValue::MakeText(reinterpret_cast<const char*>(sqlite3_column_text(rowsRaw, column)));
                }
            }
            if (!sink.AddRow(row))
                return false;
        }
        if (!sink.EndTable())
            return false;
        sinkFailed = false;
    }
    return true;
}

// A Jet 4 file (header page only) whose cached copy holds the large gallery.
const std::string& AccessGalleryWithFreshCopy()
{
    static const std::string path = [] {
        const std::string file = Folder().path + "/Access.gal";
        std::string bytes(3 * 4096, '\0');
        std::memcpy(&bytes[0], "\x00\x01\x00\x00Standard Jet DB\x00", 20);
        bytes[0x14] = 1;
        const double date = 45000.5;
        std::memcpy(&bytes[0x72], &date, sizeof date);
        const char mask[4] = {'\xc8', '\xaf', 0, 0};
        const char16_t password[] = u"qvelb7381";
        for (int i = 0; i < 40; ++i) {
            const unsigned char plain = i / 2 < 9 ? static_cast<unsigned char>(password[i / 2] >> (8 * (i % 2))) : 0;
            bytes[0x42 + i] = static_cast<char>(plain ^ static_cast<unsigned char>(mask[i % 4]));
        }
        std::string page = bytes.substr(0, 4096);
        CryptJetHeaderRegion(page, 1);
        bytes.replace(0, 4096, page);
        std::ofstream(file, std::ios::binary) << bytes;
        AccessImportOptions options;
        options.source = [](const std::string&, int, std::uint16_t, TableSink& sink, std::string& error,
                            bool& sinkFailed) { return CopySqliteTables(LargeGallery(), sink, error, sinkFailed); };
        AccessImportResult result = ImportAccessGallery(platform::ProgramPath(file), "qvelb7381", options);
        if (!result.ok) {
            std::fprintf(stderr, "%s\n", result.error.c_str());
            std::abort();
        }
        return file;
    }();
    return path;
}

void BM_ConnectAccessGalleryWithFreshCopy(benchmark::State& state)
{
    const std::string path = platform::ProgramPath(AccessGalleryWithFreshCopy());
    CAdoConnection connection;
    for (auto _ : state) {
        if (connection.ConnectDatabase(path, kGalleryPassword) != 0)
            state.SkipWithError("connect failed");
        connection.CloseConnection();
    }
}
BENCHMARK(BM_ConnectAccessGalleryWithFreshCopy)->Unit(benchmark::kMillisecond);

void BM_ConnectSqliteGallery(benchmark::State& state)
{
    const std::string path = platform::ProgramPath(LargeGallery());
    CAdoConnection connection;
    for (auto _ : state) {
        if (connection.ConnectDatabase(path, kGalleryPassword) != 0)
            state.SkipWithError("connect failed");
        connection.CloseConnection();
    }
}
BENCHMARK(BM_ConnectSqliteGallery)->Unit(benchmark::kMillisecond);

// The thumbnail grid's statement for one directory, read as the grid reads it.
void BM_ThumbnailStatement(benchmark::State& state)
{
    CAdoConnection connection;
    if (connection.ConnectDatabase(platform::ProgramPath(LargeGallery()), kGalleryPassword) != 0) {
        state.SkipWithError("connect failed");
        return;
    }
    const char* sql =
        "SELECT DrawingList.DrawingName,DrawingList.DrawingID as TDrawingID,DrawingList.Status1,DrawingList.AppClass,"
        "DrawingList.FunClass,DrawingList.ShpClass,DrawingList.QueryKeyword,DrawingList.DrawingCaption, "
        "DrawingList.PreviewFile, SpecClass.SpecPath + DrawingDir.DirPath AS DrawingPath FROM DrawingList, "
        "DrawingDir, SpecClass WHERE DrawingList.DirID = DrawingDir.DirID AND DrawingDir.SpecID = SpecClass.SpecID "
        "AND DrawingList.SpecID = SpecClass.SpecID And DrawingList.BoundDrawingID=0 And DrawingList.DrawingID>0 "
        "And DrawingList.DirID = %d Order By DrawingList.UserType,DrawingList.DrawingID,DrawingList.DrawingName";
    int dir = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        char statement[2048];
        std::snprintf(statement, sizeof statement, sql, 1 + (dir++ * 37) % kDirectories);
        CAdoRecordset rs;
        if (rs.OpenSql(statement, connection) != 0) {
            state.SkipWithError("statement failed");
            break;
        }
        for (; !rs.IsEOF(); rs.MoveNext()) {
            benchmark::DoNotOptimize(rs.GetString("DrawingName"));
            benchmark::DoNotOptimize(rs.GetLong("TDrawingID"));
            benchmark::DoNotOptimize(rs.GetString("DrawingCaption"));
            benchmark::DoNotOptimize(rs.GetString("PreviewFile"));
            benchmark::DoNotOptimize(rs.GetString("DrawingPath"));
            ++rows;
        }
    }
    state.counters["rows"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ThumbnailStatement)->Unit(benchmark::kMillisecond);

// Whole-table read: the opening check "Select DrawingID from DrawingList" materialises
// every drawing.
void BM_AllDrawingIds(benchmark::State& state)
{
    CAdoConnection connection;
    if (connection.ConnectDatabase(platform::ProgramPath(LargeGallery()), kGalleryPassword) != 0) {
        state.SkipWithError("connect failed");
        return;
    }
    for (auto _ : state) {
        CAdoRecordset rs;
        if (rs.OpenSql("Select DrawingID from DrawingList", connection) != 0)
            state.SkipWithError("statement failed");
        benchmark::DoNotOptimize(rs.GetRecordCount());
    }
}
BENCHMARK(BM_AllDrawingIds)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();

#include "database/GalleryImport.h"

#include "app/common/PathHelpers.h"
#include "database/AccessTableReader.h"
#include "database/jet/JetHeader.h"
#include "database/SqliteTableWriter.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <cstdio>
#include <cstdlib>

namespace orv {
namespace {

std::uint64_t Fnv1a(std::string_view text)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex64(std::uint64_t value)
{
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

std::string FullPath(const std::string& nativePath)
{
    char resolved[PATH_MAX];
    if (::realpath(nativePath.c_str(), resolved))
        return resolved;
    return nativePath;
}

bool SyncFile(const std::string& nativePath)
{
    int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool DefaultSource(const std::string& nativePath, int version, std::uint16_t codePage, TableSink& sink,
                   std::string& error, bool& sinkFailed)
{
    return CAccessTableReader(nativePath, version, codePage).ReadAll(sink, error, sinkFailed);
}

struct ImportRun {
    const AccessTableSource& source;
    const std::string& sourcePath;
    int version;
    std::uint16_t codePage;
};

enum class RunOutcome { Done, ReaderFailed, WriterFailed };

RunOutcome ImportInto(sqlite3* db, const ImportRun& run, std::string& error)
{
    // The copy is rebuilt from the source whenever it is lost, so durability inside the
    // transaction is not needed; the finished file is synced before it is renamed.
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    CSqliteTableWriter writer(db);
    if (!writer.Begin()) {
        error = writer.Error();
        return RunOutcome::WriterFailed;
    }
    bool sinkFailed = false;
    if (!run.source(run.sourcePath, run.version, run.codePage, writer, error, sinkFailed))
        return sinkFailed ? RunOutcome::WriterFailed : RunOutcome::ReaderFailed;
    if (!writer.Commit()) {
        error = writer.Error();
        return RunOutcome::WriterFailed;
    }
    return RunOutcome::Done;
}

// Older copies of the same gallery, and temporary files that a crashed import left behind
// (a day old: a live import finishes long before that).
void RemoveOlderCopies(const std::string& programFolder, const std::string& prefix, const std::string& keep)
{
    for (const std::string& name : platform::FindFiles(programFolder, prefix + "*.sqlite"))
        if (name != keep)
            std::remove(platform::NativePath(programFolder + "\\" + name).c_str());
    const time_t dayAgo = ::time(nullptr) - 24 * 60 * 60;
    for (const std::string& name : platform::FindFiles(programFolder, prefix + "*.sqlite.tmp-*")) {
        const std::string native = platform::NativePath(programFolder + "\\" + name);
        struct stat st;
        if (::stat(native.c_str(), &st) == 0 && st.st_mtime < dayAgo)
            std::remove(native.c_str());
    }
}

}  // namespace

std::string AccessCopyName(const std::string& nativePath, std::uint64_t size, std::int64_t mtimeNs)
{
    const std::string full = FullPath(nativePath);
    const std::string key = full + '\n' + std::to_string(size) + '\n' + std::to_string(mtimeNs) + '\n' +
                            std::to_string(kAccessImporterVersion);
    return Hex64(Fnv1a(full)) + "-" + Hex64(Fnv1a(key)) + ".sqlite";
}

AccessImportResult ImportAccessGallery(std::string_view galleryPath, std::string_view password)
{
    return ImportAccessGallery(galleryPath, password, AccessImportOptions());
}

AccessImportResult ImportAccessGallery(std::string_view galleryPath, std::string_view password,
                                       const AccessImportOptions& options)
{
    AccessImportResult result;
    const std::string native = platform::NativePath(galleryPath);
    struct stat st;
    if (native.empty() || ::stat(native.c_str(), &st) != 0) {
        result.error = "找不到数据库文件 " + std::string(galleryPath);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = std::string(galleryPath) + " 不是数据库文件";
        return result;
    }
    std::string reason;
    const std::optional<std::string> head = platform::ReadNativeFileHead(native, 4096);
    if (!head) {
        result.error = "无法读取文件 " + std::string(galleryPath);
        return result;
    }
    const auto header = ParseJetHeader(*head, static_cast<std::uint64_t>(st.st_size), reason);
    if (!header) {
        result.error = reason + "：" + std::string(galleryPath);
        return result;
    }
    if (!JetPasswordMatches(*header, password)) {
        result.error = "数据库密码错误：" + std::string(galleryPath);
        return result;
    }

    const std::int64_t mtimeNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    const std::string name = AccessCopyName(native, static_cast<std::uint64_t>(st.st_size), mtimeNs);
    const std::string folder =
        options.cacheFolder.empty() ? GetCacheFolder() + "\\galleries" : options.cacheFolder;
    const std::string copyProgram = folder + "\\" + name;
    const std::string copyNative = platform::NativePath(copyProgram);

    struct stat copyStat;
    if (::stat(copyNative.c_str(), &copyStat) == 0 && S_ISREG(copyStat.st_mode) && copyStat.st_size > 0) {
        result.ok = true;
        result.reused = true;
        result.copyPath = copyProgram;
        return result;
    }

    const AccessTableSource& source = options.source ? options.source : AccessTableSource(DefaultSource);
    const ImportRun run{source, native, header->version, header->codePage};

    // First choice: a copy in the cache folder, written under a temporary name.
    CreateFolderPath(folder);
    ::chmod(platform::NativePath(folder).c_str(), 0700);  // copies of password-protected data
    const std::string tempNative = copyNative + ".tmp-" + std::to_string(::getpid());
    std::string error;
    bool writerFailed = true;
    {
        SqliteHandle db = OpenSqlite(tempNative, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        if (db) {
            const RunOutcome outcome = ImportInto(db.get(), run, error);
            if (outcome == RunOutcome::ReaderFailed) {
                db.reset();
                std::remove(tempNative.c_str());
                result.error = error + "：" + std::string(galleryPath);
                return result;
            }
            writerFailed = outcome == RunOutcome::WriterFailed;
            if (!writerFailed && sqlite3_close(db.release()) != SQLITE_OK)
                writerFailed = true;
        }
    }
    if (!writerFailed && SyncFile(tempNative) && std::rename(tempNative.c_str(), copyNative.c_str()) == 0) {
        RemoveOlderCopies(folder, name.substr(0, 17), name);
        result.ok = true;
        result.copyPath = copyProgram;
        return result;
    }
    std::remove(tempNative.c_str());

    // The cache folder cannot take the copy: import into memory for this session.
    std::string memoryError;
    SqliteHandle memory = OpenSqlite(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, memoryError);
    if (!memory) {
        result.error = "缓存文件夹不可写，内存也不足以导入数据库（" + error + "）：" + std::string(galleryPath);
        return result;
    }
    const RunOutcome outcome = ImportInto(memory.get(), run, memoryError);
    if (outcome != RunOutcome::Done) {
        result.error = outcome == RunOutcome::ReaderFailed
                           ? memoryError + "：" + std::string(galleryPath)
                           : "缓存文件夹不可写，内存也不足以导入数据库（" + memoryError + "）：" + std::string(galleryPath);
        return result;
    }
    result.ok = true;
    result.inMemory = true;
    result.memoryDb = std::move(memory);
    return result;
}

}  // namespace orv

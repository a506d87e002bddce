#include "DemoSupport.h"

#include "app/common/PathHelpers.h"
#include "database/AdoRecordset.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && platform::EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

std::string Format(const char* pattern, long value)
{
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

} // namespace

const DemoFolder* DemoFolder::Get()
{
    // Static: the folder and the cache of imported Access galleries live for the whole run
    // and are removed at its end.
    static TempFolder folder;
    static ScopedEnv cache("XDG_CACHE_HOME", folder.NativeAt("cache"));
    static std::unique_ptr<DemoFolder> demo = [] {
        auto made = std::make_unique<DemoFolder>();
        made->m_native = folder.NativeAt("demo-app");
        ToolResult result = RunProgram({ ORVDEMO_PATH, ORV_DEMO_SOURCE, made->m_native, "--quiet" });
        if (result.status != 0) {
            ADD_FAILURE() << "orvdemo failed: " << result.err;
            made.reset();
        }
        return made;
    }();
    return demo.get();
}

std::string DemoFolder::Program() const
{
    return platform::ProgramPath(m_native);
}

std::string DemoFolder::At(const std::string& relative) const
{
    return Program() + "\\" + relative;
}

std::string DemoFolder::GalleryPath(const std::string& name) const
{
    return At("ORVBookLib\\" + name + ".GAL");
}

std::string DemoFolder::GalleryRoot(const std::string& name) const
{
    return At("ORVBookLib\\" + name);
}

const CAdoConnection& DemoFolder::Connection(const std::string& name) const
{
    auto& connection = m_connections[name];
    if (!connection) {
        connection = std::make_unique<CAdoConnection>();
        EXPECT_EQ(connection->ConnectDatabase(GalleryPath(name), kGalleryPassword), 0)
            << connection->LastError();
    }
    return *connection;
}

std::vector<Row> Rows(const CAdoConnection& connection, const std::string& sql)
{
    std::vector<Row> rows;
    CAdoRecordset rs;
    if (rs.OpenSql(sql, connection) != 0) {
        ADD_FAILURE() << "statement does not open: " << sql;
        return rows;
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        Row row;
        for (const auto& column : rs.ColumnNames())
            row[column] = rs.GetString(column);
        rows.push_back(std::move(row));
    }
    return rows;
}

int CountRows(const CAdoConnection& connection, const std::string& sql)
{
    return static_cast<int>(Rows(connection, sql).size());
}

std::vector<GalleryPage> GalleryPages(const std::string& galleryRoot)
{
    std::vector<GalleryPage> pages;
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(platform::NativePath(galleryRoot), ec))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::string program = platform::ProgramPath(file.string());
        std::string folder = program.substr(0, program.rfind('\\'));
        std::string name = file.filename().string();
        if (EndsWithNoCase(name, ".htm")) {
            auto bytes = platform::ReadFileBytes(program);
            pages.push_back({ program, folder, "", name.substr(0, name.size() - 4),
                platform::Gb18030ToUtf8(bytes ? *bytes : std::string()) });
        } else if (EndsWithNoCase(name, ".htz")) {
            CZHtmFileLib package(program);
            EXPECT_TRUE(package.Open(program)) << program;
            std::vector<std::string> members;
            package.GetFileNames(members);
            for (const auto& member : members) {
                if (!EndsWithNoCase(member, ".htm"))
                    continue;
                pages.push_back(
                    { program + ":" + member, folder, program, member.substr(0, member.size() - 4),
                        platform::Gb18030ToUtf8(package.ReadPageText(member)) });
            }
        }
    }
    return pages;
}

std::vector<std::string> Attributes(const std::string& page, const std::string& attribute)
{
    std::vector<std::string> values;
    const std::string key = attribute + "=\"";
    for (std::size_t at = page.find(key); at != std::string::npos; at = page.find(key, at + 1)) {
        // Only whole attribute names: "name=" must not match inside "classname=".
        if (at > 0 && (std::isalnum(static_cast<unsigned char>(page[at - 1])) || page[at - 1] == '-'))
            continue;
        std::size_t start = at + key.size(), end = page.find('"', start);
        if (end == std::string::npos)
            break;
        values.push_back(page.substr(start, end - start));
    }
    return values;
}

// The content key of a directory as the directory page shows it: SourceContent below the
// speciality, else DirContent (or its page number `page` of DrawingDirFiles) in the
// directory's folder, a package page when compressed, a picture of the same name when the
// page file is missing.
std::string ContentKey(const CAdoConnection& db, const std::string& root, long dirId, int page)
{
    auto rows = Rows(db,
        Format(
            "SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,(SpecClass.SpecPath + "
            "DrawingDir.DirPath) AS TPath, "
            "DrawingDir.ParDirID,DrawingDir.DirContent,DrawingDir.DirContentCompress,"
            "DrawingDir.DirName,DrawingDir.DirPath,SpecClass.SpecPath FROM DrawingDir, SpecClass WHERE "
            "DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = %ld",
            dirId));
    if (rows.empty())
        return "";
    const Row& r = rows.front();
    std::string key = r.at("TContent"), base = root;
    if (key.empty()) {
        key = r.at("DirContent");
        base = root + r.at("SpecPath") + r.at("DirPath");
        auto pages = Rows(db,
            Format("Select DirContent From DrawingDirFiles where DirID = %ld Order By ContentOrder", dirId));
        if (!key.empty() && page < static_cast<int>(pages.size()))
            key = pages[static_cast<std::size_t>(page)].at("DirContent");
        if (!key.empty()) {
            std::string full = key[0] == '\\' ? base + key : base + "\\" + key;
            if (!platform::FileExists(full))
                for (const char* ext : { ".jpg", ".gif", ".wmf", ".png", ".bmp" })
                    if (platform::FileExists(GetFolderPart(full) + "\\" + GetBaseName(full) + ext)) {
                        key = GetBaseName(full) + ext;
                        break;
                    }
        }
    }
    if (key.empty())
        return "";
    key = key[0] == '\\' ? base + key : base + "\\" + key;
    if (r.at("DirContentCompress") != "0" && !r.at("DirContentCompress").empty())
        key += ".htz";
    return key;
}

bool IsPictureKey(const std::string& key)
{
    for (const char* ext : { ".jpg", ".gif", ".wmf", ".png", ".bmp" })
        if (EndsWithNoCase(key, ext))
            return true;
    return false;
}

bool FileStartsWith(const std::string& programPath, const std::string& magic)
{
    auto head = platform::ReadNativeFileHead(platform::NativePath(programPath), magic.size());
    return head && *head == magic;
}

} // namespace orv::test

#include "support/GalleryFixture.h"

#include "builder/GalleryBuilder.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace orv::test {

std::string BuildSqliteGallery(
    const TempFolder& folder, const GalleryManifest& manifest, const std::string& subfolder)
{
    GalleryBuildOptions options;
    options.Sqlite = true;
    GalleryBuildReport report;
    std::string error;
    if (!BuildGallery(manifest, folder.ProgramAt(subfolder), options, report, error)) {
        ADD_FAILURE() << "the gallery builder refused the test gallery: " << error;
        return std::string();
    }
    return report.GalleryPath;
}

void ExecGallerySql(const std::string& galleryPath, const std::string& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(platform::NativePath(galleryPath).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << galleryPath;
        sqlite3_close(db);
        return;
    }
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
        ADD_FAILURE() << sql << ": " << (message ? message : "failed");
    sqlite3_free(message);
    sqlite3_close(db);
}

ManifestDirectory MakeDirectory(std::int32_t id, std::int32_t parent, std::int32_t spec, OptText name,
    int type, std::optional<std::int32_t> visible)
{
    ManifestDirectory dir;
    dir.Id = id;
    dir.Parent = parent;
    dir.Spec = spec;
    dir.Name = std::move(name);
    dir.Type = type;
    dir.Visible = visible.value_or(id);
    return dir;
}

} // namespace orv::test

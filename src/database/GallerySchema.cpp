#include "database/GallerySchema.h"

#include "database/SqliteHandle.h"

#include <sqlite3.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orv {

const std::string& GallerySchemaSql()
{
    static const std::string sql = R"(CREATE TABLE Gallery (
    GalleryName TEXT COLLATE NOCASE,
    GalleryVersion TEXT COLLATE NOCASE,
    CreateDate TEXT COLLATE NOCASE
);
CREATE TABLE GalleryTitle (
    TitleName TEXT COLLATE NOCASE,
    TitleCaption TEXT COLLATE NOCASE
);
CREATE TABLE GallerySet (
    ParaName TEXT COLLATE NOCASE,
    ParaValue TEXT COLLATE NOCASE
);
CREATE TABLE SpecClass (
    SpecID INTEGER,
    SpecName TEXT COLLATE NOCASE,
    SpecPath TEXT COLLATE NOCASE,
    ShowOrder INTEGER
);
CREATE TABLE DrawingDir (
    DirID INTEGER,
    ParDirID INTEGER,
    SpecID INTEGER,
    DirName TEXT COLLATE NOCASE,
    DirType INTEGER,
    DirPath TEXT COLLATE NOCASE,
    DirContent TEXT COLLATE NOCASE,
    SourceContent TEXT COLLATE NOCASE,
    DirContentCompress INTEGER,
    ContentMark TEXT COLLATE NOCASE,
    DirVisible INTEGER
);
CREATE TABLE DrawingDirFiles (
    DirID INTEGER,
    DirContent TEXT COLLATE NOCASE,
    ContentOrder INTEGER
);
CREATE TABLE DrawingDirIndex (
    IndexName TEXT COLLATE NOCASE,
    IndexDirID TEXT COLLATE NOCASE,
    IndexOrder INTEGER
);
CREATE TABLE DrawingList (
    DrawingID INTEGER,
    DirID INTEGER,
    SpecID INTEGER,
    DrawingName TEXT COLLATE NOCASE,
    DrawingCaption TEXT COLLATE NOCASE,
    Status1 TEXT COLLATE NOCASE,
    AppClass TEXT COLLATE NOCASE,
    FunClass TEXT COLLATE NOCASE,
    ShpClass TEXT COLLATE NOCASE,
    QueryKeyword TEXT COLLATE NOCASE,
    PreviewFile TEXT COLLATE NOCASE,
    DrawingPath TEXT COLLATE NOCASE,
    DrawingFileName TEXT COLLATE NOCASE,
    DrawingBlock TEXT COLLATE NOCASE,
    DriverType INTEGER,
    IsCompressed INTEGER,
    BoundDrawingID INTEGER,
    UserType INTEGER
);
CREATE TABLE DrawingDirList (
    DirID INTEGER,
    DrawingID INTEGER,
    DrawingOrder INTEGER
);
CREATE TABLE DrawingData (
    DrawingID INTEGER,
    FieldOrder INTEGER,
    FieldCaption TEXT COLLATE NOCASE,
    FieldDataType INTEGER,
    FieldValue_DBL REAL,
    FieldValue_STR TEXT COLLATE NOCASE
);
CREATE TABLE DimDriverDefine (
    DrawingID INTEGER,
    AppName TEXT COLLATE NOCASE,
    FunName TEXT COLLATE NOCASE,
    DefinePath TEXT COLLATE NOCASE,
    DimDriverName TEXT COLLATE NOCASE
);
CREATE TABLE DrawingExecute (
    DirID INTEGER,
    DrawingID INTEGER,
    FunApp TEXT COLLATE NOCASE,
    Func TEXT COLLATE NOCASE,
    Para TEXT COLLATE NOCASE
);
CREATE INDEX SpecClass_SpecID ON SpecClass (SpecID);
CREATE INDEX DrawingDir_DirID ON DrawingDir (DirID);
CREATE INDEX DrawingDir_ParDirID ON DrawingDir (ParDirID);
CREATE INDEX DrawingDirFiles_DirID ON DrawingDirFiles (DirID);
CREATE INDEX DrawingList_DrawingID ON DrawingList (DrawingID);
CREATE INDEX DrawingList_DirID ON DrawingList (DirID);
CREATE INDEX DrawingDirList_DirID ON DrawingDirList (DirID);
CREATE INDEX DrawingData_DrawingID ON DrawingData (DrawingID);
CREATE INDEX DimDriverDefine_DrawingID ON DimDriverDefine (DrawingID);
CREATE INDEX DrawingExecute_DirID_DrawingID ON DrawingExecute (DirID, DrawingID);
)";
    return sql;
}

bool CreateGallerySchema(sqlite3* db, std::string& error)
{
    return ExecSqlite(db, "BEGIN;\n" + GallerySchemaSql() + "COMMIT;", error);
}

bool WriteEmptyGallery(const std::string& nativePath, std::string& error)
{
    // Built beside the target and renamed over it, so a failure never leaves half a gallery.
    const std::string temp = nativePath + ".tmp-" + std::to_string(::getpid());
    std::remove(temp.c_str());
    {
        SqliteHandle db = OpenSqlite(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        if (!db || !CreateGallerySchema(db.get(), error)) {
            db.reset();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), nativePath.c_str()) != 0) {
        error = std::string("cannot write ") + nativePath + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

namespace {
using T = JetColumnType;
}  // namespace

std::vector<JetTableDef> GalleryJetTables()
{
    return {
        {"Gallery", {{"GalleryName", T::Text}, {"GalleryVersion", T::Text}, {"CreateDate", T::Text}}},
        {"GalleryTitle", {{"TitleName", T::Text}, {"TitleCaption", T::Text}}},
        {"GallerySet", {{"ParaName", T::Text}, {"ParaValue", T::Text}}},
        {"SpecClass", {{"SpecID", T::Long}, {"SpecName", T::Text}, {"SpecPath", T::Text}, {"ShowOrder", T::Long}}},
        {"DrawingDir",
         {{"DirID", T::Long}, {"ParDirID", T::Long}, {"SpecID", T::Long}, {"DirName", T::Text},
          {"DirType", T::Integer}, {"DirPath", T::Text}, {"DirContent", T::Text}, {"SourceContent", T::Text},
          {"DirContentCompress", T::Integer}, {"ContentMark", T::Text}, {"DirVisible", T::Long}}},
        {"DrawingDirFiles", {{"DirID", T::Long}, {"DirContent", T::Text}, {"ContentOrder", T::Long}}},
        {"DrawingDirIndex", {{"IndexName", T::Text}, {"IndexDirID", T::Text}, {"IndexOrder", T::Long}}},
        {"DrawingList",
         {{"DrawingID", T::Long}, {"DirID", T::Long}, {"SpecID", T::Long}, {"DrawingName", T::Text},
          {"DrawingCaption", T::Text}, {"Status1", T::Text}, {"AppClass", T::Text}, {"FunClass", T::Text},
          {"ShpClass", T::Text}, {"QueryKeyword", T::Memo}, {"PreviewFile", T::Text}, {"DrawingPath", T::Text},
          {"DrawingFileName", T::Text}, {"DrawingBlock", T::Text}, {"DriverType", T::Integer},
          {"IsCompressed", T::Integer}, {"BoundDrawingID", T::Long}, {"UserType", T::Long}}},
        {"DrawingDirList", {{"DirID", T::Long}, {"DrawingID", T::Long}, {"DrawingOrder", T::Long}}},
        {"DrawingData",
         {{"DrawingID", T::Long}, {"FieldOrder", T::Long}, {"FieldCaption", T::Text}, {"FieldDataType", T::Integer},
          {"FieldValue_DBL", T::Double}, {"FieldValue_STR", T::Text}}},
        {"DimDriverDefine",
         {{"DrawingID", T::Long}, {"AppName", T::Text}, {"FunName", T::Text}, {"DefinePath", T::Text},
          {"DimDriverName", T::Text}}},
        {"DrawingExecute",
         {{"DirID", T::Long}, {"DrawingID", T::Long}, {"FunApp", T::Text}, {"Func", T::Text}, {"Para", T::Text}}},
    };
}

}  // namespace orv

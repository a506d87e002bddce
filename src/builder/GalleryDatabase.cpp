#include "builder/GalleryDatabase.h"

#include "database/GallerySchema.h"
#include "database/SqliteHandle.h"
#include "database/jet/Jet4Writer.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <sqlite3.h>

#include <unistd.h>

#include <map>
#include <optional>

namespace orv {
namespace {

JetValue I(std::int64_t value)
{
    return JetValue::FromInt(value);
}

JetValue T(const OptText& text)
{
    return text ? JetValue::FromText(*text) : JetValue::Null();
}

JetValue T(const std::string& text)
{
    return JetValue::FromText(text);
}

// Jet's "+" joins texts and gives NULL only when both sides are missing here: a speciality
// without a folder still gives its directories' folders.
OptText JoinFolders(const OptText& specPath, const OptText& dirPath)
{
    if (!specPath && !dirPath)
        return std::nullopt;
    return specPath.value_or("") + dirPath.value_or("");
}

double CreationDate(const GalleryManifest& manifest)
{
    // A fixed date keeps builds byte-identical: the gallery's own date, else 2000-01-01.
    if (manifest.Date)
        if (std::optional<double> date = OleDateFromIso(*manifest.Date))
            return *date;
    return 36526.0;
}

std::optional<std::string> AccessDatabase(const GalleryManifest& manifest, const std::vector<JetTableDef>& tables,
    const std::vector<std::vector<JetRow>>& rows, const std::string& password, std::string& error)
{
    CJet4Writer::Options options;
    options.Password = password;
    options.CreationDate = CreationDate(manifest);
    CJet4Writer writer(options);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        std::optional<int> table = writer.AddTable(tables[t]);
        if (!table) {
            error = "table " + tables[t].Name + ": " + writer.LastError();
            return std::nullopt;
        }
        for (std::size_t r = 0; r < rows[t].size(); ++r) {
            if (!writer.AddRow(*table, rows[t][r])) {
                error = tables[t].Name + " row " + std::to_string(r + 1) + ": " + writer.LastError();
                return std::nullopt;
            }
        }
    }
    std::optional<std::string> bytes = writer.Finish();
    if (!bytes)
        error = "the Access database: " + writer.LastError();
    return bytes;
}

void BindValue(sqlite3_stmt* statement, int index, const JetValue& value)
{
    switch (value.Type) {
    case JetValue::Kind::Null:
        sqlite3_bind_null(statement, index);
        break;
    case JetValue::Kind::Integer:
        sqlite3_bind_int64(statement, index, value.Int);
        break;
    case JetValue::Kind::Real:
        sqlite3_bind_double(statement, index, value.Real);
        break;
    case JetValue::Kind::Text:
        sqlite3_bind_text(
            statement, index, value.Text.c_str(), static_cast<int>(value.Text.size()), SQLITE_TRANSIENT);
        break;
    }
}

bool SqliteDatabase(const std::string& native, const std::vector<JetTableDef>& tables,
    const std::vector<std::vector<JetRow>>& rows, std::string& error)
{
    SqliteHandle db = OpenSqlite(native, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!db || !ExecSqlite(db.get(), "PRAGMA journal_mode=MEMORY;", error) || !CreateGallerySchema(db.get(), error)
        || !ExecSqlite(db.get(), "BEGIN;", error)) {
        error = "the SQLite database: " + error;
        return false;
    }
    for (std::size_t t = 0; t < tables.size(); ++t) {
        std::string columns, marks;
        for (const JetColumn& column : tables[t].Columns) {
            columns += (columns.empty() ? "" : ",") + column.Name;
            marks += marks.empty() ? "?" : ",?";
        }
        const std::string sql = "INSERT INTO " + tables[t].Name + " (" + columns + ") VALUES (" + marks + ")";
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            error = "the SQLite database: " + std::string(sqlite3_errmsg(db.get()));
            return false;
        }
        SqliteStatement statement(raw);
        for (const JetRow& row : rows[t]) {
            sqlite3_reset(raw);
            for (std::size_t c = 0; c < row.size(); ++c)
                BindValue(raw, static_cast<int>(c + 1), row[c]);
            if (sqlite3_step(raw) != SQLITE_DONE) {
                error = "the SQLite database: " + std::string(sqlite3_errmsg(db.get()));
                return false;
            }
        }
    }
    if (!ExecSqlite(db.get(), "COMMIT;", error)) {
        error = "the SQLite database: " + error;
        return false;
    }
    return true;
}

} // namespace

std::vector<std::vector<JetRow>> GalleryRows(const GalleryManifest& m)
{
    enum { Gallery, Title, Set, Spec, Dir, DirFiles, DirIndex, List, DirList, Data, DimDriver, Execute, Count };
    std::vector<std::vector<JetRow>> rows(Count);

    rows[Gallery].push_back({T(m.GalleryName), T(m.Version), T(m.Date)});
    for (const auto& [column, caption] : m.Titles)
        rows[Title].push_back({T(column), T(caption)});
    for (const auto& [name, value] : m.Settings)
        rows[Set].push_back({T(name), T(value)});

    std::map<std::int32_t, const ManifestSpeciality*> specs;
    for (const ManifestSpeciality& s : m.Specialities) {
        specs[s.Id] = &s;
        rows[Spec].push_back({I(s.Id), T(s.Name), T(s.Path), I(s.Order)});
    }
    std::map<std::int32_t, const ManifestDirectory*> dirs;
    for (const ManifestDirectory& d : m.Directories) {
        dirs[d.Id] = &d;
        rows[Dir].push_back({I(d.Id), I(d.Parent), I(d.Spec), T(d.Name), I(d.Type), T(d.Path), T(d.Content),
            T(d.SourceContent), I(d.Compressed), T(d.Mark), I(d.Visible)});
        for (std::size_t p = 0; p < d.Pages.size(); ++p)
            rows[DirFiles].push_back({I(d.Id), T(d.Pages[p]), I(static_cast<std::int64_t>(p + 1))});
    }
    for (const ManifestIndexEntry& e : m.Index)
        rows[DirIndex].push_back({T(e.Name), T(e.Dir), I(e.Order)});

    for (const ManifestDrawing& g : m.Drawings) {
        auto dir = dirs.find(g.Dir);
        const std::int32_t spec = g.Spec.value_or(dir != dirs.end() ? dir->second->Spec : 0);
        OptText path = g.PathGiven ? g.Path
            : dir == dirs.end()    ? OptText()
                                   : JoinFolders(specs.count(spec) ? specs.at(spec)->Path : OptText(), dir->second->Path);
        rows[List].push_back({I(g.Id), I(g.Dir), I(spec), T(g.Name), T(g.Caption), T(g.Status1), T(g.AppClass),
            T(g.FunClass), T(g.ShpClass), T(g.Keywords), T(g.Preview), T(path), T(g.File), T(g.Block), I(g.Driver),
            I(g.Compressed), I(g.Bound), I(g.UserType)});
        for (std::size_t f = 0; f < g.Data.size(); ++f) {
            const ManifestDataField& field = g.Data[f];
            rows[Data].push_back({I(g.Id), I(static_cast<std::int64_t>(f + 1)), T(field.Caption), I(field.Type),
                field.Number ? JetValue::FromReal(*field.Number) : JetValue::Null(), T(field.Text)});
        }
        if (g.DimDriver)
            rows[DimDriver].push_back(
                {I(g.Id), T(g.DimDriver->App), T(g.DimDriver->Fun), T(g.DimDriver->Path), T(g.DimDriver->Name)});
    }
    for (const ManifestMembership& mm : m.Memberships)
        rows[DirList].push_back({I(mm.Dir), I(mm.Drawing), I(mm.Order)});
    for (const ManifestAction& a : m.Actions)
        rows[Execute].push_back({I(a.Dir), I(a.Drawing), T(a.App), T(a.Func), T(a.Para)});
    return rows;
}

bool WriteGalleryDatabase(const GalleryManifest& manifest, const std::vector<std::vector<JetRow>>& rows,
    const std::string& path, bool sqlite, const std::string& password, std::string& error)
{
    const std::vector<JetTableDef> tables = GalleryJetTables();
    if (rows.size() != tables.size()) {
        error = "the rows do not match the gallery tables";
        return false;
    }
    if (!sqlite) {
        std::optional<std::string> bytes = AccessDatabase(manifest, tables, rows, password, error);
        if (!bytes)
            return false;
        if (!platform::AtomicWriteFile(path, *bytes)) {
            error = "cannot write " + platform::NativePath(path);
            return false;
        }
        return true;
    }
    const std::string native = platform::NativePath(path);
    ::unlink(native.c_str());
    if (!SqliteDatabase(native, tables, rows, error)) {
        ::unlink(native.c_str());
        return false;
    }
    return true;
}

} // namespace orv

// orvtool sql, gallery import, gallery schema: run statements on a gallery as the reader
// does, make the SQLite copy of an Access gallery, and write an empty gallery.

#include "Command.h"

#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/GalleryImport.h"
#include "database/GallerySchema.h"
#include "database/jet/JetHeader.h"
#include "database/SqlText.h"
#include "platform/Files.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace orv::tool {
namespace {

// Values are written one record a line: tabs and line ends inside a value are escaped.
std::string FieldText(const std::optional<DbValue>& value)
{
    if (!value || value->IsNull())
        return std::string();
    if (value->kind == DbValue::Kind::Blob) {
        static const char digits[] = "0123456789abcdef";
        std::string hex = "x'";
        for (unsigned char c : value->bytes) {
            hex.push_back(digits[c >> 4]);
            hex.push_back(digits[c & 15]);
        }
        return hex + "'";
    }
    std::string text = ConvertToText(*value).value_or(std::string());
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out.push_back(c);
    }
    return out;
}

// Connects without a message box: the reason goes to standard error through Fail.
bool Connect(CAdoConnection& connection, const std::string& gallery, const std::string& password)
{
    auto previous = platform::SetShowMessageHook(
        [](const std::string&, const std::string&, platform::MessageKind) { return 1; });
    const int result = connection.ConnectDatabase(platform::ProgramPath(gallery), password);
    platform::SetShowMessageHook(previous);
    if (result != 0) {
        Fail(connection.LastError());
        return false;
    }
    return true;
}

void PrintTableCounts(sqlite3* db)
{
    sqlite3_stmt* raw = nullptr;
    // sqlite_stat1 and the like are SQLite's own, not the gallery's.
    const char* sql = "SELECT name FROM sqlite_master WHERE type = 'table' "
                      "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name";
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        return;
    SqliteStatement tables(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        std::string quoted = "\"";
        for (char c : name)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        quoted += "\"";
        sqlite3_stmt* countRaw = nullptr;
        long long rows = -1;
        const std::string count = "SELECT count(*) FROM " + quoted;
        if (sqlite3_prepare_v2(db, count.c_str(), -1, &countRaw, nullptr) == SQLITE_OK) {
            SqliteStatement counting(countRaw);
            if (sqlite3_step(countRaw) == SQLITE_ROW)
                rows = sqlite3_column_int64(countRaw, 0);
        }
        std::cout << "table\t" << name << '\t' << rows << '\n';
    }
}

struct DatabaseArgs {
    std::string gallery, statement, out, password = kGalleryPassword;
    bool force = false;
};

CLI::App* GalleryCommand(CLI::App& app)
{
    // Other command files may add to "gallery" as well.
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
        if (command->get_name() == "gallery")
            return command;
    auto* gallery = app.add_subcommand("gallery", "Gallery databases: import, schema");
    gallery->require_subcommand(1);
    return gallery;
}

void Register(CLI::App& app)
{
    auto args = std::make_shared<DatabaseArgs>();

    auto* sql = app.add_subcommand("sql", "Run a statement (Jet dialect) on a gallery and print the rows");
    sql->add_option("GALLERY", args->gallery, "The gallery database (.GAL, Access or SQLite)")->required();
    sql->add_option("STATEMENT", args->statement, "The statement, as the reader would run it")->required();
    sql->add_option("--password", args->password, "Database password (default: the gallery password)");
    SetAction(sql, [args] {
        CAdoConnection connection;
        if (!Connect(connection, args->gallery, args->password))
            return 1;
        CAdoRecordset rs;
        if (rs.OpenSql(args->statement, connection) != 0) {
            const char* reason = "the statement failed";
            Fail(std::string(reason) + ": " + args->statement);
            return 1;
        }
        const auto& columns = rs.ColumnNames();
        for (std::size_t c = 0; c < columns.size(); ++c)
            std::cout << (c ? "\t" : "") << columns[c];
        std::cout << '\n';
        for (; !rs.IsEOF(); rs.MoveNext()) {
            for (std::size_t c = 0; c < columns.size(); ++c)
                std::cout << (c ? "\t" : "") << FieldText(rs.Value(c));
            std::cout << '\n';
        }
        return 0;
    });

    auto* gallery = GalleryCommand(app);

    auto* import = gallery->add_subcommand("import", "Make (or reuse) the SQLite copy of an Access gallery");
    import->add_option("GALLERY", args->gallery, "The Access gallery (.GAL)")->required();
    import->add_option("--password", args->password, "Database password (default: the gallery password)");
    SetAction(import, [args] {
        const auto start = std::chrono::steady_clock::now();
        const std::string programPath = platform::ProgramPath(args->gallery);
        auto head = platform::ReadNativeFileHead(platform::NativePath(programPath), 16);
        if (head && head->size() == 16 && LooksLikeSqliteFile(*head)) {
            Fail(args->gallery + " is already an SQLite gallery; nothing to import");
            return 1;
        }
        AccessImportResult result = ImportAccessGallery(programPath, args->password);
        if (!result.ok) {
            Fail(result.error);
            return 1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        SqliteHandle copy;
        sqlite3* db = result.memoryDb.get();
        if (!result.inMemory) {
            std::string error;
            copy = OpenSqlite(platform::NativePath(result.copyPath), SQLITE_OPEN_READONLY, error);
            db = copy.get();
        }
        std::cout << "copy\t" << (result.inMemory ? ":memory:" : platform::NativePath(result.copyPath)) << '\n';
        std::cout << "status\t" << (result.inMemory ? "memory" : result.reused ? "reused" : "imported") << '\n';
        if (db)
            PrintTableCounts(db);
        char secondsText[32];
        std::snprintf(secondsText, sizeof secondsText, "%.3f", seconds);
        std::cout << "seconds\t" << secondsText << '\n';
        return 0;
    });

    auto* schema = gallery->add_subcommand("schema", "Write an empty SQLite gallery with every gallery table");
    schema->add_option("OUT", args->out, "The gallery file to write")->required();
    schema->add_flag("--force", args->force, "Replace an existing file");
    SetAction(schema, [args] {
        const std::string native = platform::NativePath(platform::ProgramPath(args->out));
        struct stat st;
        if (!args->force && ::stat(native.c_str(), &st) == 0) {
            Fail(args->out + " exists; use --force to replace it");
            return 1;
        }
        std::string error;
        if (!WriteEmptyGallery(native, error)) {
            Fail(error);
            return 1;
        }
        return 0;
    });
}

const CommandRegistrar registrar("database", Register);

}  // namespace
}  // namespace orv::tool

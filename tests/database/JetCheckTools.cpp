#include "JetCheckTools.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

extern char** environ;

namespace orv::test {
namespace {

bool InPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// tests/node beside this file's folder.
std::string NodeFolder()
{
    std::string here = __FILE__;
    std::string folder = here.substr(0, here.find_last_of('/'));
    return folder.substr(0, folder.find_last_of('/')) + "/node";
}

}  // namespace

std::string MdbtoolsMissing()
{
    for (const char* program : {"mdb-tables", "mdb-schema", "mdb-export"}) {
        if (!InPath(program))
            return std::string(program) + " is not installed (Debian package mdbtools)";
    }
    return std::string();
}

std::string MdbReaderMissing()
{
    if (!InPath("node"))
        return "node is not installed";
    if (::access((NodeFolder() + "/node_modules/mdb-reader/package.json").c_str(), R_OK) != 0)
        return "mdb-reader is not installed in tests/node (scripts/install-deps runs npm ci there)";
    return std::string();
}

std::optional<std::vector<std::vector<std::optional<std::string>>>> MdbExport(const std::string& file,
                                                                               const std::string& table)
{
    ToolResult r = RunProgram({"mdb-export", "-T", "%Y-%m-%d %H:%M:%S", file, table});
    if (r.status != 0)
        return std::nullopt;
    // CSV: fields separated by ",", texts in double quotes (doubled inside), rows by "\n"
    // outside quotes; an unquoted empty field is a NULL.
    std::vector<std::vector<std::optional<std::string>>> rows;
    std::vector<std::optional<std::string>> row;
    std::string field;
    bool quoted = false, inQuotes = false, any = false;
    auto endField = [&] {
        if (quoted || !field.empty())
            row.emplace_back(field);
        else
            row.emplace_back(std::nullopt);
        field.clear();
        quoted = false;
    };
    for (std::size_t i = 0; i < r.out.size(); ++i) {
        char c = r.out[i];
        any = true;
        if (inQuotes) {
            if (c == '"' && i + 1 < r.out.size() && r.out[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            inQuotes = quoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n') {
            endField();
            rows.push_back(std::move(row));
            row.clear();
            any = false;
        } else {
            field += c;
        }
    }
    if (any) {
        endField();
        rows.push_back(std::move(row));
    }
    if (!rows.empty())
        rows.erase(rows.begin());  // the header line
    return rows;
}

std::optional<nlohmann::json> MdbReaderRead(const std::string& file, std::string& error)
{
    ToolResult r = RunProgram({"node", NodeFolder() + "/read-mdb.mjs", file});
    if (r.status != 0) {
        error = r.err;
        return std::nullopt;
    }
    try {
        return nlohmann::json::parse(r.out);
    } catch (const std::exception& e) {
        error = e.what();
        return std::nullopt;
    }
}

}  // namespace orv::test

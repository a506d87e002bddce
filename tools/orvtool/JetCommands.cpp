// orvtool gallery convert: copy a gallery between its Access (Jet 4) and SQLite forms.
// orvtool gallery sample: write a generated gallery of a chosen size, its database alone or
// the whole gallery with its content.

#include "Command.h"

#include "builder/GalleryBuilder.h"
#include "builder/GalleryDatabase.h"
#include "builder/SampleGallery.h"
#include "database/AdoConnection.h"
#include "database/GalleryConvert.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace orv::tool {
namespace {

struct ConvertArgs {
    std::string in, out, format, password = kGalleryPassword;
    bool force = false, content = false;
    int directories = 200, drawings = 1000;
};

bool Refuse(const std::string& out, bool force)
{
    struct stat st;
    if (!force && ::stat(platform::NativePath(platform::ProgramPath(out)).c_str(), &st) == 0) {
        Fail(out + " exists; use --force to replace it");
        return true;
    }
    return false;
}

CLI::App* GalleryCommand(CLI::App& app)
{
    // Other command files add to "gallery" as well.
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
        if (command->get_name() == "gallery")
            return command;
    auto* gallery = app.add_subcommand("gallery", "Gallery databases");
    gallery->require_subcommand(1);
    return gallery;
}

void Register(CLI::App& app)
{
    auto args = std::make_shared<ConvertArgs>();
    auto* convert = GalleryCommand(app)->add_subcommand(
        "convert", "Copy a gallery database between the Access (.GAL, Jet 4) and SQLite forms");
    convert->add_option("IN", args->in, "The gallery database to read (Access or SQLite)")->required();
    convert->add_option("OUT", args->out, "The gallery database to write")->required();
    convert->add_option("--format", args->format, "access or sqlite (default: the form IN is not in)")
        ->check(CLI::IsMember({"access", "sqlite"}));
    convert->add_option("--password", args->password,
                        "Password of an Access IN, and written into an Access OUT (default: the gallery "
                        "password; \"\" for none)");
    convert->add_flag("--force", args->force, "Replace an existing OUT");
    SetAction(convert, [args] {
        const std::string in = platform::ProgramPath(args->in), out = platform::ProgramPath(args->out);
        if (Refuse(args->out, args->force))
            return 1;
        GalleryConvertOptions options;
        options.Password = args->password;
        if (args->format.empty())
            options.Format = IsAccessGallery(in) ? GalleryFormat::Sqlite : GalleryFormat::Access;
        else
            options.Format = args->format == "access" ? GalleryFormat::Access : GalleryFormat::Sqlite;
        GalleryConvertResult result = ConvertGallery(in, out, options);
        if (!result.Ok) {
            Fail(result.Error);
            return 1;
        }
        for (const auto& [name, rows] : result.Tables)
            std::cout << "table\t" << name << '\t' << rows << '\n';
        std::cout << "format\t" << (options.Format == GalleryFormat::Access ? "access" : "sqlite") << '\n';
        return 0;
    });

    auto* sample = GalleryCommand(app)->add_subcommand("sample",
        "Write a generated gallery (every table filled, Chinese names, memos, NULLs); with --content also its "
        "pages, packages, previews, keyword file and full text");
    sample->add_option("OUT", args->out, "The gallery file to write (with --content: OUT's folder gets the gallery)")
        ->required();
    sample->add_option("--directories", args->directories, "Number of directories (default 200)")
        ->check(CLI::Range(0, 10000000));
    sample->add_option("--drawings", args->drawings, "Number of drawings (default 1000)")->check(CLI::Range(0, 10000000));
    sample->add_option("--password", args->password, "Database password (default: the gallery password)");
    sample->add_option("--format", args->format, "Database form: access (default) or sqlite")
        ->check(CLI::IsMember({"access", "sqlite"}));
    sample->add_flag("--content", args->content,
        "Also write the content folder: a page per directory (about 2.5 KB of text each), packages, slide "
        "libraries, the keyword file and the full text");
    sample->add_flag("--force", args->force, "Replace an existing OUT");
    SetAction(sample, [args] {
        if (Refuse(args->out, args->force))
            return 1;
        const auto start = std::chrono::steady_clock::now();
        const std::string out = AbsoluteProgramPath(args->out);
        const bool sqlite = args->format == "sqlite";
        std::string error;
        GalleryManifest manifest = SampleGalleryManifest({args->directories, args->drawings}, args->content);
        if (args->content) {
            // The gallery is named after OUT and built into OUT's folder.
            const std::size_t slash = out.rfind('\\');
            const std::string file = out.substr(slash + 1);
            const std::size_t dot = file.rfind('.');
            manifest.Name = dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
            GalleryBuildOptions options;
            options.Sqlite = sqlite;
            options.Password = args->password;
            GalleryBuildReport report;
            if (!BuildGallery(manifest, out.substr(0, slash), options, report, error)) {
                Fail(error);
                return 1;
            }
            std::cout << "gallery\t" << platform::NativePath(report.GalleryPath) << '\n';
        } else if (!WriteGalleryDatabase(manifest, GalleryRows(manifest), out, sqlite, args->password, error)) {
            Fail(error);
            return 1;
        }
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f",
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::cout << "seconds\t" << seconds << '\n';
        return 0;
    });
}

const CommandRegistrar registrar("jet", Register);

}  // namespace
}  // namespace orv::tool

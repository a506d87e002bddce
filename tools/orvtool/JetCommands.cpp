// orvtool gallery convert: copy a gallery between its Access (Jet 4) and SQLite forms.
// orvtool gallery sample: write a generated Access gallery of a chosen size.

#include "Command.h"
#include "FieldEscape.h"

#include "database/AdoConnection.h"
#include "database/GalleryConvert.h"
#include "database/SampleJetGallery.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace orv::tool {
namespace {

struct ConvertArgs {
    std::string in, out, format, password = kGalleryPassword;
    bool force = false;
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
            std::cout << "table\t" << EscapeField(name) << '\t' << rows << '\n';
        std::cout << "format\t" << (options.Format == GalleryFormat::Access ? "access" : "sqlite") << '\n';
        return 0;
    });

    auto* sample = GalleryCommand(app)->add_subcommand(
        "sample", "Write a generated Access gallery (every table filled, Chinese names, memos, NULLs)");
    sample->add_option("OUT", args->out, "The gallery file to write")->required();
    sample->add_option("--directories", args->directories, "Number of directories (default 200)")
        ->check(CLI::Range(0, 10000000));
    sample->add_option("--drawings", args->drawings, "Number of drawings (default 1000)")->check(CLI::Range(0, 10000000));
    sample->add_option("--password", args->password, "Database password (default: the gallery password)");
    sample->add_flag("--force", args->force, "Replace an existing OUT");
    SetAction(sample, [args] {
        if (Refuse(args->out, args->force))
            return 1;
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        if (!WriteSampleAccessGallery(platform::ProgramPath(args->out), args->password,
                                      {args->directories, args->drawings}, error)) {
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

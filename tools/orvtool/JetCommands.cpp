// orvtool gallery convert: copy a gallery between its Access (Jet 4) and SQLite forms.

#include "Command.h"

#include "database/GalleryConvert.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <iostream>

namespace orv::tool {
namespace {

constexpr const char* kGalleryPassword = "qvelb7381";

struct ConvertArgs {
    std::string in, out, format, password = kGalleryPassword;
    bool force = false;
};

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
        struct stat st;
        if (!args->force && ::stat(platform::NativePath(out).c_str(), &st) == 0) {
            Fail(args->out + " exists; use --force to replace it");
            return 1;
        }
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
}

const CommandRegistrar registrar("jet", Register);

}  // namespace
}  // namespace orv::tool

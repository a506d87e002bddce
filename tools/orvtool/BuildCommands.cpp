// orvtool build-gallery: a whole gallery from a manifest (docs/gallery-manifest.md).

#include "Command.h"
#include "builder/GalleryBuilder.h"

#include <chrono>
#include <cstdio>
#include <iostream>

namespace orv::tool {
namespace {

struct BuildArgs {
    std::string manifest, out, format = "access";
    bool plainFullText = false;
};

void Register(CLI::App& app)
{
    auto args = std::make_shared<BuildArgs>();
    auto* build = app.add_subcommand("build-gallery",
        "Build a gallery (database, content folder, keyword and full-text files) from a JSON manifest");
    build->add_option("MANIFEST", args->manifest, "The manifest (JSON); sources are found relative to it")
        ->required();
    build->add_option("OUTDIR", args->out, "The gallery library folder to write <name>.GAL and <name>/ into")
        ->required();
    build->add_option("--format", args->format, "Database form: access (default) or sqlite")
        ->check(CLI::IsMember({"access", "sqlite"}));
    build->add_flag("--plain-fulltext", args->plainFullText, "Write the full text plain (.cnt), not compressed");
    SetAction(build, [args] {
        const auto start = std::chrono::steady_clock::now();
        GalleryBuildOptions options;
        options.Sqlite = args->format == "sqlite";
        options.PlainFullText = args->plainFullText;
        GalleryBuildReport report;
        std::string error;
        if (!BuildGalleryFromFile(AbsoluteProgramPath(args->manifest), AbsoluteProgramPath(args->out), options, report,
                error)) {
            Fail(error);
            return 1;
        }
        for (const auto& [table, rows] : report.Tables)
            std::cout << "table\t" << table << '\t' << rows << '\n';
        for (const auto& [kind, count] : report.Files)
            std::cout << "files\t" << kind << '\t' << count << '\n';
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::cout << "seconds\t" << seconds << '\n';
        return 0;
    });
}

const CommandRegistrar registrar("build", Register);

} // namespace
} // namespace orv::tool

// orvtool: the command-line tool for gallery authors, bug reports and black-box tests.

#include "Command.h"
#include "PictureCommands.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

namespace orv::tool {
namespace {

std::map<std::string, CommandRegistration>& Registry()
{
    static std::map<std::string, CommandRegistration> registry;
    return registry;
}

}  // namespace

CommandRegistrar::CommandRegistrar(const char* name, CommandRegistration registration)
{
    Registry().emplace(name, std::move(registration));
}

int& ExitStatus()
{
    static int status = 0;
    return status;
}

void Fail(const std::string& reason)
{
    std::fprintf(stderr, "orvtool: %s\n", reason.c_str());
    ExitStatus() = 1;
}

void SetAction(CLI::App* command, std::function<int()> action)
{
    command->callback([action = std::move(action)] { ExitStatus() = action(); });
}

std::string AbsoluteProgramPath(const std::string& native)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(native, ec);
    return platform::ProgramPath(ec ? native : absolute.lexically_normal().string());
}

std::string ToolAppFolder(const std::string& appDir)
{
    if (!appDir.empty())
        return AbsoluteProgramPath(appDir);
    if (const char* home = std::getenv("ORVBOOK_HOME"); home && *home)
        return AbsoluteProgramPath(home);
    std::error_code ec;
    return AbsoluteProgramPath(std::filesystem::current_path(ec).string());
}

}  // namespace orv::tool

int main(int argc, char** argv)
{
    CLI::App app{"orvtool: packages, slides, SQL and galleries for ORVBook", "orvtool"};
    app.set_version_flag("--version", std::string("orvtool ") + ORV_VERSION);
    app.require_subcommand(1);
#ifdef ORV_HAVE_RENDER
    orv::tool::InstallMetafileRenderer();
#endif
    for (auto& [name, registration] : orv::tool::Registry())
        registration(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return orv::tool::ExitStatus();
}

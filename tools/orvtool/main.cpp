// orvtool: the command-line tool for gallery authors, bug reports and black-box tests.

#include "Command.h"
#include "PictureCommands.h"
#include "platform/Paths.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

} // namespace

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

} // namespace orv::tool

namespace {

#ifdef ORV_RENDER_TOOL
// Whether the command draws: its first words name one of the drawing commands.
bool DrawingCommand(int argc, char** argv)
{
    std::vector<std::string> words;
    for (int i = 1; i < argc && words.size() < 2; ++i) {
        if (argv[i][0] != '-')
            words.emplace_back(argv[i]);
    }
    if (words.empty())
        return false;
    if (words[0] == "grid" || words[0] == "content" || words[0] == "route")
        return true;
    return words.size() > 1 && (words[0] == "slide" || words[0] == "picture") && words[1] == "render";
}

// The renderer's build of the tool: beside this program (the build folder), else in
// ../lib/orvbook (installed).
std::string RenderTool()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    for (const std::filesystem::path& candidate : { self.parent_path() / "orvtool-render",
             self.parent_path().parent_path() / "lib" / "orvbook" / "orvtool-render" }) {
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}
#endif

} // namespace

int main(int argc, char** argv)
{
#ifdef ORV_RENDER_TOOL
    // Drawing commands need Qt; the others start faster without it.
    if (DrawingCommand(argc, argv)) {
        const std::string renderer = RenderTool();
        if (!renderer.empty()) {
            ::execv(renderer.c_str(), argv);
            std::fprintf(stderr, "orvtool: cannot start %s: %s\n", renderer.c_str(), std::strerror(errno));
            return 1;
        }
    }
#endif
    CLI::App app { "orvtool: packages, slides, SQL and galleries for ORVBook", "orvtool" };
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

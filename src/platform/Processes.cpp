#include "platform/Processes.h"

#include "platform/Paths.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace orv::platform {

std::vector<std::string> SplitCommandLine(std::string_view parameters)
{
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = parameters.size();
    while (true) {
        while (i < n && (parameters[i] == ' ' || parameters[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n) {
            char c = parameters[i];
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                std::size_t count = 0;
                while (i < n && parameters[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && parameters[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && parameters[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += c;
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

bool Spawn(const std::vector<std::string>& argv, const std::string& nativeWorkFolder)
{
    if (argv.empty() || argv[0].empty())
        return false;
    std::vector<char*> raw;
    raw.reserve(argv.size() + 1);
    for (const std::string& arg : argv)
        raw.push_back(const_cast<char*>(arg.c_str()));
    raw.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    int rc = 0;
    if (!nativeWorkFolder.empty())
        rc = posix_spawn_file_actions_addchdir_np(&actions, nativeWorkFolder.c_str());
    // The program gets standard input, output and error and nothing else: not our databases,
    // and not whatever the host process (a GUI toolkit, a plug-in) left without close-on-exec.
    if (rc == 0)
        rc = posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = 0;
    if (rc == 0)
        rc = argv[0].find('/') == std::string::npos
            ? ::posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ)
            : ::posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    // Nobody waits for the program, but its exit status must still be collected.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

namespace {

// An absolute native path, so that the working folder does not change what is started.
std::string ResolveProgram(const std::string& program)
{
    std::string native = NativePath(program);
    if (native.empty())
        return native;
    char resolved[PATH_MAX];
    if (::realpath(native.c_str(), resolved))
        return resolved;
    return native.find('/') == std::string::npos ? "./" + native : native;
}

bool IsExecutableFile(const std::string& native)
{
    return !native.empty() && ::access(native.c_str(), X_OK) == 0 && FileExists(ProgramPath(native));
}

bool HasScheme(const std::string& text)
{
    std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2)  // "C:" is a drive, not a scheme
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        char c = text[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace

bool StartProgram(const std::string& program, const std::string& parameters, const std::string& workFolder)
{
    std::string native = ResolveProgram(program);
    if (!IsExecutableFile(native))
        return false;
    std::vector<std::string> argv{native};
    for (std::string& arg : SplitCommandLine(parameters))
        argv.push_back(std::move(arg));
    return Spawn(argv, workFolder.empty() ? std::string() : NativePath(workFolder));
}

bool StartProgramWithArgument(const std::string& program, const std::string& argument,
                              const std::string& workFolder)
{
    std::string native = ResolveProgram(program);
    if (!IsExecutableFile(native))
        return false;
    return Spawn({native, argument}, workFolder.empty() ? std::string() : NativePath(workFolder));
}

bool OpenDocument(const std::string& documentOrUrl)
{
    if (documentOrUrl.empty())
        return false;
    bool isUrl = HasScheme(documentOrUrl);
    std::string target = isUrl ? documentOrUrl : NativePath(documentOrUrl);
    if (Spawn({"xdg-open", target}, std::string()))
        return true;
    const char* browser = std::getenv("BROWSER");
    if (isUrl && browser && *browser)
        return Spawn({browser, target}, std::string());
    return false;
}

}  // namespace orv::platform

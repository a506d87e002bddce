#include "support/TestSupport.h"

#include "platform/Paths.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace orv::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_native = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    // Tests make folders read-only on purpose; give the owner its rights back first.
    for (auto it = std::filesystem::recursive_directory_iterator(m_native, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(m_native, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_native, ec);
}

std::string TempFolder::Program() const
{
    return platform::ProgramPath(m_native);
}

std::string TempFolder::NativeAt(std::string_view relative) const
{
    std::string rel(relative);
    for (char& c : rel)
        if (c == '\\')
            c = '/';
    return m_native + "/" + rel;
}

std::string TempFolder::ProgramAt(std::string_view relative) const
{
    return platform::ProgramPath(NativeAt(relative));
}

PrivateHome::PrivateHome()
    : m_cache("XDG_CACHE_HOME", m_dir.NativeAt("cache"))
    , m_runtime("XDG_RUNTIME_DIR", m_dir.NativeAt("runtime"))
{
    std::filesystem::create_directories(m_dir.NativeAt("cache"));
    std::filesystem::create_directories(m_dir.NativeAt("runtime"));
    std::filesystem::permissions(m_dir.NativeAt("runtime"), std::filesystem::perms::owner_all);
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : m_name(std::move(name))
{
    if (const char* previous = std::getenv(m_name.c_str())) {
        m_hadValue = true;
        m_previous = previous;
    }
    ::setenv(m_name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (m_hadValue)
        ::setenv(m_name.c_str(), m_previous.c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
}

void WriteFile(const std::string& nativePath, std::string_view bytes)
{
    std::filesystem::path path(nativePath);
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + nativePath);
}

std::string ReadFile(const std::string& nativePath)
{
    std::ifstream in(nativePath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolResult RunTool(const std::vector<std::string>& args, const std::string& stdinText)
{
    std::vector<std::string> argv{ORVTOOL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, stdinText);
}

ToolResult RunProgram(const std::vector<std::string>& args, const std::string& stdinText)
{
    TempFolder io;
    std::string inPath = io.NativeAt("stdin"), outPath = io.NativeAt("stdout"), errPath = io.NativeAt("stderr");
    WriteFile(inPath, stdinText);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argv = args;
    std::vector<char*> raw;
    for (std::string& arg : argv)
        raw.push_back(arg.data());
    raw.push_back(nullptr);
    pid_t pid = 0;
    ToolResult result;
    if (!raw.empty() && raw[0] && ::posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

}  // namespace orv::test

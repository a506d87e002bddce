#include "app/common/PathHelpers.h"

#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace orv {

std::string GetFolderPart(std::string_view path)
{
    std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string GetBaseName(std::string_view path)
{
    std::size_t slash = path.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string GetExtension(std::string_view path)
{
    std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

void CreateFolderPath(std::string_view path)
{
    if (platform::PathExists(path))
        return;
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t slash = path.find('\\'); slash != std::string_view::npos; slash = path.find('\\', start)) {
        parts.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    if (parts.empty())
        return;
    parts.emplace_back(path.substr(start));

    // The running prefix starts with the first part; for an absolute path that part is empty,
    // so the second step gives "\home" and the walk starts at the root.
    std::string prefix = parts.front();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            prefix += "\\" + parts[i];
        if (!prefix.empty() && !parts[i].empty())
            ::mkdir(platform::NativePath(prefix).c_str(), 0777);
    }
}

namespace {

bool DeleteNativeTree(const std::string& folder)
{
    std::string base = folder.back() == '/' ? folder : folder + '/';
    for (const platform::FoundEntry& entry : platform::FindEntries(platform::ProgramPath(base), "*.*")) {
        std::string path = base + entry.name;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            DeleteNativeTree(path);
        else
            ::unlink(path.c_str());
    }
    return ::rmdir(folder.c_str()) == 0;
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    if (passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path == "/" ? std::string() : path;
}

bool IsWritableFolder(const std::string& native)
{
    struct stat st;
    return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(native.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

bool DeleteFolderTree(std::string_view path)
{
    std::string native = platform::NativePath(path);
    if (native.empty())
        return false;
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return DeleteNativeTree(native);
}

std::string GetCacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string base = (cache && *cache == '/') ? cache : HomeFolder() + "/.cache";
    base = WithoutTrailingSlashes(base);
    return platform::ProgramPath(base + "/orvbook");
}

std::string GetTempFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder;
    if (runtime && *runtime == '/' && IsWritableFolder(runtime)) {
        folder = platform::ProgramPath(WithoutTrailingSlashes(runtime) + "/ORVTemp");
    }
    else {
        folder = GetCacheFolder() + "\\ORVTemp";
    }
    CreateFolderPath(folder);
    // Extracted pages may be private; nobody else needs to read them.
    ::chmod(platform::NativePath(folder).c_str(), 0700);
    return folder;
}

}  // namespace orv

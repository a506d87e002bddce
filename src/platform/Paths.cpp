#include "platform/Paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace orv::platform {
namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool NativeExists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListFolder(const std::string& nativeFolder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(nativeFolder.empty() ? "." : nativeFolder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool GlobMatch(std::string_view name, std::string_view pattern)
{
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Whether some component is "." or "..", so that most paths skip the collapse.
bool HasDotComponent(std::string_view path)
{
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.', dot + 1)) {
        std::size_t start = dot;
        while (start > 0 && path[start - 1] == '.')
            --start;
        std::size_t end = dot;
        while (end < path.size() && path[end] == '.')
            ++end;
        if (end - start <= 2 && (start == 0 || IsSeparator(path[start - 1]))
            && (end == path.size() || IsSeparator(path[end])))
            return true;
        dot = end - 1;
    }
    return false;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = FoldAscii(c);
    return out;
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern == "*" || pattern == "*.*")
        return true;
    if (GlobMatch(name, pattern))
        return true;
    // As on Windows, "X*.*" also matches names without a dot.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return GlobMatch(name, pattern.substr(0, pattern.size() - 2));
    return false;
}

std::string CollapseDots(std::string_view path)
{
    // The head that ".." never climbs above: a UNC "\\server\share", "C:\", "C:" or "\".
    std::string prefix;
    bool rooted = false;
    std::size_t pos = 0;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])
        && (path.size() == 2 || !IsSeparator(path[2]))) {
        prefix = "\\\\";
        pos = 2;
        for (int part = 0; part < 2 && pos < path.size(); ++part) {
            std::size_t end = pos;
            while (end < path.size() && !IsSeparator(path[end]))
                ++end;
            // "." or ".." names no server or share: it is a component like any other, and
            // at the root it stays at the root.
            std::string_view name = path.substr(pos, end - pos);
            if (name == "." || name == "..") {
                if (part == 0)
                    prefix = "\\";
                break;
            }
            prefix += (part == 0 ? "" : "\\") + std::string(name);
            pos = end;
            while (pos < path.size() && IsSeparator(path[pos]))
                ++pos;
        }
        rooted = true;
    } else {
        if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
            prefix = std::string(path.substr(0, 2));
            pos = 2;
        }
        if (pos < path.size() && IsSeparator(path[pos])) {
            prefix += '\\';
            rooted = true;
        }
    }
    const bool bareDrive = !rooted && !prefix.empty(); // "C:a" has no separator after "C:"

    std::vector<std::string_view> parts;
    std::size_t leadingUp = 0; // ".." kept at the start of a relative path
    while (pos < path.size()) {
        std::size_t end = pos;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        std::string_view part = path.substr(pos, end - pos);
        pos = end;
        while (pos < path.size() && IsSeparator(path[pos]))
            ++pos;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (parts.size() > leadingUp)
                parts.pop_back();
            else if (!rooted) {
                parts.push_back(part);
                ++leadingUp;
            }
            continue;
        }
        parts.push_back(part);
    }

    std::string out = prefix;
    // A relative path whose first name looks like a drive ("e:x") keeps a "." before it, or it
    // would read as a path on that drive.
    if (prefix.empty() && !parts.empty() && parts[0].size() >= 2 && IsAsciiLetter(parts[0][0])
        && parts[0][1] == ':')
        out = ".\\";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 || (!out.empty() && out.back() != '\\' && !bareDrive))
            out += '\\';
        out.append(parts[i]);
    }
    // A trailing separator stays, unless it would turn "C:" into "C:\".
    if (!path.empty() && IsSeparator(path.back()) && !out.empty() && out.back() != '\\'
        && !(bareDrive && parts.empty()))
        out += '\\';
    if (out.empty() && !path.empty())
        out = ".";
    return out;
}

std::string NativePath(std::string_view programPath)
{
    // A NUL would cut the path short at the system call: such a path names no file.
    if (programPath.empty() || programPath.find('\0') != std::string_view::npos)
        return std::string();
    // Windows collapses "." and ".." by text before it looks at the disk; so do we.
    std::string collapsed;
    if (HasDotComponent(programPath)) {
        collapsed = CollapseDots(programPath);
        programPath = collapsed;
    }
    std::string result;
    std::size_t pos = 0;
    if (IsSeparator(programPath[0])) {
        result = "/";
        while (pos < programPath.size() && IsSeparator(programPath[pos]))
            ++pos;
    }
    bool resolving = true;
    while (pos < programPath.size()) {
        std::size_t end = pos;
        while (end < programPath.size() && !IsSeparator(programPath[end]))
            ++end;
        std::string component(programPath.substr(pos, end - pos));
        bool trailing = end < programPath.size();
        pos = end;
        while (pos < programPath.size() && IsSeparator(programPath[pos]))
            ++pos;
        if (component.empty())
            continue;
        std::string folder = result;
        std::string candidate = result;
        if (!candidate.empty() && candidate.back() != '/')
            candidate += '/';
        candidate += component;
        if (resolving && component != "." && component != ".." && !NativeExists(candidate)) {
            resolving = false;
            for (const std::string& name : ListFolder(folder)) {
                if (EqualsNoCase(name, component)) {
                    candidate = folder.empty() ? name : (folder.back() == '/' ? folder : folder + '/') + name;
                    resolving = true;
                    break;
                }
            }
        }
        result = std::move(candidate);
        if (trailing && pos >= programPath.size())
            result += '/';
    }
    return result;
}

std::string ProgramPath(std::string_view nativePath)
{
    std::string out(nativePath);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

bool FileExists(std::string_view programPath)
{
    struct stat st;
    std::string native = NativePath(programPath);
    return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(std::string_view programPath)
{
    struct stat st;
    std::string native = NativePath(programPath);
    return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(std::string_view programPath)
{
    struct stat st;
    std::string native = NativePath(programPath);
    return !native.empty() && ::stat(native.c_str(), &st) == 0;
}

std::vector<FoundEntry> FindEntries(std::string_view programFolder, std::string_view pattern)
{
    std::vector<FoundEntry> found;
    std::string folder = NativePath(programFolder);
    if (folder.empty())
        folder = ".";
    if (folder.back() != '/')
        folder += '/';
    for (std::string& name : ListFolder(folder)) {
        if (!MatchesPattern(name, pattern))
            continue;
        struct stat st;
        bool isFolder = ::stat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        found.push_back({std::move(name), isFolder});
    }
    return found;
}

std::vector<std::string> FindFiles(std::string_view programFolder, std::string_view pattern)
{
    std::vector<std::string> names;
    for (FoundEntry& entry : FindEntries(programFolder, pattern))
        if (!entry.isFolder)
            names.push_back(std::move(entry.name));
    return names;
}

std::string PercentDecode(std::string_view text)
{
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = hex(text[i + 1]), lo = hex(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string FileUrlToPath(std::string_view url)
{
    constexpr std::string_view scheme = "file:";
    if (url.size() < scheme.size() || !EqualsNoCase(url.substr(0, scheme.size()), scheme))
        return std::string();
    std::string_view rest = url.substr(scheme.size());
    // Query and fragment are not part of the path.
    std::size_t cut = rest.find_first_of("?#");
    if (cut != std::string_view::npos)
        rest = rest.substr(0, cut);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        std::size_t slash = rest.find('/');
        std::string_view host = rest.substr(0, slash);
        if (!host.empty() && !EqualsNoCase(host, "localhost"))
            return std::string();
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    if (rest.empty() || rest[0] != '/')
        return std::string();
    // Each component is decoded on its own: an encoded separator would split it in two
    // (a "..%2F" that URL normalisation left alone climbs a folder), and an encoded NUL would
    // end the path early at the system call. Such a URL names no file.
    std::string path;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t slash = rest.find_first_of("/\\", start);
        if (slash == std::string_view::npos)
            slash = rest.size();
        std::string component = PercentDecode(rest.substr(start, slash - start));
        if (component.find_first_of(std::string_view("\0/\\", 3)) != std::string::npos)
            return std::string();
        if (start > 0)
            path += '\\';
        path += component;
        start = slash + 1;
    }
    return path;
}

std::string PathToFileUrl(std::string_view programPath)
{
    static const char* digits = "0123456789ABCDEF";
    std::string native = NativePath(programPath);
    std::string url = "file://";
    for (unsigned char c : native) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += digits[c >> 4];
            url += digits[c & 15];
        }
    }
    return url;
}

}  // namespace orv::platform

// Paths and file URLs come from pages, links and gallery data: any bytes must convert without
// a crash, a URL must never name a path that its components did not spell, and the collapse
// of "." and ".." must leave nothing to climb out of an absolute path.

#include "platform/Paths.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> Components(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// A program path as a file URL, every byte but letters and digits encoded.
std::string EncodeAsUrl(std::string_view programPath)
{
    static const char* digits = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : programPath) {
        if (c == '\\') {
            url += '/';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += digits[c >> 4];
            url += digits[c & 15];
        }
    }
    return url;
}

void CheckUrl(std::string_view url)
{
    std::string path = orv::platform::FileUrlToPath(url);
    if (path.empty())
        return;
    if (path[0] != '\\' || path.find('\0') != std::string::npos || path.find('/') != std::string::npos)
        std::abort();
    // The same components, spelt out again, give the same path.
    if (orv::platform::FileUrlToPath(EncodeAsUrl(path)) != path)
        std::abort();
}

void CheckCollapse(std::string_view path)
{
    std::string collapsed = orv::platform::CollapseDots(path);
    if (orv::platform::CollapseDots(collapsed) != collapsed)
        std::abort();
    if (!path.empty() && collapsed.empty())
        std::abort();
    bool absolute = !path.empty() && (path[0] == '\\' || path[0] == '/');
    if (absolute && collapsed[0] != '\\')
        std::abort();
    // After a drive ("C:" or "C:\") the rest is relative or absolute on its own.
    std::string_view rest = collapsed;
    if (rest.size() >= 2 && rest[1] == ':' && ((rest[0] | 0x20) >= 'a' && (rest[0] | 0x20) <= 'z')) {
        rest.remove_prefix(2);
        absolute = !rest.empty() && rest[0] == '\\';
        if (absolute)
            rest.remove_prefix(1);
    }
    bool leading = true; // a relative path keeps the ".." it starts with
    bool first = true; // and a "." before a name that looks like a drive
    for (std::string_view part : Components(rest)) {
        if (part == "." && (absolute || !first))
            std::abort();
        first = false;
        if (part == ".." && (absolute || !leading))
            std::abort();
        leading = leading && part == "..";
    }
}

void CheckNativePath(std::string_view path)
{
    std::string native = orv::platform::NativePath(path);
    if (path.find('\0') != std::string_view::npos) {
        if (!native.empty())
            std::abort();
        return;
    }
    if (!path.empty() && native.empty())
        std::abort();
    if (path.empty() || (path[0] != '\\' && path[0] != '/'))
        return;
    for (std::string_view part : Components(native))
        if (part == "." || part == "..")
            std::abort();
    // Back and forth through a URL, an absolute path stays itself.
    std::string back = orv::platform::FileUrlToPath(orv::platform::PathToFileUrl(path));
    if (!back.empty() && back != orv::platform::ProgramPath(native))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckUrl(bytes);
    CheckUrl("file://" + std::string(bytes));
    CheckCollapse(bytes);
    // Paths are looked up on disk: keep them short enough to stay cheap.
    if (size <= 512) {
        CheckNativePath(bytes);
        CheckNativePath("\\" + std::string(bytes));
    }
    return 0;
}

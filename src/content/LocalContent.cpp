#include "content/LocalContent.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace orv {
namespace {

std::string UrlPrefix()
{
    return std::string(kLocalScheme) + "://" + kLocalSchemeHost;
}

// The real native path (links and dots resolved); "" when it does not exist.
std::string RealPath(const std::string& programPath)
{
    const std::string native = platform::NativePath(programPath);
    if (native.empty())
        return std::string();
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(native.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

std::string ExtensionOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return platform::ToLowerAscii(path.substr(dot + 1));
}

bool DeclaresCharset(std::string_view head)
{
    // A byte-order mark decides the encoding before any declaration is read.
    if (head.substr(0, 3) == "\xEF\xBB\xBF" || head.substr(0, 2) == "\xFF\xFE"
        || head.substr(0, 2) == "\xFE\xFF")
        return true;
    // The browser looks for a declaration in the first 1024 bytes only.
    return platform::ToLowerAscii(head.substr(0, 1024)).find("charset") != std::string::npos;
}

} // namespace

std::string FileToLocalUrl(const std::string& programPath)
{
    if (programPath.empty() || (programPath[0] != '\\' && programPath[0] != '/'))
        return std::string();
    // The file URL percent-encodes the resolved native path; only its scheme and host differ.
    const std::string fileUrl = platform::PathToFileUrl(programPath);
    constexpr std::string_view filePrefix = "file://";
    if (fileUrl.compare(0, filePrefix.size(), filePrefix) != 0)
        return std::string();
    return UrlPrefix() + fileUrl.substr(filePrefix.size());
}

std::string PathToLocalUrl(const std::string& programPath)
{
    const std::size_t hash = programPath.find('#');
    std::string url = FileToLocalUrl(programPath.substr(0, hash));
    if (!url.empty() && hash != std::string::npos)
        url += programPath.substr(hash);
    return url;
}

std::string LocalUrlToPath(std::string_view url)
{
    const std::string prefix = UrlPrefix();
    if (url.size() <= prefix.size() || !platform::EqualsNoCase(url.substr(0, prefix.size()), prefix)
        || url[prefix.size()] != '/')
        return std::string();
    return platform::FileUrlToPath("file://" + std::string(url.substr(prefix.size())));
}

std::vector<std::string> LocalContentRoots(const ReaderState& state, const std::string& tempFolder)
{
    std::vector<std::string> roots;
    if (state.CurrentGallery >= 0
        && static_cast<std::size_t>(state.CurrentGallery) < state.GalleryFiles.size())
        roots.push_back(GetFolderPart(state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)]));
    roots.push_back(state.LibPath);
    if (!state.AppPath.empty())
        roots.push_back(state.AppPath + "\\HomePage");
    roots.push_back(tempFolder);
    std::vector<std::string> kept;
    for (std::string& root : roots)
        if (!root.empty())
            kept.push_back(std::move(root));
    return kept;
}

bool IsInsideRoots(const std::string& programPath, const std::vector<std::string>& roots)
{
    const std::string real = RealPath(programPath);
    if (real.empty())
        return false;
    for (const std::string& root : roots) {
        const std::string base = RealPath(root);
        // A root that is the whole file system would be no boundary at all.
        if (base.empty() || base == "/")
            continue;
        if (real.size() > base.size() + 1 && real.compare(0, base.size(), base) == 0
            && real[base.size()] == '/')
            return true;
    }
    return false;
}

std::string LocalMimeType(const std::string& programPath, std::string_view head)
{
    struct Type {
        const char* Extension;
        const char* Mime;
    };
    static const Type types[] = {
        { "htm", "text/html" },
        { "html", "text/html" },
        { "css", "text/css" },
        { "js", "text/javascript" },
        { "txt", "text/plain" },
        { "xml", "text/xml" },
        { "gif", "image/gif" },
        { "jpg", "image/jpeg" },
        { "jpeg", "image/jpeg" },
        { "png", "image/png" },
        { "bmp", "image/bmp" },
        { "svg", "image/svg+xml" },
        { "ico", "image/x-icon" },
        { "pdf", "application/pdf" },
    };
    const std::string extension = ExtensionOf(programPath);
    for (const Type& type : types) {
        if (extension != type.Extension)
            continue;
        const std::string mime = type.Mime;
        const bool text = mime == "text/html" || mime == "text/plain" || mime == "text/css";
        return text && !DeclaresCharset(head) ? mime + ";charset=GBK" : mime;
    }
    return "application/octet-stream";
}

LocalReply ServeLocalUrl(std::string_view url, const std::vector<std::string>& roots, std::uint64_t maxBytes)
{
    LocalReply reply;
    const std::string path = LocalUrlToPath(url);
    if (path.empty()) {
        reply.Reason = "not a local address";
        return reply;
    }
    if (!platform::FileExists(path)) {
        reply.Reason = "no such file";
        return reply;
    }
    if (!IsInsideRoots(path, roots)) {
        reply.Reason = "outside the folders of the reader";
        return reply;
    }
    // Read what was checked: the real path, not the name again.
    std::optional<std::string> bytes
        = platform::ReadFileBytes(platform::ProgramPath(RealPath(path)), maxBytes);
    if (!bytes) {
        reply.Reason = "unreadable or too large";
        return reply;
    }
    reply.Ok = true;
    reply.MimeType = LocalMimeType(path, std::string_view(*bytes).substr(0, 1024));
    reply.Body = std::move(*bytes);
    return reply;
}

} // namespace orv

#pragma once
// The content view's own URL scheme for local pages. The web view never reads the disk itself:
// every page, picture and style sheet of a gallery comes through this scheme, so names resolve
// as program paths do (letter case ignored, GB2312 names), and nothing outside the folders of
// our own (the open gallery, the gallery library, the home page folder, the temporary folder)
// is ever served.
//
// A URL of the scheme is "orvfile://local" followed by the native path, percent-encoded:
// the program path "\home\u\G\A12.htm" is "orvfile://local/home/u/G/A12.htm". The scheme has
// a host, so the web engine resolves relative links and applies one origin to all of it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ReaderState;

inline constexpr char kLocalScheme[] = "orvfile";
inline constexpr char kLocalSchemeHost[] = "local";

// The URL of a program path; an "#anchor" after the path is kept as the URL's fragment.
std::string PathToLocalUrl(const std::string& programPath);
// The URL of a file's program path, every character of it part of the name ("#" too); ""
// for a path that is not absolute.
std::string FileToLocalUrl(const std::string& programPath);

// The program path a URL of the scheme names, without query and fragment; "" when the URL is
// not one of ours or a component decodes to a NUL or a separator.
std::string LocalUrlToPath(std::string_view url);

// The folders the scheme serves from: the open gallery's folder, the gallery library folder,
// AppPath\HomePage and the temporary folder (empty ones left out).
std::vector<std::string> LocalContentRoots(const ReaderState& state, const std::string& tempFolder);

// Whether the file lies inside one of the roots, compared component by component on the real
// paths (every symbolic link and ".." resolved), so neither a link nor a name like
// "HomePage2" leads out of them. False when the file or every root is missing.
bool IsInsideRoots(const std::string& programPath, const std::vector<std::string>& roots);

// The MIME type by extension. HTML that declares no charset near its start is sent as GBK,
// as such pages are read on Windows; head is the file's first bytes.
std::string LocalMimeType(const std::string& programPath, std::string_view head);

struct LocalReply {
    bool Ok = false;
    std::string MimeType;
    std::string Body;
    std::string Reason; // why nothing is served (for the log)
};

// Everything the scheme handler does but the reply: the URL resolved, checked and read.
// Files above maxBytes are not served.
LocalReply ServeLocalUrl(std::string_view url, const std::vector<std::string>& roots,
    std::uint64_t maxBytes = 64ull * 1024 * 1024);

} // namespace orv

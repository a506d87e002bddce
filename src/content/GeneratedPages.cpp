#include "content/GeneratedPages.h"

#include "app/common/PathHelpers.h"
#include "content/DirectoryContent.h"
#include "content/LocalContent.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <sys/stat.h>

namespace orv {
namespace {

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string PercentEncode(std::string_view text)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
            || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

} // namespace

std::vector<std::string> PicturePageLines(
    const std::string& picturePath, bool wholePage, const std::string& version)
{
    std::vector<std::string> lines = {
        "<html>",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">",
        "<style type=\"text/css\">",
        "<!--",
        "body {",
        "\tmargin-left: 5px;",
        "\tmargin-top: 5px;",
        "\tmargin-right: 5px;",
        "\tmargin-bottom: 3px;",
        "}",
        "img {",
        "\tborder-left-style: solid; ",
        "\tborder-left-width: 1px; ",
        "\tborder-right: 3px ridge #999999; ",
        "\tborder-top-style: solid; ",
        "\tborder-top-width: 1px; ",
        "\tborder-bottom: 3px ridge #999999;",
        "\tborder-top-color: #000000; ",
        "\tborder-left-color: #000000;",
        "}",
        "</style>",
        "</head>",
        "<body>",
        "<p align=\"center\">",
    };
    if (platform::EqualsNoCase(GetExtension(picturePath), "wmf")) {
        lines.push_back(EscapeHtml(picturePath));
    } else {
        std::string url = PageUrlWithAnchor(picturePath, {});
        if (!version.empty())
            url += "?v=" + PercentEncode(version);
        const std::string source = EscapeHtml(url);
        lines.push_back(wholePage ? "<img src=\"" + source + "\" height=\"100%\" align=\"middle\">"
                                  : "<img src=\"" + source + "\" align=\"middle\">");
    }
    lines.push_back("</body>");
    lines.push_back("</html>");
    return lines;
}

std::vector<std::string> RedirectPageLines(const std::string& address)
{
    // The address is a URL; escaping it for the script string and then for the attribute
    // keeps a stray quote or backslash from ending either.
    std::string script;
    for (char c : address) {
        if (c == '\\' || c == '\'')
            script += '\\';
        script += c;
    }
    return {
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
        "<html xmlns=\"http://www.w3.org/1999/xhtml\">",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />",
        "</head>",
        "<script language=\"JavaScript\">",
        "function redirect(URLStr) { location = URLStr; }",
        "</script>",
        "<body onload=\"redirect('" + EscapeHtml(script) + "')\">",
        "</body>",
        "</html>",
    };
}

std::string PageUrlWithAnchor(const std::string& path, std::string_view anchor)
{
    std::string url = FileToLocalUrl(path);
    if (url.empty())
        url = platform::PathToFileUrl(path);
    if (!anchor.empty())
        url += "#" + PercentEncode(anchor);
    return url;
}

bool WriteTempFile(const std::string& tempFolder, const std::string& name, std::string_view bytes)
{
    if (tempFolder.empty() || !IsSingleName(name))
        return false;
    const std::string path = tempFolder + "\\" + name;
    // A link here would carry the write out of the temporary folder.
    struct stat st;
    const std::string native = platform::NativePath(path);
    if (native.empty() || (::lstat(native.c_str(), &st) == 0 && !S_ISREG(st.st_mode)))
        return false;
    return platform::AtomicWriteFile(path, bytes, platform::Durability::Unsynced);
}

bool WriteTempPage(
    const std::string& tempFolder, const std::string& name, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return WriteTempFile(tempFolder, name, platform::Utf8ToGb18030(text));
}

std::string WriteRedirect(const std::string& tempFolder, const std::string& path, std::string_view anchor)
{
    if (!WriteTempPage(tempFolder, kRedirectPageName, RedirectPageLines(PageUrlWithAnchor(path, anchor))))
        return std::string();
    return tempFolder + "\\" + kRedirectPageName;
}

} // namespace orv

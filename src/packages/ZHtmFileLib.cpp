#include "packages/ZHtmFileLib.h"

#include "app/common/PathHelpers.h"
#include "packages/Compression.h"
#include "packages/NativeFile.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <cctype>

namespace orv {
namespace {

bool IsAbsoluteAddress(std::string_view address)
{
    if (address.empty())
        return false;
    if (address[0] == '\\' || address[0] == '/')
        return true;
    // A scheme ("http:", "file:", "data:", "mailto:") or a drive letter ("C:").
    if (!std::isalpha(static_cast<unsigned char>(address[0])))
        return false;
    for (std::size_t i = 1; i < address.size(); ++i) {
        char c = address[i];
        if (c == ':')
            return true;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

std::size_t CountOccurrences(const std::string& text, std::string_view what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

// Every occurrence of the attribute opening gets the prefix in front of its address, unless
// the address is absolute.
void PrefixAddresses(std::string& text, std::string_view attribute, std::string_view prefix)
{
    std::size_t count = CountOccurrences(text, attribute);
    if (count == 0)
        return;
    std::string out;
    out.reserve(text.size() + count * prefix.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(attribute); at != std::string::npos; at = text.find(attribute, from)) {
        std::size_t address = at + attribute.size();
        out.append(text, from, address - from);
        if (!IsAbsoluteAddress(std::string_view(text).substr(address)))
            out.append(prefix);
        from = address;
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with)
{
    std::size_t count = CountOccurrences(text, what);
    if (count == 0)
        return;
    std::string out;
    out.reserve(text.size() + count * with.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        out.append(text, from, at - from);
        out.append(with);
        from = at + what.size();
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
}

// A position above 0: a match at the very start of the page does not count.
bool OccursPastStart(const std::string& text, std::string_view what)
{
    std::size_t at = text.find(what);
    return at != std::string::npos && at > 0;
}

} // namespace

CZHtmFileLib::CZHtmFileLib(std::string dataPath)
    : CZFileLib(std::move(dataPath))
{
}

namespace {

void TrimInPlace(std::string& text)
{
    std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    std::size_t end = text.find("</html>");
    if (end != std::string::npos && end > 0)
        text.resize(end + 7);
}

} // namespace

std::string CZHtmFileLib::TrimPageText(std::string_view bytes)
{
    std::string text(bytes);
    TrimInPlace(text);
    return text;
}

std::string CZHtmFileLib::ReadPageText(const std::string& pageName)
{
    std::string text;
    if (!InflateMember(pageName, text, kMaxPageInMemory))
        return std::string();
    TrimInPlace(text);
    return text;
}

std::string CZHtmFileLib::RewriteLinks(std::string_view page, std::string_view base)
{
    std::string text(page);
    RewriteLinksInPlace(text, base);
    return text;
}

void CZHtmFileLib::RewriteLinksInPlace(std::string& text, std::string_view base)
{
    // Pages are GB2312 unless they are plainly UTF-8; the inserted path must be in the same
    // encoding as the page around it.
    const bool utf8Page = platform::LooksLikeUtf8(text);
    auto encode = [utf8Page](std::string_view path) {
        return utf8Page ? std::string(path) : platform::Utf8ToGb18030(path);
    };
    std::string encodedBase = encode(base);
    PrefixAddresses(text, "src=\"", encodedBase + "\\");
    PrefixAddresses(text, "background=\"", encodedBase + "\\");
    if (OccursPastStart(text, "href=\"_themes/")) {
        ReplaceAll(text, "href=\"_themes/", "href=\"" + encodedBase + "\\_themes/");
    } else if (OccursPastStart(text, "href=\"../_themes/")) {
        // The parent is cut in UTF-8: in GB18030 a trail byte can be a backslash.
        std::size_t slash = base.rfind('\\');
        std::string parent = slash == std::string::npos ? std::string() : encode(base.substr(0, slash));
        if (!parent.empty())
            ReplaceAll(text, "href=\"../_themes/", "href=\"" + parent + "\\_themes/");
    }
}

bool CZHtmFileLib::ExtractFile(const std::string& pageName, std::string& targetPath)
{
    std::string text = ReadPageText(pageName);
    if (text.empty())
        return false;
    std::string base = m_baseFolder.empty() ? GetFolderPart(m_dataPath) : m_baseFolder;
    RewriteLinksInPlace(text, base);
    NativeFile target = OpenTarget(pageName, targetPath);
    if (!target.IsOpen())
        return false;
    bool ok = target.WriteAll(text.data(), text.size());
    std::string native = target.NativePath();
    if (!target.Close() || !ok) {
        RemoveNativeFile(native);
        return false;
    }
    return true;
}

bool CZHtmFileLib::AddFile(const std::string& sourcePath, int folderDepth)
{
    return CZFileLib::AddFile(sourcePath, folderDepth);
}

bool CZHtmFileLib::ExtractCompanionFiles(const std::string& packagePath, const std::string& pageName,
    const std::string& baseFolder, std::string& folderName)
{
    if (packagePath.size() < 4 || pageName.size() < 4 || baseFolder.empty())
        return false;
    std::string companionPath = packagePath.substr(0, packagePath.size() - 4) + "_files.flz";
    CZFileLib companion(companionPath);
    if (!companion.Open(companionPath))
        return false;
    // The page's folder below the base folder is reached without following links.
    companion.SetExtractionFolder(baseFolder);
    std::string folder = pageName.substr(0, pageName.size() - 4) + ".files";
    if (!IsContainedName(folder))
        return false;
    CreateFolderPath(baseFolder + "\\" + folder + "\\");

    std::vector<std::string> names;
    companion.GetFileNames(names);
    for (const std::string& name : names) {
        if (name.size() < folder.size()
            || !platform::EqualsNoCase(std::string_view(name).substr(0, folder.size()), folder))
            continue;
        // Flat: only the file name is kept, whatever folders the member name has.
        std::string leaf = GetBaseName(name) + "." + GetExtension(name);
        std::string relative = folder + "\\" + leaf;
        if (!IsContainedName(relative))
            continue;
        std::string target = baseFolder + "\\" + relative;
        companion.ExtractFile(name, target); // a member that can't be written is skipped
    }
    folderName = folder;
    return true;
}

} // namespace orv

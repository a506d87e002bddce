#include "content/DirectoryContent.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "database/AdoRecordset.h"
#include "database/SqlText.h"
#include "platform/Paths.h"

namespace orv {
namespace {

// base + key, with one "\" between them.
std::string JoinKey(const std::string& base, const std::string& key)
{
    return !key.empty() && key[0] == '\\' ? base + key : base + "\\" + key;
}

// The text without its last count characters, never less than nothing.
std::string_view DropLast(std::string_view text, std::size_t count)
{
    return text.substr(0, text.size() > count ? text.size() - count : 0);
}

bool IsPictureExtension(std::string_view extension)
{
    for (const char* picture : { "jpg", "gif", "wmf", "png", "bmp" })
        if (platform::EqualsNoCase(extension, picture))
            return true;
    return false;
}

} // namespace

const char* ContentKeyKindName(ContentKeyKind kind)
{
    switch (kind) {
    case ContentKeyKind::PackagePage:
        return "package";
    case ContentKeyKind::Picture:
        return "picture";
    case ContentKeyKind::Page:
        return "page";
    case ContentKeyKind::About:
        return "about";
    case ContentKeyKind::Home:
        return "home";
    }
    return "page";
}

bool ReadGallerySetting(const CAdoConnection& connection, const std::string& name, std::string& value)
{
    CAdoRecordset rs;
    if (rs.OpenSql("Select ParaValue from GallerySet where ParaName = " + SqlQuote(name), connection) != 0
        || rs.IsEOF())
        return false;
    value = rs.GetString("ParaValue");
    return true;
}

std::string GalleryRoot(const ReaderState& state)
{
    if (state.CurrentGallery < 0
        || static_cast<std::size_t>(state.CurrentGallery) >= state.GalleryFiles.size())
        return std::string();
    const std::string& file = state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)];
    // The extension of the file name only: a dot in a folder name is not one.
    const std::size_t slash = file.rfind('\\');
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return file;
    return file.substr(0, dot);
}

std::string HomePagePath(const std::string& appPath)
{
    return appPath + "\\HomePage\\Index.htm";
}

void GetDirectoryContent(const ReaderState& state, std::int32_t dirId, std::string& key, bool& compressed)
{
    key.clear();
    compressed = false;
    if (!state.DatabaseOpen)
        return;
    const std::string root = GalleryRoot(state);
    std::string base;
    CAdoRecordset rs;
    if (rs.OpenSql("SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,"
                   "(SpecClass.SpecPath + DrawingDir.DirPath) AS TPath, DrawingDir.ParDirID,"
                   "DrawingDir.DirContent,DrawingDir.DirContentCompress,DrawingDir.DirName,"
                   "DrawingDir.DirPath,SpecClass.SpecPath FROM DrawingDir, SpecClass WHERE "
                   "DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = "
                + std::to_string(dirId),
            state.Database)
            == 0
        && !rs.IsEOF()) {
        key = rs.GetString("TContent");
        if (!key.empty()) {
            base = root;
        } else {
            key = rs.GetString("DirContent");
            base = root + rs.GetString("SpecPath") + rs.GetString("DirPath");
            if (!key.empty()) {
                CAdoRecordset pages;
                if (pages.OpenSql("Select DirContent From DrawingDirFiles where DirID = "
                            + std::to_string(dirId) + " Order By ContentOrder",
                        state.Database)
                    == 0) {
                    for (std::int32_t row = 0; !pages.IsEOF(); pages.MoveNext(), ++row) {
                        if (row == state.CurrentPage) {
                            key = pages.GetString("DirContent");
                            break;
                        }
                    }
                }
            }
            if (!key.empty()) {
                const std::string full = JoinKey(base, key);
                if (!platform::FileExists(full)) {
                    const std::string stem = GetFolderPart(full) + "\\" + GetBaseName(full);
                    for (const char* extension : { ".jpg", ".gif", ".wmf", ".png", ".bmp" }) {
                        if (platform::FileExists(stem + extension)) {
                            // The picture stays in the folder the page was named in, also
                            // when the page's name has a folder of its own.
                            const std::string folder = GetFolderPart(key);
                            key = (folder.empty() ? std::string() : folder + "\\") + GetBaseName(full)
                                + extension;
                            break;
                        }
                    }
                }
            }
        }
        compressed = rs.GetLong("DirContentCompress") != 0;
    }
    if (!key.empty()) {
        key = JoinKey(base, key);
        if (compressed)
            key += ".htz";
        return;
    }
    key = root + "\\about.htm";
    if (root.empty() || !platform::FileExists(key))
        key = HomePagePath(state.AppPath);
}

ContentKeyKind KindOfContentKey(const ReaderState& state, std::string_view key)
{
    if (key.empty() || platform::EqualsNoCase(key, HomePagePath(state.AppPath)))
        return ContentKeyKind::Home;
    if (key.size() >= 3 && platform::EqualsNoCase(key.substr(key.size() - 3), "HTZ"))
        return ContentKeyKind::PackagePage;
    if (IsPictureExtension(GetExtension(key)))
        return ContentKeyKind::Picture;
    const std::string root = GalleryRoot(state);
    if (!root.empty() && platform::EqualsNoCase(key, root + "\\about.htm"))
        return ContentKeyKind::About;
    return ContentKeyKind::Page;
}

bool IsSingleName(std::string_view name)
{
    return !name.empty() && name != "."
        && name.find_first_of(std::string_view("\\/\0", 3)) == std::string_view::npos
        && name.find("..") == std::string_view::npos;
}

bool SplitPackageKey(std::string_view key, std::string& package, std::string& page)
{
    const std::size_t slash = key.rfind('\\');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t open = key.find('(', nameStart);
    if (open == std::string_view::npos || open == nameStart)
        return false;
    std::string member = std::string(DropLast(key.substr(open + 1), 5)) + ".htm";
    if (!IsSingleName(member))
        return false;
    package = std::string(key.substr(0, open)) + ".HTZ";
    page = std::move(member);
    return true;
}

} // namespace orv

#include "builder/GalleryManifest.h"
#include "navigation/KeywordFile.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <algorithm>
#include <map>
#include <set>

namespace orv {
namespace {

// Thrown inside this file only: the first mistake ends the check.
struct ManifestError {
    std::string Text;
};

[[noreturn]] void Fail(const std::string& where, const std::string& why)
{
    throw ManifestError { where + ": " + why };
}

std::string Indexed(const std::string& where, std::size_t i)
{
    return where + "[" + std::to_string(i) + "]";
}

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<'
            || c == '>' || c == '|')
            return false;
    return platform::IsValidUtf8(name);
}

// A path below the gallery root: relative, no drive, no empty, "." or ".." component.
bool IsContainedPath(const std::string& path)
{
    if (path.empty() || path[0] == '\\' || (path.size() > 1 && path[1] == ':'))
        return false;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = std::min(path.find('\\', start), path.size());
        std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return platform::IsValidUtf8(path) && path.find('\0') == std::string::npos;
}

template <typename Row, typename Id>
std::map<std::int32_t, std::size_t> UniqueIds(
    const std::vector<Row>& rows, Id id, const char* where, const char* what)
{
    std::map<std::int32_t, std::size_t> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::int32_t value = id(rows[i]);
        if (!ids.emplace(value, i).second)
            Fail(Indexed(where, i) + ".id",
                std::string(what) + " " + std::to_string(value) + " is there twice");
    }
    return ids;
}

void CheckDrawingFits(const DrawingDescription& drawing, const std::string& where)
{
    for (std::size_t i = 0; i < drawing.Items.size(); ++i) {
        const DrawingItem& item = drawing.Items[i];
        if (item.Type == DrawingItem::Kind::Fill && item.Coords.size() / 2 > 199)
            Fail(Indexed(where + ".drawing.items", i) + ".fill", "at most 199 points");
    }
}

void CheckContent(const ManifestContent& content, const std::string& extension)
{
    static const std::set<std::string> kPictures = { "jpg", "jpeg", "gif", "png", "bmp", "wmf" };
    const bool library = extension == "slb" || extension == "htz" || extension == "flz" || extension == "dwz";
    if (content.Type == ManifestContent::Kind::Members && !library)
        Fail(content.Where, "members make only .slb, .htz, .flz and .dwz files");
    if (library && content.Type != ManifestContent::Kind::Members)
        Fail(content.Where, "a ." + extension + " file is made from members");
    if (content.Type == ManifestContent::Kind::Drawing) {
        if (extension != "sld" && !kPictures.count(extension))
            Fail(content.Where, "a drawing makes only .sld, .jpg, .jpeg, .gif, .png, .bmp and .wmf files");
        CheckDrawingFits(content.Drawing, content.Where);
    }
}

void CheckFiles(const GalleryManifest& manifest)
{
    std::map<std::string, std::string> written; // folded path -> where
    auto claim = [&written](const std::string& path, const std::string& where) {
        std::string folded = platform::ToLowerAscii(path);
        auto [it, fresh] = written.emplace(folded, where);
        if (!fresh)
            Fail(where, path + " is written twice (also by " + it->second + ")");
    };
    if (manifest.FullTextForm != GalleryManifest::FullText::None) {
        for (const char* extension : { ".cnx", ".cnc", ".cnt" })
            claim(manifest.Name + extension, "fullText");
    }
    for (std::size_t i = 0; i < manifest.Files.size(); ++i) {
        const ManifestFile& file = manifest.Files[i];
        const std::string where = Indexed("files", i) + ".path";
        if (!IsContainedPath(file.Path))
            Fail(where, file.Path + " is not a path inside the gallery folder");
        const std::string extension = ManifestPathExtension(file.Path);
        CheckContent(file.Content, extension);
        claim(file.Path, where);
        if (file.Content.Type != ManifestContent::Kind::Members)
            continue;
        if (extension != "slb")
            claim(file.Path.substr(0, file.Path.size() - 3) + "idx", where + " (its index)");
        if (file.Members.empty())
            Fail(Indexed("files", i) + ".members", "a library needs at least one member");
        std::set<std::string> names;
        for (std::size_t m = 0; m < file.Members.size(); ++m) {
            const ManifestMember& member = file.Members[m];
            const std::string memberWhere = Indexed(Indexed("files", i) + ".members", m) + ".name";
            if (member.Name.empty()
                || member.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
                Fail(memberWhere, "not a member name");
            if (!names.insert(platform::ToLowerAscii(member.Name)).second)
                Fail(memberWhere, member.Name + " is there twice");
            if (extension == "slb") {
                if (platform::Utf8ToGb18030(member.Name).size() > 31)
                    Fail(memberWhere, "a slide name has at most 31 bytes");
                if (member.Content.Type == ManifestContent::Kind::Text)
                    Fail(member.Content.Where, "a slide is made from a drawing or a source");
                CheckContent(member.Content, "sld");
            } else if (member.Content.Type == ManifestContent::Kind::Drawing) {
                CheckContent(member.Content, ManifestPathExtension(member.Name));
            }
        }
    }
}

} // namespace

std::string ManifestPathExtension(std::string_view path)
{
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('\\');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return "";
    return platform::ToLowerAscii(path.substr(dot + 1));
}

bool CheckGalleryManifest(const GalleryManifest& manifest, std::string& error)
{
    try {
        if (!IsPlainFileName(manifest.Name))
            Fail("name", "\"" + manifest.Name + "\" is not a plain file name");
        if (manifest.GalleryName.empty())
            Fail("gallery.name", "empty");
        auto specs = UniqueIds(
            manifest.Specialities, [](const auto& s) { return s.Id; }, "specialities", "speciality");
        auto dirs = UniqueIds(
            manifest.Directories, [](const auto& d) { return d.Id; }, "directories", "directory");
        auto drawings = UniqueIds(
            manifest.Drawings, [](const auto& d) { return d.Id; }, "drawings", "drawing");
        auto needDir = [&dirs](std::int32_t id, const std::string& where) {
            if (!dirs.count(id))
                Fail(where, "no directory " + std::to_string(id));
        };
        auto needDrawing = [&drawings](std::int32_t id, const std::string& where) {
            if (!drawings.count(id))
                Fail(where, "no drawing " + std::to_string(id));
        };
        for (std::size_t i = 0; i < manifest.Directories.size(); ++i) {
            const ManifestDirectory& dir = manifest.Directories[i];
            const std::string where = Indexed("directories", i);
            if (!specs.count(dir.Spec))
                Fail(where + ".spec", "no speciality " + std::to_string(dir.Spec));
            if (dir.Parent != 0)
                needDir(dir.Parent, where + ".parent");
            // Walk up: more steps than there are directories means a loop.
            std::int32_t up = dir.Parent;
            for (std::size_t steps = 0; up != 0; ++steps) {
                if (up == dir.Id || steps > manifest.Directories.size())
                    Fail(where + ".parent", "directory " + std::to_string(dir.Id) + " is its own ancestor");
                up = manifest.Directories[dirs.at(up)].Parent;
            }
        }
        for (std::size_t i = 0; i < manifest.Drawings.size(); ++i) {
            const ManifestDrawing& d = manifest.Drawings[i];
            const std::string where = Indexed("drawings", i);
            needDir(d.Dir, where + ".dir");
            if (d.Spec && !specs.count(*d.Spec))
                Fail(where + ".spec", "no speciality " + std::to_string(*d.Spec));
            if (d.Bound != 0) {
                needDrawing(d.Bound, where + ".bound");
                if (d.Bound == d.Id)
                    Fail(where + ".bound", "a drawing cannot be bound to itself");
            }
        }
        for (std::size_t i = 0; i < manifest.Memberships.size(); ++i) {
            needDir(manifest.Memberships[i].Dir, Indexed("memberships", i) + ".dir");
            needDrawing(manifest.Memberships[i].Drawing, Indexed("memberships", i) + ".drawing");
        }
        for (std::size_t i = 0; i < manifest.Actions.size(); ++i) {
            const ManifestAction& a = manifest.Actions[i];
            if (a.Dir != 0)
                needDir(a.Dir, Indexed("actions", i) + ".dir");
            if (a.Drawing != 0)
                needDrawing(a.Drawing, Indexed("actions", i) + ".drawing");
        }
        for (std::size_t i = 0; i < manifest.Keywords.size(); ++i)
            if (!IsWritableKeyword(manifest.Keywords[i]))
                Fail(Indexed("keywords", i),
                    "empty, more than one line, or longer than " + std::to_string(kMaxKeywordBytes)
                        + " bytes");
        CheckFiles(manifest);
    } catch (const ManifestError& e) {
        error = e.Text;
        return false;
    }
    return true;
}

} // namespace orv

#include "builder/GalleryManifest.h"

#include "navigation/KeywordFile.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace orv {
namespace {

using Json = nlohmann::ordered_json;

// Thrown inside this file only: the first mistake ends the parse, and every reader below
// would otherwise have to pass it up by hand.
struct ManifestError {
    std::string Text;
};

[[noreturn]] void Fail(const std::string& where, const std::string& why)
{
    throw ManifestError {where + ": " + why};
}

// One JSON object being read: hands out its keys by name and, at the end, refuses the keys
// nobody asked for, so a misspelt key is a mistake instead of a silent default.
class ObjectReader {
public:
    ObjectReader(const Json& json, std::string where)
        : m_json(json)
        , m_where(std::move(where))
    {
        if (!m_json.is_object())
            Fail(m_where, "must be an object");
    }

    const std::string& Where() const { return m_where; }
    std::string At(const char* key) const { return m_where.empty() ? key : m_where + "." + key; }

    const Json* Find(const char* key)
    {
        m_used.insert(key);
        auto it = m_json.find(key);
        return it == m_json.end() ? nullptr : &*it;
    }
    bool Has(const char* key) const { return m_json.contains(key); }

    std::int32_t Int(const char* key, std::optional<std::int32_t> fallback = std::nullopt)
    {
        const Json* value = Find(key);
        if (!value) {
            if (!fallback)
                Fail(At(key), "missing");
            return *fallback;
        }
        return IntValue(*value, At(key));
    }

    OptText Text(const char* key)
    {
        const Json* value = Find(key);
        if (!value || value->is_null())
            return std::nullopt;
        if (!value->is_string())
            Fail(At(key), "must be a text");
        return value->get<std::string>();
    }

    std::string RequiredText(const char* key)
    {
        OptText text = Text(key);
        if (!text)
            Fail(At(key), "missing");
        return *text;
    }

    void Finish() const
    {
        for (auto it = m_json.begin(); it != m_json.end(); ++it)
            if (!m_used.count(it.key()))
                Fail(At(it.key().c_str()), "unknown key");
    }

    static std::int32_t IntValue(const Json& value, const std::string& where)
    {
        if (value.is_boolean())
            return value.get<bool>() ? 1 : 0;
        if (!value.is_number_integer())
            Fail(where, "must be an integer");
        long long number = value.is_number_unsigned() && value.get<unsigned long long>() > 0x7FFFFFFFull
            ? std::numeric_limits<long long>::max()
            : value.get<long long>();
        if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
            Fail(where, "out of the 32-bit range");
        return static_cast<std::int32_t>(number);
    }

private:
    const Json& m_json;
    std::string m_where;
    std::set<std::string> m_used;
};

const Json& ArrayAt(const Json* value, const std::string& where)
{
    static const Json empty = Json::array();
    if (!value)
        return empty;
    if (!value->is_array())
        Fail(where, "must be an array");
    return *value;
}

std::string Indexed(const std::string& where, std::size_t i)
{
    return where + "[" + std::to_string(i) + "]";
}

std::vector<double> Numbers(const Json& value, const std::string& where)
{
    if (!value.is_array())
        Fail(where, "must be an array of numbers");
    std::vector<double> numbers;
    for (const Json& item : value) {
        if (!item.is_number() || !std::isfinite(item.get<double>()))
            Fail(where, "must be an array of numbers");
        numbers.push_back(item.get<double>());
    }
    return numbers;
}

DrawingItem ReadDrawingItem(const Json& json, const std::string& where)
{
    ObjectReader item(json, where);
    DrawingItem out;
    struct Shape {
        const char* Key;
        DrawingItem::Kind Kind;
    };
    static const Shape kShapes[] = {{"line", DrawingItem::Kind::Line}, {"polyline", DrawingItem::Kind::Polyline},
        {"fill", DrawingItem::Kind::Fill}, {"circle", DrawingItem::Kind::Circle}, {"arc", DrawingItem::Kind::Arc},
        {"text", DrawingItem::Kind::Text}};
    const Shape* found = nullptr;
    for (const Shape& shape : kShapes) {
        if (!item.Has(shape.Key))
            continue;
        if (found)
            Fail(where, std::string("has both ") + found->Key + " and " + shape.Key);
        found = &shape;
    }
    if (!found)
        Fail(where, "needs one of line, polyline, fill, circle, arc, text");
    out.Type = found->Kind;
    const std::string at = item.At(found->Key);
    if (out.Type == DrawingItem::Kind::Text) {
        out.Text = item.RequiredText("text");
        const Json* position = item.Find("at");
        out.Coords = position ? Numbers(*position, item.At("at")) : std::vector<double> {0.0, 0.0};
        if (out.Coords.size() != 2)
            Fail(item.At("at"), "must be [x, y]");
        const Json* height = item.Find("height");
        out.Height = 1.0;
        if (height) {
            if (!height->is_number() || !(height->get<double>() > 0.0))
                Fail(item.At("height"), "must be a number above 0");
            out.Height = height->get<double>();
        }
    } else {
        out.Coords = Numbers(*item.Find(found->Key), at);
        const std::size_t n = out.Coords.size();
        switch (out.Type) {
        case DrawingItem::Kind::Line:
            if (n != 4)
                Fail(at, "must be [x1, y1, x2, y2]");
            break;
        case DrawingItem::Kind::Polyline:
            if (n < 4 || n % 2)
                Fail(at, "must hold two points or more, x y each");
            break;
        case DrawingItem::Kind::Fill:
            if (n < 6 || n % 2)
                Fail(at, "must hold three points or more, x y each");
            break;
        case DrawingItem::Kind::Circle:
            if (n != 3 || !(out.Coords[2] > 0.0))
                Fail(at, "must be [cx, cy, r] with r above 0");
            break;
        case DrawingItem::Kind::Arc:
            if (n != 5 || !(out.Coords[2] > 0.0))
                Fail(at, "must be [cx, cy, r, start, end] with r above 0");
            break;
        case DrawingItem::Kind::Text:
            break;
        }
        if (const Json* closed = item.Find("closed")) {
            if (!closed->is_boolean())
                Fail(item.At("closed"), "must be true or false");
            if (out.Type != DrawingItem::Kind::Polyline)
                Fail(item.At("closed"), "only a polyline can be closed");
            out.Closed = closed->get<bool>();
        }
    }
    out.Color = item.Int("color", 7);
    if (out.Color < 0 || out.Color > 255)
        Fail(item.At("color"), "must be an AutoCAD colour index 0-255");
    item.Finish();
    return out;
}

DrawingDescription ReadDrawing(const Json& json, const std::string& where)
{
    ObjectReader reader(json, where);
    DrawingDescription drawing;
    const Json& items = ArrayAt(reader.Find("items"), reader.At("items"));
    for (std::size_t i = 0; i < items.size(); ++i)
        drawing.Items.push_back(ReadDrawingItem(items[i], Indexed(reader.At("items"), i)));
    if (drawing.Items.empty())
        Fail(reader.At("items"), "a drawing needs at least one item");
    reader.Finish();
    return drawing;
}

std::uint32_t ReadColor(const std::string& text, const std::string& where)
{
    if (text.size() != 7 || text[0] != '#' || !std::all_of(text.begin() + 1, text.end(), ::isxdigit))
        Fail(where, "must be a colour #RRGGBB");
    return static_cast<std::uint32_t>(std::stoul(text.substr(1), nullptr, 16));
}

bool ReadEncoding(ObjectReader& reader, bool fallback)
{
    OptText encoding = reader.Text("sourceEncoding");
    if (!encoding)
        return fallback;
    if (*encoding == "utf-8")
        return true;
    if (*encoding == "as-is")
        return false;
    Fail(reader.At("sourceEncoding"), "must be \"as-is\" or \"utf-8\"");
}

// source, text or drawing (members are read by the caller); the kind and its value.
void ReadContent(ObjectReader& reader, const std::string& baseFolder, bool utf8Default, bool allowMembers,
    ManifestContent& content)
{
    content.Where = reader.Where();
    int given = 0;
    for (const char* key : {"source", "text", "drawing", "members"})
        given += reader.Has(key) && (allowMembers || std::string_view(key) != "members") ? 1 : 0;
    if (given != 1)
        Fail(reader.Where(),
            allowMembers ? "needs exactly one of source, text, drawing, members"
                         : "needs exactly one of source, text, drawing");
    if (OptText source = reader.Text("source")) {
        content.Type = ManifestContent::Kind::Source;
        std::string path = *source;
        std::replace(path.begin(), path.end(), '/', '\\');
        content.Source = !path.empty() && path[0] == '\\' ? path : baseFolder + "\\" + path;
    } else if (OptText text = reader.Text("text")) {
        content.Type = ManifestContent::Kind::Text;
        content.Text = *text;
    } else if (const Json* drawing = reader.Find("drawing")) {
        content.Type = ManifestContent::Kind::Drawing;
        content.Drawing = ReadDrawing(*drawing, reader.At("drawing"));
    } else {
        content.Type = ManifestContent::Kind::Members;
    }
    content.Utf8Source = ReadEncoding(reader, utf8Default);
    if (const Json* size = reader.Find("size")) {
        std::vector<double> wh = Numbers(*size, reader.At("size"));
        if (wh.size() != 2 || wh[0] < 1 || wh[1] < 1 || wh[0] > 4096 || wh[1] > 4096 || wh[0] != std::floor(wh[0])
            || wh[1] != std::floor(wh[1]))
            Fail(reader.At("size"), "must be [width, height], whole pixels 1-4096");
        content.Width = static_cast<int>(wh[0]);
        content.Height = static_cast<int>(wh[1]);
    }
    if (OptText background = reader.Text("background"))
        content.Background = ReadColor(*background, reader.At("background"));
}

void ReadFiles(const Json& files, const std::string& baseFolder, bool utf8Default, GalleryManifest& manifest)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        ObjectReader reader(files[i], Indexed("files", i));
        ManifestFile file;
        file.Path = reader.RequiredText("path");
        std::replace(file.Path.begin(), file.Path.end(), '/', '\\');
        ReadContent(reader, baseFolder, utf8Default, true, file.Content);
        if (file.Content.Type == ManifestContent::Kind::Members) {
            const Json& members = ArrayAt(reader.Find("members"), reader.At("members"));
            for (std::size_t m = 0; m < members.size(); ++m) {
                ObjectReader memberReader(members[m], Indexed(reader.At("members"), m));
                ManifestMember member;
                member.Name = memberReader.RequiredText("name");
                ReadContent(memberReader, baseFolder, file.Content.Utf8Source, false, member.Content);
                memberReader.Finish();
                file.Members.push_back(std::move(member));
            }
        }
        reader.Finish();
        manifest.Files.push_back(std::move(file));
    }
}

std::vector<std::pair<std::string, std::string>> ReadPairs(const Json* value, const std::string& where)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    if (!value)
        return pairs;
    if (!value->is_object())
        Fail(where, "must be an object");
    for (auto it = value->begin(); it != value->end(); ++it) {
        if (!it->is_string())
            Fail(where + "." + it.key(), "must be a text");
        pairs.emplace_back(it.key(), it->get<std::string>());
    }
    return pairs;
}

void ReadTables(ObjectReader& top, GalleryManifest& manifest)
{
    const Json& specs = ArrayAt(top.Find("specialities"), "specialities");
    for (std::size_t i = 0; i < specs.size(); ++i) {
        ObjectReader r(specs[i], Indexed("specialities", i));
        ManifestSpeciality spec;
        spec.Id = r.Int("id");
        spec.Name = r.Text("name");
        spec.Path = r.Text("path");
        spec.Order = r.Int("order", static_cast<std::int32_t>(i + 1));
        r.Finish();
        manifest.Specialities.push_back(spec);
    }
    const Json& dirs = ArrayAt(top.Find("directories"), "directories");
    for (std::size_t i = 0; i < dirs.size(); ++i) {
        ObjectReader r(dirs[i], Indexed("directories", i));
        ManifestDirectory dir;
        dir.Id = r.Int("id");
        dir.Parent = r.Int("parent", 0);
        dir.Spec = r.Int("spec");
        dir.Name = r.Text("name");
        dir.Type = r.Int("type", 0);
        dir.Path = r.Text("path");
        dir.Content = r.Text("content");
        dir.SourceContent = r.Text("sourceContent");
        dir.Compressed = r.Int("compressed", 0);
        dir.Mark = r.Text("mark");
        dir.Visible = r.Int("visible", static_cast<std::int32_t>(i + 1));
        const Json& pages = ArrayAt(r.Find("pages"), r.At("pages"));
        for (std::size_t p = 0; p < pages.size(); ++p) {
            if (!pages[p].is_string())
                Fail(Indexed(r.At("pages"), p), "must be a text");
            dir.Pages.push_back(pages[p].get<std::string>());
        }
        r.Finish();
        manifest.Directories.push_back(std::move(dir));
    }
    const Json& index = ArrayAt(top.Find("index"), "index");
    for (std::size_t i = 0; i < index.size(); ++i) {
        ObjectReader r(index[i], Indexed("index", i));
        ManifestIndexEntry entry;
        entry.Name = r.Text("name");
        const Json* dir = r.Find("dir");
        if (!dir)
            Fail(r.At("dir"), "missing");
        if (dir->is_string())
            entry.Dir = dir->get<std::string>();
        else if (dir->is_number())
            entry.Dir = dir->dump();
        else
            Fail(r.At("dir"), "must be a number or a text");
        entry.Order = r.Int("order", static_cast<std::int32_t>(i + 1));
        r.Finish();
        manifest.Index.push_back(std::move(entry));
    }
    const Json& drawings = ArrayAt(top.Find("drawings"), "drawings");
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        ObjectReader r(drawings[i], Indexed("drawings", i));
        ManifestDrawing d;
        d.Id = r.Int("id");
        d.Dir = r.Int("dir");
        if (r.Has("spec"))
            d.Spec = r.Int("spec");
        d.Name = r.Text("name");
        d.Caption = r.Text("caption");
        d.Status1 = r.Text("status1");
        d.AppClass = r.Text("appClass");
        d.FunClass = r.Text("funClass");
        d.ShpClass = r.Text("shpClass");
        d.Keywords = r.Text("keywords");
        d.Preview = r.Text("preview");
        d.PathGiven = r.Has("path");
        d.Path = r.Text("path");
        d.File = r.Text("file");
        d.Block = r.Text("block");
        d.Driver = r.Int("driver", 0);
        d.Compressed = r.Int("compressed", 0);
        d.Bound = r.Int("bound", 0);
        d.UserType = r.Int("userType", 0);
        const Json& data = ArrayAt(r.Find("data"), r.At("data"));
        for (std::size_t f = 0; f < data.size(); ++f) {
            ObjectReader fr(data[f], Indexed(r.At("data"), f));
            ManifestDataField field;
            field.Caption = fr.Text("caption");
            if (const Json* number = fr.Find("number")) {
                if (!number->is_number())
                    Fail(fr.At("number"), "must be a number");
                field.Number = number->get<double>();
            }
            field.Text = fr.Text("text");
            if (field.Number && field.Text)
                Fail(fr.Where(), "has both number and text");
            field.Type = fr.Int("type", field.Number ? 1 : 0);
            fr.Finish();
            d.Data.push_back(std::move(field));
        }
        if (const Json* driver = r.Find("dimDriver")) {
            ObjectReader dr(*driver, r.At("dimDriver"));
            d.DimDriver = ManifestDimDriver {dr.Text("app"), dr.Text("fun"), dr.Text("path"), dr.Text("name")};
            dr.Finish();
        }
        r.Finish();
        manifest.Drawings.push_back(std::move(d));
    }
    const Json& memberships = ArrayAt(top.Find("memberships"), "memberships");
    for (std::size_t i = 0; i < memberships.size(); ++i) {
        ObjectReader r(memberships[i], Indexed("memberships", i));
        ManifestMembership m;
        m.Dir = r.Int("dir");
        m.Drawing = r.Int("drawing");
        m.Order = r.Int("order", static_cast<std::int32_t>(i + 1));
        r.Finish();
        manifest.Memberships.push_back(m);
    }
    const Json& actions = ArrayAt(top.Find("actions"), "actions");
    for (std::size_t i = 0; i < actions.size(); ++i) {
        ObjectReader r(actions[i], Indexed("actions", i));
        ManifestAction a;
        a.Dir = r.Int("dir");
        a.Drawing = r.Int("drawing", 0);
        a.App = r.Text("app");
        a.Func = r.Text("func");
        a.Para = r.Text("para");
        r.Finish();
        manifest.Actions.push_back(std::move(a));
    }
}

void ReadManifest(const Json& json, const std::string& baseFolder, GalleryManifest& manifest)
{
    ObjectReader top(json, "");
    manifest.Name = top.RequiredText("name");
    {
        const Json* gallery = top.Find("gallery");
        if (!gallery)
            Fail("gallery", "missing");
        ObjectReader g(*gallery, "gallery");
        manifest.GalleryName = g.RequiredText("name");
        manifest.Version = g.Text("version");
        manifest.Date = g.Text("date");
        g.Finish();
    }
    manifest.Titles = ReadPairs(top.Find("titles"), "titles");
    manifest.Settings = ReadPairs(top.Find("settings"), "settings");
    ReadTables(top, manifest);
    if (const Json* keywords = top.Find("keywords")) {
        const Json& list = ArrayAt(keywords, "keywords");
        manifest.HasKeywords = true;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!list[i].is_string())
                Fail(Indexed("keywords", i), "must be a text");
            manifest.Keywords.push_back(list[i].get<std::string>());
        }
    }
    if (OptText form = top.Text("fullText")) {
        if (*form == "compressed")
            manifest.FullTextForm = GalleryManifest::FullText::Compressed;
        else if (*form == "plain")
            manifest.FullTextForm = GalleryManifest::FullText::Plain;
        else if (*form == "none")
            manifest.FullTextForm = GalleryManifest::FullText::None;
        else
            Fail("fullText", "must be \"compressed\", \"plain\" or \"none\"");
    }
    const bool utf8 = ReadEncoding(top, false);
    ReadFiles(ArrayAt(top.Find("files"), "files"), baseFolder, utf8, manifest);
    top.Finish();
}

// ---- checks across the manifest ----

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>'
            || c == '|')
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

std::string Extension(const std::string& path)
{
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return platform::ToLowerAscii(path.substr(dot + 1));
}

template <typename Row, typename Id>
std::map<std::int32_t, std::size_t> UniqueIds(
    const std::vector<Row>& rows, Id id, const char* where, const char* what)
{
    std::map<std::int32_t, std::size_t> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::int32_t value = id(rows[i]);
        if (!ids.emplace(value, i).second)
            Fail(Indexed(where, i) + ".id", std::string(what) + " " + std::to_string(value) + " is there twice");
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
    static const std::set<std::string> kPictures = {"jpg", "jpeg", "gif", "png", "bmp", "wmf"};
    const bool library = extension == "slb" || extension == "htz" || extension == "flz";
    if (content.Type == ManifestContent::Kind::Members && !library)
        Fail(content.Where, "members make only .slb, .htz and .flz files");
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
        for (const char* extension : {".cnx", ".cnc", ".cnt"})
            claim(manifest.Name + extension, "fullText");
    }
    for (std::size_t i = 0; i < manifest.Files.size(); ++i) {
        const ManifestFile& file = manifest.Files[i];
        const std::string where = Indexed("files", i) + ".path";
        if (!IsContainedPath(file.Path))
            Fail(where, file.Path + " is not a path inside the gallery folder");
        const std::string extension = Extension(file.Path);
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
            if (member.Name.empty() || member.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
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
                CheckContent(member.Content, Extension(member.Name));
            }
        }
    }
}

} // namespace

bool CheckGalleryManifest(const GalleryManifest& manifest, std::string& error)
{
    try {
        if (!IsPlainFileName(manifest.Name))
            Fail("name", "\"" + manifest.Name + "\" is not a plain file name");
        if (manifest.GalleryName.empty())
            Fail("gallery.name", "empty");
        auto specs = UniqueIds(manifest.Specialities, [](const auto& s) { return s.Id; }, "specialities",
            "speciality");
        auto dirs = UniqueIds(manifest.Directories, [](const auto& d) { return d.Id; }, "directories", "directory");
        auto drawings = UniqueIds(manifest.Drawings, [](const auto& d) { return d.Id; }, "drawings", "drawing");
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
                Fail(Indexed("keywords", i), "empty, more than one line, or longer than "
                        + std::to_string(kMaxKeywordBytes) + " bytes");
        CheckFiles(manifest);
    } catch (const ManifestError& e) {
        error = e.Text;
        return false;
    }
    return true;
}

bool ParseGalleryManifest(std::string_view json, const std::string& baseFolder, GalleryManifest& manifest,
    std::string& error)
{
    manifest = GalleryManifest {};
    Json parsed;
    try {
        parsed = Json::parse(json.begin(), json.end());
    } catch (const Json::parse_error& e) {
        // Line and column read better than a byte offset.
        std::size_t offset = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, json.size());
        std::size_t line = 1 + static_cast<std::size_t>(std::count(json.begin(), json.begin() + offset, '\n'));
        std::size_t lineStart = offset == 0 ? std::string_view::npos : json.rfind('\n', offset - 1);
        std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
        std::string what = e.what();
        std::size_t colon = what.rfind(": ");
        error = std::to_string(line) + ":" + std::to_string(column) + ": not JSON ("
            + (colon == std::string::npos ? what : what.substr(colon + 2)) + ")";
        return false;
    } catch (const std::exception& e) {
        error = std::string("not JSON (") + e.what() + ")";
        return false;
    }
    try {
        ReadManifest(parsed, baseFolder, manifest);
    } catch (const ManifestError& e) {
        error = e.Text;
        return false;
    } catch (const std::exception& e) {
        error = std::string("cannot be read: ") + e.what();
        return false;
    }
    return CheckGalleryManifest(manifest, error);
}

} // namespace orv

#include "GalleryGenerator.h"

#include "DrawingFormats.h"
#include "PartDrawings.h"
#include "SymbolDrawings.h"
#include "platform/Encoding.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace orv::demo {
namespace {

using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

// Every mistake in the sources stops the generation with its place; thrown inside this file
// only and turned into the error text at its edge.
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& what)
{
    throw SourceError(what);
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        Fail("cannot write " + path.string());
}

std::string FormatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

std::string ValueText(const json& value)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number())
        return FormatNumber(value.get<double>());
    Fail("not a text or number: " + value.dump());
}

// "M{d}X{l}" with the values of a size row.
std::string Format(const std::string& pattern, const json& values)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] != '{') {
            out += pattern[i++];
            continue;
        }
        std::size_t end = pattern.find('}', i);
        if (end == std::string::npos)
            Fail("unclosed { in " + pattern);
        std::string key = pattern.substr(i + 1, end - i - 1);
        if (!values.contains(key))
            Fail("no value " + key + " for " + pattern);
        out += ValueText(values[key]);
        i = end + 1;
    }
    return out;
}

std::string Text(const json& object, const char* key, const std::string& fallback = std::string())
{
    if (!object.contains(key))
        return fallback;
    if (!object[key].is_string())
        Fail(std::string(key) + " is not a text");
    return object[key].get<std::string>();
}

int Int(const json& object, const char* key, int fallback = 0)
{
    if (!object.contains(key))
        return fallback;
    if (!object[key].is_number_integer())
        Fail(std::string(key) + " is not an integer");
    return object[key].get<int>();
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// Program-form folder below the gallery root ("Fasten\Bolts") from SpecPath + DirPath.
std::string JoinFolder(const std::string& specPath, const std::string& dirPath)
{
    std::string folder = specPath + dirPath;
    while (!folder.empty() && folder.front() == '\\')
        folder.erase(0, 1);
    return folder;
}

struct Part {
    std::string family;
    const json* spec = nullptr; // the family, or its "bound" object for a bound drawing
    const json* familySpec = nullptr;
    json values;
    std::string name, caption, label, group, groupKey;
    bool bound = false;
    int boundTo = 0;
    int id = 0, dir = 0;
    std::string folder; // below the gallery root, "\" separated
};

struct Family {
    std::string key;
    const json* spec = nullptr;
    std::vector<Part> parts;
    std::vector<std::string> groups;
    std::map<std::string, std::string> groupKeys;
};

struct Dir {
    std::string key;
    json row; // the manifest row being built
    int id = 0;
    std::string specPath, path;
    std::string family, group;
    const json* source = nullptr; // the gallery.json entry (null for a group directory)
};

// What a page template is rendered for.
struct PageContext {
    const Family* family = nullptr;
    std::string group;
};

class Generator {
public:
    Generator(fs::path source, fs::path work)
        : m_source(std::move(source))
        , m_work(std::move(work))
    {
    }

    GeneratedGallery Run()
    {
        m_gallery = json::parse(ReadText(m_source / "gallery.json"));
        m_name = Text(m_gallery, "name");
        if (m_name.empty())
            Fail("gallery.json: no name");
        LoadFamilies();
        BuildDirectories();
        AssignDrawings();

        json manifest;
        manifest["name"] = m_name;
        manifest["gallery"] = m_gallery.at("gallery");
        for (const char* key : { "titles", "settings", "fullText" })
            if (m_gallery.contains(key))
                manifest[key] = m_gallery[key];
        manifest["sourceEncoding"] = "utf-8";
        manifest["specialities"] = Specialities();
        manifest["directories"] = json::array();
        for (const auto& dir : m_dirs)
            manifest["directories"].push_back(dir.row);
        manifest["index"] = Index();
        manifest["drawings"] = Drawings();
        manifest["memberships"] = Memberships();
        manifest["actions"] = Actions();
        if (m_gallery.contains("keywords"))
            manifest["keywords"] = m_gallery["keywords"];
        manifest["files"] = Files();

        GeneratedGallery result;
        result.Name = m_name;
        result.DisplayName = Text(m_gallery.at("gallery"), "name");
        result.ManifestPath = (m_work / (m_name + ".json")).string();
        result.Directories = static_cast<int>(m_dirs.size());
        result.Drawings = m_drawingCount;
        WriteText(result.ManifestPath, manifest.dump(1) + "\n");
        return result;
    }

private:
    // ---- catalogue ----

    void LoadFamilies()
    {
        std::string catalogue = Text(m_gallery, "catalogue");
        if (catalogue.empty())
            return;
        m_catalogue = json::parse(ReadText(m_source / catalogue));
        for (const auto& spec : m_catalogue.at("families")) {
            Family family;
            family.key = Text(spec, "key");
            family.spec = &spec;
            std::string expand = Text(spec, "expand");
            for (const auto& row : spec.at("sizes")) {
                std::vector<json> rows;
                if (!expand.empty() && row.contains(expand) && row[expand].is_array()) {
                    for (const auto& v : row[expand]) {
                        json one = row;
                        one[expand] = v;
                        rows.push_back(std::move(one));
                    }
                } else {
                    rows.push_back(row);
                }
                for (auto& values : rows)
                    AddPart(family, spec, std::move(values));
            }
            if (spec.contains("bound"))
                AddBoundParts(family);
            if (m_families.count(family.key))
                Fail("family " + family.key + " twice");
            m_familyOrder.push_back(family.key);
            m_families[family.key] = std::move(family);
        }
    }

    void AddPart(Family& family, const json& spec, json values)
    {
        Part part;
        part.family = family.key;
        part.spec = &spec;
        part.familySpec = &spec;
        part.values = std::move(values);
        part.name = Format(Text(spec, "name"), part.values);
        part.caption = Format(Text(spec, "caption"), part.values);
        part.label = Format(Text(spec, "label"), part.values);
        if (spec.contains("group")) {
            part.group = Format(Text(spec, "group"), part.values);
            part.groupKey
                = spec.contains("groupKey") ? Format(Text(spec, "groupKey"), part.values) : part.group;
            if (std::find(family.groups.begin(), family.groups.end(), part.group) == family.groups.end()) {
                family.groups.push_back(part.group);
                family.groupKeys[part.group] = part.groupKey;
            }
        }
        for (const auto& other : family.parts)
            if (other.name == part.name)
                Fail(family.key + ": drawing name " + part.name + " twice");
        family.parts.push_back(std::move(part));
    }

    // One bound drawing per group (or per family without groups), bound to the group's first.
    void AddBoundParts(Family& family)
    {
        const json& bound = (*family.spec)["bound"];
        std::vector<std::string> groups = family.groups;
        if (groups.empty())
            groups.push_back("");
        std::vector<Part> all;
        for (const auto& group : groups) {
            const Part* first = nullptr;
            for (const auto& part : family.parts) {
                if (part.group != group)
                    continue;
                if (!first)
                    first = &part;
                all.push_back(part);
            }
            Part extra = *first;
            extra.spec = &bound;
            extra.name = Format(Text(bound, "name"), first->values);
            extra.caption = Format(Text(bound, "caption"), first->values);
            extra.label = Format(Text(bound, "label"), first->values);
            extra.bound = true;
            extra.boundTo = -1; // the first of the group, once ids are given
            all.push_back(std::move(extra));
        }
        family.parts = std::move(all);
    }

    Family& FamilyByKey(const std::string& key)
    {
        auto it = m_families.find(key);
        if (it == m_families.end())
            Fail("no family " + key);
        return it->second;
    }

    Part& PartByRef(const std::string& ref)
    {
        auto colon = ref.find(':');
        if (colon == std::string::npos)
            Fail("drawing reference without family: " + ref);
        Family& family = FamilyByKey(ref.substr(0, colon));
        std::string name = ref.substr(colon + 1);
        for (auto& part : family.parts)
            if (part.name == name)
                return part;
        Fail("no drawing " + ref);
    }

    // ---- directories ----

    json Specialities()
    {
        json out = json::array();
        int id = 0;
        for (const auto& spec : m_gallery.at("specialities")) {
            json row;
            row["id"] = ++id;
            row["name"] = Text(spec, "name");
            row["path"] = Text(spec, "path");
            out.push_back(std::move(row));
        }
        return out;
    }

    int SpecId(const std::string& key, std::string& path)
    {
        int id = 0;
        for (const auto& spec : m_gallery.at("specialities")) {
            ++id;
            if (Text(spec, "key") == key) {
                path = Text(spec, "path");
                return id;
            }
        }
        Fail("no speciality " + key);
    }

    const Dir& DirByKey(const std::string& key) const
    {
        for (const auto& dir : m_dirs)
            if (dir.key == key)
                return dir;
        Fail("no directory " + key);
    }

    static void CopyKeys(const json& from, json& to)
    {
        for (const char* key :
            { "name", "type", "path", "content", "sourceContent", "compressed", "mark", "visible", "pages" })
            if (from.contains(key))
                to[key] = from[key];
    }

    void BuildDirectories()
    {
        int id = 0;
        std::map<std::string, std::string> specOf;
        for (const auto& entry : m_gallery.at("directories")) {
            Dir dir;
            dir.key = Text(entry, "key");
            dir.source = &entry;
            dir.id = ++id;
            std::string parentKey = Text(entry, "parent");
            std::string specKey = Text(entry, "spec");
            int parent = 0;
            if (!parentKey.empty()) {
                const Dir& p = DirByKey(parentKey);
                parent = p.id;
                specKey = specKey.empty() ? specOf.at(parentKey) : specKey;
            }
            specOf[dir.key] = specKey;
            int spec = SpecId(specKey, dir.specPath);
            dir.path = Text(entry, "path");
            dir.family = Text(entry, "family");
            dir.row["id"] = dir.id;
            if (parent)
                dir.row["parent"] = parent;
            dir.row["spec"] = spec;
            CopyKeys(entry, dir.row);
            m_dirs.push_back(dir);
            if (dir.family.empty())
                continue;
            const Family& family = FamilyByKey(dir.family);
            if (family.groups.empty())
                continue;
            const json groups = entry.value("groups", json::object());
            for (const auto& group : family.groups) {
                json values = { { "group", group }, { "groupkey", family.groupKeys.at(group) } };
                Dir child;
                child.key = dir.key + "/" + group;
                child.id = ++id;
                child.specPath = dir.specPath;
                child.path = groups.contains("path") ? Text(groups, "path") : dir.path;
                child.family = dir.family;
                child.group = group;
                specOf[child.key] = specKey;
                child.row["id"] = child.id;
                child.row["parent"] = dir.id;
                child.row["spec"] = spec;
                child.row["name"] = Format(groups.value("name", std::string("{group}")), values);
                child.row["type"] = groups.value("type", 3);
                child.row["path"] = child.path;
                for (const char* key : { "content", "mark" })
                    if (groups.contains(key))
                        child.row[key] = Format(Text(groups, key), values);
                if (groups.contains("compressed"))
                    child.row["compressed"] = groups["compressed"];
                m_dirs.push_back(std::move(child));
            }
        }
    }

    // Drawings are numbered in tree order, so a directory's drawings have neighbouring ids.
    void AssignDrawings()
    {
        int id = 0;
        for (const auto& dir : m_dirs) {
            if (dir.family.empty())
                continue;
            Family& family = FamilyByKey(dir.family);
            if (!family.groups.empty() && dir.group.empty())
                continue;
            int firstOfGroup = 0;
            for (auto& part : family.parts) {
                if (part.group != dir.group)
                    continue;
                if (part.id != 0)
                    Fail("family " + family.key + " placed in two directories");
                part.id = ++id;
                part.dir = dir.id;
                part.folder = JoinFolder(dir.specPath, dir.path);
                if (part.bound)
                    part.boundTo = firstOfGroup;
                else if (!firstOfGroup)
                    firstOfGroup = part.id;
            }
        }
        for (const auto& key : m_familyOrder)
            for (const auto& part : m_families[key].parts)
                if (part.id == 0)
                    Fail("family " + key + " has no directory");
        m_drawingCount = id;
    }

    // ---- rows ----

    json Index()
    {
        std::vector<std::pair<std::string, std::string>> terms; // name, directory key
        for (const auto& entry : m_gallery.value("index", json::array()))
            terms.emplace_back(Text(entry, "name"), Text(entry, "dir"));
        if (m_gallery.value("indexGroups", false))
            for (const auto& dir : m_dirs)
                if (!dir.group.empty())
                    terms.emplace_back(dir.row["name"].get<std::string>(), dir.key);
        // GB2312 order is pinyin order for the common characters, as a printed index would be.
        std::stable_sort(terms.begin(), terms.end(), [](const auto& a, const auto& b) {
            return platform::Utf8ToGb18030(a.first) < platform::Utf8ToGb18030(b.first);
        });
        json out = json::array();
        for (const auto& [name, key] : terms)
            out.push_back({ { "name", name }, { "dir", DirByKey(key).id } });
        return out;
    }

    std::string PreviewOf(const Part& part, std::string* library, std::string* member) const
    {
        std::string form = Format(Text(*part.familySpec, "preview"), part.values);
        if (form.rfind("library:", 0) == 0) {
            *library = form.substr(8);
            *member = part.bound || !part.familySpec->contains("member")
                ? part.name
                : Format(Text(*part.familySpec, "member"), part.values);
            return *library + "(" + *member + ").sld";
        }
        if (form == "slide")
            return part.name + ".sld";
        if (form == "jpg" || form == "gif" || form == "png" || form == "bmp" || form == "wmf")
            return part.name + "." + form;
        Fail(part.family + ": unknown preview form " + form);
    }

    json Drawings()
    {
        json out = json::array();
        for (const auto& key : m_familyOrder)
            for (const auto& part : m_families[key].parts)
                m_ordered.push_back(&part);
        std::sort(
            m_ordered.begin(), m_ordered.end(), [](const Part* a, const Part* b) { return a->id < b->id; });
        for (const Part* part : m_ordered) {
            const json& spec = *part->spec;
            const json& family = *part->familySpec;
            json row;
            row["id"] = part->id;
            row["dir"] = part->dir;
            row["name"] = part->name;
            row["caption"] = part->caption;
            row["status1"] = Text(family, "standard");
            for (const char* key : { "appClass", "funClass", "shpClass" })
                row[key] = Text(family, key);
            row["keywords"]
                = Format(Text(spec.contains("keywords") ? spec : family, "keywords"), part->values);
            std::string library, member;
            row["preview"] = PreviewOf(*part, &library, &member);
            row["file"] = part->name + ".dxf";
            int driver = Int(family, "driver");
            row["driver"] = driver;
            if (part->bound)
                row["bound"] = part->boundTo;
            row["data"] = DataSheet(*part);
            if (driver >= 1 && family.contains("dimDriver")) {
                json dim;
                const json& d = family["dimDriver"];
                dim["app"] = Format(Text(d, "app"), part->values);
                dim["fun"] = Format(Text(d, "fun"), part->values);
                dim["path"] = Format(Text(d, "path"), part->values);
                dim["name"] = part->bound ? part->name : Format(Text(d, "name"), part->values);
                row["dimDriver"] = std::move(dim);
            }
            out.push_back(std::move(row));
        }
        return out;
    }

    json DataSheet(const Part& part)
    {
        json out = json::array();
        for (const auto& field : part.spec->at("sheet")) {
            json row;
            row["caption"] = Text(field, "caption");
            if (field.contains("number")) {
                std::string key = Text(field, "number");
                if (!part.values.contains(key) || !part.values[key].is_number())
                    Fail(part.family + ": no number " + key + " for " + part.name);
                row["number"] = part.values[key];
            } else {
                row["text"] = Format(Text(field, "text"), part.values);
            }
            out.push_back(std::move(row));
        }
        return out;
    }

    json Memberships()
    {
        json out = json::array();
        std::map<int, int> order;
        for (const Part* part : m_ordered)
            if (!part->bound)
                out.push_back(
                    { { "dir", part->dir }, { "drawing", part->id }, { "order", ++order[part->dir] } });
        for (const auto& dir : m_dirs) {
            if (!dir.source || !dir.source->contains("members"))
                continue;
            for (const auto& ref : (*dir.source)["members"])
                out.push_back({ { "dir", dir.id }, { "drawing", PartByRef(ref.get<std::string>()).id },
                    { "order", ++order[dir.id] } });
        }
        return out;
    }

    json Actions()
    {
        json out = json::array();
        for (const auto& entry : m_gallery.value("actions", json::array())) {
            json row;
            row["dir"] = DirByKey(Text(entry, "dir")).id;
            if (entry.contains("drawing"))
                row["drawing"] = PartByRef(Text(entry, "drawing")).id;
            for (const char* key : { "app", "func", "para" })
                if (entry.contains(key))
                    row[key] = Text(entry, key);
            out.push_back(std::move(row));
        }
        return out;
    }

    // ---- files ----

    DrawingDescription PartDrawing(const Part& part, bool withLabel) const
    {
        DrawingDescription drawing;
        std::string error, shape = Text(*part.spec, "shape", Text(*part.familySpec, "shape"));
        std::string label = withLabel ? part.label : std::string();
        bool ok;
        if (shape == "symbol") {
            ok = DrawSymbol(ValueText(part.values.at("symbol")), label, drawing, error);
        } else {
            PartValues values;
            values.Label = label;
            for (const auto& [key, value] : part.values.items()) {
                if (value.is_number())
                    values.Numbers[key] = value.get<double>();
                else if (value.is_array())
                    values.Lists[key] = value.get<std::vector<double>>();
            }
            ok = DrawPart(shape, values, drawing, error);
        }
        if (!ok)
            Fail(part.family + " " + part.name + ": " + error);
        return drawing;
    }

    DrawingDescription FigureDrawing(const json& figure) const
    {
        PartValues values;
        values.Label = Text(figure, "label");
        const json numbers = figure.value("values", json::object());
        for (const auto& [key, value] : numbers.items())
            values.Numbers[key] = value.get<double>();
        DrawingDescription drawing;
        std::string error;
        if (!DrawPart(Text(figure, "shape"), values, drawing, error))
            Fail("figure: " + error);
        return drawing;
    }

    // The drawing files of every drawing: previews, DXF, driver definitions.
    void DrawingFiles(json& files)
    {
        std::map<std::string, json> libraries; // library path -> members, in first-use order
        std::vector<std::string> libraryOrder;
        for (const Part* part : m_ordered) {
            std::string library, member;
            std::string preview = PreviewOf(*part, &library, &member);
            std::string ext = preview.substr(preview.rfind('.') + 1);
            DrawingDescription withLabel = PartDrawing(*part, true);
            DrawingDescription plain = PartDrawing(*part, false);
            if (!library.empty()) {
                std::string path = part->folder + "\\" + library + ".slb";
                if (!libraries.count(path)) {
                    libraryOrder.push_back(path);
                    libraries[path] = json::array();
                }
                libraries[path].push_back({ { "name", member }, { "drawing", DrawingToJson(plain) } });
            } else {
                json file;
                file["path"] = part->folder + "\\" + preview;
                // Metafiles keep texts, so they carry the label; slides and pixels leave it out anyway.
                file["drawing"] = DrawingToJson(ext == "wmf" ? withLabel : plain);
                files.push_back(std::move(file));
            }
            std::string dxf = "drawings/" + part->folder + "/" + part->name + ".dxf";
            std::replace(dxf.begin(), dxf.end(), '\\', '/');
            WriteText(m_work / m_name / dxf, DrawingToDxf(withLabel));
            files.push_back(
                { { "path", part->folder + "\\" + part->name + ".dxf" }, { "source", m_name + "/" + dxf } });
        }
        for (const auto& path : libraryOrder)
            files.push_back({ { "path", path }, { "members", libraries[path] } });
        DriverFiles(files);
    }

    // A driver definition file per family that names one: the dimension table the CAD side's
    // driver reads.
    void DriverFiles(json& files)
    {
        for (const auto& key : m_familyOrder) {
            const Family& family = m_families[key];
            const json& spec = *family.spec;
            if (!spec.contains("dimDriver") || Text(spec["dimDriver"], "path").empty())
                continue;
            std::vector<std::string> columns;
            for (const auto& [name, value] : family.parts.front().values.items())
                if (value.is_number())
                    columns.push_back(name);
            std::string text
                = "; " + Text(spec, "title") + " " + Text(spec, "standard") + "\n; 尺寸驱动参数表\nNAME";
            for (const auto& c : columns)
                text += "," + c;
            text += "\n";
            std::string folder;
            for (const auto& part : family.parts) {
                if (part.bound)
                    continue;
                folder = part.folder;
                text += part.name;
                for (const auto& c : columns)
                    text += "," + (part.values.contains(c) ? ValueText(part.values[c]) : std::string());
                text += "\n";
            }
            files.push_back(
                { { "path",
                      folder + "\\" + Format(Text(spec["dimDriver"], "path"), family.parts.front().values) },
                    { "text", text } });
        }
    }

    // One file or member entry of gallery.json, for one group when it repeats per group.
    json Entry(const json& entry, const char* pathKey, const std::string& parent, const PageContext& context)
    {
        json values = { { "group", context.group },
            { "groupkey",
                context.family && !context.group.empty() ? context.family->groupKeys.at(context.group)
                                                         : "" } };
        json out;
        std::string path = Format(Text(entry, pathKey), values);
        out[pathKey] = path;
        if (entry.contains("page")) {
            std::string rendered = Render(ReadText(m_source / "pages" / Text(entry, "page")), context);
            // The rendered page is kept under the name it gets in the gallery, so that pages
            // made from one template never share a file.
            std::string source = m_name + "/pages/" + (parent.empty() ? path : parent + "/" + path);
            std::replace(source.begin(), source.end(), '\\', '/');
            WriteText(m_work / source, rendered);
            out["source"] = source;
        } else if (entry.contains("part")) {
            std::string ref = Text(entry, "part");
            if (context.family && !context.group.empty() && ref.find("{first}") != std::string::npos)
                ref = context.family->key + ":" + FirstOfGroup(*context.family, context.group)->name;
            out["drawing"] = DrawingToJson(PartDrawing(PartByRef(ref), Text(entry, "label") != "none"));
        } else if (entry.contains("figure")) {
            out["drawing"] = DrawingToJson(FigureDrawing(entry["figure"]));
        } else if (entry.contains("text")) {
            out["text"] = entry["text"];
        } else if (entry.contains("members")) {
            out["members"] = json::array();
            for (const auto& member : entry["members"])
                for (auto& one : Expand(member, "name", path))
                    out["members"].push_back(std::move(one));
        } else {
            Fail(path + ": nothing to write");
        }
        for (const char* key : { "size", "background" })
            if (entry.contains(key))
                out[key] = entry[key];
        return out;
    }

    std::vector<json> Expand(
        const json& entry, const char* pathKey, const std::string& parent = std::string())
    {
        std::vector<json> out;
        PageContext context;
        if (entry.contains("family"))
            context.family = &FamilyByKey(Text(entry, "family"));
        if (entry.contains("forEachGroup")) {
            context.family = &FamilyByKey(Text(entry, "forEachGroup"));
            for (const auto& group : context.family->groups) {
                context.group = group;
                out.push_back(Entry(entry, pathKey, parent, context));
            }
        } else {
            out.push_back(Entry(entry, pathKey, parent, context));
        }
        return out;
    }

    json Files()
    {
        json files = json::array();
        for (const auto& entry : m_gallery.value("files", json::array()))
            for (auto& one : Expand(entry, "path"))
                files.push_back(std::move(one));
        DrawingFiles(files);
        return files;
    }

    // ---- page templates ----

    const Part* FirstOfGroup(const Family& family, const std::string& group) const
    {
        for (const auto& part : family.parts)
            if (part.group == group && !part.bound)
                return &part;
        Fail(family.key + ": empty group " + group);
    }

    std::string Table(const Family& family, const std::string& group, bool anchors) const
    {
        const json& spec = *family.spec;
        std::string html = "<table class=\"dims\">\n<tr><th>型号</th>";
        for (const auto& field : spec.at("sheet"))
            html += "<th>" + Escape(Text(field, "caption")) + "</th>";
        html += "<th>插入</th></tr>\n";
        std::string lastGroup;
        for (const auto& part : family.parts) {
            if (part.bound || (!group.empty() && part.group != group))
                continue;
            html += "<tr><td>";
            if (anchors && part.group != lastGroup)
                html += "<a name=\"" + Escape(part.group) + "\"></a>";
            lastGroup = part.group;
            html += Escape(part.name) + "</td>";
            for (const auto& field : spec.at("sheet")) {
                std::string value = field.contains("number")
                    ? ValueText(part.values.at(Text(field, "number")))
                    : Format(Text(field, "text"), part.values);
                html += "<td>" + Escape(value) + "</td>";
            }
            html += "<td><a href=\"app:DW=BYID=:" + std::to_string(part.id)
                + "\" title=\"插入到 CAD\">插入</a></td></tr>\n";
        }
        return html + "</table>";
    }

    std::string Placeholder(const std::string& name, const PageContext& context)
    {
        std::vector<std::string> args;
        std::size_t start = 0;
        for (;;) {
            std::size_t colon = name.find(':', start);
            args.push_back(name.substr(start, colon - start));
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
        const std::string& what = args[0];
        auto need = [&](std::size_t count) {
            if (args.size() != count)
                Fail("{{" + name + "}}: wrong number of parts");
        };
        auto family = [&]() -> const Family& {
            if (!context.family)
                Fail("{{" + name + "}} outside a family page");
            return *context.family;
        };
        auto group = [&]() -> const std::string& {
            if (context.group.empty())
                Fail("{{" + name + "}} outside a group page");
            return context.group;
        };
        if (what == "style") {
            need(1);
            return PageStyle();
        }
        if (what == "dir") {
            need(2);
            return std::to_string(DirByKey(args[1]).id);
        }
        if (what == "drawing") {
            need(3);
            return std::to_string(PartByRef(args[1] + ":" + args[2]).id);
        }
        if (what == "dwpath") {
            need(3);
            const Part& part = PartByRef(args[1] + ":" + args[2]);
            std::string path = "\\" + part.folder + "\\" + part.name, out;
            for (char c : path)
                out += c == '\\' ? std::string("//") : std::string(1, c);
            return out;
        }
        if (what == "table") {
            if (args.size() == 2)
                return Table(FamilyByKey(args[1]), "", true);
            need(1);
            return Table(family(), "", !family().groups.empty());
        }
        if (what == "grouptable") {
            need(1);
            return Table(family(), group(), false);
        }
        if (what == "group") {
            need(1);
            return Escape(group());
        }
        if (what == "groupkey") {
            need(1);
            return family().groupKeys.at(group());
        }
        if (what == "groupdir") {
            need(1);
            for (const auto& dir : m_dirs)
                if (dir.family == family().key && dir.group == group())
                    return std::to_string(dir.id);
            Fail("no directory for group " + group());
        }
        if (what == "first" || what == "firstid") {
            need(1);
            const Part* first = FirstOfGroup(family(), group());
            return what == "first" ? first->name : std::to_string(first->id);
        }
        if (what == "title" || what == "standard" || what == "intro") {
            need(1);
            std::string text = Text(*family().spec, what.c_str());
            return what == "intro" ? text : Escape(text);
        }
        if (what == "count") {
            const Family& f = args.size() == 2 ? FamilyByKey(args[1]) : family();
            return std::to_string(
                std::count_if(f.parts.begin(), f.parts.end(), [](const Part& p) { return !p.bound; }));
        }
        if (what == "drawings") {
            need(1);
            return std::to_string(m_drawingCount);
        }
        if (what == "directories") {
            need(1);
            return std::to_string(m_dirs.size());
        }
        Fail("unknown placeholder {{" + name + "}}");
    }

    std::string Render(const std::string& page, const PageContext& context)
    {
        std::string out;
        std::size_t at = 0;
        for (;;) {
            std::size_t open = page.find("{{", at);
            if (open == std::string::npos)
                break;
            std::size_t close = page.find("}}", open);
            if (close == std::string::npos)
                Fail("unclosed {{ in a page");
            out.append(page, at, open - at);
            out += Placeholder(page.substr(open + 2, close - open - 2), context);
            at = close + 2;
        }
        out.append(page, at, std::string::npos);
        return out;
    }

    fs::path m_source, m_work;
    std::string m_name;
    json m_gallery, m_catalogue;
    std::map<std::string, Family> m_families;
    std::vector<std::string> m_familyOrder;
    std::vector<Dir> m_dirs;
    std::vector<const Part*> m_ordered;
    int m_drawingCount = 0;
};

} // namespace

bool GenerateGallery(const std::string& sourceFolder, const std::string& workFolder, GeneratedGallery& result,
    std::string& error)
{
    try {
        Generator generator(sourceFolder, workFolder);
        result = generator.Run();
        return true;
    } catch (const SourceError& e) {
        error = sourceFolder + ": " + e.what();
    } catch (const nlohmann::json::exception& e) {
        error = sourceFolder + ": " + e.what();
    } catch (const std::exception& e) {
        error = sourceFolder + ": " + e.what();
    }
    return false;
}

const std::string& PageStyle()
{
    static const std::string style = R"(<style type="text/css">
body { font-family: "Microsoft YaHei", "Noto Sans CJK SC", "SimSun", sans-serif; font-size: 10.5pt;
       color: #202020; margin: 12px 18px; line-height: 1.55; }
h1 { font-size: 16pt; color: #1f4e79; border-bottom: 2px solid #1f4e79; padding-bottom: 4px; }
h2 { font-size: 12.5pt; color: #1f4e79; margin-top: 18px; }
p.note { color: #555555; font-size: 9.5pt; }
table.dims { border-collapse: collapse; margin: 8px 0; }
table.dims th { background: #dde8f3; border: 1px solid #8aa6c1; padding: 3px 8px; font-weight: normal; }
table.dims td { border: 1px solid #b5c7d9; padding: 2px 8px; text-align: center; }
table.dims tr:nth-child(even) td { background: #f4f8fc; }
div.figure { margin: 10px 0; text-align: center; color: #555555; font-size: 9pt; }
a { color: #0b5cad; }
</style>)";
    return style;
}

} // namespace orv::demo

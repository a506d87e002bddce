#include "GalleryGenerator.h"

#include "GalleryGeneratorModel.h"
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
namespace gallery {
namespace {

// Every mistake in the sources stops the generation with its place; thrown inside this file
// only and turned into the error text at its edge.
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string FormatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

} // namespace

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

std::string Text(const json& object, const char* key, const std::string& fallback)
{
    if (!object.contains(key))
        return fallback;
    if (!object[key].is_string())
        Fail(std::string(key) + " is not a text");
    return object[key].get<std::string>();
}

namespace {

int Int(const json& object, const char* key, int fallback = 0)
{
    if (!object.contains(key))
        return fallback;
    if (!object[key].is_number_integer())
        Fail(std::string(key) + " is not an integer");
    return object[key].get<int>();
}

// Program-form folder below the gallery root ("Fasten\Bolts") from SpecPath + DirPath.
std::string JoinFolder(const std::string& specPath, const std::string& dirPath)
{
    std::string folder = specPath + dirPath;
    while (!folder.empty() && folder.front() == '\\')
        folder.erase(0, 1);
    return folder;
}

} // namespace

GeneratedGallery Generator::Run()
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

// ---- catalogue ----

void Generator::LoadFamilies()
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

void Generator::AddPart(Family& family, const json& spec, json values)
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
        part.groupKey = spec.contains("groupKey") ? Format(Text(spec, "groupKey"), part.values) : part.group;
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
void Generator::AddBoundParts(Family& family)
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

Family& Generator::FamilyByKey(const std::string& key)
{
    auto it = m_families.find(key);
    if (it == m_families.end())
        Fail("no family " + key);
    return it->second;
}

Part& Generator::PartByRef(const std::string& ref)
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

json Generator::Specialities()
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

int Generator::SpecId(const std::string& key, std::string& path)
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

const Dir& Generator::DirByKey(const std::string& key) const
{
    for (const auto& dir : m_dirs)
        if (dir.key == key)
            return dir;
    Fail("no directory " + key);
}

void Generator::CopyKeys(const json& from, json& to)
{
    for (const char* key :
        { "name", "type", "path", "content", "sourceContent", "compressed", "mark", "visible", "pages" })
        if (from.contains(key))
            to[key] = from[key];
}

void Generator::BuildDirectories()
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
void Generator::AssignDrawings()
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

json Generator::Index()
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

std::string Generator::PreviewOf(const Part& part, std::string* library, std::string* member) const
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

json Generator::Drawings()
{
    json out = json::array();
    for (const auto& key : m_familyOrder)
        for (const auto& part : m_families[key].parts)
            m_ordered.push_back(&part);
    std::sort(m_ordered.begin(), m_ordered.end(), [](const Part* a, const Part* b) { return a->id < b->id; });
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
        row["keywords"] = Format(Text(spec.contains("keywords") ? spec : family, "keywords"), part->values);
        std::string library, member;
        row["preview"] = PreviewOf(*part, &library, &member);
        // A family with a package keeps its drawings as members of one ".dwz" per folder.
        row["file"] = family.contains("package")
            ? Format(Text(family, "package"), part->values) + "(" + part->name + ".dxf).dwz"
            : part->name + ".dxf";
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

json Generator::DataSheet(const Part& part)
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

json Generator::Memberships()
{
    json out = json::array();
    std::map<int, int> order;
    for (const Part* part : m_ordered)
        if (!part->bound)
            out.push_back({ { "dir", part->dir }, { "drawing", part->id }, { "order", ++order[part->dir] } });
    for (const auto& dir : m_dirs) {
        if (!dir.source || !dir.source->contains("members"))
            continue;
        for (const auto& ref : (*dir.source)["members"])
            out.push_back({ { "dir", dir.id }, { "drawing", PartByRef(ref.get<std::string>()).id },
                { "order", ++order[dir.id] } });
    }
    return out;
}

json Generator::Actions()
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

} // namespace gallery

bool GenerateGallery(const std::string& sourceFolder, const std::string& workFolder, GeneratedGallery& result,
    std::string& error)
{
    try {
        gallery::Generator generator(sourceFolder, workFolder);
        result = generator.Run();
        return true;
    } catch (const gallery::SourceError& e) {
        error = sourceFolder + ": " + e.what();
    } catch (const nlohmann::json::exception& e) {
        error = sourceFolder + ": " + e.what();
    } catch (const std::exception& e) {
        error = sourceFolder + ": " + e.what();
    }
    return false;
}

} // namespace orv::demo

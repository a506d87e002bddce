#pragma once
// The generator behind GenerateGallery, private to the two files that define it:
// GalleryGenerator.cpp reads the catalogue, lays out the directory tree and makes the manifest
// rows; GalleryPages.cpp makes the manifest's files and renders the page templates.

#include "GalleryGenerator.h"
#include "builder/GalleryManifest.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace orv::demo::gallery {

using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

// Shared by both files. Fail stops the generation with what is wrong in the sources.
[[noreturn]] void Fail(const std::string& what);
std::string ReadText(const fs::path& path);
void WriteText(const fs::path& path, const std::string& text);
std::string ValueText(const json& value);

// "M{d}X{l}" with the values of a size row.
std::string Format(const std::string& pattern, const json& values);
std::string Text(const json& object, const char* key, const std::string& fallback = std::string());

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

    GeneratedGallery Run();

private:
    // ---- catalogue ----
    void LoadFamilies();
    void AddPart(Family& family, const json& spec, json values);
    void AddBoundParts(Family& family);
    Family& FamilyByKey(const std::string& key);
    Part& PartByRef(const std::string& ref);

    // ---- directories ----
    json Specialities();
    int SpecId(const std::string& key, std::string& path);
    const Dir& DirByKey(const std::string& key) const;
    static void CopyKeys(const json& from, json& to);
    void BuildDirectories();
    void AssignDrawings();

    // ---- rows ----
    json Index();
    std::string PreviewOf(const Part& part, std::string* library, std::string* member) const;
    json Drawings();
    json DataSheet(const Part& part);
    json Memberships();
    json Actions();

    // ---- files ----
    DrawingDescription PartDrawing(const Part& part, bool withLabel) const;
    DrawingDescription FigureDrawing(const json& figure) const;
    void DrawingFiles(json& files);
    void DriverFiles(json& files);
    json Entry(const json& entry, const char* pathKey, const std::string& parent, const PageContext& context);
    std::vector<json> Expand(
        const json& entry, const char* pathKey, const std::string& parent = std::string());
    json Files();

    // ---- page templates ----
    const Part* FirstOfGroup(const Family& family, const std::string& group) const;
    std::string Table(const Family& family, const std::string& group, bool anchors) const;
    std::string Placeholder(const std::string& name, const PageContext& context);
    std::string Render(const std::string& page, const PageContext& context);

    fs::path m_source, m_work;
    std::string m_name;
    json m_gallery, m_catalogue;
    std::map<std::string, Family> m_families;
    std::vector<std::string> m_familyOrder;
    std::vector<Dir> m_dirs;
    std::vector<const Part*> m_ordered;
    int m_drawingCount = 0;
};

} // namespace orv::demo::gallery

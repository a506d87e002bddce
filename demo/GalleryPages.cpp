#include "DrawingFormats.h"
#include "GalleryGenerator.h"
#include "GalleryGeneratorModel.h"
#include "PartDrawings.h"
#include "SymbolDrawings.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace orv::demo {
namespace gallery {
namespace {

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

} // namespace

// ---- files ----

DrawingDescription Generator::PartDrawing(const Part& part, bool withLabel) const
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

DrawingDescription Generator::FigureDrawing(const json& figure) const
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
void Generator::DrawingFiles(json& files)
{
    std::map<std::string, json> libraries; // library path -> members, in first-use order
    std::vector<std::string> libraryOrder, packageOrder;
    std::map<std::string, json> packages;
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
        if (part->familySpec->contains("package")) {
            const std::string path
                = part->folder + "\\" + Format(Text(*part->familySpec, "package"), part->values) + ".dwz";
            if (!packages.count(path)) {
                packageOrder.push_back(path);
                packages[path] = json::array();
            }
            packages[path].push_back({ { "name", part->name + ".dxf" }, { "source", m_name + "/" + dxf } });
            continue;
        }
        files.push_back(
            { { "path", part->folder + "\\" + part->name + ".dxf" }, { "source", m_name + "/" + dxf } });
    }
    for (const auto& path : libraryOrder)
        files.push_back({ { "path", path }, { "members", libraries[path] } });
    for (const auto& path : packageOrder)
        files.push_back({ { "path", path }, { "members", packages[path] } });
    DriverFiles(files);
}

// A driver definition file per family that names one: the dimension table the CAD side's
// driver reads.
void Generator::DriverFiles(json& files)
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
json Generator::Entry(
    const json& entry, const char* pathKey, const std::string& parent, const PageContext& context)
{
    json values = { { "group", context.group },
        { "groupkey",
            context.family && !context.group.empty() ? context.family->groupKeys.at(context.group) : "" } };
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

std::vector<json> Generator::Expand(const json& entry, const char* pathKey, const std::string& parent)
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

json Generator::Files()
{
    json files = json::array();
    for (const auto& entry : m_gallery.value("files", json::array()))
        for (auto& one : Expand(entry, "path"))
            files.push_back(std::move(one));
    DrawingFiles(files);
    return files;
}

// ---- page templates ----

const Part* Generator::FirstOfGroup(const Family& family, const std::string& group) const
{
    for (const auto& part : family.parts)
        if (part.group == group && !part.bound)
            return &part;
    Fail(family.key + ": empty group " + group);
}

std::string Generator::Table(const Family& family, const std::string& group, bool anchors) const
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
            std::string value = field.contains("number") ? ValueText(part.values.at(Text(field, "number")))
                                                         : Format(Text(field, "text"), part.values);
            html += "<td>" + Escape(value) + "</td>";
        }
        html += "<td><a href=\"app:DW=BYID=:" + std::to_string(part.id)
            + "\" title=\"插入到 CAD\">插入</a></td></tr>\n";
    }
    return html + "</table>";
}

std::string Generator::Placeholder(const std::string& name, const PageContext& context)
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

std::string Generator::Render(const std::string& page, const PageContext& context)
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

} // namespace gallery

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

#include "builder/GalleryRows.h"

#include <map>

namespace orv {
namespace {

JetValue I(std::int64_t value)
{
    return JetValue::FromInt(value);
}

JetValue T(const OptText& text)
{
    return text ? JetValue::FromText(*text) : JetValue::Null();
}

JetValue T(const std::string& text)
{
    return JetValue::FromText(text);
}

// Jet's "+" joins texts and gives NULL only when both sides are missing here: a speciality
// without a folder still gives its directories' folders.
OptText JoinFolders(const OptText& specPath, const OptText& dirPath)
{
    if (!specPath && !dirPath)
        return std::nullopt;
    return specPath.value_or("") + dirPath.value_or("");
}

} // namespace

std::vector<std::vector<JetRow>> GalleryRows(const GalleryManifest& m)
{
    enum { Gallery, Title, Set, Spec, Dir, DirFiles, DirIndex, List, DirList, Data, DimDriver, Execute, Count };
    std::vector<std::vector<JetRow>> rows(Count);

    rows[Gallery].push_back({T(m.GalleryName), T(m.Version), T(m.Date)});
    for (const auto& [column, caption] : m.Titles)
        rows[Title].push_back({T(column), T(caption)});
    for (const auto& [name, value] : m.Settings)
        rows[Set].push_back({T(name), T(value)});

    std::map<std::int32_t, const ManifestSpeciality*> specs;
    for (const ManifestSpeciality& s : m.Specialities) {
        specs[s.Id] = &s;
        rows[Spec].push_back({I(s.Id), T(s.Name), T(s.Path), I(s.Order)});
    }
    std::map<std::int32_t, const ManifestDirectory*> dirs;
    for (const ManifestDirectory& d : m.Directories) {
        dirs[d.Id] = &d;
        rows[Dir].push_back({I(d.Id), I(d.Parent), I(d.Spec), T(d.Name), I(d.Type), T(d.Path), T(d.Content),
            T(d.SourceContent), I(d.Compressed), T(d.Mark), I(d.Visible)});
        for (std::size_t p = 0; p < d.Pages.size(); ++p)
            rows[DirFiles].push_back({I(d.Id), T(d.Pages[p]), I(static_cast<std::int64_t>(p + 1))});
    }
    for (const ManifestIndexEntry& e : m.Index)
        rows[DirIndex].push_back({T(e.Name), T(e.Dir), I(e.Order)});

    for (const ManifestDrawing& g : m.Drawings) {
        const ManifestDirectory& dir = *dirs.at(g.Dir);
        const std::int32_t spec = g.Spec.value_or(dir.Spec);
        OptText path = g.PathGiven ? g.Path : JoinFolders(specs.count(spec) ? specs.at(spec)->Path : OptText(), dir.Path);
        rows[List].push_back({I(g.Id), I(g.Dir), I(spec), T(g.Name), T(g.Caption), T(g.Status1), T(g.AppClass),
            T(g.FunClass), T(g.ShpClass), T(g.Keywords), T(g.Preview), T(path), T(g.File), T(g.Block), I(g.Driver),
            I(g.Compressed), I(g.Bound), I(g.UserType)});
        for (std::size_t f = 0; f < g.Data.size(); ++f) {
            const ManifestDataField& field = g.Data[f];
            rows[Data].push_back({I(g.Id), I(static_cast<std::int64_t>(f + 1)), T(field.Caption), I(field.Type),
                field.Number ? JetValue::FromReal(*field.Number) : JetValue::Null(), T(field.Text)});
        }
        if (g.DimDriver)
            rows[DimDriver].push_back(
                {I(g.Id), T(g.DimDriver->App), T(g.DimDriver->Fun), T(g.DimDriver->Path), T(g.DimDriver->Name)});
    }
    for (const ManifestMembership& mm : m.Memberships)
        rows[DirList].push_back({I(mm.Dir), I(mm.Drawing), I(mm.Order)});
    for (const ManifestAction& a : m.Actions)
        rows[Execute].push_back({I(a.Dir), I(a.Drawing), T(a.App), T(a.Func), T(a.Para)});
    return rows;
}

} // namespace orv

#include "browser/BrowserTestSupport.h"

#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::test {
namespace {

ManifestDrawing Drawing(std::int32_t id, std::int32_t dir, const char* name, const char* caption,
    const char* preview, const char* status = nullptr)
{
    ManifestDrawing d;
    d.Id = id;
    d.Dir = dir;
    d.Name = name;
    d.Caption = caption;
    d.Preview = preview;
    if (status)
        d.Status1 = status;
    d.AppClass = std::string("应用") + name;
    d.FunClass = "功能";
    d.ShpClass = "形状";
    d.Keywords = std::string("kw ") + name;
    return d;
}

ManifestFile Marker(const std::string& path)
{
    ManifestFile file;
    file.Path = path;
    file.Content.Type = ManifestContent::Kind::Text;
    file.Content.Text = "x";
    return file;
}

GalleryManifest BrowserManifest()
{
    GalleryManifest m;
    m.Name = "B";
    m.GalleryName = "浏览";
    m.Titles = { { "Status1", "状态" }, { "ShpClass", "形状类" } };
    m.Specialities = { { 1, "机械", "\\Mech", 1 } };
    ManifestDirectory parts = MakeDirectory(kPartsDir, 0, 1, "零件");
    parts.Path = "\\Parts";
    ManifestDirectory bolts = MakeDirectory(kBoltsDir, kPartsDir, 1, "螺栓");
    bolts.Path = "\\Bolts";
    bolts.Pages = { "b1.htm", "b2.htm" };
    ManifestDirectory empty = MakeDirectory(kEmptyDrawingDir, 0, 1, "空");
    empty.Path = "\\Empty";
    m.Directories = { parts, bolts, empty };

    ManifestDrawing a1 = Drawing(1, kPartsDir, "A1", "", "bolt(m12).sld", "新");
    a1.UserType = 2; // last by UserType
    ManifestDataField number { std::string("长度"), 1, 12.5, std::string("ignored") };
    ManifestDataField third { std::string("比例"), 1, 1.0 / 3.0, std::nullopt };
    ManifestDataField text { std::string("材料"), 0, 7.0, std::string("Q235") };
    ManifestDataField other { std::string("标准"), 2, 1.0, std::string("GB/T 5782") };
    a1.Data = { number, third, text, other };
    ManifestDrawing bound = Drawing(6, kPartsDir, "A6", "关联", "a6.jpg");
    bound.Bound = 1;
    m.Drawings = {
        a1,
        Drawing(2, kPartsDir, "A2", "螺母", "nut(m8).sld"), // no library; M8.jpg exists
        Drawing(3, kPartsDir, "A3", "垫圈", "washer(w1).sld"), // nothing exists
        Drawing(4, kPartsDir, "A4", "图片", "a4.jpg"), // exists
        Drawing(5, kPartsDir, "A5", "幻灯", "a5.sld"), // missing: A5.jpg is tried
        bound,
        Drawing(7, kBoltsDir, "B7", "螺栓7", "b7.jpg"),
        Drawing(8, kBoltsDir, "B8", "螺栓8", "b8.jpg"),
    };
    m.HasMemberships = true;
    m.Memberships = { { kPartsDir, 6, 1 }, { kPartsDir, 5, 2 }, { kPartsDir, 4, 3 }, { kPartsDir, 3, 4 },
        { kPartsDir, 2, 5 }, { kPartsDir, 1, 6 }, { kBoltsDir, 8, 1 }, { kBoltsDir, 7, 2 } };
    m.Files = { Marker("Mech\\Parts\\M8.jpg"), Marker("Mech\\Parts\\A4.JPG"), Marker("Mech\\Bolts\\b1.htm"),
        Marker("Mech\\Bolts\\b2.htm") };
    return m;
}

} // namespace

BrowserGallery::BrowserGallery(DirListForm form, const std::string& ini)
{
    gallery = BuildSqliteGallery(folder, BrowserManifest());
    root = gallery.substr(0, gallery.size() - 4);
    parts = root + "\\Mech\\Parts";
    // Only its presence counts; the builder would make a real library from members.
    WriteFile(platform::NativePath(parts + "\\BOLT.SLB"), "x");
    if (form == DirListForm::WithoutOrder)
        ExecGallerySql(gallery, "ALTER TABLE DrawingDirList DROP COLUMN DrawingOrder");
    else if (form == DirListForm::Missing)
        ExecGallerySql(gallery, "DROP TABLE DrawingDirList");
    std::filesystem::create_directories(folder.NativeAt("app"));
    state.AppPath = folder.ProgramAt("app");
    state.IniPath = state.AppPath + "\\ORVBook.ini";
    if (!ini.empty())
        WriteFile(folder.NativeAt("app/ORVBook.ini"), ini);
    state.GalleryFiles = { gallery };
    state.GalleryNames = { "test" };
    state.CurrentGallery = 0;
    EXPECT_EQ(state.Database.ConnectDatabase(gallery, kGalleryPassword), 0) << state.Database.LastError();
    state.DatabaseOpen = true;
    state.ColumnCaptions = { "状态", "内容2", "内容3", "形状类" };
}

std::vector<std::uint32_t> ListIds(const DirDrawingList& list)
{
    return list.Ids;
}

} // namespace orv::test

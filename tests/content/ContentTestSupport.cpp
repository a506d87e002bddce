#include "content/ContentTestSupport.h"

#include "platform/Encoding.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::test {
namespace {

ManifestFile TextFile(const std::string& path, const std::string& text)
{
    ManifestFile file;
    file.Path = path;
    file.Content.Type = ManifestContent::Kind::Text;
    file.Content.Text = text;
    return file;
}

ManifestMember Member(const std::string& name, const std::string& text)
{
    ManifestMember member;
    member.Name = name;
    member.Content.Type = ManifestContent::Kind::Text;
    member.Content.Text = text;
    return member;
}

ManifestFile Library(const std::string& path, std::vector<ManifestMember> members)
{
    ManifestFile file;
    file.Path = path;
    file.Content.Type = ManifestContent::Kind::Members;
    file.Members = std::move(members);
    return file;
}

ManifestDirectory Dir(std::int32_t id, const char* name, const char* content, int compressed = 0)
{
    ManifestDirectory dir = MakeDirectory(id, 0, 1, name);
    dir.Path = "\\Pages";
    if (content)
        dir.Content = content;
    dir.Compressed = compressed;
    return dir;
}

GalleryManifest ContentManifest()
{
    GalleryManifest m;
    m.Name = "G";
    m.GalleryName = "内容";
    m.Specialities = { { 1, "机械", "\\Mech", 1 } };
    ManifestDirectory marked = Dir(kMarkedPackageDir, "带标记", "A12(B3)", 1);
    marked.Mark = "part2";
    ManifestDirectory source = Dir(kSourceContentDir, "源", nullptr);
    source.SourceContent = "src\\s.htm";
    ManifestDirectory pages = Dir(kPagesDir, "多页", "p1.htm");
    pages.Pages = { "p1.htm", "p2.htm", "p3.htm" };
    ManifestDirectory markedPage = Dir(kMarkedPageDir, "页标记", "lead.htm");
    markedPage.Mark = "part2";
    m.Directories = { Dir(kPackageDir, "包页", "A12(B3)", 1), marked,
        Dir(kLeadingSlashDir, "斜杠", "\\lead.htm"), Dir(kPictureFallbackDir, "图", "fig1.htm"),
        Dir(kSubfolderPictureDir, "子图", "sub\\fig2.htm"), source, pages, Dir(kEmptyDir, "空", nullptr),
        markedPage, Dir(kMissingMemberDir, "缺页", "A12(B9)", 1) };
    m.Settings = { { "HasTextContents", "0" }, { "it's", "quoted" } };
    const std::string page
        = "<html><head><title>钢</title></head><body><p>钢材<img src=\"B3.files/a.gif\" alt=\"钢\"></p>"
          "<a name=\"part2\"></a><p>钢板</p></body></html>";
    m.Files = {
        Library("Mech\\Pages\\A12.htz",
            { Member("B3.htm", page), Member("B4.htm", "<html><body>B4</body></html>") }),
        Library("Mech\\Pages\\A12_files.flz", { Member("B3.files\\a.gif", "GIF89a") }),
        TextFile("Mech\\Pages\\B9.htm", "<html><body>B9 beside</body></html>"),
        TextFile("Mech\\Pages\\lead.htm", "<html><body>lead</body></html>"),
        TextFile("Mech\\Pages\\FIG1.GIF", "GIF89a"),
        TextFile("Mech\\Pages\\sub\\fig2.png", "png"),
        TextFile("Mech\\src\\s.htm", "<html><body>s</body></html>"),
        TextFile("about.htm", "<html><body>about</body></html>"),
    };
    return m;
}

} // namespace

ContentGallery::ContentGallery()
{
    gallery = BuildSqliteGallery(folder, ContentManifest());
    root = gallery.substr(0, gallery.size() - 4);
    std::filesystem::create_directories(folder.NativeAt("app"));
    std::filesystem::create_directories(folder.NativeAt("temp"));
    temp = folder.ProgramAt("temp");
    state.AppPath = folder.ProgramAt("app");
    state.GalleryFiles = { gallery };
    state.GalleryNames = { "test" };
    state.CurrentGallery = 0;
    EXPECT_EQ(state.Database.ConnectDatabase(gallery, kGalleryPassword), 0) << state.Database.LastError();
    state.DatabaseOpen = true;
    panel.MainView.TempFolder = panel.SecondView.TempFolder = temp;
}

std::string Gb(const std::string& utf8)
{
    return platform::Utf8ToGb18030(utf8);
}

} // namespace orv::test

#include "LinkRouterSupport.h"

#include "app/common/PathHelpers.h"
#include "builder/GalleryManifest.h"
#include "support/GalleryFixture.h"

namespace orv::test {

namespace {

const char* kManifest = R"json({
  "name": "Mech",
  "gallery": {"name": "机械图库"},
  "sourceEncoding": "utf-8",
  "specialities": [{"id": 1, "name": "紧固件", "path": "\\Fasten"}],
  "directories": [
    {"id": 1, "spec": 1, "name": "螺栓", "path": "\\Bolts", "content": "bolts.htm", "visible": 2},
    {"id": 2, "spec": 1, "parent": 1, "name": "六角头螺栓", "path": "\\Bolts", "content": "HEX(A1)",
     "compressed": 1, "visible": 1},
    {"id": 3, "spec": 1, "name": "O'Brien", "path": "\\Q"}
  ],
  "drawings": [{"id": 10, "dir": 2, "name": "M12"}],
  "files": [
    {"path": "Fasten\\Bolts\\bolts.htm", "text": "<html><body>bolts</body></html>"},
    {"path": "Fasten\\Bolts\\HEX.htz", "members": [
      {"name": "A1.htm", "text": "<html><body><a href=\"B.htm#s\">B</a></body></html>"},
      {"name": "B.htm", "text": "<html><body><img src=\"B.files/b.gif\"><a name=\"s\"></a></body></html>"}
    ]},
    {"path": "Fasten\\Bolts\\HEX_files.flz", "members": [{"name": "B.files\\b.gif", "text": "GIF89a"}]},
    {"path": "Fasten\\Bolts\\C.htm", "text": "<html><body>beside</body></html>"},
    {"path": "Fasten\\Bolts\\A1.files\\pic.gif", "text": "GIF89a"}
  ]
})json";

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

void LinkRouterTest::SetUp()
{
    GalleryManifest manifest;
    std::string error;
    ASSERT_TRUE(ParseGalleryManifest(kManifest, m_dir.Program(), manifest, error)) << error;
    m_gallery = BuildSqliteGallery(m_dir, manifest);
    ASSERT_FALSE(m_gallery.empty());
    m_pages = m_gallery.substr(0, m_gallery.size() - 4) + "\\Fasten\\Bolts";
    m_package = m_pages + "\\HEX.HTZ";

    m_state.AppPath = m_dir.ProgramAt("app");
    WriteFile(m_dir.NativeAt("app/HomePage/Index.htm"), "<html></html>");
    WriteFile(m_dir.NativeAt("app/tool.exe"), "#!/bin/sh\n");
    m_state.LibPath = GetFolderPart(m_gallery);
    m_state.GalleryFiles = { m_gallery, m_state.LibPath + "\\Elec.gal" };
    m_state.CurrentGallery = 0;
    ASSERT_EQ(m_state.Database.ConnectDatabase(m_gallery, kGalleryPassword), 0);
    m_state.DatabaseOpen = true;
    m_view.TempFolder = Upper(GetTempFolder());
}

void LinkRouterTest::ShowPackagePage()
{
    m_view.PackagePath = m_package;
    m_view.PageName = "A1.htm";
    m_view.ShowingPackagePage = true;
    m_view.LastUrl = DefaultPagePath(m_view);
    m_state.CurrentHistoryKey = m_pages + "\\HEX(A1).htz";
}

std::vector<std::string> LinkRouterTest::Describe(const std::vector<ViewAction>& actions)
{
    using Kind = ViewAction::Kind;
    std::vector<std::string> lines;
    for (const ViewAction& a : actions) {
        switch (a.What) {
        case Kind::Navigate:
            lines.push_back("navigate " + a.Text);
            break;
        case Kind::Message:
            lines.push_back("message " + a.Caption + " " + std::to_string(a.Icon) + " " + a.Text);
            break;
        case Kind::SelectDirectory:
            lines.push_back("select-dir " + std::to_string(a.DirId));
            break;
        case Kind::OpenGallery:
            lines.push_back("open-gallery " + a.Text + " " + a.Caption);
            break;
        case Kind::Run:
            lines.push_back("run " + a.Text);
            break;
        case Kind::Refused:
            lines.push_back("refused");
            break;
        case Kind::InsertDrawing:
            lines.push_back("insert " + std::to_string(a.DirId));
            break;
        case Kind::ShowPicture:
            lines.push_back("picture " + a.Text + a.Caption);
            break;
        case Kind::External:
            lines.push_back("external " + a.Text);
            break;
        case Kind::History:
            lines.push_back("history " + std::to_string(a.DirId) + " " + a.Text);
            break;
        }
    }
    return lines;
}

} // namespace orv::test

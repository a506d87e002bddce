#include "CadLinkFixture.h"

#include "builder/GalleryManifest.h"
#include "cadlink/CadText.h"
#include "navigation/GalleryOpening.h"
#include "support/GalleryFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace orv::test {
namespace {

ManifestDrawing Drawing(std::int32_t id, int driver, const std::string& file, const std::string& caption,
    const std::string& status, std::optional<ManifestDimDriver> dim = std::nullopt)
{
    ManifestDrawing drawing;
    drawing.Id = id;
    drawing.Dir = 1;
    drawing.Name = "D" + std::to_string(id);
    drawing.Caption = caption;
    drawing.Status1 = status;
    drawing.PathGiven = true;
    drawing.Path = std::string("\\Parts");
    drawing.File = file;
    drawing.Driver = driver;
    drawing.DimDriver = std::move(dim);
    return drawing;
}

ManifestAction Action(std::int32_t dir, std::int32_t drawing, const std::string& app, const std::string& func,
    const std::string& para)
{
    ManifestAction action;
    action.Dir = dir;
    action.Drawing = drawing;
    action.App = app;
    action.Func = func;
    action.Para = para;
    return action;
}

} // namespace

void CadLinkTest::SetUp()
{
    WriteFile(m_dir.NativeAt("runtime/.keep"), "");
    ::chmod(m_dir.NativeAt("runtime").c_str(), 0700);
    m_runtime = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", m_dir.NativeAt("runtime"));
    m_cache = std::make_unique<ScopedEnv>("XDG_CACHE_HOME", m_dir.NativeAt("cache"));
    m_relayLog = std::make_unique<ScopedEnv>("ORV_RELAY_LOG", m_dir.NativeAt("relay.log"));
    m_pluginLog = std::make_unique<ScopedEnv>("ORV_TEST_PLUGIN_LOG", m_dir.NativeAt("plugin.log"));

    GalleryManifest manifest;
    manifest.Name = "Demo";
    manifest.GalleryName = "演示图库";
    manifest.FullTextForm = GalleryManifest::FullText::None;
    manifest.Specialities.push_back({ 1, std::string("专业"), std::string("\\Spec"), 0 });
    for (std::int32_t dir = 1; dir <= 9; ++dir)
        manifest.Directories.push_back(MakeDirectory(dir, 0, 1, "目录" + std::to_string(dir)));
    const ManifestDimDriver dim1 { std::string("OrvMech"), std::string("Unused"), std::string("GB.drv"),
        std::string("M12") };
    const ManifestDimDriver dim2 { std::string("A2"), std::string("Drv2"), std::string("P2.drv"),
        std::string("N2") };
    const ManifestDimDriver dim3 { std::string("A3"), std::string("Drv3"), std::string("P3.drv"),
        std::string("N3") };
    const ManifestDimDriver dim4 { std::string("A4"), std::string("Drv4"), std::string(""),
        std::string("N4") };
    manifest.Drawings = {
        Drawing(1, 0, "M12.dwg", "螺栓 M12", "GB/T 5782"),
        Drawing(2, 1, "plain.DWG", "螺栓", "GB", dim1),
        Drawing(3, 2, "p.dwg", "法兰", "", dim2),
        Drawing(4, 4, "s.dwg", "轴", "", dim4),
        Drawing(5, 2, "n.dwg", "无定义", "", std::nullopt),
        Drawing(6, 3, "b.dwg", "轴承", "6204", dim3),
        Drawing(7, 0, "PACK(member.dwg).DWZ", "包内", "", std::nullopt),
        Drawing(8, 0, "bad.dwg", "类型五", "", std::nullopt),
        Drawing(9, 0, "neg.dwg", "类型负一", "", std::nullopt),
        Drawing(10, 1, "q\"\\).dwg", "A\"B\\C)", "x\"y乗", std::nullopt),
        Drawing(11, 0, "line.dwg", "两行", "", std::nullopt),
    };
    // Driver programs named so that they would leave the application folder.
    std::int32_t id = 20;
    for (const char* fun : { "..\\Support\\Drv4", "a/b", "C:Drv2", "\\Drv2" })
        manifest.Drawings.push_back(Drawing(id++, 2, "r.dwg", "拒绝", "",
            ManifestDimDriver {
                std::string("A"), std::string(fun), std::string("P.drv"), std::string("N") }));
    manifest.Actions = {
        Action(1, 0, "tools\\Act.exe", "-x \"a b\"", ""),
        Action(1, 1, "calc.dll", "RecordText", "3,<root>\\a"),
        Action(2, 0, "..\\app\\tools\\Act.exe", "", ""),
        Action(3, 0, "\\tools\\Act.exe", "", ""),
        Action(4, 0, "C:\\tools\\Act.exe", "", ""),
        Action(5, 0, "tools/Act.exe", "", ""),
        Action(6, 0, "ORVBookLib\\Run.exe", "", ""),
        Action(7, 0, "", "ignored", ""),
    };
    m_gallery = BuildSqliteGallery(m_dir, manifest, "app\\ORVBookLib");
    ASSERT_FALSE(m_gallery.empty());
    ExecGallerySql(m_gallery,
        "UPDATE DrawingList SET DriverType = 5 WHERE DrawingID = 8;"
        "UPDATE DrawingList SET DriverType = -1 WHERE DrawingID = 9;"
        "UPDATE DrawingList SET DrawingCaption = 'a' || char(10) || 'b' WHERE DrawingID = 11;");

    m_state.AppPath = App();
    m_state.IniPath = App() + "\\ORVBook.ini";
    m_state.LibPath = App() + "\\ORVBookLib";
    m_state.GalleryFiles = { m_gallery };
    m_state.GalleryNames = { "演示图库" };
    OpenGallery(m_state, 0);
    ASSERT_TRUE(m_state.DatabaseOpen);

    AddRecorder("CadRelay.Exe");
    AddRecorder("ORVMTools/SupportProE/Drv2.exe");
    AddRecorder("ORVMTools/Support/Drv4.exe");
    AddRecorder("tools/Act.exe");
    AddRecorder("ORVBookLib/Run.exe");
    WriteFile(Native("calc.dll"), "");
    std::filesystem::copy_file(
        ORV_TEST_PLUGIN_PATH, Native("calc.dll"), std::filesystem::copy_options::overwrite_existing);
}

void CadLinkTest::AddRecorder(const std::string& relative)
{
    WriteFile(Native(relative), "");
    std::filesystem::copy_file(
        ORV_TEST_RECORDER_PATH, Native(relative), std::filesystem::copy_options::overwrite_existing);
    ::chmod(Native(relative).c_str(), 0755);
}

bool CadLinkTest::Recorded(const std::string& relative) const
{
    return ::access((Native(relative) + ".rec").c_str(), F_OK) == 0;
}

std::string CadLinkTest::Record(const std::string& relative) const
{
    const std::string path = Native(relative) + ".rec";
    for (int i = 0; i < 500; ++i) {
        if (::access(path.c_str(), F_OK) == 0) {
            std::string text = ReadFile(path);
            if (text.size() >= 4 && text.compare(text.size() - 4, 4, "end\n") == 0)
                return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "(no record)";
}

void CadLinkTest::AddRelay(const std::string& name, bool withExport)
{
    WriteFile(Native(name), "");
    std::filesystem::copy_file(withExport ? ORV_TEST_RELAY_PATH : ORV_TEST_PLUGIN_PATH, Native(name),
        std::filesystem::copy_options::overwrite_existing);
}

std::string CadLinkTest::RelayLog() const
{
    const std::string path = m_dir.NativeAt("relay.log");
    return ::access(path.c_str(), F_OK) == 0 ? ReadFile(path) : std::string();
}

void CadLinkTest::ClearLogs()
{
    ::unlink(m_dir.NativeAt("relay.log").c_str());
    ::unlink(m_dir.NativeAt("plugin.log").c_str());
    for (const char* program : { "CadRelay.Exe", "ORVMTools/SupportProE/Drv2.exe",
             "ORVMTools/Support/Drv4.exe", "tools/Act.exe", "ORVBookLib/Run.exe" })
        ::unlink((Native(program) + ".rec").c_str());
}

std::string StartRecord(const std::string& cwd, const std::string& argumentBytes)
{
    return "cwd " + cwd + "\narg " + PercentEscapeControls(argumentBytes) + "\nend\n";
}

} // namespace orv::test

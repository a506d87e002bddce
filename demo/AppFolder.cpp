#include "AppFolder.h"

#include "GalleryGenerator.h"
#include "app/common/ProfileFile.h"
#include "app/common/TextHelpers.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orv::demo {
namespace {

namespace fs = std::filesystem;

struct Setting {
    const char* section;
    const char* key;
    std::string value;
};

bool WriteProfile(const fs::path& path, const std::vector<Setting>& settings, std::string& error)
{
    CProfileFile profile(platform::ProgramPath(path.string()));
    for (const auto& s : settings) {
        if (profile.WriteString(s.section, s.key, s.value) != 0) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

bool WriteBytes(const fs::path& path, const std::string& bytes, std::string& error)
{
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

// The tool menu: whitespace-separated "[caption]command" tokens, so neither captions nor
// parameters hold a blank. "->" opens a submenu, "<-" closes it with its last item, "--" is a
// separator; "OpenGallery,NAME" switches to the gallery whose file is NAME.GAL.
const char* const kToolMenu = R"([演示工具]ORVMTools\DemoTool.exe,--menu=demo
[--]
[->计算]
[螺栓连接校核]ORVMTools\DemoTool.exe,--calc=bolt
[轴承寿命估算]ORVMTools\DemoTool.exe,--calc=bearing
[<-平键强度校核]ORVMTools\DemoTool.exe,--calc=key
[--]
[打开机械零件图库]OpenGallery,Mech
[打开电气符号图库]OpenGallery,Elec
[--]
[显示应用目录]ORVMTools\DemoTool.exe,--root=<root>
)";

bool CopyProgram(const fs::path& from, const fs::path& to, std::string& error)
{
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::permissions(to,
            fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
                | fs::perms::others_exec,
            ec);
    if (ec) {
        error = "cannot copy " + from.string() + " to " + to.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool WriteHomePage(const fs::path& app, const AppFolderSettings& settings, std::string& error)
{
    std::ifstream in(settings.HomePageSource, std::ios::binary);
    if (!in) {
        error = "cannot read " + settings.HomePageSource;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string page = text.str();
    const std::pair<std::string, std::string> values[] = {
        { "{{style}}", PageStyle() },
        { "{{version}}", settings.Version },
        { "{{mechDrawings}}", std::to_string(settings.MechDrawings) },
        { "{{mechDirectories}}", std::to_string(settings.MechDirectories) },
        { "{{elecDrawings}}", std::to_string(settings.ElecDrawings) },
    };
    for (const auto& [name, value] : values)
        for (std::size_t at = page.find(name); at != std::string::npos;
             at = page.find(name, at + value.size()))
            page.replace(at, name.size(), value);
    if (page.find("{{") != std::string::npos) {
        error = settings.HomePageSource + ": unknown placeholder";
        return false;
    }
    return WriteBytes(app / "HomePage" / "Index.htm", platform::Utf8ToGb18030(page), error);
}

} // namespace

bool WriteAppFolderFiles(const std::string& appFolder, const AppFolderSettings& settings, std::string& error)
{
    fs::path app(appFolder);
    const std::vector<Setting> ini = {
        { "System", "DriverType", "0" },
        { "System", "AutoExpand", "1" },
        { "Gallery", "AppTitle", "Orv机电工程师手册 演示版" },
        { "Gallery", "CurrectGallery", "0" },
        { "Gallery", "ActiveDirID", "0" },
        { "Gallery", "SplitW", "260" },
        { "Gallery", "ShowDetail", "1" },
        { "Preview", "Row", "3" },
        { "Preview", "Col", "4" },
        { "Preview", "ShowJoin", "0" },
    };
    const std::vector<Setting> toolAddin = {
        { "Add", "Cap", "演示工具" },
        { "Add", "Tip", "运行演示工具程序，显示它收到的参数" },
        { "Add", "ICN", "Support\\DemoTool.ico" },
        { "Add", "EXE", "ORVMTools\\DemoTool.exe" },
        { "Add", "Version", settings.Version },
        { "Add", "ProDate", "2025-06-01" },
    };
    const std::vector<Setting> menuAddin = {
        { "Add", "Cap", "工具菜单" },
        { "Add", "Tip", "演示工具菜单：计算、切换图库" },
        { "Add", "ICN", "Support\\DemoMenu.ico" },
        { "Add", "MNU", "ORVMTools\\DemoTools.mnu" },
        { "Add", "Version", settings.Version },
        { "Add", "ProDate", "2025-06-01" },
    };
    if (!WriteProfile(app / "ORVBook.ini", ini, error)
        || !WriteProfile(app / "DemoTools.add", toolAddin, error)
        || !WriteProfile(app / "DemoMenu.add", menuAddin, error))
        return false;
    if (!WriteLines(platform::ProgramPath((app / "ORVBook.odr").string()), settings.GalleryNames)
        || !WriteLines(platform::ProgramPath((app / "orvBookAddin.lst").string()),
            { "DemoTools.add", "DemoMenu.add" })) {
        error = "cannot write the order or add-in list in " + appFolder;
        return false;
    }
    if (!WriteBytes(app / "ORVMTools" / "DemoTools.mnu", platform::Utf8ToGb18030(kToolMenu), error))
        return false;
    if (!WriteHomePage(app, settings, error))
        return false;
    fs::path tool(settings.ToolProgram);
    // The demo CAD side lies beside the tool: the relay program, the relay libraries under
    // each generation's name, and the add-on library of the drawing actions.
    const fs::path built = tool.parent_path();
    return CopyProgram(tool, app / "ORVMTools" / "DemoTool.exe", error)
        && CopyProgram(built / "orvdemorelay", app / "CadRelay.Exe", error)
        && CopyProgram(built / "orvdemorelaylib.so", app / "CadRelay15.dll", error)
        && CopyProgram(built / "orvdemorelaylib.so", app / "CadRelay16.dll", error)
        && CopyProgram(built / "orvdemorelaylib.so", app / "CadRelay21.dll", error)
        && CopyProgram(built / "orvdemoaddon.so", app / "ORVMTools" / "DemoAddOn.dll", error)
        && CopyProgram(tool, app / "ORVMTools" / "Support" / "DemoDriver.exe", error)
        && CopyProgram(tool, app / "ORVMTools" / "SupportProE" / "DemoDriver.exe", error);
}

} // namespace orv::demo

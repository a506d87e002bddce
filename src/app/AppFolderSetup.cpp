#include "app/AppFolderSetup.h"

#include "app/common/PathHelpers.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace orv {
namespace {

namespace fs = std::filesystem;

// Windows-edition settings a new folder starts with; GB18030 on disk like every ini.
constexpr const char* kDefaultIni = "[System]\r\n"
                                    "DriverType=0\r\n"
                                    "\r\n"
                                    "[Gallery]\r\n"
                                    "AppTitle=Orv机电工程师手册\r\n";

// An absolute native folder as a program path ("/home/u/x/" gives "\home\u\x").
std::string ProgramFolder(const std::string& native, const std::string& base)
{
    fs::path path(native);
    if (path.is_relative() && !base.empty())
        path = fs::path(base) / path;
    std::string normal = path.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return platform::ProgramPath(normal);
}

std::string HomeOfUser()
{
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()))
        if (entry->pw_dir && *entry->pw_dir == '/')
            return entry->pw_dir;
    return {};
}

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Copies what source (native) holds into target (program path), folder by folder, leaving
// every name that target already has in any letter case as it is.
bool CopyMissing(const fs::path& source, const std::string& target, std::string& error)
{
    CreateFolderPath(target);
    if (!platform::FolderExists(target)) {
        error = "无法创建文件夹 " + platform::NativePath(target);
        return false;
    }
    std::error_code ec;
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::string to = target + "\\" + name;
        if (it->is_directory(ec)) {
            if (!CopyMissing(it->path(), to, error))
                return false;
        } else if (it->is_regular_file(ec) && !platform::PathExists(to)) {
            fs::copy_file(it->path(), platform::NativePath(to), ec);
            if (ec) {
                error = "无法复制文件 " + it->path().string() + "：" + ec.message();
                return false;
            }
        }
    }
    if (ec) {
        error = "无法读取文件夹 " + source.string() + "：" + ec.message();
        return false;
    }
    return true;
}

} // namespace

AppFolderInputs AppFolderInputsOfProcess(const std::string& option)
{
    AppFolderInputs inputs;
    inputs.Option = option;
    inputs.Environment = Variable("ORVBOOK_HOME");
    inputs.DataHome = Variable("XDG_DATA_HOME");
    inputs.Home = HomeOfUser();
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (!ec)
        inputs.CurrentFolder = current.string();
    return inputs;
}

std::optional<AppFolderChoice> ChooseAppFolder(const AppFolderInputs& inputs, std::string& error)
{
    AppFolderChoice choice;
    auto named = [&](const std::string& native, AppFolderSource source,
                     const char* what) -> std::optional<AppFolderChoice> {
        choice.Path = ProgramFolder(native, inputs.CurrentFolder);
        choice.Source = source;
        if (!platform::FolderExists(choice.Path)) {
            error = std::string(what) + " 指定的 " + native + " 不是文件夹。";
            return std::nullopt;
        }
        return choice;
    };
    if (!inputs.Option.empty())
        return named(inputs.Option, AppFolderSource::Option, "--app-dir");
    if (!inputs.Environment.empty())
        return named(inputs.Environment, AppFolderSource::Environment, "ORVBOOK_HOME");

    if (!inputs.CurrentFolder.empty()) {
        const std::string current = ProgramFolder(inputs.CurrentFolder, "");
        if (platform::FileExists(current + "\\ORVBook.ini")
            || platform::FolderExists(current + "\\ORVBookLib")) {
            choice.Path = current;
            choice.Source = AppFolderSource::CurrentFolder;
            return choice;
        }
    }

    std::string data;
    if (!inputs.DataHome.empty() && inputs.DataHome[0] == '/')
        data = inputs.DataHome;
    else if (!inputs.Home.empty() && inputs.Home[0] == '/')
        data = inputs.Home + "/.local/share";
    if (data.empty()) {
        error = "找不到用户的主文件夹，无法确定工作目录。";
        return std::nullopt;
    }
    choice.Path = ProgramFolder(data + "/orvbook", "");
    choice.Source = AppFolderSource::UserFolder;
    choice.FirstStart = !platform::FileExists(choice.Path + "\\ORVBook.ini");
    return choice;
}

std::string InstalledDataFolder(const std::string& programNative)
{
    const fs::path program(programNative);
    if (!program.has_parent_path())
        return {};
    const fs::path data = (program.parent_path() / ".." / "share" / "orvbook").lexically_normal();
    std::error_code ec;
    if (!fs::is_directory(data, ec))
        return {};
    return ProgramFolder(data.string(), "");
}

std::string InstalledDataFolder()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : InstalledDataFolder(self.string());
}

bool MakeUserFolder(const std::string& appPath, const std::string& dataFolder, std::string& error)
{
    CreateFolderPath(appPath + "\\ORVBookLib");
    if (!platform::FolderExists(appPath + "\\ORVBookLib")) {
        error = "无法创建文件夹 " + platform::NativePath(appPath + "\\ORVBookLib");
        return false;
    }
    const std::string ini = appPath + "\\ORVBook.ini";
    if (!platform::PathExists(ini) && !platform::AtomicWriteFile(ini, platform::Utf8ToGb18030(kDefaultIni))) {
        error = "无法写入文件 " + platform::NativePath(ini);
        return false;
    }
    if (dataFolder.empty())
        return true;
    for (const char* folder : { "HomePage", "Support" }) {
        const std::string from = platform::NativePath(dataFolder + "\\" + folder);
        std::error_code ec;
        if (fs::is_directory(from, ec) && !CopyMissing(from, appPath + "\\" + folder, error))
            return false;
    }
    return true;
}

bool HasDemoGalleries(const std::string& dataFolder)
{
    return !dataFolder.empty() && !platform::FindFiles(dataFolder + "\\demo\\ORVBookLib", "*.GAL").empty();
}

bool CopyDemoGalleries(
    const std::string& dataFolder, const std::string& appPath, const std::string& libPath, std::string& error)
{
    if (!HasDemoGalleries(dataFolder)) {
        error = platform::NativePath(dataFolder) + " 中没有演示图库。";
        return false;
    }
    if (!CopyMissing(platform::NativePath(dataFolder + "\\demo\\ORVBookLib"), libPath, error))
        return false;
    const std::string order = dataFolder + "\\demo\\ORVBook.odr";
    const std::string target = appPath + "\\ORVBook.odr";
    if (platform::FileExists(order) && !platform::PathExists(target)) {
        std::error_code ec;
        fs::copy_file(platform::NativePath(order), platform::NativePath(target), ec);
        if (ec) {
            error = "无法复制文件 " + platform::NativePath(order) + "：" + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace orv

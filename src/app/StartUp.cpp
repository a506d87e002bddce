#include "app/StartUp.h"

#include "app/AppFolderSetup.h"
#include "app/GalleryList.h"
#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "app/common/ProfileFile.h"
#include "app/common/TextHelpers.h"
#include "platform/Paths.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace orv {
namespace {

std::string WithoutTrailingBackslash(std::string path)
{
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string ToUpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

bool IsAbsoluteProgramPath(const std::string& path)
{
    return (!path.empty() && path[0] == '\\') || (path.size() >= 2 && path[1] == ':');
}

int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

std::string NoGalleryMessage()
{
    return std::string("当前没有任何内容，可能由以下原因引起：")
        + "\n.您没有安装任何产品数据，请退出后运行产品安装"
        + "\n.您的工作目录为网络目录，请确认在当前的环境中能够看到网络工作目录"
        + "\n.您的用户权限中没有安转软件的权限，请在登录为具有管理员权限安转软件"
        + "\n.您的操作系统中数据库环境有错误，请运行安装光盘中\\Support目录下的修复工具(需要管理员权限)"
        + "\n.其它未知错误";
}

std::optional<std::string> ResolveAppPath(const std::string& appDirOption, std::string& error)
{
    const std::optional<AppFolderChoice> choice
        = ChooseAppFolder(AppFolderInputsOfProcess(appDirOption), error);
    if (!choice)
        return std::nullopt;
    if (choice->Source == AppFolderSource::UserFolder) {
        CreateFolderPath(choice->Path);
        if (!platform::FolderExists(choice->Path)) {
            error = "cannot create " + platform::NativePath(choice->Path);
            return std::nullopt;
        }
    }
    return choice->Path;
}

void LoadSettings(ReaderState& state, const std::string& appPath)
{
    state.AppPath = WithoutTrailingBackslash(appPath);
    state.ToolbarBackPath = state.AppPath + "\\Support\\TBBack.bmp";
    state.IniPath = state.AppPath + "\\" + "ORVBook.ini";
    CProfileFile ini(state.IniPath);

    int driverType = 0;
    state.DriverType = ini.ReadInt("System", "DriverType", driverType) == 0 && driverType == 1 ? 1 : 0;
    state.Database.DriverType = state.DriverType;

    state.AppTitle = "Orv机电工程师手册";
    std::string text;
    if (ini.ReadString("Gallery", "AppTitle", text) == 0)
        state.AppTitle = text;

    state.LibPath = state.AppPath + "\\ORVBookLib";
    if (ini.ReadString("Gallery", "GalleryPath", text) == 0) {
        std::string path = ReplaceAll(ToUpperAscii(text), "<APPPATH>", state.AppPath);
        // Windows resolved a relative value against the current folder, which was AppPath.
        if (!IsAbsoluteProgramPath(path))
            path = state.AppPath + "\\" + path;
        while (path.size() > 1 && path.back() == '\\')
            path.pop_back();
        state.LibPath = path;
    }
}

std::vector<std::string> CollectAddins(const std::string& appPath)
{
    std::vector<std::string> addins;
    const std::string listPath = appPath + "\\orvBookAddin.lst";
    if (platform::FileExists(listPath)) {
        std::vector<std::string> lines;
        ReadLines(listPath, lines);
        for (std::string& name : lines)
            if (platform::FileExists(appPath + "\\" + name))
                addins.push_back(std::move(name));
        return addins;
    }
    return platform::FindFiles(appPath, "*.add");
}

void RestoreState(ReaderState& state)
{
    CProfileFile ini(state.IniPath);
    const int count = static_cast<int>(state.GalleryNames.size());
    state.CurrentGallery = count > 0 ? 0 : -1;
    int stored = 0;
    if (count > 1 && ini.ReadInt("Gallery", "CurrectGallery", stored) == 0 && stored >= 0 && stored < count)
        state.CurrentGallery = stored;

    double dirId = 0;
    if (ini.ReadDouble("Gallery", "ActiveDirID", dirId) != 0)
        dirId = 0;
    state.CurrentDirID = TruncateToInt(dirId);

    int splitW = 0;
    if (ini.ReadInt("Gallery", "SplitW", splitW) == 0 && splitW > 5)
        state.SplitW = splitW;

    state.AddinList = CollectAddins(state.AppPath);
}

StartUpResult StartUp(ReaderState& state, const std::string& appPath)
{
    std::string notice;
    return StartUp(state, appPath, std::string(), notice);
}

StartUpResult StartUp(
    ReaderState& state, const std::string& appPath, const std::string& galleryFile, std::string& notice)
{
    LoadSettings(state, appPath);
    LoadGalleryList(state);
    const int chosen = galleryFile.empty() ? -1 : AddGalleryFile(state, galleryFile, notice);
    if (state.GalleryNames.empty())
        return StartUpResult::NoGallery;
    RestoreState(state);
    if (chosen >= 0 && chosen != state.CurrentGallery) {
        state.CurrentGallery = chosen;
        // The remembered directory belongs to the remembered gallery.
        state.CurrentDirID = 0;
    }
    return StartUpResult::Ready;
}

bool SaveState(const ReaderState& state)
{
    std::vector<ProfileValue> values {
        { "Gallery", "SplitW", std::to_string(state.SplitW) },
        { "Gallery", "TabIndex", std::to_string(state.TabIndex) },
    };
    const bool listed = state.CurrentGallery >= 0
        && static_cast<std::size_t>(state.CurrentGallery) < state.GalleryFiles.size();
    if (!listed || IsLibraryGallery(state, state.CurrentGallery)) {
        values.insert(values.begin(),
            { { "Gallery", "CurrectGallery", std::to_string(state.CurrentGallery) },
                { "Gallery", "ActiveDirID", std::to_string(state.CurrentDirID) } });
    }
    return CProfileFile(state.IniPath).WriteStrings(values) == 0;
}

bool ShutDown(ReaderState& state)
{
    DeleteFolderTree(GetTempFolder());
    state.Database.CloseConnection();
    return SaveState(state);
}

} // namespace orv

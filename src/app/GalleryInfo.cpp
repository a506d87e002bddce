#include "app/GalleryInfo.h"

#include "app/MainCommands.h"
#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "platform/Paths.h"

namespace orv {
namespace {

std::string WithoutTrailingBackslashes(std::string path)
{
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

std::vector<GalleryRow> ListGalleryInfo(const ReaderState& state, const std::string& workDir)
{
    return FindGalleries(workDir, state.DriverType);
}

std::vector<GalleryRow> ListAddinInfo(const ReaderState& state)
{
    std::vector<GalleryRow> rows;
    for (const AddinInfo& addin : ReadAddins(state))
        rows.push_back({ state.AppPath + "\\" + addin.File, addin.Caption, addin.Version, addin.ProDate });
    return rows;
}

std::string WorkDirDisplay(const ReaderState& state, const std::string& workDir)
{
    return platform::EqualsNoCase(workDir, state.AppPath) ? kCurrentWorkDirText : workDir;
}

std::string ChooseWorkDir(const ReaderState& state, const std::string& pickedFolder, bool* written)
{
    std::string workDir = WithoutTrailingBackslashes(pickedFolder);
    bool ok = CProfileFile(state.IniPath).WriteString("Gallery", "GalleryPath", workDir) == 0;
    if (written)
        *written = ok;
    return workDir;
}

bool ConfirmWorkDir(ReaderState& state, const std::string& editText, bool* written)
{
    if (written)
        *written = true;
    std::string folder
        = editText == kCurrentWorkDirText ? state.AppPath : WithoutTrailingBackslashes(editText);
    if (platform::EqualsNoCase(folder, state.LibPath))
        return false;
    state.LibPath = folder;
    const std::string stored = platform::EqualsNoCase(folder, state.AppPath) ? "" : folder;
    bool ok = CProfileFile(state.IniPath).WriteString("Gallery", "GalleryPath", stored) == 0;
    if (written)
        *written = ok;
    LoadGalleryList(state);
    // Without a gallery the old index would point past the emptied list.
    state.CurrentGallery = state.GalleryNames.empty() ? -1 : 0;
    state.CurrentDirID = 0;
    return true;
}

} // namespace orv

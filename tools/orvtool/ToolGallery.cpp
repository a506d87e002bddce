// Opening a gallery for the commands that act as the reader does on an open gallery.

#include "Command.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "navigation/GalleryOpening.h"
#include "platform/Paths.h"

namespace orv::tool {

bool OpenToolGallery(ReaderState& state, const std::string& gallery, const std::string& appDir)
{
    QuietMessages quiet;
    state.AppPath = ToolAppFolder(appDir);
    state.IniPath = state.AppPath + "\\ORVBook.ini";
    const std::string path = AbsoluteProgramPath(gallery);
    // The galleries beside it stand for the gallery list, so "GL=" links can name them.
    state.LibPath = GetFolderPart(path);
    state.GalleryFiles.clear();
    for (const std::string& name : platform::FindFiles(state.LibPath, "*.gal"))
        state.GalleryFiles.push_back(state.LibPath + "\\" + name);
    int current = -1;
    for (std::size_t i = 0; i < state.GalleryFiles.size(); ++i)
        if (platform::EqualsNoCase(state.GalleryFiles[i], path))
            current = static_cast<int>(i);
    if (current < 0) {
        state.GalleryFiles.push_back(path);
        current = static_cast<int>(state.GalleryFiles.size() - 1);
    }
    state.GalleryNames.assign(state.GalleryFiles.size(), std::string());
    OpenGallery(state, current);
    if (!state.DatabaseOpen) {
        Fail("cannot open " + platform::NativePath(path) + ": " + state.Database.LastError());
        return false;
    }
    return true;
}

}  // namespace orv::tool

#include "navigation/GalleryOpening.h"

#include "app/ReaderState.h"
#include "database/AdoRecordset.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

namespace orv {
namespace {

// The tree cache beside the database: the path upper-cased with its ".GAL" made ".Lst". Only
// the extension is replaced: a folder named "X.GAL" stays where it is.
std::string TreeCachePathOf(const std::string& galleryFile)
{
    std::string path = galleryFile;
    for (char& c : path)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".GAL") == 0)
        path.replace(path.size() - 4, 4, ".Lst");
    return path;
}

// The file name without its four-character extension.
std::string GalleryFileTitle(const std::string& galleryFile)
{
    std::size_t slash = galleryFile.rfind('\\');
    std::string name = slash == std::string::npos ? galleryFile : galleryFile.substr(slash + 1);
    if (name.size() > 4 && name[name.size() - 4] == '.')
        name.resize(name.size() - 4);
    return name;
}

void ReadCaptions(ReaderState& state)
{
    static const char* const kNames[] = { "Status1", "AppClass", "FunClass", "ShpClass" };
    CAdoRecordset records;
    if (records.OpenSql("Select * from GalleryTitle", state.Database) != 0)
        return;
    int matched = 0;
    for (; !records.IsEOF() && matched < 4; records.MoveNext()) {
        const std::string name = records.GetString("TitleName");
        for (int i = 0; i < 4; ++i) {
            if (platform::EqualsNoCase(name, kNames[i])) {
                state.ColumnCaptions[static_cast<std::size_t>(i)] = records.GetString("TitleCaption");
                ++matched;
                break;
            }
        }
    }
    records.Close();
}

} // namespace

void OpenGallery(ReaderState& state, int s)
{
    state.TreeCachePath.clear();
    state.DatabaseOpen = false;
    state.Database.CloseConnection();
    state.ColumnCaptions = { "内容1", "内容2", "内容3", "内容4" };
    state.History.Clear();
    // Without an open gallery nothing may land in the previous gallery's history file.
    state.HistoryIniPath.clear();
    state.GalleryHasDrawings = false;
    if (s < 0 || static_cast<std::size_t>(s) >= state.GalleryFiles.size())
        return;
    state.CurrentGallery = s;
    const std::string& file = state.GalleryFiles[static_cast<std::size_t>(s)];
    state.TreeCachePath = TreeCachePathOf(file);

    state.Database.DriverType = state.DriverType;
    int rc = state.Database.ConnectDatabase(file, kGalleryPassword);
    if (rc != 0 && state.DriverType == 1)
        rc = state.Database.ConnectDatabase(file, kGalleryPassword);
    if (rc != 0) {
        platform::ShowMessage(file, kOpenGalleryCaption, platform::MessageKind::Warning);
    } else {
        state.DatabaseOpen = true;
        CAdoRecordset drawings;
        state.GalleryHasDrawings
            = drawings.OpenSql("Select DrawingID from DrawingList", state.Database) == 0 && !drawings.IsEOF();
        drawings.Close();
        ReadCaptions(state);
    }
    state.HistoryIniPath = state.AppPath + "\\" + GalleryFileTitle(file) + ".HIS";
}

} // namespace orv

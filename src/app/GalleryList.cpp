#include "app/GalleryList.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "app/common/TextHelpers.h"
#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace orv {
namespace {

constexpr std::uint64_t kMaxOrderFileBytes = 16ull * 1024 * 1024;

// A name as it reads back from its line: a line break inside a name would split it into
// lines that never match, and the name would be appended again at every start.
std::string OrderLine(const std::string& name)
{
    std::string line = name;
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    return line;
}

int Connect(CAdoConnection& connection, const std::string& file, int driverType)
{
    connection.DriverType = driverType;
    int rc = connection.ConnectDatabase(file, kGalleryPassword);
    if (rc != 0 && driverType == 1)
        rc = connection.ConnectDatabase(file, kGalleryPassword);
    return rc;
}

} // namespace

bool ReadGalleryRow(const std::string& galleryFile, int driverType, GalleryRow& row)
{
    CAdoConnection connection;
    if (Connect(connection, galleryFile, driverType) != 0)
        return false;
    CAdoRecordset records;
    bool found = false;
    if (records.OpenSql("Select * from Gallery", connection) == 0 && !records.IsEOF()) {
        row.File = galleryFile;
        row.Name = records.GetString("GalleryName");
        row.Version = records.GetString("GalleryVersion");
        row.Date = records.GetString("CreateDate");
        found = true;
    }
    records.Close();
    connection.CloseConnection();
    return found;
}

std::vector<GalleryRow> FindGalleries(const std::string& folder, int driverType)
{
    std::vector<GalleryRow> rows;
    for (const std::string& name : platform::FindFiles(folder, "*.GAL")) {
        GalleryRow row;
        if (ReadGalleryRow(folder + "\\" + name, driverType, row))
            rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> OrderGalleries(const std::vector<std::string>& orderLines,
    std::vector<std::string>& names, std::vector<std::string>& files)
{
    std::vector<std::string> orderedNames, orderedFiles;
    for (const std::string& line : orderLines) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (platform::EqualsNoCase(OrderLine(names[i]), line)) {
                orderedNames.push_back(std::move(names[i]));
                orderedFiles.push_back(std::move(files[i]));
                names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
                files.erase(files.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
        }
    }
    std::vector<std::string> appended;
    for (std::size_t i = 0; i < names.size(); ++i) {
        // An empty line is skipped when read, so an unnamed gallery would be appended again
        // at every start; it is listed all the same.
        if (!names[i].empty())
            appended.push_back(OrderLine(names[i]));
        orderedNames.push_back(std::move(names[i]));
        orderedFiles.push_back(std::move(files[i]));
    }
    names = std::move(orderedNames);
    files = std::move(orderedFiles);
    return appended;
}

bool LoadGalleryList(ReaderState& state)
{
    state.GalleryNames.clear();
    state.GalleryFiles.clear();
    for (GalleryRow& row : FindGalleries(state.LibPath, state.DriverType)) {
        state.GalleryNames.push_back(std::move(row.Name));
        state.GalleryFiles.push_back(std::move(row.File));
    }
    if (state.GalleryNames.empty())
        return true;

    const std::string orderPath = state.AppPath + "\\ORVBook.odr";
    std::string bytes;
    std::vector<std::string> lines;
    if (platform::FileExists(orderPath)) {
        auto existing = platform::ReadFileBytes(orderPath, kMaxOrderFileBytes);
        if (!existing)
            return false; // unreadable: appending would lose what it holds
        bytes = std::move(*existing);
        ReadLines(orderPath, lines);
    }
    std::vector<std::string> appended = OrderGalleries(lines, state.GalleryNames, state.GalleryFiles);
    if (appended.empty() && platform::FileExists(orderPath))
        return true;

    // New lines follow the file's own encoding; a file without a final line end gets one
    // first, or the first new name would join the last line.
    bool utf8 = !platform::IsAscii(bytes) && platform::LooksLikeUtf8(bytes);
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += '\n';
    for (const std::string& name : appended)
        bytes += (utf8 ? name : platform::Utf8ToGb18030(name)) + "\n";
    return platform::AtomicWriteFile(orderPath, bytes);
}

int AddGalleryFile(ReaderState& state, const std::string& galleryFile, std::string& error)
{
    // The same file may be named through a link or in another letter case.
    const std::optional<platform::FileIdentity> wanted = platform::IdentityOf(galleryFile);
    if (!wanted || !platform::FileExists(galleryFile)) {
        error = "未找到图库文件" + platform::NativePath(galleryFile) + "！";
        return -1;
    }
    for (std::size_t i = 0; i < state.GalleryFiles.size(); ++i) {
        const auto listed = platform::IdentityOf(state.GalleryFiles[i]);
        if (listed && listed->device == wanted->device && listed->inode == wanted->inode)
            return static_cast<int>(i);
    }
    GalleryRow row;
    if (!ReadGalleryRow(galleryFile, state.DriverType, row)) {
        error = platform::NativePath(galleryFile) + "不是可以打开的图库文件。";
        return -1;
    }
    state.GalleryNames.push_back(std::move(row.Name));
    state.GalleryFiles.push_back(galleryFile);
    return static_cast<int>(state.GalleryFiles.size() - 1);
}

bool IsLibraryGallery(const ReaderState& state, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= state.GalleryFiles.size())
        return false;
    const auto folder
        = platform::IdentityOf(GetFolderPart(state.GalleryFiles[static_cast<std::size_t>(index)]));
    const auto library = platform::IdentityOf(state.LibPath);
    return folder && library && folder->device == library->device && folder->inode == library->inode;
}

bool SelectGalleryByFile(ReaderState& state, const std::string& name)
{
    const std::string wanted = name + ".gal";
    for (std::size_t i = 0; i < state.GalleryFiles.size(); ++i) {
        const std::string& file = state.GalleryFiles[i];
        std::size_t slash = file.rfind('\\');
        std::string fileName = slash == std::string::npos ? file : file.substr(slash + 1);
        if (!platform::EqualsNoCase(fileName, wanted))
            continue;
        if (static_cast<int>(i) == state.CurrentGallery)
            return false;
        state.CurrentGallery = static_cast<int>(i);
        return true;
    }
    return false;
}

int SelectGalleryByFile(
    ReaderState& state, const std::string& name, const std::function<void()>& gallerySwitch)
{
    if (!SelectGalleryByFile(state, name) || !gallerySwitch)
        return -1;
    gallerySwitch();
    return 0;
}

} // namespace orv

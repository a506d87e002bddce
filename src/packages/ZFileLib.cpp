#include "packages/ZFileLib.h"

#include "app/common/PathHelpers.h"
#include "packages/Compression.h"
#include "packages/NativeFile.h"
#include "platform/Paths.h"

#include <zlib.h>

#include <algorithm>

namespace orv {

CZFileLib::CZFileLib(std::string dataPath)
    : CFileLib(std::move(dataPath))
    , m_tempFolder(GetTempFolder())
{
}

bool CZFileLib::ExtractFile(const std::string& name, std::string& targetPath)
{
    // The member is inflated straight from the data file: a shared temporary copy could be
    // overwritten by a second extraction started while this one dispatches window events.
    NativeFile data;
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    if (!LocateMember(name, data, offset, size))
        return false;
    NativeFile target = OpenTarget(name, targetPath);
    if (!target.IsOpen())
        return false;
    int code = InflateFileRange(
        data, offset, size, [&target](const char* bytes, std::size_t n) { return target.WriteAll(bytes, n); },
        kMaxDecompressedFile);
    std::string native = target.NativePath();
    if (!target.Close() || code != Z_OK) {
        RemoveNativeFile(native);
        return false;
    }
    return true;
}

bool CZFileLib::InflateMember(const std::string& name, std::string& bytes, std::uint64_t maxBytes) const
{
    bytes.clear();
    NativeFile data;
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    if (!LocateMember(name, data, offset, size))
        return false;
    // Pages compress about 4:1; one guess saves most of the regrowing.
    bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t(size) * 4, maxBytes)));
    int code = InflateFileRange(
        data, offset, size,
        [&bytes](const char* chunk, std::size_t n) {
            bytes.append(chunk, n);
            return true;
        },
        maxBytes);
    if (code != Z_OK) {
        bytes.clear();
        return false;
    }
    return true;
}

std::string CZFileLib::MemberFolderFor(const std::string& sourcePath, int folderDepth)
{
    if (folderDepth <= 0 || sourcePath.find('\\') == std::string::npos)
        return std::string();
    std::string folder = GetFolderPart(sourcePath);
    std::size_t end = folder.size();
    for (int met = 0; end > 0;) {
        std::size_t slash = folder.rfind('\\', end - 1);
        if (slash == std::string::npos)
            break;
        if (++met == folderDepth)
            return folder.substr(slash + 1);
        end = slash;
    }
    std::size_t first = folder.find('\\');
    return first == std::string::npos ? std::string() : folder.substr(first + 1);
}

bool CZFileLib::AddFile(const std::string& sourcePath, int folderDepth)
{
    std::string memberName
        = JoinMemberName(MemberFolderFor(sourcePath, folderDepth), GetFileNamePart(sourcePath));
    // A private, uniquely named copy: the member name comes from the source, not the copy.
    NativeFile copy = NativeFile::CreateUnique(m_tempFolder + "\\ORVAdd-");
    if (!copy.IsOpen())
        return false;
    std::string copyNative = copy.NativePath();
    copy.Close();
    std::string copyPath = platform::ProgramPath(copyNative);
    bool ok = CompressFile(sourcePath, copyPath) == Z_OK && AppendMember(copyPath, memberName);
    RemoveNativeFile(copyNative);
    return ok;
}

bool CZFileLib::BuildCompressedLibraryBytes(const std::vector<std::pair<std::string, std::string>>& members,
    std::string& data, std::string& index, std::string& error)
{
    std::vector<std::pair<std::string, std::string>> stored;
    stored.reserve(members.size());
    for (const auto& [name, bytes] : members) {
        std::string blob;
        if (DeflateBytes(bytes, blob) != Z_OK) {
            error = "member " + name + " cannot be compressed";
            return false;
        }
        stored.emplace_back(name, std::move(blob));
    }
    return CFileLib::BuildLibraryBytes(stored, data, index, error);
}

} // namespace orv

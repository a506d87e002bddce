#include "packages/FileLib.h"

#include "app/common/PathHelpers.h"
#include "platform/EventPump.h"
#include "packages/NativeFile.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace orv {
namespace {

constexpr std::size_t kCopyBufferSize = 256 * 1024;
// The index is read through a buffer of this size, so a longer line arrives in pieces.
constexpr int kIndexLineBuffer = 511;
// Member blobs must stay addressable by 32-bit offsets and sizes that the index writes as
// signed decimals.
constexpr std::uint64_t kMaxMemberSize = std::numeric_limits<std::int32_t>::max();
constexpr std::uint64_t kMaxDataSize = std::numeric_limits<std::uint32_t>::max();

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// atoi as the index was always read: leading blanks, a sign, digits up to the first other
// character. The value is kept as the unsigned 32-bit count the index stands for, so "-1"
// is 4294967295 (which no data file can hold).
std::uint32_t ParseSize(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    std::uint64_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10 + static_cast<std::uint64_t>(*text++ - '0');
        if (value > kMaxDataSize)
            value = kMaxDataSize + 1; // saturate; reading goes on to the end of the digits
    }
    if (value > kMaxDataSize)
        return negative ? 0x80000000u : std::numeric_limits<std::uint32_t>::max();
    return negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value))
                    : static_cast<std::uint32_t>(value);
}

std::string IndexEntry(const std::string& name, std::uint32_t size)
{
    return platform::Utf8ToGb18030(name) + "\r\n" + std::to_string(static_cast<std::int32_t>(size)) + "\r\n";
}

// Whether a name can be written to the index and read back as the same single line.
bool IsStorableName(const std::string& name)
{
    if (name.empty() || name[0] == ';' || name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return false;
    return platform::Utf8ToGb18030(name).size() < static_cast<std::size_t>(kIndexLineBuffer);
}

// The member's index in the arrays and its offset; -1 when no member has the name.
int FindMember(const std::vector<std::string>& names, const std::vector<std::uint32_t>& sizes,
    const std::string& name, std::uint64_t& offset)
{
    offset = 0;
    std::size_t count = std::min(names.size(), sizes.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (platform::EqualsNoCase(names[i], name))
            return static_cast<int>(i);
        offset += sizes[i];
    }
    return -1;
}

bool CopyRange(NativeFile& from, std::uint64_t offset, std::uint64_t size, NativeFile& to)
{
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyBufferSize]);
    if (!buffer)
        return false;
    platform::EventPump pump;
    while (size > 0) {
        pump.Tick();
        std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyBufferSize));
        if (!from.ReadExactAt(buffer.get(), chunk, offset) || !to.WriteAll(buffer.get(), chunk))
            return false;
        offset += chunk;
        size -= chunk;
    }
    return true;
}

} // namespace

CFileLib::CFileLib(std::string dataPath)
    : m_dataPath(std::move(dataPath))
{
}

std::string CFileLib::IndexPathFor(std::string_view dataPath)
{
    if (dataPath.size() < 3)
        return std::string();
    return std::string(dataPath.substr(0, dataPath.size() - 3)) + "idx";
}

std::string CFileLib::GetFileNamePart(std::string_view path)
{
    std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool CFileLib::IsContainedName(std::string_view name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/')
        return false;
    if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':')
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = name.size();
        // "." is refused too: ".\lib.idx" is the library's own index under another spelling.
        std::string_view part = name.substr(start, end - start);
        if (part == ".." || part == ".")
            return false;
        start = end + 1;
    }
    return true;
}

void CFileLib::ReadIndex(std::FILE* index, std::vector<std::string>& names, std::vector<std::uint32_t>& sizes)
{
    char line[kIndexLineBuffer];
    bool expectName = true;
    while (std::fgets(line, kIndexLineBuffer, index)) {
        // A NUL byte ends the line as the C runtime sees it.
        std::size_t length = std::strlen(line);
        if (length > 0 && line[length - 1] == '\n')
            --length;
        if (length > 0 && line[length - 1] == '\r')
            --length;
        line[length] = '\0';
        if (length == 0 || line[0] == ';')
            continue;
        if (expectName)
            names.push_back(platform::Gb18030ToUtf8(std::string_view(line, length)));
        else
            sizes.push_back(ParseSize(line));
        expectName = !expectName;
    }
    while (names.size() > sizes.size())
        names.pop_back();
}

bool CFileLib::Open(const std::string& path)
{
    if (!platform::FileExists(path))
        return false;
    std::string indexPath = IndexPathFor(path);
    if (indexPath.empty() || !platform::FileExists(indexPath))
        return false;
    m_dataPath = path;
    m_indexPath = indexPath;
    m_names.clear();
    m_sizes.clear();
    FilePtr index(std::fopen(platform::NativePath(indexPath).c_str(), "rbe"));
    if (!index)
        return false;
    ReadIndex(index.get(), m_names, m_sizes);
    return true;
}

bool CFileLib::FindFile(const std::string& name, std::uint32_t& offset, std::uint32_t& size) const
{
    std::uint64_t position = 0;
    int member = FindMember(m_names, m_sizes, name, position);
    size = member < 0 ? 0 : m_sizes[static_cast<std::size_t>(member)];
    // A run of damaged sizes can push an offset past what 32 bits address; such a member
    // can't be in the data file.
    if (member < 0 || size == 0 || position > kMaxDataSize) {
        offset = static_cast<std::uint32_t>(std::min<std::uint64_t>(position, kMaxDataSize));
        return false;
    }
    offset = static_cast<std::uint32_t>(position);
    return true;
}

bool CFileLib::LocateMember(
    const std::string& name, NativeFile& data, std::uint64_t& offset, std::uint32_t& size) const
{
    std::uint32_t offset32 = 0;
    if (!FindFile(name, offset32, size))
        return false;
    offset = offset32;
    data = NativeFile::OpenRead(m_dataPath);
    if (!data.IsOpen())
        return false;
    auto dataSize = data.Size();
    // The index is outside input: a size that runs past the data is damage, not a member.
    return dataSize && offset + size <= *dataSize;
}

bool CFileLib::ReadBlock(char* buffer, std::uint32_t offset, std::uint32_t size) const
{
    NativeFile data = NativeFile::OpenRead(m_dataPath);
    return data.IsOpen() && data.ReadExactAt(buffer, size, offset);
}

std::string CFileLib::DefaultTarget(const std::string& name) const
{
    if (!IsContainedName(name))
        return std::string();
    std::string folder = GetFolderPart(m_dataPath);
    std::string target = folder.empty() ? name : folder + "\\" + name;
    // Extracting over the library's own files would destroy the library.
    if (platform::EqualsNoCase(target, m_dataPath) || platform::EqualsNoCase(target, m_indexPath))
        return std::string();
    return target;
}

NativeFile CFileLib::OpenTarget(const std::string& name, std::string& targetPath) const
{
    // Every target is a new file created in its folder: the part of the path that comes from
    // the member (or lies below the extraction folder) is walked without following links.
    std::string folder;
    std::string relative;
    const std::size_t split = targetPath.find_last_of("\\/");
    if (targetPath.empty()) {
        std::string target = DefaultTarget(name);
        if (target.empty())
            return NativeFile();
        folder = GetFolderPart(m_dataPath);
        relative = name;
        targetPath = target;
    } else if (!m_extractionFolder.empty() && targetPath.size() > m_extractionFolder.size() + 1
        && platform::EqualsNoCase(
            std::string_view(targetPath).substr(0, m_extractionFolder.size()), m_extractionFolder)
        && targetPath[m_extractionFolder.size()] == '\\'
        && IsContainedName(std::string_view(targetPath).substr(m_extractionFolder.size() + 1))) {
        folder = m_extractionFolder;
        relative = targetPath.substr(m_extractionFolder.size() + 1);
    } else if (split == std::string::npos) {
        relative = targetPath;
    } else {
        folder = targetPath.substr(0, split);
        relative = targetPath.substr(split + 1);
        if (folder.empty())
            folder = targetPath.substr(0, 1); // the root
    }
    // The library's own files are refused by identity: a name can reach them in many ways.
    std::vector<platform::FileIdentity> own;
    for (const std::string* path : { &m_dataPath, &m_indexPath })
        if (auto id = path->empty() ? std::nullopt : platform::IdentityOf(*path))
            own.push_back(*id);
    return NativeFile::CreateBeneath(folder, relative, own);
}

bool CFileLib::ExtractFile(const std::string& name, std::string& targetPath)
{
    NativeFile data;
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    if (!LocateMember(name, data, offset, size))
        return false;
    NativeFile target = OpenTarget(name, targetPath);
    if (!target.IsOpen())
        return false;
    bool ok = CopyRange(data, offset, size, target);
    std::string native = target.NativePath();
    if (!target.Close() || !ok) {
        RemoveNativeFile(native);
        return false;
    }
    return true;
}

int CFileLib::GetFileNames(std::vector<std::string>& names) const
{
    names = m_names;
    return static_cast<int>(names.size());
}

std::string CFileLib::JoinMemberName(const std::string& memberFolder, const std::string& fileName)
{
    if (memberFolder.empty())
        return fileName;
    if (memberFolder.back() == '\\')
        return memberFolder + fileName;
    return memberFolder + "\\" + fileName;
}

bool CFileLib::AppendFile(const std::string& sourcePath, const std::string& memberFolder)
{
    if (!platform::FileExists(sourcePath))
        return false;
    return AppendMember(sourcePath, JoinMemberName(memberFolder, GetFileNamePart(sourcePath)));
}

bool CFileLib::AppendMember(const std::string& sourcePath, const std::string& memberName)
{
    if (!IsStorableName(memberName))
        return false;
    NativeFile source = NativeFile::OpenRead(sourcePath);
    if (!source.IsOpen())
        return false;
    NativeFile data = NativeFile::OpenWrite(m_dataPath);
    if (!data.IsOpen())
        return false;
    auto sourceSize = source.Size();
    auto dataSize = data.Size();
    if (!sourceSize || !dataSize || *sourceSize > kMaxMemberSize || *dataSize + *sourceSize > kMaxDataSize)
        return false;
    const std::uint64_t oldDataSize = *dataSize;
    const auto length = static_cast<std::uint32_t>(*sourceSize);

    // Undo the data append whenever the index can't follow, so data and index never disagree.
    auto rollBack = [&data, oldDataSize] {
        data.Truncate(oldDataSize);
        return false;
    };
    if (!data.Seek(oldDataSize) || !CopyRange(source, 0, length, data))
        return rollBack();

    if (m_indexPath.empty())
        m_indexPath = IndexPathFor(m_dataPath);
    std::string indexNative = platform::NativePath(m_indexPath);
    std::string entry = IndexEntry(memberName, length);
    {
        // An index whose last line has no line end would swallow the new name.
        FilePtr existing(std::fopen(indexNative.c_str(), "rbe"));
        if (existing && std::fseek(existing.get(), -1, SEEK_END) == 0 && std::fgetc(existing.get()) != '\n')
            entry = "\r\n" + entry;
    }
    FilePtr index(std::fopen(indexNative.c_str(), "abe"));
    if (!index || std::fwrite(entry.data(), 1, entry.size(), index.get()) != entry.size())
        return rollBack();
    if (std::fclose(index.release()) != 0 || !data.Close())
        return rollBack();
    m_names.push_back(memberName);
    m_sizes.push_back(length);
    return true;
}

bool CFileLib::RemoveFile(const std::string& name)
{
    NativeFile data;
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    if (!LocateMember(name, data, offset, size))
        return false;
    std::uint64_t position = 0;
    const auto member = static_cast<std::size_t>(FindMember(m_names, m_sizes, name, position));
    const std::uint64_t dataSize = data.Size().value_or(0);
    const std::uint64_t tailStart = offset + size;
    if (m_indexPath.empty())
        m_indexPath = IndexPathFor(m_dataPath);

    if (offset == 0 && tailStart == dataSize) {
        NativeFile newData = NativeFile::Create(m_dataPath);
        NativeFile newIndex = NativeFile::Create(m_indexPath);
        if (!newData.IsOpen() || !newIndex.IsOpen() || !newData.Close() || !newIndex.Close())
            return false;
        m_names.clear();
        m_sizes.clear();
        return true;
    }

    // The new data goes to a file beside the old one and replaces it only once the new index
    // is in place, so a failure at any step leaves the library as it was.
    NativeFile newData = NativeFile::CreateUnique(m_dataPath + ".tmp-");
    if (!newData.IsOpen())
        return false;
    const std::string newNative = newData.NativePath();
    bool ok
        = CopyRange(data, 0, offset, newData) && CopyRange(data, tailStart, dataSize - tailStart, newData);
    ok = newData.Close() && ok;
    struct stat st;
    if (ok && ::stat(data.NativePath().c_str(), &st) == 0)
        ::chmod(newNative.c_str(), st.st_mode & 07777);

    std::string index;
    for (std::size_t i = 0; ok && i < std::min(m_names.size(), m_sizes.size()); ++i)
        if (i != member)
            index += IndexEntry(m_names[i], m_sizes[i]);
    std::optional<std::string> oldIndex = platform::ReadFileBytes(m_indexPath);
    if (!ok || !oldIndex || !platform::AtomicWriteFile(m_indexPath, index)) {
        RemoveNativeFile(newNative);
        return false;
    }
    if (std::rename(newNative.c_str(), data.NativePath().c_str()) != 0) {
        platform::AtomicWriteFile(m_indexPath, *oldIndex);
        RemoveNativeFile(newNative);
        return false;
    }
    m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(member));
    m_sizes.erase(m_sizes.begin() + static_cast<std::ptrdiff_t>(member));
    return true;
}

bool CFileLib::BuildLibraryBytes(const std::vector<std::pair<std::string, std::string>>& members, std::string& data,
    std::string& index, std::string& error)
{
    data.clear();
    index.clear();
    std::vector<std::string> seen;
    for (const auto& [name, blob] : members) {
        if (!IsStorableName(name)) {
            error = "member name " + name + " cannot be stored in the index";
            return false;
        }
        if (blob.empty() || blob.size() > kMaxMemberSize || data.size() + blob.size() > kMaxDataSize) {
            error = "member " + name + (blob.empty() ? " is empty" : " makes the library too large");
            return false;
        }
        std::string folded = platform::ToLowerAscii(name);
        if (std::find(seen.begin(), seen.end(), folded) != seen.end()) {
            error = "member " + name + " is there twice";
            return false;
        }
        seen.push_back(std::move(folded));
        data += blob;
        index += IndexEntry(name, static_cast<std::uint32_t>(blob.size()));
    }
    return true;
}

} // namespace orv

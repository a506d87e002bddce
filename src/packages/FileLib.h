#pragma once
// A file library: many small files of a gallery packed into one data file with a text index
// beside it.
//
// Data file (any path with a three-character extension, ".htz", ".flz"): the member blobs laid
// end to end in index order, no header, no padding. Member i starts at the sum of the sizes of
// members 0..i-1. Offsets and sizes are unsigned 32-bit.
//
// Index file (the data path with its last three characters replaced by "idx"): GB18030 text,
// CR LF lines read through a 511-byte buffer (so at most 510 bytes per line). A line starting
// with ";" is a comment, an empty line is ignored; the other lines alternate member name,
// member size (decimal, read as atoi reads it). A trailing name without a size is dropped.
//
// Member names are relative paths with "\" as separator ("A12.files\image001.gif"), kept in
// UTF-8 in memory and compared without regard to ASCII case. A member of size 0 can't be
// found; the first member of a name wins.
//
// CFileLib stores members as they are; CZFileLib (ZFileLib.h) stores each as a zlib stream.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class NativeFile;

class CFileLib {
public:
    explicit CFileLib(std::string dataPath);
    virtual ~CFileLib() = default;
    CFileLib(const CFileLib&) = delete;
    CFileLib& operator=(const CFileLib&) = delete;

    // True when the data file and its index exist and the index was read.
    virtual bool Open(const std::string& path);
    // Appends the source's bytes as they are, as member memberFolder\<file name>. The data file
    // must already exist. False, with the library unchanged, on any failure.
    virtual bool AppendFile(const std::string& sourcePath, const std::string& memberFolder);
    // True when the member was found and removed from both files.
    virtual bool RemoveFile(const std::string& name);
    // True when a member of that name exists with a size above 0.
    virtual bool FindFile(const std::string& name, std::uint32_t& offset, std::uint32_t& size) const;
    // Copies the member's bytes to the target; an empty target becomes the default target
    // (folder of the data path + "\" + name) and is handed back. A name that would leave
    // that folder is refused. The target is always a new file in its folder: links on the
    // member's path or at the target are not followed, an existing file is replaced (never
    // written through), and the library's own data and index files are never a target.
    virtual bool ExtractFile(const std::string& name, std::string& targetPath);

    // The member count; names receives every name in index order.
    int GetFileNames(std::vector<std::string>& names) const;
    const std::vector<std::uint32_t>& GetFileSizes() const { return m_sizes; }
    // size bytes at offset of the data file into buffer; false when they can't all be read.
    bool ReadBlock(char* buffer, std::uint32_t offset, std::uint32_t size) const;

    // Targets given below this folder (the temporary folder, say) are reached from it
    // without following links, like the member part of a default target. Empty: only the
    // target's own folder is taken as the caller named it.
    void SetExtractionFolder(std::string folder) { m_extractionFolder = std::move(folder); }

    const std::string& GetDataPath() const { return m_dataPath; }
    const std::string& GetIndexPath() const { return m_indexPath; }

    // The index path of a data path: its last three characters replaced by "idx".
    static std::string IndexPathFor(std::string_view dataPath);
    // Reads index entries from an open index file into the two arrays (appending).
    static void ReadIndex(
        std::FILE* index, std::vector<std::string>& names, std::vector<std::uint32_t>& sizes);
    // Whether a relative name stays inside the folder it is joined to: not empty, not
    // absolute, no drive letter, no "." or ".." component.
    static bool IsContainedName(std::string_view name);
    // The file-name part of a path: everything after its last "\".
    static std::string GetFileNamePart(std::string_view path);

    // A whole library made at once in memory, for builders: the data file's bytes and the
    // index file's bytes for the members (name, stored bytes) in order. False with the reason
    // when a member could not be found again: an empty blob, a name the index cannot hold, a
    // name used twice (letter case ignored), or more than 4 GiB of data.
    static bool BuildLibraryBytes(const std::vector<std::pair<std::string, std::string>>& members, std::string& data,
        std::string& index, std::string& error);

protected:
    // The member's place in the data file, checked against the data file's length.
    bool LocateMember(
        const std::string& name, NativeFile& data, std::uint64_t& offset, std::uint32_t& size) const;
    // The default target of a member, or "" when the name would leave the data file's folder.
    std::string DefaultTarget(const std::string& name) const;
    // Opens the extraction target: targetPath, or the member's default target when it is
    // empty (and then targetPath is set to it). Not open when there is none or it fails.
    NativeFile OpenTarget(const std::string& name, std::string& targetPath) const;
    // Appends the source's bytes under the given member name.
    bool AppendMember(const std::string& sourcePath, const std::string& memberName);
    static std::string JoinMemberName(const std::string& memberFolder, const std::string& fileName);

    std::string m_dataPath;
    std::string m_indexPath;
    std::vector<std::string> m_names;
    std::vector<std::uint32_t> m_sizes;
    std::string m_extractionFolder;
};

} // namespace orv

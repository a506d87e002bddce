#pragma once
// A compressed file library: each member blob is one zlib stream of the member file, as
// CompressFile writes it. Every library a gallery ships (".htz" pages, "_files.flz"
// companions) is one of these. See FileLib.h for the layout on disk.

#include "packages/FileLib.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv {

class CZFileLib : public CFileLib {
public:
    // Also makes sure the private temporary folder exists.
    explicit CZFileLib(std::string dataPath);

    // Decompresses the member to the target (empty: the default target, handed back). A
    // damaged member, or one that decompresses past 4 GiB, fails and leaves no target.
    bool ExtractFile(const std::string& name, std::string& targetPath) override;
    // Compresses the source and appends it as member <folder>\<file name>, where folder is the
    // last folderDepth folder names of the source path (none for depth 0 or less).
    virtual bool AddFile(const std::string& sourcePath, int folderDepth);

    // The member folder AddFile uses: for C:\Lib\Pages\A12.files\a.gif depth 1 gives
    // A12.files and depth 2 Pages\A12.files; a deeper depth keeps everything after the first
    // "\" of the folder (Lib\Pages\A12.files).
    static std::string MemberFolderFor(const std::string& sourcePath, int folderDepth);

    const std::string& GetTempFolderPath() const { return m_tempFolder; }

    // A whole compressed library made in memory: each member (name, file bytes) stored as the
    // zlib stream AddFile would store. See CFileLib::BuildLibraryBytes.
    static bool BuildCompressedLibraryBytes(const std::vector<std::pair<std::string, std::string>>& members, std::string& data,
        std::string& index, std::string& error);

protected:
    // Inflates a member into memory, at most maxBytes of it; false when it is missing,
    // damaged, or larger.
    bool InflateMember(const std::string& name, std::string& bytes, std::uint64_t maxBytes) const;

    std::string m_tempFolder;
};

} // namespace orv

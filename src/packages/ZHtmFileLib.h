#pragma once
// An HTML page package (".htz"): a compressed file library whose members are pages named
// <page title>.htm. A page's pictures and style files live in its companion package
// <package title>_files.flz (members <page title>.files\<file name>) or in a plain folder
// <page title>.files beside the package.
//
// Extracting a page makes its relative picture and style addresses absolute against a base
// folder, so the page works from wherever it is written (the temporary folder).

#include "packages/ZFileLib.h"

#include <string>
#include <string_view>

namespace orv {

class CZHtmFileLib : public CZFileLib {
public:
    explicit CZHtmFileLib(std::string dataPath);

    // The page's bytes as stored (GB2312 pages stay GB18030 bytes), cut at the first NUL and
    // just after the first "</html>"; "" when the page can't be had or passes 64 MiB.
    std::string ReadPageText(const std::string& pageName);
    // Writes the rewritten page to the target (empty: folder of the data path + "\" + page
    // name, handed back).
    bool ExtractFile(const std::string& pageName, std::string& targetPath) override;
    bool AddFile(const std::string& sourcePath, int folderDepth) override;

    // Unpacks the members <page title>.files\... of the companion package
    // (<package path without ".htz">_files.flz) flat into baseFolder\<page title>.files;
    // folderName receives "<page title>.files". False when the companion package is missing.
    static bool ExtractCompanionFiles(const std::string& packagePath, const std::string& pageName,
        const std::string& baseFolder, std::string& folderName);

    // The folder relative addresses are made absolute against; empty means the package's folder.
    void SetBaseFolder(std::string baseFolder) { m_baseFolder = std::move(baseFolder); }
    const std::string& GetBaseFolder() const { return m_baseFolder; }

    // The rewriting of an extracted page: "src=\"" and "background=\"" addresses get base +
    // "\" in front unless they are already absolute (a scheme, a leading "\" or "/", a drive
    // letter); "href=\"_themes/" becomes base + "\_themes/", or failing that "../_themes/"
    // becomes the parent of base + "\_themes/". The base is inserted in the page's encoding.
    static std::string RewriteLinks(std::string_view page, std::string_view base);
    static void RewriteLinksInPlace(std::string& page, std::string_view base);
    // A page read from a package: cut at the first NUL, then just after the first "</html>"
    // when that is not at the very start.
    static std::string TrimPageText(std::string_view bytes);

private:
    std::string m_baseFolder;
};

} // namespace orv

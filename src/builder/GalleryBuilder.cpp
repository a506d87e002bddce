#include "builder/GalleryBuilder.h"

#include "browser/SlideWriter.h"
#include "builder/DrawingFit.h"
#include "builder/GalleryDatabase.h"
#include "builder/PageText.h"
#include "builder/PictureFromDrawing.h"
#include "database/AdoConnection.h"
#include "database/GallerySchema.h"
#include "navigation/FullTextFiles.h"
#include "navigation/KeywordFile.h"
#include "packages/FileLib.h"
#include "packages/ZFileLib.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>

namespace orv {
namespace {

// Thrown inside this file only, and caught in BuildGallery: the build stops at its first
// failure, and the staging folder is removed on the way out.
struct BuildError {
    std::string Text;
};

[[noreturn]] void Fail(std::string text)
{
    throw BuildError { std::move(text) };
}

bool IsPageName(const std::string& path)
{
    const std::string extension = ManifestPathExtension(path);
    return extension == "htm" || extension == "html";
}

std::string NativeParent(const std::string& native)
{
    std::size_t slash = native.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
}

std::string NativeName(const std::string& native)
{
    std::size_t slash = native.rfind('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

void MakeFolders(const std::string& native)
{
    std::size_t pos = 1;
    while (pos <= native.size()) {
        std::size_t slash = std::min(native.find('/', pos), native.size());
        std::string part = native.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            Fail("cannot create the folder " + part + ": " + std::strerror(errno));
        pos = slash + 1;
    }
}

void WriteNativeFile(const std::string& native, std::string_view bytes)
{
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        Fail("cannot create " + native + ": " + std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int saved = errno;
            ::close(fd);
            Fail("cannot write " + native + ": " + std::strerror(saved));
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
        Fail("cannot write " + native + ": " + std::strerror(errno));
}

// Removes a native file or folder tree; symbolic links are removed, not followed.
bool RemoveTree(const std::string& native)
{
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(native.c_str()) == 0;
    if (DIR* dir = ::opendir(native.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..")
                RemoveTree(native + "/" + name);
        }
        ::closedir(dir);
    }
    return ::rmdir(native.c_str()) == 0;
}

// The staging folder: made beside the output folder (so the final moves are renames on one
// file system) and removed again unless Keep() was called.
class StagingFolder {
public:
    explicit StagingFolder(const std::string& outNative)
    {
        std::string parent = NativeParent(outNative);
        MakeFolders(parent);
        std::string pattern = parent + "/." + NativeName(outNative) + ".build-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (!::mkdtemp(buffer.data()))
            Fail("cannot create a build folder beside " + outNative + ": " + std::strerror(errno));
        m_native = buffer.data();
        // mkdtemp makes it private; it may become the output folder, which is an ordinary one.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(m_native.c_str(), 0777 & ~mask);
    }
    ~StagingFolder()
    {
        if (!m_native.empty())
            RemoveTree(m_native);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::string& Native() const { return m_native; }
    void Forget() { m_native.clear(); }

private:
    std::string m_native;
};

// The gallery root being written, with the pages kept for the full text.
class RootWriter {
public:
    explicit RootWriter(std::string rootNative)
        : m_root(std::move(rootNative))
    {
        MakeFolders(m_root);
    }

    // Folders are matched without regard to case, as the reader resolves them: two files
    // in "Bolts" and "BOLTS" land in one folder.
    void Write(const std::string& relative, std::string_view bytes)
    {
        std::string native = platform::NativePath(platform::ProgramPath(m_root) + "\\" + relative);
        MakeFolders(NativeParent(native));
        WriteNativeFile(native, bytes);
        if (IsPageName(relative))
            m_pages[platform::ToLowerAscii(relative)] = std::string(bytes);
    }

    void KeepPackagePage(const std::string& package, const std::string& member, const std::string& bytes)
    {
        m_pages[platform::ToLowerAscii(package + "(" + member + ")")] = bytes;
    }

    // A page by its path below the root, or a package page as PACKAGE.htz(PAGE.htm).
    const std::string* Page(const std::string& key) const
    {
        auto it = m_pages.find(platform::ToLowerAscii(key));
        return it == m_pages.end() ? nullptr : &it->second;
    }

private:
    std::string m_root;
    std::map<std::string, std::string> m_pages;
};

struct FileCounts {
    std::map<std::string, int> Counts;
    void Add(const std::string& kind) { ++Counts[kind]; }
};

std::string KindOf(const std::string& extension)
{
    if (extension == "htm" || extension == "html")
        return "pages";
    if (extension == "htz")
        return "page packages";
    if (extension == "flz")
        return "companion packages";
    if (extension == "dwz")
        return "drawing packages";
    if (extension == "sld")
        return "slides";
    if (extension == "slb")
        return "slide libraries";
    if (extension == "jpg" || extension == "jpeg" || extension == "gif" || extension == "png"
        || extension == "bmp" || extension == "wmf")
        return "pictures";
    return "other files";
}

std::string ContentBytes(const ManifestContent& content, const std::string& extension)
{
    switch (content.Type) {
    case ManifestContent::Kind::Source: {
        std::optional<std::string> bytes = platform::ReadFileBytes(content.Source, 1ull << 31);
        if (!bytes)
            Fail(content.Where + ".source: cannot read " + platform::NativePath(content.Source));
        if (content.Utf8Source && (extension == "htm" || extension == "html")) {
            if (!platform::IsValidUtf8(*bytes))
                Fail(content.Where + ".source: " + platform::NativePath(content.Source)
                    + " is not UTF-8 text");
            return platform::Utf8ToGb18030(*bytes);
        }
        return std::move(*bytes);
    }
    case ManifestContent::Kind::Text:
        return platform::Utf8ToGb18030(content.Text);
    case ManifestContent::Kind::Drawing: {
        FittedDrawing fitted = FitDrawing(content.Drawing);
        std::string bytes, error;
        bool ok = extension == "sld" ? SlideFromDrawing(fitted, bytes, error)
                                     : PictureFromDrawing(fitted, extension, content.Width, content.Height,
                                         content.Background, bytes, error);
        if (!ok)
            Fail(content.Where + ".drawing: " + error);
        return bytes;
    }
    case ManifestContent::Kind::Members:
        break;
    }
    Fail(content.Where + ": members cannot stand here");
}

void WriteFiles(const GalleryManifest& manifest, RootWriter& root, FileCounts& counts)
{
    for (const ManifestFile& file : manifest.Files) {
        const std::string extension = ManifestPathExtension(file.Path);
        counts.Add(KindOf(extension));
        if (file.Content.Type != ManifestContent::Kind::Members) {
            root.Write(file.Path, ContentBytes(file.Content, extension));
            continue;
        }
        std::vector<std::pair<std::string, std::string>> members;
        for (const ManifestMember& member : file.Members) {
            std::string bytes = ContentBytes(
                member.Content, extension == "slb" ? "sld" : ManifestPathExtension(member.Name));
            if (extension == "htz" && IsPageName(member.Name))
                root.KeepPackagePage(file.Path, member.Name, bytes);
            members.emplace_back(member.Name, std::move(bytes));
        }
        std::string error;
        if (extension == "slb") {
            std::string library;
            if (!WriteSlideLibrary(members, library, error))
                Fail(file.Content.Where + ": " + error);
            root.Write(file.Path, library);
            continue;
        }
        std::string data, index;
        if (!CZFileLib::BuildCompressedLibraryBytes(members, data, index, error))
            Fail(file.Content.Where + ": " + error);
        root.Write(file.Path, data);
        root.Write(CFileLib::IndexPathFor(file.Path), index);
    }
}

// ---- full text ----

std::string JoinBelow(const OptText& folder, const std::string& name)
{
    std::string base = folder.value_or("");
    return !name.empty() && name[0] == '\\' ? base + name : base + "\\" + name;
}

std::string RootRelative(std::string path)
{
    while (!path.empty() && path[0] == '\\')
        path.erase(0, 1);
    return path;
}

// The keys of the pages the reader shows for a directory, as RootWriter::Page takes them.
std::vector<std::string> DirectoryPageKeys(const ManifestDirectory& dir, const ManifestSpeciality& spec)
{
    std::vector<std::string> keys;
    const std::string folder = spec.Path.value_or("") + dir.Path.value_or("");
    if (dir.SourceContent && !dir.SourceContent->empty()) {
        keys.push_back(RootRelative(spec.Path.value_or("") + "\\" + *dir.SourceContent));
    } else if (dir.Content && !dir.Content->empty()) {
        const std::string& content = *dir.Content;
        std::size_t open = content.find('(');
        if (dir.Compressed != 0 && open != std::string::npos && open > 0 && content.back() == ')') {
            std::string package = RootRelative(JoinBelow(folder, content.substr(0, open) + ".htz"));
            keys.push_back(package + "(" + content.substr(open + 1, content.size() - open - 2) + ".htm)");
        } else {
            keys.push_back(RootRelative(JoinBelow(folder, content)));
        }
    }
    for (const std::string& page : dir.Pages)
        keys.push_back(RootRelative(JoinBelow(folder, page)));
    return keys;
}

std::vector<FullTextRecord> FullTextRecords(const GalleryManifest& manifest, const RootWriter& root)
{
    std::map<std::int32_t, const ManifestSpeciality*> specs;
    for (const ManifestSpeciality& spec : manifest.Specialities)
        specs[spec.Id] = &spec;
    std::vector<FullTextRecord> records;
    for (const ManifestDirectory& dir : manifest.Directories) {
        std::string text;
        std::set<std::string> seen;
        for (const std::string& key : DirectoryPageKeys(dir, *specs.at(dir.Spec))) {
            const std::string* page = root.Page(key);
            if (!page || !seen.insert(platform::ToLowerAscii(key)).second)
                continue;
            std::string utf8 = platform::LooksLikeUtf8(*page) || platform::IsAscii(*page)
                ? *page
                : platform::Gb18030ToUtf8(*page);
            std::string pageText = PageText(utf8);
            if (pageText.empty())
                continue;
            text += text.empty() ? pageText : "\r\n" + pageText;
        }
        if (!text.empty())
            records.push_back({ { dir.Id }, std::move(text) });
    }
    return records;
}

// ---- moving into place ----

// Entries of folder whose names equal one of the names without regard to ASCII case.
std::vector<std::string> MatchingEntries(
    const std::string& folderNative, const std::set<std::string>& foldedNames)
{
    std::vector<std::string> found;
    if (DIR* dir = ::opendir(folderNative.c_str())) {
        while (dirent* entry = ::readdir(dir))
            if (foldedNames.count(platform::ToLowerAscii(entry->d_name)))
                found.push_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Replaces the gallery's entries in the output folder with the staged ones. The old entries
// go into the staging folder first, so each step is a rename and a failure can put them back.
void MoveIntoPlace(StagingFolder& stage, const std::string& outNative, const std::string& name,
    const std::vector<std::string>& staged)
{
    struct stat st;
    if (::stat(outNative.c_str(), &st) != 0) {
        if (::rename(stage.Native().c_str(), outNative.c_str()) != 0)
            Fail("cannot move the build to " + outNative + ": " + std::strerror(errno));
        stage.Forget();
        return;
    }
    if (!S_ISDIR(st.st_mode))
        Fail(outNative + " is not a folder");
    const std::string folded = platform::ToLowerAscii(name);
    const std::string trash = stage.Native() + "/.replaced";
    MakeFolders(trash);
    std::vector<std::string> old
        = MatchingEntries(outNative, { folded, folded + ".gal", folded + ".idx", folded + ".lst" });
    std::vector<std::string> moved, placed;
    auto undo = [&] {
        for (const std::string& entry : placed)
            ::rename((outNative + "/" + entry).c_str(), (stage.Native() + "/" + entry).c_str());
        for (const std::string& entry : moved)
            ::rename((trash + "/" + entry).c_str(), (outNative + "/" + entry).c_str());
    };
    for (const std::string& entry : old) {
        if (::rename((outNative + "/" + entry).c_str(), (trash + "/" + entry).c_str()) != 0) {
            int saved = errno;
            undo();
            Fail("cannot replace " + outNative + "/" + entry + ": " + std::strerror(saved));
        }
        moved.push_back(entry);
    }
    for (const std::string& entry : staged) {
        if (::rename((stage.Native() + "/" + entry).c_str(), (outNative + "/" + entry).c_str()) != 0) {
            int saved = errno;
            undo();
            Fail("cannot move " + entry + " into " + outNative + ": " + std::strerror(saved));
        }
        placed.push_back(entry);
    }
}

void Build(const GalleryManifest& manifest, const std::string& outDir, const GalleryBuildOptions& options,
    GalleryBuildReport& report)
{
    const std::string outNative = platform::NativePath(outDir);
    StagingFolder stage(outNative);
    const std::string stageProgram = platform::ProgramPath(stage.Native());

    RootWriter root(stage.Native() + "/" + manifest.Name);
    FileCounts counts;
    WriteFiles(manifest, root, counts);
    std::vector<std::string> staged = { manifest.Name + ".GAL", manifest.Name };

    if (manifest.HasKeywords) {
        std::string bytes;
        if (!BuildKeywordFileBytes(manifest.Keywords, bytes))
            Fail("keywords: cannot be written");
        WriteNativeFile(stage.Native() + "/" + manifest.Name + ".idx", bytes);
        staged.push_back(manifest.Name + ".idx");
        counts.Add("keyword files");
    }

    GalleryManifest::FullText form
        = options.PlainFullText && manifest.FullTextForm != GalleryManifest::FullText::None
        ? GalleryManifest::FullText::Plain
        : manifest.FullTextForm;
    if (form != GalleryManifest::FullText::None) {
        std::vector<FullTextRecord> records = FullTextRecords(manifest, root);
        if (!records.empty()) {
            std::string index, content, error;
            FullTextFormat format = form == GalleryManifest::FullText::Plain ? FullTextFormat::Plain
                                                                             : FullTextFormat::Compressed;
            if (!BuildFullTextBytes(records, format, index, content, error))
                Fail("fullText: " + error);
            const std::string base = manifest.Name + "\\" + manifest.Name;
            WriteNativeFile(platform::NativePath(stageProgram + "\\" + base + ".cnx"), index);
            WriteNativeFile(platform::NativePath(stageProgram + "\\" + base
                                + (format == FullTextFormat::Plain ? ".cnt" : ".cnc")),
                content);
            counts.Counts["full-text records"] = static_cast<int>(records.size());
        }
    }

    const std::vector<JetTableDef> tables = GalleryJetTables();
    const std::vector<std::vector<JetRow>> rows = GalleryRows(manifest);
    std::string error;
    if (!WriteGalleryDatabase(manifest, rows, stageProgram + "\\" + manifest.Name + ".GAL", options.Sqlite,
            options.Password.value_or(kGalleryPassword), error))
        Fail(error);

    MoveIntoPlace(stage, outNative, manifest.Name, staged);

    report.Tables.clear();
    for (std::size_t t = 0; t < tables.size(); ++t)
        report.Tables.emplace_back(tables[t].Name, static_cast<std::int64_t>(rows[t].size()));
    report.Files.assign(counts.Counts.begin(), counts.Counts.end());
    report.GalleryPath = platform::ProgramPath(outNative) + "\\" + manifest.Name + ".GAL";
}

} // namespace

bool BuildGallery(const GalleryManifest& manifest, const std::string& outDir,
    const GalleryBuildOptions& options, GalleryBuildReport& report, std::string& error)
{
    if (!CheckGalleryManifest(manifest, error))
        return false;
    try {
        Build(manifest, outDir, options, report);
    } catch (const BuildError& e) {
        error = e.Text;
        return false;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

bool BuildGalleryFromFile(const std::string& manifestPath, const std::string& outDir,
    const GalleryBuildOptions& options, GalleryBuildReport& report, std::string& error)
{
    std::optional<std::string> json = platform::ReadFileBytes(manifestPath, 1ull << 30);
    if (!json) {
        error = "cannot read " + platform::NativePath(manifestPath);
        return false;
    }
    std::size_t slash = manifestPath.rfind('\\');
    const std::string base = slash == std::string::npos ? std::string(".") : manifestPath.substr(0, slash);
    GalleryManifest manifest;
    if (!ParseGalleryManifest(*json, base, manifest, error))
        return false;
    return BuildGallery(manifest, outDir, options, report, error);
}

} // namespace orv

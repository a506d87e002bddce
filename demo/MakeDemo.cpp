// orvdemo SOURCE_DIR OUT_DIR: writes the demo application folder. It generates the manifests
// of the two demo galleries from SOURCE_DIR/galleries (the mechanical parts in Access form,
// the electrical symbols in SQLite form), builds them into OUT_DIR/ORVBookLib with the gallery
// builder, draws the Support pictures, and writes the settings, add-ins, tool menu, home page
// and the demo tool program. The same sources give the same folder.

#include "AppFolder.h"
#include "GalleryGenerator.h"
#include "SupportPictures.h"
#include "builder/GalleryBuilder.h"
#include "platform/Paths.h"

#include <QGuiApplication>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string source, out, tool, work;
    bool quiet = false;
};

void Usage()
{
    std::printf("usage: orvdemo SOURCE_DIR OUT_DIR [--tool PROGRAM] [--work DIR] [--quiet]\n"
                "  SOURCE_DIR  the demo sources (the project's demo/ folder)\n"
                "  OUT_DIR     the application folder to write; replaced whole when it is a demo folder\n"
                "  --tool      the built demo tool (default: orvdemotool beside this program)\n"
                "  --work      keep the generated manifests and page sources in DIR (default: a\n"
                "              temporary folder, removed at the end)\n");
}

bool ParseArguments(int argc, char** argv, Options& options)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--tool" || arg == "--work") && i + 1 < argc)
            (arg == "--tool" ? options.tool : options.work) = argv[++i];
        else if (arg == "--quiet")
            options.quiet = true;
        else if (!arg.empty() && arg[0] == '-')
            return false;
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2)
        return false;
    options.source = positional[0];
    options.out = positional[1];
    return true;
}

// Qt's note that it made up a runtime folder for the off-screen platform is no news here.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int Fail(const std::string& reason)
{
    std::fprintf(stderr, "orvdemo: %s\n", reason.c_str());
    return 1;
}

// Empties the output folder, but only when it is missing, empty or an earlier demo folder: a
// mistyped path must never cost anybody a folder.
bool PrepareOutput(const fs::path& out, std::string& error)
{
    std::error_code ec;
    if (fs::exists(out, ec)) {
        bool empty = fs::is_directory(out, ec) && fs::directory_iterator(out, ec) == fs::directory_iterator();
        if (!empty && !fs::exists(out / "ORVBook.ini", ec)) {
            error = out.string() + " is not empty and holds no ORVBook.ini: not replaced";
            return false;
        }
        fs::remove_all(out, ec);
        if (ec) {
            error = "cannot empty " + out.string() + ": " + ec.message();
            return false;
        }
    }
    fs::create_directories(out, ec);
    if (ec) {
        error = "cannot create " + out.string() + ": " + ec.message();
        return false;
    }
    return true;
}

// A temporary work folder of our own, removed when the run ends.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& given)
    {
        if (!given.empty()) {
            m_path = fs::absolute(given);
            std::error_code ec;
            fs::remove_all(m_path, ec);
            fs::create_directories(m_path, ec);
            return;
        }
        std::string pattern = (fs::temp_directory_path() / "orvdemo-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
        m_remove = true;
    }
    ~WorkFolder()
    {
        std::error_code ec;
        if (m_remove && !m_path.empty())
            fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    bool m_remove = false;
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        Usage();
        return 0;
    }
    if (!ParseArguments(argc, argv, options)) {
        Usage();
        return 1;
    }
    // Pictures are drawn off screen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
    QGuiApplication app(argc, argv);
    auto started = std::chrono::steady_clock::now();

    std::error_code ec;
    fs::path source = fs::absolute(options.source, ec);
    fs::path out = fs::absolute(options.out, ec);
    if (options.tool.empty())
        options.tool = (fs::read_symlink("/proc/self/exe", ec).parent_path() / "orvdemotool").string();
    if (!fs::is_regular_file(options.tool, ec))
        return Fail("no demo tool program at " + options.tool + " (give it with --tool)");
    if (!fs::is_regular_file(source / "galleries" / "mech" / "gallery.json", ec))
        return Fail(source.string() + " holds no demo sources (galleries/mech/gallery.json)");

    std::string error;
    WorkFolder work(options.work);
    if (work.Path().empty())
        return Fail("cannot create a work folder");
    if (!PrepareOutput(out, error))
        return Fail(error);

    struct GallerySource {
        const char* folder;
        bool sqlite;
    };
    const GallerySource galleries[] = { { "mech", false }, { "elec", true } };
    orv::demo::AppFolderSettings settings;
    settings.Version = ORV_VERSION;
    settings.HomePageSource = (source / "home" / "Index.htm").string();
    settings.ToolProgram = options.tool;
    for (const auto& gallery : galleries) {
        orv::demo::GeneratedGallery generated;
        if (!orv::demo::GenerateGallery((source / "galleries" / gallery.folder).string(),
                (work.Path() / gallery.folder).string(), generated, error))
            return Fail(error);
        orv::GalleryBuildOptions build;
        build.Sqlite = gallery.sqlite;
        orv::GalleryBuildReport report;
        if (!orv::BuildGalleryFromFile(orv::platform::ProgramPath(generated.ManifestPath),
                orv::platform::ProgramPath((out / "ORVBookLib").string()), build, report, error))
            return Fail(generated.ManifestPath + ": " + error);
        if (!options.quiet)
            std::printf("gallery\t%s\t%s\tdirectories %d\tdrawings %d\n", generated.Name.c_str(),
                gallery.sqlite ? "sqlite" : "access", generated.Directories, generated.Drawings);
        settings.GalleryNames.push_back(generated.DisplayName);
        if (std::strcmp(gallery.folder, "mech") == 0) {
            settings.MechDrawings = generated.Drawings;
            settings.MechDirectories = generated.Directories;
        } else {
            settings.ElecDrawings = generated.Drawings;
        }
    }
    if (!orv::demo::WriteSupportPictures(out.string(), ORV_VERSION, error)
        || !orv::demo::WriteHomePagePictures(out.string(), error)
        || !orv::demo::WriteAppFolderFiles(out.string(), settings, error))
        return Fail(error);

    if (!options.quiet) {
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("folder\t%s\nseconds\t%.1f\n", out.string().c_str(), seconds);
    }
    return 0;
}

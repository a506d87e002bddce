// orvbook [--app-dir DIR] [--screenshot FILE.png] [--size WxH] [--demo yes|no] [FILE.GAL]
//
// The reader. --app-dir names the application folder (else $ORVBOOK_HOME, the current folder
// when it holds ORVBook.ini or ORVBookLib, or the user's folder). --screenshot starts as
// usual, saves the window once the first contents tree is shown, and ends. --size sets the
// window's size instead of maximising it. --demo answers in advance the first start's
// question whether the demo galleries are copied. FILE.GAL opens that gallery.

#include "app/ui/ORVBookApp.h"
#include "content/ui/LocalContentScheme.h"
#include "controls/ResourcePictures.h"

#include <QApplication>
#include <QRegularExpression>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kUsage
    = "usage: orvbook [--app-dir DIR] [--screenshot FILE.png] [--size WxH] [--demo yes|no] [FILE.GAL]\n";

int Usage(const char* reason)
{
    std::fprintf(stderr, "orvbook: %s\n%s", reason, kUsage);
    return 1;
}

int Help()
{
    std::printf("%s\n"
                "Reads the CAD drawing galleries of an application folder; FILE.GAL opens that gallery.\n\n"
                "  --app-dir DIR         the application folder (else $ORVBOOK_HOME, the current folder\n"
                "                        when it holds ORVBook.ini or ORVBookLib, or ~/.local/share/orvbook)\n"
                "  --screenshot FILE.png save the window once the first page is shown, and end\n"
                "  --size WxH            this window size instead of a maximised window\n"
                "  --demo yes|no         answer the first start's demo-gallery question in advance\n"
                "  --version             print the version and end\n"
                "  -h, --help            print this help and end\n\n"
                "See orvbook(1).\n",
        kUsage);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    orv::AppOptions options;
    QString size;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)
            return Help();
        if (std::strcmp(arg, "--version") == 0) {
            std::printf("orvbook %s\n", ORV_VERSION);
            return 0;
        }
        const bool takesValue = std::strcmp(arg, "--app-dir") == 0 || std::strcmp(arg, "--screenshot") == 0
            || std::strcmp(arg, "--size") == 0 || std::strcmp(arg, "--demo") == 0;
        if (!takesValue && arg[0] == '-' && std::strcmp(arg, "-") != 0)
            return Usage((std::string("unknown argument ") + arg).c_str());
        if (!takesValue) {
            if (!options.GalleryFile.empty())
                return Usage("only one gallery file can be opened");
            options.GalleryFile = arg;
            continue;
        }
        if (i + 1 >= argc)
            return Usage((std::string(arg) + " needs a value").c_str());
        const char* value = argv[++i];
        if (std::strcmp(arg, "--app-dir") == 0)
            options.AppDir = value;
        else if (std::strcmp(arg, "--demo") == 0) {
            if (std::strcmp(value, "yes") != 0 && std::strcmp(value, "no") != 0)
                return Usage("--demo takes yes or no");
            options.Demo = std::strcmp(value, "yes") == 0 ? orv::DemoAnswer::Yes : orv::DemoAnswer::No;
        } else if (std::strcmp(arg, "--screenshot") == 0)
            options.Screenshot = QString::fromLocal8Bit(value);
        else
            size = QString::fromLatin1(value);
    }
    if (!size.isEmpty()) {
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(size);
        if (!match.hasMatch())
            return Usage("--size takes WIDTHxHEIGHT, e.g. 1280x800");
        options.Size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    }

    // An unattended run needs no screen: without a display it draws off screen.
    if (!options.Screenshot.isEmpty() && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")
        && !std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // The web engine's sandbox refuses to start for root; the reader then runs without it.
    if (::geteuid() == 0)
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    // The content view's schemes exist only when registered before the application object.
    orv::RegisterContentSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORVBook"));
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvbook.ORVBook"));
    QApplication::setWindowIcon(orv::ResourceIcon(orv::kIconApp));
    orv::CORVBookApp reader(std::move(options));
    return reader.Run();
}

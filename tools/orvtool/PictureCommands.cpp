// orvtool picture render: a drawing's preview picture drawn as the picture control shows it.

#include "PictureCommands.h"

#include "Command.h"
#include "platform/Files.h"

#ifdef ORV_HAVE_RENDER
#include "browser/MetafileRenderer.h"
#include "browser/render/PreviewPicture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#endif

#include <charconv>
#include <iostream>
#include <memory>
#include <string>

namespace orv::tool {

#ifdef ORV_HAVE_RENDER
namespace {

struct RenderArgs {
    std::string file, out, size, background;
};

bool ParseSide(std::string_view text, int& side)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), side);
    return ec == std::errc() && end == text.data() + text.size() && side >= 1 && side <= 16384;
}

int Render(const RenderArgs& args)
{
    QSize size;
    if (!args.size.empty()) {
        const std::size_t x = args.size.find_first_of("xX");
        int width = 0, height = 0;
        if (x == std::string::npos || !ParseSide(std::string_view(args.size).substr(0, x), width)
            || !ParseSide(std::string_view(args.size).substr(x + 1), height)) {
            Fail("--size wants WIDTHxHEIGHT, each 1-16384");
            return 1;
        }
        size = QSize(width, height);
    }
    QColor background = Qt::white;
    if (!args.background.empty()) {
        background = QColor(QString::fromStdString("#" + args.background));
        if (args.background.size() != 6 || !background.isValid()) {
            Fail("--background wants RRGGBB");
            return 1;
        }
    }
    EnsureGuiApplication();
    std::string format, error;
    const QImage image = RenderPictureFile(AbsoluteProgramPath(args.file), size, background, format, error);
    if (image.isNull()) {
        Fail(args.file + ": " + error);
        return 1;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")
        || !platform::AtomicWriteFile(AbsoluteProgramPath(args.out),
            std::string_view(png.constData(), static_cast<std::size_t>(png.size())))) {
        Fail("cannot write " + args.out);
        return 1;
    }
    std::cout << "picture\t" << format << '\t' << image.width() << '\t' << image.height() << '\n';
    return 0;
}

} // namespace

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvtool";
    static char* argv[] = { name, nullptr };
    // Never deleted: tearing the platform down during static destruction gains nothing.
    new QGuiApplication(argc, argv);
}

void InstallMetafileRenderer()
{
    SetMetafileRenderer([](const std::string& wmf, std::string& png) {
        EnsureGuiApplication();
        return RenderMetafilePng(wmf, png);
    });
}

void RegisterPictureRender(CLI::App& pictures)
{
    auto args = std::make_shared<RenderArgs>();
    auto* render = pictures.add_subcommand("render",
        "Draw a preview picture (JPEG, GIF, PNG, BMP, WMF or a slide) into a PNG as the picture control "
        "shows it; prints picture, the format found, width and height");
    render->add_option("FILE", args->file, "The picture, or a slide path as the drawing lists give it")
        ->required();
    render->add_option("--out", args->out, "The PNG file to write")->required();
    render->add_option(
        "--size", args->size, "Client size WIDTHxHEIGHT (default: the picture's own, 400x300 for slides)");
    render->add_option("--background", args->background, "Background colour RRGGBB (default ffffff)");
    SetAction(render, [args] { return Render(*args); });
}

#else

void RegisterPictureRender(CLI::App&) { }

#endif

} // namespace orv::tool

// orvtool slide dump|render|picture|list|color|write|library and picture resolve|render: AutoCAD
// slides and slide libraries as the reader sees them, and the writing of new ones.

#include "Command.h"
#include "PictureCommands.h"
#include "browser/AcadSlideBitmap.h"
#include "browser/PictureWriter.h"
#include "browser/PreviewPath.h"
#include "browser/SlideLibrary.h"
#include "browser/SlideWriter.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#ifdef ORV_HAVE_RENDER
#include "browser/render/SlideRender.h"

#include <QBuffer>
#include <QImage>
#endif

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace orv::tool {
namespace {

struct SlideArgs {
    std::string source, member, out, size, background, description;
    std::vector<std::string> members, files;
    int margin = 4, quality = kDefaultJpegQuality, lineWidth = 1;
    bool mono = false, invert = false, antialias = false, isSigned = false;
    std::string index;
};

bool ParseInt(std::string_view text, long long& value)
{
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string LoadReason(int result, const std::string& source)
{
    return result == 0 ? "cannot open " + source : source + " is not a slide, or has no such member";
}

// Loads SOURCE, or member MEMBER of the library SOURCE; prints nothing.
int LoadSource(CAcadSlideBitmap& slide, const SlideArgs& args)
{
    const std::string path = platform::ProgramPath(args.source);
    return args.member.empty() ? slide.LoadSlide(path) : slide.LoadLibrarySlide(path, args.member);
}

int Dump(const SlideArgs& args)
{
    CAcadSlideBitmap slide;
    int result = LoadSource(slide, args);
    std::cout << "result\t" << result << '\n';
    if (result != 1) {
        Fail(LoadReason(result, args.source));
        return 1;
    }
    const SlideDisplayList& list = slide.DisplayList();
    if (list.HasBox())
        std::cout << "bbox\t" << list.MinX() << '\t' << list.MinY() << '\t' << list.MaxX() << '\t'
                  << list.MaxY() << '\n';
    std::size_t next = 0;
    const auto& points = list.Points();
    for (std::size_t k = 0; k < list.PrimitiveSizes().size(); ++k) {
        unsigned size = list.PrimitiveSizes()[k];
        const SlidePoint* p = points.data() + next;
        next += size;
        int color = size > 0 ? p[0].color : list.PrimitiveColors()[k];
        if (size == 2) {
            std::cout << "line\t" << color << '\t' << p[0].x << '\t' << p[0].y << '\t' << p[1].x << '\t'
                      << p[1].y << '\n';
            continue;
        }
        std::cout << "polygon\t" << color << '\t' << size;
        for (unsigned i = 0; i < size; ++i)
            std::cout << '\t' << p[i].x << '\t' << p[i].y;
        std::cout << '\n';
    }
    return 0;
}

// One description line: "color C", "line C X1 Y1 X2 Y2" or "polygon C N X1 Y1 ...", words
// separated by blanks or tabs. "result" and "bbox" lines (as dump prints them), blank lines
// and lines starting with "#" are skipped.
bool WriteDescriptionLine(CSlideWriter& writer, const std::string& line, std::string& error)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty() || words[0][0] == '#' || words[0] == "result" || words[0] == "bbox")
        return true;
    std::vector<long long> numbers;
    for (std::size_t i = 1; i < words.size(); ++i) {
        long long value;
        if (!ParseInt(words[i], value) || value < -2147483647LL || value > 2147483647LL) {
            error = "\"" + words[i] + "\" is not a number";
            return false;
        }
        numbers.push_back(value);
    }
    auto n = [&](std::size_t i) { return static_cast<std::int32_t>(numbers[i]); };
    const std::string& kind = words[0];
    if (kind == "color" && numbers.size() == 1) {
        if (!writer.SetColor(n(0)))
            error = writer.Error();
        return error.empty();
    }
    if (kind == "line" && numbers.size() == 5) {
        if (!writer.AddLine(n(0), n(1), n(2), n(3), n(4)))
            error = writer.Error();
        return error.empty();
    }
    if (kind == "polygon" && numbers.size() >= 2 && numbers[1] >= 0
        && numbers.size() == 2 + 2 * static_cast<std::size_t>(numbers[1])) {
        std::vector<SlidePoint> vertices;
        for (std::size_t i = 2; i < numbers.size(); i += 2)
            vertices.push_back({ n(i), n(i + 1), n(0) });
        if (!writer.AddPolygon(n(0), vertices))
            error = writer.Error();
        return error.empty();
    }
    error = "expected \"color C\", \"line C X1 Y1 X2 Y2\" or \"polygon C N X1 Y1 ...\"";
    return false;
}

int Write(const SlideArgs& args)
{
    std::string text;
    if (args.description == "-") {
        std::ostringstream in;
        in << std::cin.rdbuf();
        text = in.str();
    } else {
        auto bytes = platform::ReadFileBytes(platform::ProgramPath(args.description));
        if (!bytes) {
            Fail("cannot read " + args.description);
            return 1;
        }
        text = std::move(*bytes);
    }
    CSlideWriter writer(args.isSigned ? SlideRecordLayout::Signed : SlideRecordLayout::Unsigned);
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        std::string error;
        if (!WriteDescriptionLine(writer, line, error)) {
            Fail(args.description + ":" + std::to_string(number) + ": " + error);
            return 1;
        }
    }
    if (!platform::AtomicWriteFile(platform::ProgramPath(args.out), writer.Finish())) {
        Fail("cannot write " + args.out);
        return 1;
    }
    return 0;
}

int Library(const SlideArgs& args)
{
    std::vector<std::pair<std::string, std::string>> members;
    for (const std::string& item : args.members) {
        std::size_t equals = item.find('=');
        if (equals == std::string::npos || equals == 0) {
            Fail("\"" + item + "\" is not NAME=FILE.sld");
            return 1;
        }
        std::string file = item.substr(equals + 1);
        auto bytes = platform::ReadFileBytes(platform::ProgramPath(file));
        if (!bytes) {
            Fail("cannot read " + file);
            return 1;
        }
        members.emplace_back(item.substr(0, equals), std::move(*bytes));
    }
    std::string library, error;
    if (!WriteSlideLibrary(members, library, error)) {
        Fail(error);
        return 1;
    }
    if (!platform::AtomicWriteFile(platform::ProgramPath(args.out), library)) {
        Fail("cannot write " + args.out);
        return 1;
    }
    return 0;
}

int List(const SlideArgs& args)
{
    std::vector<SlideLibraryMember> members;
    if (!ListSlideLibrary(platform::ProgramPath(args.source), members)) {
        Fail("cannot read " + args.source + " as a slide library");
        return 1;
    }
    for (const auto& member : members)
        std::cout << member.name << '\t' << member.offset << '\n';
    return 0;
}

int Color(const SlideArgs& args)
{
    long long index;
    if (!ParseInt(args.index, index)) {
        Fail("\"" + args.index + "\" is not a colour index");
        return 1;
    }
    std::uint32_t color
        = CAcadSlideBitmap::ColorFromIndex(index < 0 || index > 255 ? -1 : static_cast<int>(index));
    std::cout << SlideRed(color) << '\t' << SlideGreen(color) << '\t' << SlideBlue(color) << '\n';
    return 0;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    std::size_t x = text.find_first_of("xX");
    long long w, h;
    if (x == std::string::npos || !ParseInt(std::string_view(text).substr(0, x), w)
        || !ParseInt(std::string_view(text).substr(x + 1), h) || w <= 0 || h <= 0 || w > 16384 || h > 16384)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ParseRgb(const std::string& text, std::uint32_t& color)
{
    std::string_view hex = text;
    if (!hex.empty() && hex[0] == '#')
        hex.remove_prefix(1);
    unsigned value = 0;
    auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (hex.size() != 6 || ec != std::errc() || end != hex.data() + hex.size())
        return false;
    color = SlideRgb(value >> 16, (value >> 8) & 0xFF, value & 0xFF);
    return true;
}

// SOURCE [MEMBER] OUT: a slide or a library member drawn into a picture file by the core's
// picture writers, with the settings of slide render.
int Picture(const SlideArgs& args)
{
    SlideArgs picture = args;
    picture.source = args.files.front();
    picture.member = args.files.size() == 3 ? args.files[1] : std::string();
    const std::string& out = args.files.back();
    const std::optional<PictureFormat> format = PictureFormatOfPath(out);
    if (!format) {
        Fail(out + ": the name must end in .png, .jpg, .jpeg, .gif, .bmp or .wmf");
        return 1;
    }
    PictureOptions options;
    if (!ParseSize(args.size.empty() ? "400x300" : args.size, options.width, options.height)) {
        Fail("--size wants WIDTHxHEIGHT, each 1-16384");
        return 1;
    }
    if (args.quality < 1 || args.quality > 100 || args.lineWidth < 1 || args.lineWidth > 64) {
        Fail("--quality wants 1-100, --line-width 1-64");
        return 1;
    }
    CAcadSlideBitmap slide;
    if (!args.background.empty()) {
        std::uint32_t color;
        if (!ParseRgb(args.background, color)) {
            Fail("--background wants RRGGBB");
            return 1;
        }
        slide.SetBackgroundColor(color);
    }
    slide.SetColorMode(args.mono ? 0 : 1);
    slide.SetInvert(args.invert);
    int result = LoadSource(slide, picture);
    if (result != 1) {
        Fail(LoadReason(result, picture.source));
        return 1;
    }
    options.margin = args.margin;
    options.lineWidth = args.lineWidth;
    options.background = slide.BackgroundColor();
    options.jpegQuality = args.quality;
    options.color = [&slide](int index) { return slide.SelectColor(index); };
    std::string bytes, error;
    if (!MakePicture(slide.DisplayList(), {}, *format, options, bytes, error)) {
        Fail(error);
        return 1;
    }
    if (!platform::AtomicWriteFile(platform::ProgramPath(out), bytes)) {
        Fail("cannot write " + out);
        return 1;
    }
    return 0;
}

#ifdef ORV_HAVE_RENDER
int Render(const SlideArgs& args)
{
    int width = 0, height = 0;
    if (!ParseSize(args.size, width, height)) {
        Fail("--size wants WIDTHxHEIGHT, each 1-16384");
        return 1;
    }
    CAcadSlideBitmap slide;
    if (!args.background.empty()) {
        std::uint32_t color;
        if (!ParseRgb(args.background, color)) {
            Fail("--background wants RRGGBB");
            return 1;
        }
        slide.SetBackgroundColor(color);
    }
    slide.SetMargin(args.margin);
    slide.SetColorMode(args.mono ? 0 : 1);
    slide.SetInvert(args.invert);
    int result = LoadSource(slide, args);
    if (result != 1) {
        Fail(LoadReason(result, args.source));
        return 1;
    }
    SlideDrawOptions options;
    options.antialias = args.antialias;
    QImage image = RenderToBitmap(slide, width, height, options);
    if (image.isNull()) {
        // A slide without primitives still gives a picture: its background.
        image = QImage(width, height, QImage::Format_RGB32);
        std::uint32_t bg = slide.BackgroundColor();
        image.fill(QColor(static_cast<int>(SlideRed(bg)), static_cast<int>(SlideGreen(bg)),
            static_cast<int>(SlideBlue(bg))));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")
        || !platform::AtomicWriteFile(
            platform::ProgramPath(args.out), std::string_view(png.constData(), png.size()))) {
        Fail("cannot write " + args.out);
        return 1;
    }
    return 0;
}
#endif

void Register(CLI::App& app)
{
    auto* slide = app.add_subcommand("slide", "Read, render and write AutoCAD slides and slide libraries");
    slide->require_subcommand(1);
    auto args = std::make_shared<SlideArgs>();

    auto* dump = slide->add_subcommand("dump", "Print the load result, the bounding box and every primitive");
    dump->add_option("SOURCE", args->source, "A slide file, or a slide library with MEMBER")->required();
    dump->add_option("MEMBER", args->member, "The member of the slide library");
    SetAction(dump, [args] { return Dump(*args); });

#ifdef ORV_HAVE_RENDER
    auto* render = slide->add_subcommand("render", "Draw a slide into a PNG image as the reader does");
    render->add_option("SOURCE", args->source, "A slide file, or a slide library with MEMBER")->required();
    render->add_option("MEMBER", args->member, "The member of the slide library");
    render->add_option("--out", args->out, "The PNG file to write")->required();
    render->add_option("--size", args->size, "Image size, WIDTHxHEIGHT")->required();
    render->add_option("--background", args->background, "Background colour RRGGBB (default 000000)");
    render->add_flag("--mono", args->mono, "Draw in one colour: white on black, black on anything else");
    render->add_flag("--invert", args->invert, "Invert every drawing colour");
    render->add_option("--margin", args->margin, "Pixels left free on each side (default 4)");
    render->add_flag("--antialias", args->antialias, "Draw antialiased with fractional coordinates");
    SetAction(render, [args] { return Render(*args); });
#endif

    auto* picture = slide->add_subcommand("picture",
        "Write a slide as a PNG, JPEG, GIF, BMP or WMF picture through the gallery builder's writers");
    picture
        ->add_option("SOURCE [MEMBER] OUT", args->files,
            "A slide file or a slide library and its member, then the picture file; its extension "
            "(.png .jpg .jpeg .gif .bmp .wmf) names the format")
        ->required()
        ->expected(2, 3)
        ->type_name("FILE");
    picture->add_option("--size", args->size, "Picture size WIDTHxHEIGHT (default 400x300)");
    picture->add_option("--background", args->background, "Background colour RRGGBB (default 000000)");
    picture->add_flag("--mono", args->mono, "Draw in one colour: white on black, black on anything else");
    picture->add_flag("--invert", args->invert, "Invert every drawing colour");
    picture->add_option("--margin", args->margin, "Pixels left free on each side (default 4)");
    picture->add_option("--line-width", args->lineWidth, "Line width in pixels, raster pictures (default 1)");
    picture->add_option("--quality", args->quality, "JPEG quality 1-100 (default 90)");
    SetAction(picture, [args] { return Picture(*args); });

    auto* list = slide->add_subcommand("list", "Print each member of a slide library: name and offset");
    list->add_option("LIBRARY", args->source, "The slide library")->required();
    SetAction(list, [args] { return List(*args); });

    auto* color = slide->add_subcommand("color", "Print the red, green and blue of an AutoCAD colour index");
    color->add_option("INDEX", args->index, "Colour index 0-255")->required();
    SetAction(color, [args] { return Color(*args); });

    auto* write = slide->add_subcommand("write", "Write a slide from a description (the lines dump prints)");
    write->add_option("DESCRIPTION", args->description, "Description file, or - for standard input")
        ->required();
    write->add_option("OUT", args->out, "The slide file to write")->required();
    write->add_flag("--signed", args->isSigned, "Use the signed record layout");
    SetAction(write, [args] { return Write(*args); });

    auto* library = slide->add_subcommand("library", "Write a slide library from named slide files");
    library->add_option("OUT", args->out, "The slide library to write")->required();
    library->add_option("MEMBERS", args->members, "NAME=FILE.sld, one per member")->required();
    SetAction(library, [args] { return Library(*args); });

    auto* pictures = app.add_subcommand("picture", "Preview pictures of drawings");
    pictures->require_subcommand(1);
    RegisterPictureRender(*pictures);
    auto* resolve = pictures->add_subcommand("resolve",
        "Print what the preview loader would load for a path: slide FILE, library FILE MEMBER, "
        "or image FILE FALLBACK");
    resolve->add_option("PATH", args->source, "The drawing's preview path")->required();
    SetAction(resolve, [args] {
        PreviewSource source = ResolvePreviewPath(platform::ProgramPath(args->source));
        switch (source.kind) {
        case PreviewSource::Kind::SlideFile:
            std::cout << "slide\t" << platform::NativePath(source.path) << '\n';
            break;
        case PreviewSource::Kind::LibrarySlide:
            std::cout << "library\t" << platform::NativePath(source.path) << '\t' << source.member << '\n';
            break;
        case PreviewSource::Kind::Image:
            std::cout << "image\t" << platform::NativePath(source.path) << '\t'
                      << platform::NativePath(source.fallbackPath) << '\n';
            break;
        }
        return 0;
    });
}

const CommandRegistrar registrar("slide", Register);

} // namespace
} // namespace orv::tool

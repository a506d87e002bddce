// orvtool drawings|grid|datasheet: a directory's drawing list as the reader loads it, the
// thumbnail grid's page over that list, and a drawing's data sheet. Each calls the reader's
// own functions, so what it prints is what the reader shows.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "browser/DetailList.h"
#include "browser/DrawingLoader.h"
#include "browser/PreviewGrid.h"

#ifdef ORV_HAVE_RENDER
#include "PictureCommands.h"
#include "browser/render/GridPainter.h"
#include "browser/render/PreviewPicture.h"
#include "platform/Files.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#endif

#include <charconv>
#include <iostream>
#include <map>

namespace orv::tool {
namespace {

struct BrowserArgs {
    std::string gallery, appDir, loader = "tree", out, size = "800x600";
    std::int32_t dirId = 0, drawingId = 0;
    int page = 0;
};

// Loads the directory into state with the chosen loader; false after Fail.
bool LoadDrawings(ReaderState& state, const BrowserArgs& args, DrawingLoadResult& result)
{
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return false;
    state.CurrentDirID = args.dirId;
    QuietMessages quiet;
    result = args.loader == "link" ? LoadDirectoryDrawings(state) : LoadTreeDirectoryDrawings(state);
    if (!result.Filled) {
        Fail("the drawing statement cannot be opened: " + result.Error);
        return false;
    }
    return true;
}

int Drawings(const BrowserArgs& args)
{
    ReaderState state;
    DrawingLoadResult result;
    if (!LoadDrawings(state, args, result))
        return 1;
    std::cout << "sql\t" << EscapeField(result.Statement) << '\n';
    std::cout << "titles";
    for (const std::string& title : state.ColumnCaptions)
        std::cout << '\t' << EscapeField(title);
    std::cout << '\n';
    const DirDrawingList& list = state.Drawings;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const std::string preview = list.PreviewLibraries[i].empty()
            ? list.PreviewMembers[i]
            : list.PreviewLibraries[i] + "(" + list.PreviewMembers[i] + ")";
        std::cout << "drawing\t" << i << '\t' << list.Ids[i] << '\t' << EscapeField(list.Names[i]) << '\t'
                  << EscapeField(list.Captions[i]) << '\t' << EscapeField(preview) << '\n';
    }
    return 0;
}

#ifdef ORV_HAVE_RENDER
// The page as the grid page shows it after a reload (its first cell selected), drawn by the
// grid painter into a width x height picture; false after Fail.
bool WriteGridPicture(const GridSettings& settings, const GridPage& page,
    const std::map<int, PreviewPicture>& pictures, int width, int height, const std::string& out)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ColorFromColorRef(settings.CaptionBackground));
    QPainter painter(&image);
    GridPaintStyle style;
    style.Colours = settings;
    style.Font = QGuiApplication::font();
    const int comboHeight = QFontMetrics(style.Font).height() + 8;
    const GridLayout layout
        = LayoutGridCells(width, height, settings.Rows, settings.Columns, kGridFrameWidth, comboHeight);
    const int selected = page.Cells.empty() ? -1 : page.Cells.front().DrawingIndex;
    PaintGridPage(painter, page, layout, selected, style, [&](QPainter& p, const QRect& rect, int index) {
        const auto found = pictures.find(index);
        if (found == pictures.end())
            return;
        const QColor background = ColorFromColorRef(index == selected ? style.SelectionColour : settings.PictureBackground);
        PaintPreviewPicture(p, rect, found->second, background);
    });
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")
        || !platform::AtomicWriteFile(AbsoluteProgramPath(out),
            std::string_view(png.constData(), static_cast<std::size_t>(png.size())))) {
        Fail("cannot write " + out);
        return false;
    }
    return true;
}
#endif

bool ParseSize(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    auto side = [](std::string_view part, int& value) {
        auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        return ec == std::errc() && end == part.data() + part.size() && value >= 16 && value <= 8192;
    };
    return side(std::string_view(text).substr(0, x), width) && side(std::string_view(text).substr(x + 1), height);
}

int Grid(const BrowserArgs& args)
{
    int width = 0, height = 0;
    if (!ParseSize(args.size, width, height)) {
        Fail("--size wants WIDTHxHEIGHT, each 16-8192");
        return 1;
    }
#ifndef ORV_HAVE_RENDER
    if (!args.out.empty()) {
        Fail("--out needs orvtool built with the renderer");
        return 1;
    }
#endif
    ReaderState state;
    DrawingLoadResult result;
    BrowserArgs tree = args;
    tree.loader = "tree";
    if (!LoadDrawings(state, tree, result))
        return 1;
    const GridSettings settings = ReadGridSettings(state.IniPath);
    const GridPage page = BuildGridPage(state.Drawings, settings, args.page);
    std::cout << "grid\t" << settings.Rows << '\t' << settings.Columns << '\t' << state.Drawings.Size()
              << '\t' << page.PageCount << '\t' << page.Page << '\n';
#ifdef ORV_HAVE_RENDER
    EnsureGuiApplication();
    std::map<int, PreviewPicture> pictures;
#endif
    for (const GridCell& cell : page.Cells) {
        if (cell.DrawingIndex < 0)
            continue;
        // The picture loader's result as the cell's picture control returns it; "-" without one.
        std::string loaded = "-";
#ifdef ORV_HAVE_RENDER
        PreviewPicture& picture = pictures[cell.DrawingIndex] = LoadPreviewPicture(cell.PicturePath);
        loaded = std::to_string(picture.mode == PreviewPicture::Mode::Slide ? picture.slideResult : picture.result);
#endif
        std::cout << "cell\t" << cell.Cell << '\t' << cell.DrawingIndex << '\t' << EscapeField(cell.PicturePath)
                  << '\t' << loaded << '\t' << EscapeField(cell.Caption) << '\n';
    }
#ifdef ORV_HAVE_RENDER
    if (!args.out.empty() && !WriteGridPicture(settings, page, pictures, width, height, args.out))
        return 1;
#endif
    return 0;
}

int DataSheet(const BrowserArgs& args)
{
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    QuietMessages quiet;
    for (const DataSheetRow& row : DataSheetRows(state.Database, args.drawingId))
        std::cout << "field\t" << EscapeField(row.Caption) << '\t' << EscapeField(row.Value) << '\n';
    return 0;
}

void Register(CLI::App& app)
{
    auto args = std::make_shared<BrowserArgs>();

    auto* drawings = app.add_subcommand("drawings", "A directory's drawing list as the reader loads it");
    drawings->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    drawings->add_option("DIRID", args->dirId, "The directory")->required();
    drawings->add_option(
        "--app-dir", args->appDir, "Application folder whose ORVBook.ini is read (ShowJoin)");
    drawings->add_option("--loader", args->loader, "tree: chosen in the contents tree; link: any other way")
        ->check(CLI::IsMember({ "tree", "link" }));
    SetAction(drawings, [args] { return Drawings(*args); });

    auto* grid = app.add_subcommand("grid", "One page of the thumbnail grid over a directory's drawings");
    grid->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    grid->add_option("DIRID", args->dirId, "The directory")->required();
    grid->add_option("--app-dir", args->appDir, "Application folder whose ORVBook.ini is read (Row, Col)");
    grid->add_option("--page", args->page, "The page, 0 for the first");
    grid->add_option("--out", args->out, "Write the page as the grid page draws it (PNG)");
    grid->add_option("--size", args->size, "The picture's size for --out, WIDTHxHEIGHT (800x600)");
    SetAction(grid, [args] { return Grid(*args); });

    auto* sheet = app.add_subcommand("datasheet", "A drawing's data sheet as the detail list shows it");
    sheet->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    sheet->add_option("DRAWINGID", args->drawingId, "The drawing")->required();
    sheet->add_option("--app-dir", args->appDir, "Application folder");
    SetAction(sheet, [args] { return DataSheet(*args); });
}

const CommandRegistrar registrar("browser", Register);

} // namespace
} // namespace orv::tool

// orvtool drawings|grid|datasheet: a directory's drawing list as the reader loads it, the
// thumbnail grid's page over that list, and a drawing's data sheet. Each calls the reader's
// own functions, so what it prints is what the reader shows.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "browser/DetailList.h"
#include "browser/DrawingLoader.h"
#include "browser/PreviewGrid.h"

#include <iostream>

namespace orv::tool {
namespace {

struct BrowserArgs {
    std::string gallery, appDir, loader = "tree";
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

int Grid(const BrowserArgs& args)
{
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
    for (const GridCell& cell : page.Cells) {
        if (cell.DrawingIndex < 0)
            continue;
        // The picture loader's result (and a --out picture of the page) is to join these
        // records as a fifth column once that loader exists.
        std::cout << "cell\t" << cell.Cell << '\t' << cell.DrawingIndex << '\t'
                  << EscapeField(cell.PicturePath) << '\t' << EscapeField(cell.Caption) << '\n';
    }
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

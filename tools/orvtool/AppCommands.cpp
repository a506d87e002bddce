// orvtool app show|menu|open: the reader's start-up, tool menus and gallery opening, through
// the functions the reader itself calls, for black-box tests and bug reports.

#include "Command.h"
#include "FieldEscape.h"
#include "app/MainCommands.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "app/ToolMenu.h"
#include "navigation/GalleryOpening.h"
#include "platform/Paths.h"

#include <iostream>
#include <memory>

namespace orv::tool {
namespace {

struct AppArgs {
    std::string appDir, menuFile;
    int gallery = -1;
};

void PrintLine(std::initializer_list<std::string> fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : "\t") + field;
    std::cout << line << '\n';
}

// Paths are printed as the native paths the reader opens (letter case resolved on disk).
std::string PathField(const std::string& programPath)
{
    return EscapeField(platform::NativePath(programPath));
}

// Resolves the application folder and runs the start-up; false (after Fail) when there is no
// folder or no gallery.
bool StartReader(ReaderState& state, const std::string& appDir, bool print)
{
    std::string error;
    auto appPath = ResolveAppPath(appDir, error);
    if (!appPath) {
        Fail(error);
        return false;
    }
    StartUpResult result = StartUp(state, *appPath);
    if (print) {
        PrintLine({ "apppath", PathField(state.AppPath) });
        PrintLine({ "libpath", PathField(state.LibPath) });
        PrintLine({ "title", EscapeField(state.AppTitle) });
    }
    if (result == StartUpResult::NoGallery) {
        Fail("no gallery in " + platform::NativePath(state.LibPath));
        return false;
    }
    return true;
}

int Show(const AppArgs& args)
{
    ReaderState state;
    if (!StartReader(state, args.appDir, true))
        return 1;
    for (std::size_t i = 0; i < state.GalleryNames.size(); ++i)
        PrintLine({ "gallery", std::to_string(i), EscapeField(state.GalleryNames[i]),
            PathField(state.GalleryFiles[i]) });
    PrintLine({ "current", std::to_string(state.CurrentGallery) });
    PrintLine({ "dirid", std::to_string(state.CurrentDirID) });
    PrintLine({ "splitw", std::to_string(state.SplitW) });
    for (const AddinInfo& addin : ReadAddins(state))
        PrintLine({ "addin", EscapeField(addin.File), EscapeField(addin.Caption), EscapeField(addin.Tip) });
    return 0;
}

void PrintMenu(const std::vector<ToolMenuItem>& items, const std::vector<std::string>& commands, int depth)
{
    for (const ToolMenuItem& item : items) {
        switch (item.Type) {
        case ToolMenuItem::Kind::Separator:
            PrintLine({ "separator", std::to_string(depth) });
            break;
        case ToolMenuItem::Kind::Submenu:
            PrintLine({ "submenu", std::to_string(depth), EscapeField(item.Caption) });
            PrintMenu(item.Children, commands, depth + 1);
            break;
        case ToolMenuItem::Kind::Item:
            PrintLine(
                { "item", std::to_string(depth), std::to_string(item.CommandIndex), EscapeField(item.Caption),
                    EscapeField(commands[static_cast<std::size_t>(item.CommandIndex)]) });
            break;
        }
    }
}

int Menu(const AppArgs& args)
{
    const std::string path = AbsoluteProgramPath(args.menuFile);
    if (!platform::FileExists(path)) {
        Fail("no menu file " + args.menuFile);
        return 1;
    }
    ToolMenu menu = ReadToolMenu(path);
    PrintMenu(menu.Items, menu.Commands, 0);
    return 0;
}

int Open(const AppArgs& args)
{
    ReaderState state;
    if (!StartReader(state, args.appDir, false))
        return 1;
    const int index = args.gallery >= 0 ? args.gallery : state.CurrentGallery;
    OpenGallery(state, index);
    PrintLine({ "gallery", std::to_string(index) });
    PrintLine({ "open", state.DatabaseOpen ? "1" : "0" });
    PrintLine({ "treecache", PathField(state.TreeCachePath) });
    PrintLine({ "history", PathField(state.HistoryIniPath) });
    PrintLine({ "drawings", state.GalleryHasDrawings ? "1" : "0" });
    for (std::size_t i = 0; i < state.ColumnCaptions.size(); ++i)
        PrintLine({ "caption", std::to_string(i + 1), EscapeField(state.ColumnCaptions[i]) });
    return state.DatabaseOpen ? 0 : 1;
}

void Register(CLI::App& app)
{
    auto* group = app.add_subcommand("app", "The reader's start-up, tool menus and gallery opening");
    group->require_subcommand(1);
    auto args = std::make_shared<AppArgs>();

    auto* show = group->add_subcommand("show",
        "Start up as the reader does (writing the gallery order file as it does) and print the "
        "settings, galleries, remembered state and add-ins");
    show->add_option("--app-dir", args->appDir, "The application folder");
    SetAction(show, [args] { return Show(*args); });

    auto* menu = group->add_subcommand(
        "menu", "Print the tool menu a menu file (.mnu, or the .mnc beside it) gives");
    menu->add_option("MENUFILE", args->menuFile, "The menu file")->required();
    SetAction(menu, [args] { return Menu(*args); });

    auto* open = group->add_subcommand("open",
        "Start up and open a gallery as the reader does; print its tree cache and history paths, "
        "captions and whether it has drawings");
    open->add_option("--app-dir", args->appDir, "The application folder");
    open->add_option(
        "INDEX", args->gallery, "The gallery's index in display order (default: the remembered one)");
    SetAction(open, [args] { return Open(*args); });
}

const CommandRegistrar registrar("app", Register);

} // namespace
} // namespace orv::tool

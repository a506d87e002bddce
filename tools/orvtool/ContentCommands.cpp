// orvtool content key|show: the content key the reader computes for a directory, and the file
// work of showing a key (extraction, generated pages) with what the view would be told to do.
// Each calls the reader's own functions.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "content/ContentShow.h"
#include "content/DirectoryContent.h"
#include "navigation/GalleryOpening.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <iostream>
#include <memory>

namespace orv::tool {
namespace {

struct ContentArgs {
    std::string gallery, appDir, key, temp, highlight;
    std::int32_t dirId = 0, page = 0;
};

void PrintLine(std::initializer_list<std::string> fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : "\t") + field;
    std::cout << line << '\n';
}

int Key(const ContentArgs& args)
{
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    state.CurrentPage = args.page;
    std::string key;
    bool compressed = false;
    GetDirectoryContent(state, args.dirId, key, compressed);
    const ContentKeyKind kind = KindOfContentKey(state, key);
    PrintLine({ "key", EscapeField(key), ContentKeyKindName(kind) });
    std::string package, member;
    if (kind == ContentKeyKind::PackagePage && SplitPackageKey(key, package, member))
        PrintLine({ "package", EscapeField(package), EscapeField(member) });
    return 0;
}

int Show(const ContentArgs& args)
{
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    const std::string temp = AbsoluteProgramPath(args.temp);
    if (!platform::FolderExists(temp)) {
        Fail("no folder " + platform::NativePath(temp));
        return 1;
    }
    state.CurrentDirID = args.dirId;
    state.PendingHighlight = args.highlight;
    ContentPanelState panel;
    panel.MainView.TempFolder = panel.SecondView.TempFolder = temp;
    // Keys are program paths; a native one is taken as the same path.
    panel.ContentKey = !args.key.empty() && args.key[0] == '/' ? platform::ProgramPath(args.key) : args.key;
    const ShowContentResult result = ShowContent(state, panel, ContentViewSlot::Main);
    for (const FileStep& step : result.Files) {
        switch (step.What) {
        case FileStep::Kind::Extract:
            PrintLine({ "extract", EscapeField(step.From), EscapeField(step.To) });
            break;
        case FileStep::Kind::Write:
            PrintLine({ "write", EscapeField(step.To) });
            break;
        case FileStep::Kind::Delete:
        case FileStep::Kind::DeleteFolder:
            PrintLine({ "delete", EscapeField(step.To) });
            break;
        }
    }
    for (const ViewAction& action : result.Actions) {
        if (action.What == ViewAction::Kind::Navigate)
            PrintLine({ "navigate", EscapeField(action.Text) });
        else if (action.What == ViewAction::Kind::Message)
            PrintLine({ "message", EscapeField(action.Caption), EscapeField(action.Text) });
    }
    return 0;
}

void Register(CLI::App& app)
{
    auto* content = app.add_subcommand("content", "Content keys of directories and the showing of a key");
    content->require_subcommand(1);
    auto args = std::make_shared<ContentArgs>();

    auto* key = content->add_subcommand("key", "Print the content key of a directory and its kind");
    key->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    key->add_option("DIRID", args->dirId, "The directory")->required();
    key->add_option("--page", args->page, "The page among the directory's page files (CurrentPage, from 0)");
    key->add_option("--app-dir", args->appDir, "Application folder (for the home page)");
    SetAction(key, [args] { return Key(*args); });

    auto* show = content->add_subcommand(
        "show", "Do the file work of showing a key in the main view and print what was done");
    show->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    show->add_option("KEY", args->key, "The content key")->required();
    show->add_option("--dir", args->dirId, "The current directory, whose ContentMark applies");
    show->add_option("--app-dir", args->appDir, "Application folder (for the home page)");
    show->add_option(
        "--highlight", args->highlight, "Words to mark in a package page (the pending highlight)");
    show->add_option("--temp", args->temp, "The temporary folder to work in")->required();
    SetAction(show, [args] { return Show(*args); });
}

const CommandRegistrar registrar("content", Register);

} // namespace
} // namespace orv::tool

// orvtool tree show|path|children|step: the contents tree of a gallery as the reader builds
// it (from its tree cache or its database), and the directory queries behind the caption and
// the page stepping. Each calls the reader's own functions.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "navigation/DirectoryQueries.h"
#include "navigation/TreeBuild.h"
#include "navigation/TreeCache.h"
#include "platform/Hooks.h"

#include <iostream>

namespace orv::tool {
namespace {

struct TreeArgs {
    std::string gallery, appDir, direction;
    std::int32_t current = 0, dirId = 0, page = 0;
};

// Opens the gallery as the reader's gallery opening does: the gallery is the current one, its
// tree cache path derived from its path, a failed open tried again when DriverType is 1.
bool OpenGallery(ReaderState& state, const std::string& gallery)
{
    state.GalleryFiles = { AbsoluteProgramPath(gallery) };
    state.GalleryNames = { std::string() };
    state.CurrentGallery = 0;
    state.TreeCachePath = TreeCachePathFor(state.GalleryFiles[0]);
    int result = state.Database.ConnectDatabase(state.GalleryFiles[0], kGalleryPassword);
    if (result != 0 && state.DriverType == 1)
        result = state.Database.ConnectDatabase(state.GalleryFiles[0], kGalleryPassword);
    if (result != 0) {
        Fail(state.Database.LastError());
        return false;
    }
    state.DatabaseOpen = true;
    return true;
}

void PrintNodes(const ContentsTree& tree)
{
    for (const auto& [index, depth] : tree.PreOrder()) {
        const TreeNode& node = tree.Nodes[static_cast<std::size_t>(index)];
        std::cout << "node\t" << depth << '\t' << node.DirID << '\t' << node.Image << '\t'
                  << node.SelectedImage << '\t' << (node.Expanded && !node.Children.empty() ? 1 : 0) << '\t'
                  << EscapeField(node.Text) << '\n';
    }
}

int Show(const TreeArgs& args)
{
    QuietMessages quiet;
    ReaderState state;
    state.AppPath = ToolAppFolder(args.appDir);
    state.IniPath = state.AppPath + "\\ORVBook.ini";
    int driverType = 0;
    if (CProfileFile(state.IniPath).ReadInt("System", "DriverType", driverType) == 0 && driverType == 1)
        state.DriverType = state.Database.DriverType = 1;
    if (!OpenGallery(state, args.gallery))
        return 1;
    state.CurrentDirID = args.current;
    const TreeBuildResult result = BuildTree(state);
    if (!state.DatabaseOpen) {
        Fail(state.Database.LastError());
        return 1;
    }
    std::cout << "source\t" << TreeSourceName(result.From) << '\n';
    PrintNodes(state.Tree);
    if (state.Tree.IsNode(state.Tree.Selected)) {
        const TreeNode& selected = state.Tree.Nodes[static_cast<std::size_t>(state.Tree.Selected)];
        std::cout << "selected\t" << selected.DirID << '\t' << EscapeField(selected.Text) << '\n';
    }
    if (result.Caption)
        std::cout << "caption\t" << EscapeField(*result.Caption) << '\n';
    if (result.ShowHomePage)
        std::cout << "home\n";
    return 0;
}

void Register(CLI::App& app)
{
    auto* tree = app.add_subcommand("tree", "The contents tree of a gallery and its directory queries");
    tree->require_subcommand(1);
    auto args = std::make_shared<TreeArgs>();

    auto* show = tree->add_subcommand("show", "Build the tree as opening the gallery does and print it");
    show->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    show->add_option("--app-dir", args->appDir, "Application folder whose ORVBook.ini is read");
    show->add_option("--current", args->current, "The current directory (CurrentDirID) before the build");
    SetAction(show, [args] { return Show(*args); });

    auto* path = tree->add_subcommand("path", "Print a directory's title path");
    path->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    path->add_option("DIRID", args->dirId, "The directory")->required();
    SetAction(path, [args] {
        QuietMessages quiet;
        ReaderState state;
        if (!OpenGallery(state, args->gallery))
            return 1;
        std::cout << EscapeField(DirTitlePath(state.Database, args->dirId)) << '\n';
        return 0;
    });

    auto* children = tree->add_subcommand("children", "Print a directory's descendants, one DirID a line");
    children->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    children->add_option("DIRID", args->dirId, "The directory")->required();
    SetAction(children, [args] {
        QuietMessages quiet;
        ReaderState state;
        if (!OpenGallery(state, args->gallery))
            return 1;
        std::vector<std::int32_t> list;
        CollectChildDirs(state.Database, args->dirId, list);
        for (std::int32_t id : list)
            std::cout << id << '\n';
        return 0;
    });

    auto* step
        = tree->add_subcommand("step", "Step to the next or previous page; print DIRID and PAGE after it");
    step->add_option("DIRECTION", args->direction, "next or prev")
        ->required()
        ->check(CLI::IsMember({ "next", "prev" }));
    step->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    step->add_option("DIRID", args->dirId, "The current directory")->required();
    step->add_option("PAGE", args->page, "The current page (0 for the first)")->required();
    SetAction(step, [args] {
        QuietMessages quiet;
        ReaderState state;
        if (!OpenGallery(state, args->gallery))
            return 1;
        state.CurrentDirID = args->dirId;
        state.CurrentPage = args->page;
        const std::int32_t next = args->direction == "next" ? NextPage(state) : PrevPage(state);
        std::cout << next << '\t' << state.CurrentPage << '\n';
        return 0;
    });
}

const CommandRegistrar registrar("tree", Register);

} // namespace
} // namespace orv::tool

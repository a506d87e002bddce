// orvtool route GALLERY ADDRESS: the content view's decision for a link followed on a
// directory's page (or on a given content key), as the reader's link router makes it. A dry
// run: nothing is extracted, started or inserted.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "content/DirectoryContent.h"
#include "content/LinkRouter.h"
#include "database/AdoRecordset.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <iostream>

namespace orv::tool {
namespace {

struct RouteArgs {
    std::string gallery, address, appDir, shown;
    std::int32_t dirId = 0;
    bool dirGiven = false;
};

// The view as it stands once the key is shown: a package page as its extracted copy, a
// picture as its generated page, any other key as the page itself.
void ShowKey(ReaderState& state, ContentViewState& view, const std::string& key)
{
    state.CurrentHistoryKey = key;
    std::string package, page;
    switch (KindOfContentKey(state, key)) {
    case ContentKeyKind::PackagePage:
        if (SplitPackageKey(key, package, page)) {
            view.PackagePath = package;
            view.PageName = page;
            view.ShowingPackagePage = true;
        }
        view.LastUrl = DefaultPagePath(view);
        return;
    case ContentKeyKind::Picture:
        view.LastUrl = DefaultPagePath(view);
        return;
    default:
        view.LastUrl = key.empty() ? DefaultPagePath(view) : key;
        return;
    }
}

std::string DirectoryKey(const ReaderState& state, std::int32_t dirId)
{
    std::string key;
    bool compressed = false;
    GetDirectoryContent(state, dirId, key, compressed);
    return key;
}

void PrintAction(const ViewAction& action)
{
    using Kind = ViewAction::Kind;
    switch (action.What) {
    case Kind::SelectDirectory:
        std::cout << "select-dir\t" << action.DirId << '\n';
        break;
    case Kind::OpenGallery:
        std::cout << "open-gallery\t" << EscapeField(action.Text);
        if (!action.Caption.empty())
            std::cout << '\t' << EscapeField(action.Caption);
        std::cout << '\n';
        break;
    case Kind::Run:
        std::cout << "run\t" << EscapeField(action.Text) << '\t' << EscapeField(action.Caption) << '\n';
        break;
    case Kind::Refused:
        std::cout << "refused\t" << EscapeField(action.Text) << '\n';
        break;
    case Kind::InsertDrawing:
        std::cout << "insert\t" << action.DirId << '\n';
        break;
    case Kind::ShowPicture:
        std::cout << "picture\t" << EscapeField(action.Text + action.Caption) << '\n';
        break;
    case Kind::External:
        std::cout << "external\t" << EscapeField(action.Text) << '\n';
        break;
    case Kind::History:
        std::cout << "history\t" << action.DirId << '\t' << EscapeField(action.Text) << '\n';
        break;
    case Kind::Navigate:
        std::cout << "navigate\t" << EscapeField(action.Text) << '\n';
        break;
    case Kind::Message:
        std::cout << "message\t" << EscapeField(action.Caption) << '\t' << EscapeField(action.Text) << '\n';
        break;
    }
}

int Route(const RouteArgs& args)
{
    QuietMessages quiet;
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    ContentViewState view;
    // As the view holds it: the temporary folder in upper case.
    std::string temp = GetTempFolder();
    for (char& c : temp)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    view.TempFolder = temp;
    state.CurrentDirID = args.dirId;
    const std::string key = !args.shown.empty() ? args.shown
        : args.dirGiven                         ? DirectoryKey(state, args.dirId)
                                                : std::string();
    ShowKey(state, view, key);
    RouteOptions options;
    options.DryRun = true;
    const NavigationDecision decision
        = RouteNavigation(state, view, args.address, NavigationOrigin::User, options);
    std::cout << "decision\t" << (decision.Go ? "go" : "cancel") << '\n';
    for (const ViewAction& action : decision.Actions)
        PrintAction(action);
    return 0;
}

void Register(CLI::App& app)
{
    auto args = std::make_shared<RouteArgs>();
    auto* route = app.add_subcommand("route", "The content view's decision for a link (a dry run)");
    route->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    route->add_option("ADDRESS", args->address, "The address the view is about to navigate to")->required();
    auto* dir = route->add_option("--dir", args->dirId, "The directory whose page shows the link");
    route->add_option("--app-dir", args->appDir, "The application folder");
    route->add_option("--shown", args->shown, "The content key of the shown page (instead of --dir)");
    SetAction(route, [args, dir] {
        RouteArgs copy = *args;
        copy.dirGiven = dir->count() > 0;
        return Route(copy);
    });
}

const CommandRegistrar registrar("route", Register);

} // namespace
} // namespace orv::tool

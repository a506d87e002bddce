// Addresses come from gallery pages: any bytes reach the link router. A small gallery with a
// package page is built once; every input is routed in a dry run from that package page. The
// first byte chooses the origin, whether "app:" is put in front and whether the view is
// ready; the rest is the address.

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "builder/GalleryBuilder.h"
#include "builder/GalleryManifest.h"
#include "content/LinkRouter.h"
#include "platform/Paths.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const char* kManifest = R"json({
  "name": "Mech",
  "gallery": {"name": "fuzz"},
  "specialities": [{"id": 1, "name": "s", "path": "\\Fasten"}],
  "directories": [
    {"id": 1, "spec": 1, "name": "a", "path": "\\Bolts", "content": "bolts.htm"},
    {"id": 2, "spec": 1, "parent": 1, "name": "b", "path": "\\Bolts", "content": "HEX(A1)", "compressed": 1}
  ],
  "drawings": [{"id": 10, "dir": 2, "name": "M12"}],
  "files": [
    {"path": "Fasten\\Bolts\\bolts.htm", "text": "<html></html>"},
    {"path": "Fasten\\Bolts\\HEX.htz", "members": [{"name": "A1.htm", "text": "<html>a</html>"},
                                                   {"name": "B.htm", "text": "<html>b</html>"}]},
    {"path": "Fasten\\Bolts\\A1.files\\p.gif", "text": "GIF89a"}
  ]
})json";

struct Fixture {
    orv::ReaderState state;
    std::string package, temp, appPath;
    bool ready = false;

    Fixture()
    {
        char pattern[] = "/tmp/orvfuzz-XXXXXX";
        const char* dir = ::mkdtemp(pattern);
        if (!dir)
            return;
        ::setenv("XDG_RUNTIME_DIR", dir, 1);
        const std::string root = orv::platform::ProgramPath(dir);
        orv::GalleryManifest manifest;
        std::string error;
        orv::GalleryBuildOptions options;
        options.Sqlite = true;
        orv::GalleryBuildReport report;
        if (!orv::ParseGalleryManifest(kManifest, root, manifest, error)
            || !orv::BuildGallery(manifest, root + "\\lib", options, report, error))
            return;
        state.AppPath = root + "\\app";
        state.LibPath = root + "\\lib";
        state.GalleryFiles = { report.GalleryPath };
        state.CurrentGallery = 0;
        if (state.Database.ConnectDatabase(report.GalleryPath, orv::kGalleryPassword) != 0)
            return;
        state.DatabaseOpen = true;
        package = report.GalleryPath.substr(0, report.GalleryPath.size() - 4) + "\\Fasten\\Bolts\\HEX.HTZ";
        temp = orv::GetTempFolder();
        ready = true;
    }
};

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && orv::platform::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// A "." or ".." component would lead out of the folder the path names.
bool HasDotsComponent(const std::string& path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "." || part == "..")
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    if (!fixture.ready || size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    std::string address(reinterpret_cast<const char*>(data + 1), size - 1);
    if (flags & 1)
        address = "app:" + address;

    orv::ReaderState& state = fixture.state;
    state.ContentViewReady = (flags & 4) == 0;
    state.SearchRunning = (flags & 8) != 0;
    state.CurrentHistoryKey = fixture.package.substr(0, fixture.package.size() - 4) + "(A1).htz";
    state.History.Clear();
    orv::ContentViewState view;
    view.TempFolder = fixture.temp;
    view.PackagePath = fixture.package;
    view.PageName = "A1.htm";
    view.ShowingPackagePage = true;
    view.LastUrl = orv::DefaultPagePath(view);

    orv::RouteOptions options;
    options.DryRun = true;
    const auto origin = (flags & 2) ? orv::NavigationOrigin::Script : orv::NavigationOrigin::User;
    const orv::NavigationDecision decision = orv::RouteNavigation(state, view, address, origin, options);

    if (decision.Go && !decision.Actions.empty())
        std::abort();
    const std::string folder = orv::GetFolderPart(fixture.package);
    for (const orv::ViewAction& action : decision.Actions) {
        using Kind = orv::ViewAction::Kind;
        // A script never reaches a reader action.
        if (origin == orv::NavigationOrigin::Script && action.What != Kind::External
            && action.What != Kind::Navigate && action.What != Kind::History && action.What != Kind::Message)
            std::abort();
        // Pages are shown from the temporary folder or the package's own folder, nowhere else.
        if (action.What == Kind::Navigate && !StartsWith(action.Text, fixture.temp + "\\")
            && !StartsWith(action.Text, folder + "\\"))
            std::abort();
        if (action.What == Kind::Navigate && HasDotsComponent(action.Text.substr(0, action.Text.find('#'))))
            std::abort();
        // Only programs of the application folder run.
        if (action.What == Kind::Run
            && !StartsWith(orv::platform::ProgramPath(action.Caption), fixture.state.AppPath + "\\"))
            std::abort();
    }
    // A dry run writes nothing.
    if (orv::platform::FileExists(orv::DefaultPagePath(view)))
        std::abort();
    return 0;
}

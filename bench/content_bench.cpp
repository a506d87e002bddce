// The core's share of showing a directory's page: the content key of a packaged directory of
// the demo mechanical gallery, the page and its companion files extracted into the temporary
// folder, and (with a content mark) the redirect page written; then the extracted copy
// deleted once "loaded". The web view's load comes on top of this.
//
//   cmake -S . -B build -DORV_BUILD_BENCH=ON && cmake --build build --target content_bench orvdemo
//   build/bench/content_bench

#include "BenchFolder.h"

#include "app/ReaderState.h"
#include "content/ContentShow.h"
#include "content/DirectoryContent.h"
#include "database/AdoRecordset.h"
#include "database/GallerySchema.h"

#include <benchmark/benchmark.h>

#include <string>

namespace orv {
namespace {

void ShowPackagedDirectory(benchmark::State& st)
{
    const std::string& gallery = DemoGallery();
    if (gallery.empty()) {
        st.SkipWithError("orvdemo is not built");
        return;
    }
    ReaderState state;
    state.AppPath = platform::ProgramPath(Folder().path + "/demo");
    state.GalleryFiles = { gallery };
    state.CurrentGallery = 0;
    state.DatabaseOpen = state.Database.ConnectDatabase(gallery, kGalleryPassword) == 0;
    CAdoRecordset rs;
    if (!state.DatabaseOpen
        || rs.OpenSql("Select DirID from DrawingDir where DirContentCompress <> 0 Order By DirID", state.Database)
            != 0
        || rs.IsEOF()) {
        st.SkipWithError("the demo gallery has no packaged directory");
        return;
    }
    state.CurrentDirID = static_cast<std::int32_t>(rs.GetLong("DirID"));
    ContentPanelState panel;
    panel.MainView.TempFolder = platform::ProgramPath(Folder().path + "/temp");
    std::size_t files = 0;
    for (auto _ : st) {
        std::string key;
        bool compressed = false;
        GetDirectoryContent(state, state.CurrentDirID, key, compressed);
        panel.ContentKey = key;
        panel.ShownKey.clear();
        const ShowContentResult shown = ShowContent(state, panel);
        if (!panel.MainView.ShowingPackagePage) {
            st.SkipWithError("the page was not extracted");
            return;
        }
        files = shown.Files.size();
        OnPackagePageLoaded(panel.PreviousCompanionFolder, panel.MainView, shown.Shown);
    }
    st.counters["files"] = static_cast<double>(files);
}

BENCHMARK(ShowPackagedDirectory)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace orv

BENCHMARK_MAIN();

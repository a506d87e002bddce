// Time from opening a gallery to its first contents tree: the connection opened and the tree
// built, once from the database (which writes the tree cache) and once from the cache. For the
// large generated gallery (8 specialities, 20,000 directories, 100,000 drawings, SQLite) and
// for the demo mechanical gallery (Access form; only when orvdemo was built).
//
//   cmake -S . -B build -DORV_BUILD_BENCH=ON && cmake --build build --target tree_bench
//   build/bench/tree_bench --benchmark_min_time=2

#include "app/ReaderState.h"
#include "builder/GalleryDatabase.h"
#include "builder/SampleGallery.h"
#include "navigation/TreeBuild.h"
#include "platform/Paths.h"

#include "BenchFolder.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace orv {
namespace {

// Program path of the large gallery, written on first use.
const std::string& LargeGallery()
{
    static const std::string path = [] {
        const std::string file = platform::ProgramPath(Folder().path + "/Large.gal");
        const GalleryManifest manifest = SampleGalleryManifest({ 20000, 100000 }, false);
        std::string error;
        if (!WriteGalleryDatabase(manifest, GalleryRows(manifest), file, true, kGalleryPassword, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return file;
    }();
    return path;
}

void OpenToFirstTree(benchmark::State& st, const std::string& (*galleryOf)(), bool fromCache)
{
    const std::string& gallery = galleryOf();
    if (gallery.empty()) {
        st.SkipWithError("orvdemo is not built");
        return;
    }
    ReaderState warm;
    warm.AppPath = platform::ProgramPath(Folder().path);
    warm.GalleryFiles = { gallery };
    warm.CurrentGallery = 0;
    warm.TreeCachePath = TreeCachePathFor(gallery);
    const std::string cache = platform::NativePath(warm.TreeCachePath);
    // Makes the cache, and for an Access gallery its SQLite copy, before the first measurement.
    warm.DatabaseOpen = warm.Database.ConnectDatabase(gallery, kGalleryPassword) == 0;
    const TreeBuildResult first = BuildTree(warm);
    if (!warm.DatabaseOpen || first.Nodes == 0 || !platform::FileExists(warm.TreeCachePath)) {
        st.SkipWithError("the gallery does not open");
        return;
    }
    int nodes = 0;
    for (auto _ : st) {
        if (!fromCache) {
            st.PauseTiming();
            ::unlink(cache.c_str());
            st.ResumeTiming();
        }
        ReaderState state;
        state.AppPath = warm.AppPath;
        state.GalleryFiles = { gallery };
        state.CurrentGallery = 0;
        state.TreeCachePath = warm.TreeCachePath;
        state.DatabaseOpen = state.Database.ConnectDatabase(gallery, kGalleryPassword) == 0;
        const TreeBuildResult result = BuildTree(state);
        if (result.From != (fromCache ? TreeBuildResult::Source::Cache : TreeBuildResult::Source::Database)) {
            st.SkipWithError("the tree came from the wrong source");
            return;
        }
        nodes = result.Nodes;
        benchmark::DoNotOptimize(state.Tree.Nodes.data());
    }
    st.counters["nodes"] = nodes;
}

void Register()
{
    struct Case {
        const char* name;
        const std::string& (*gallery)();
        bool fromCache;
    };
    const Case cases[] = {
        { "Large/database", LargeGallery, false },
        { "Large/cache", LargeGallery, true },
        { "DemoMech/database", DemoGallery, false },
        { "DemoMech/cache", DemoGallery, true },
    };
    for (const Case& c : cases)
        benchmark::RegisterBenchmark((std::string("OpenToFirstTree/") + c.name).c_str(),
            [c](benchmark::State& st) { OpenToFirstTree(st, c.gallery, c.fromCache); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

} // namespace
} // namespace orv

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    orv::Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

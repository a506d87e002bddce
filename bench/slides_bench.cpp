// Slide decoding and thumbnail rendering. A generated library holds 1,000 slides of about
// 2,000 vectors each (a mix of full vectors, offset vectors and common endpoints, as drawings
// exported by AutoCAD have); the figures are decode throughput in MB/s and the time to render
// one page of 81 thumbnails at 120 x 90.
//
//   build/bench/slides_bench --benchmark_filter=. --benchmark_min_time=2

#include "BenchRandom.h"
#include "browser/AcadSlideBitmap.h"
#include "browser/SlideWriter.h"
#include "platform/Files.h"
#include "platform/Paths.h"

// The drawing benchmarks need orvrender, which is linked (with Qt's headers) when Qt exists.
#ifdef ORV_HAVE_RENDER
#include "browser/render/SlideRender.h"
#endif

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSlides = 1000;
constexpr int kVectorsPerSlide = 2000;

using Random = orv::BenchRandom;

std::string MakeSlide(int index)
{
    Random random(static_cast<std::uint32_t>(index) * 7919u + 1);
    orv::CSlideWriter writer;
    int x = 1000 + random.Below(8000), y = 1000 + random.Below(6000), color = 1;
    for (int i = 0; i < kVectorsPerSlide; ++i) {
        if (i % 200 == 0)
            color = 1 + random.Below(254);
        int kind = random.Below(4);
        if (kind < 2) {
            // A polyline: the next segment starts where this one ends.
            int nx = x + random.Below(200) - 100, ny = y + random.Below(200) - 100;
            nx = std::min(std::max(nx, 0), 10000);
            ny = std::min(std::max(ny, 0), 8000);
            writer.AddLine(color, x, y, nx, ny);
            x = nx;
            y = ny;
        } else {
            int x1 = random.Below(10000), y1 = random.Below(8000);
            int x2 = kind == 2 ? x1 + random.Below(100) : random.Below(10000);
            int y2 = kind == 2 ? y1 + random.Below(100) : random.Below(8000);
            writer.AddLine(color, x1, y1, x2, y2);
            x = x1;
            y = y1;
        }
        if (i % 500 == 499)
            writer.AddPolygon(color, { { x, y }, { x + 50, y }, { x + 50, y + 50 }, { x, y + 50 } });
    }
    return writer.Finish();
}

struct Fixture {
    std::vector<std::string> slides;
    std::vector<std::string> names;
    std::string libraryPath;
    std::uint64_t libraryBytes = 0;
    std::uint64_t slideBytes = 0;

    Fixture()
    {
        std::vector<std::pair<std::string, std::string>> members;
        for (int i = 0; i < kSlides; ++i) {
            slides.push_back(MakeSlide(i));
            slideBytes += slides.back().size();
            names.push_back("D" + std::to_string(i));
            members.emplace_back(names.back(), slides.back());
        }
        std::string library, error;
        if (!orv::WriteSlideLibrary(members, library, error))
            std::abort();
        libraryBytes = library.size();
        libraryPath
            = orv::platform::ProgramPath("/tmp/orv_slides_bench_" + std::to_string(::getpid()) + ".slb");
        if (!orv::platform::AtomicWriteFile(libraryPath, library))
            std::abort();
    }
    ~Fixture() { std::remove(orv::platform::NativePath(libraryPath).c_str()); }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

void BM_DecodeSlideData(benchmark::State& state)
{
    Fixture& data = Data();
    orv::CAcadSlideBitmap slide;
    for (auto _ : state) {
        for (const std::string& bytes : data.slides)
            benchmark::DoNotOptimize(slide.LoadSlideData(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.slideBytes));
    state.counters["vectors"] = static_cast<double>(slide.DisplayList().PrimitiveSizes().size());
}
BENCHMARK(BM_DecodeSlideData)->Unit(benchmark::kMillisecond);

// Every member loaded from the library file by name, as the thumbnail grid does: the directory
// scan is part of the cost.
void BM_DecodeLibraryMembers(benchmark::State& state)
{
    Fixture& data = Data();
    orv::CAcadSlideBitmap slide;
    for (auto _ : state) {
        for (const std::string& name : data.names) {
            if (slide.LoadLibrarySlide(data.libraryPath, name) != 1)
                state.SkipWithError("member not found");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.libraryBytes));
}
BENCHMARK(BM_DecodeLibraryMembers)->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_RENDER
// One page of the grid: 81 decoded slides drawn at 120 x 90.
void BM_RenderPage81(benchmark::State& state)
{
    Fixture& data = Data();
    std::vector<std::unique_ptr<orv::CAcadSlideBitmap>> page;
    for (int i = 0; i < 81; ++i) {
        page.push_back(std::make_unique<orv::CAcadSlideBitmap>());
        page.back()->LoadSlideData(data.slides[static_cast<std::size_t>(i)]);
    }
    for (auto _ : state) {
        for (auto& slide : page)
            benchmark::DoNotOptimize(orv::RenderToBitmap(*slide, 120, 90));
    }
}
BENCHMARK(BM_RenderPage81)->Unit(benchmark::kMillisecond);

// The same page loaded from the library file and drawn, as the grid shows a new page.
void BM_LoadAndRenderPage81(benchmark::State& state)
{
    Fixture& data = Data();
    orv::CAcadSlideBitmap slide;
    for (auto _ : state) {
        for (int i = 0; i < 81; ++i) {
            slide.LoadLibrarySlide(data.libraryPath, data.names[static_cast<std::size_t>(500 + i)]);
            benchmark::DoNotOptimize(orv::RenderToBitmap(slide, 120, 90));
        }
    }
}
BENCHMARK(BM_LoadAndRenderPage81)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();

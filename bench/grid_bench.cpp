// One page of the thumbnail grid at its largest, 9 x 9 = 81 previews from one slide library,
// loaded and drawn by the grid's painter into a 1100 x 700 page, as the grid page shows it:
// Cold loads every preview from the library (the first showing of a page), Warm draws a
// page whose previews the grid's cache already holds (paging back to it).
//
//   build/bench/grid_bench --benchmark_min_time=2

#include "BenchFolder.h"
#include "GuiBenchMain.h"
#include "app/ReaderState.h"
#include "browser/PreviewGrid.h"
#include "browser/SlideWriter.h"

#ifdef ORV_HAVE_RENDER
#include "browser/render/GridPainter.h"
#include "browser/render/PreviewCache.h"

#include <QImage>
#include <QPainter>
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 9;
constexpr int kCells = kSide * kSide;

// A part outline as previews have it: a frame, a circle of holes and hatching, about 150
// vectors and a few fills.
std::string PartSlide(int seed)
{
    orv::CSlideWriter writer;
    const int w = 4000 + seed * 13, h = 3000;
    writer.AddLine(7, 0, 0, w, 0);
    writer.AddLine(7, w, 0, w, h);
    writer.AddLine(7, w, h, 0, h);
    writer.AddLine(7, 0, h, 0, 0);
    for (int i = 0; i < 120; ++i)
        writer.AddLine(1 + i % 7, 200 + i * 30, 200, 300 + i * 28, h - 200);
    for (int i = 0; i < 8; ++i) {
        const int x = 600 + i * 400;
        writer.AddPolygon(4, { { x, 1200, 4 }, { x + 200, 1200, 4 }, { x + 200, 1400, 4 }, { x, 1400, 4 } });
    }
    return writer.Finish();
}

// The list of 81 drawings whose previews are members of PARTS.SLB in the bench folder.
const orv::DirDrawingList& Drawings()
{
    static const orv::DirDrawingList list = [] {
        std::vector<std::pair<std::string, std::string>> members;
        for (int i = 0; i < kCells; ++i)
            members.emplace_back("M" + std::to_string(i), PartSlide(i));
        std::string library, error;
        if (!orv::WriteSlideLibrary(members, library, error)) {
            std::fprintf(stderr, "grid_bench: %s\n", error.c_str());
            std::exit(1);
        }
        std::ofstream(orv::Folder().path + "/PARTS.SLB", std::ios::binary) << library;
        orv::DirDrawingList drawings;
        for (int i = 0; i < kCells; ++i) {
            drawings.Ids.push_back(static_cast<std::uint32_t>(i + 1));
            drawings.Names.push_back("M" + std::to_string(i));
            drawings.Captions.push_back("零件 M" + std::to_string(i));
            drawings.PreviewMembers.push_back("M" + std::to_string(i));
            drawings.PreviewLibraries.push_back("PARTS.SLB");
            drawings.Folders.push_back(orv::platform::ProgramPath(orv::Folder().path));
            for (auto* column : { &drawings.Status1, &drawings.AppClass, &drawings.FunClass, &drawings.ShpClass,
                     &drawings.QueryKeyword })
                column->push_back(std::string());
        }
        return drawings;
    }();
    return list;
}

#ifdef ORV_HAVE_RENDER
void DrawPage(benchmark::State& state, bool warm)
{
    orv::GridSettings settings;
    settings.Rows = settings.Columns = kSide;
    const orv::GridPage page = orv::BuildGridPage(Drawings(), settings, 0);
    const orv::GridLayout layout = orv::LayoutGridCells(1100, 700, kSide, kSide, orv::kGridFrameWidth, 22);
    orv::GridPaintStyle style;
    style.Colours = settings;
    QImage image(1100, 700, QImage::Format_RGB32);
    orv::CPreviewCache cache;
    std::vector<std::shared_ptr<const orv::PreviewPicture>> pictures(page.Cells.size());
    for (auto _ : state) {
        if (!warm)
            cache.Clear();
        for (std::size_t k = 0; k < page.Cells.size(); ++k)
            pictures[k] = cache.Get(page.Cells[k].PicturePath);
        image.fill(Qt::white);
        QPainter painter(&image);
        orv::PaintGridPage(painter, page, layout, 0, style, [&](QPainter& p, const QRect& rect, int index) {
            orv::PaintPreviewPicture(p, rect, *pictures[static_cast<std::size_t>(index)], Qt::white);
        });
    }
    if (!pictures[0] || !pictures[0]->Loaded())
        state.SkipWithError("the previews did not load");
}

void Cold(benchmark::State& state)
{
    DrawPage(state, false);
}
void Warm(benchmark::State& state)
{
    DrawPage(state, true);
}
BENCHMARK(Cold)->Unit(benchmark::kMillisecond);
BENCHMARK(Warm)->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv)
{
    return orv::RunGuiBenchmarks(argc, argv);
}

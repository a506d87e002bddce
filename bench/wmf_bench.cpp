// Metafile previews: a picture of 5,000 records (pens, brushes and fonts made, selected and
// deleted as colours change; separate short lines, small filled polygons and texts on a sheet
// of 10,000 x 7,500 units, as the gallery builder's writer makes them) read by the player and
// drawn into a preview image. The figure
// to watch is ParseAndDraw at 400 x 300, the detail preview; the grid's thumbnails are 120 x 90.
//
//   build/bench/wmf_bench --benchmark_min_time=2

#include "BenchRandom.h"
#include "GuiBenchMain.h"
#include "browser/WmfReader.h"
#include "browser/WmfWriter.h"

#ifdef ORV_HAVE_RENDER
#include "browser/render/WmfPainter.h"
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kTargetRecords = 5000;

using Random = orv::BenchRandom;

// Adds primitives until the written metafile holds kTargetRecords records.
const std::string& Metafile()
{
    static const std::string bytes = [] {
        Random random(12345);
        orv::SlideDisplayList list;
        std::vector<orv::WmfText> texts;
        std::string out, error;
        for (int step = 0;; ++step) {
            const int color = 1 + (step / 40) % 200;
            // Drawing details are small against the sheet: short lines and small filled shapes.
            const int x = random.Below(9600), y = random.Below(7100);
            if (step % 10 == 9) {
                orv::SlidePoint points[5];
                for (auto& p : points)
                    p = { x + random.Below(300), y + random.Below(300), color };
                list.AddPolygon(points, 5, color);
            } else {
                list.AddLine(x, y, x + random.Below(400), y + random.Below(400), color);
            }
            if (step % 50 == 0)
                texts.push_back({ random.Below(9000), random.Below(7000), 150, color, "M12 螺栓" });
            if (step % 100 != 99)
                continue;
            if (!orv::WriteWmf(list, texts, {}, out, error)) {
                std::fprintf(stderr, "wmf_bench: %s\n", error.c_str());
                std::exit(1);
            }
            const auto picture = orv::ReadWmf(out, error);
            if (picture && picture->records >= kTargetRecords)
                return out;
        }
    }();
    return bytes;
}

void Parse(benchmark::State& state)
{
    const std::string& bytes = Metafile();
    std::string error;
    for (auto _ : state) {
        auto picture = orv::ReadWmf(bytes, error);
        benchmark::DoNotOptimize(picture);
    }
    state.counters["records"] = orv::ReadWmf(bytes, error)->records;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(Parse)->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_RENDER
void ParseAndDraw(benchmark::State& state)
{
    const std::string& bytes = Metafile();
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::string error;
    for (auto _ : state) {
        auto picture = orv::ReadWmf(bytes, error);
        QImage image = orv::RenderWmf(*picture, size);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["records"] = orv::ReadWmf(bytes, error)->records;
}
BENCHMARK(ParseAndDraw)->Args({ 400, 300 })->Args({ 120, 90 })->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv)
{
    return orv::RunGuiBenchmarks(argc, argv);
}

// The Jet 4 writer's throughput: DrawingList rows (18 columns, Chinese texts, a keyword memo)
// encoded and packed into a complete file in memory.
// Run: build/bench/jet_bench --benchmark_filter=Jet

#include "database/jet/Jet4Writer.h"
#include "database/GallerySchema.h"

#include <benchmark/benchmark.h>

namespace {

orv::JetRow DrawingRow(int g)
{
    using orv::JetValue;
    auto s = [](std::string v) { return JetValue::FromText(std::move(v)); };
    auto i = [](std::int64_t v) { return JetValue::FromInt(v); };
    const std::string n = std::to_string(g);
    return {i(g), i(g % 20000), i(g % 8), s("DWG" + n), s("图样 " + n), g % 3 ? s("状态") : JetValue::Null(),
            s("应用"), s("功能"), s("形状"), s("齿轮 轴承 螺栓 " + n), s("Prev" + n + ".sld"), s("\\Dir" + n),
            s("D" + n + ".dwg"), s("BLK" + n), i(g % 5), i(0), i(0), i(g % 3)};
}

void BM_JetWriteDrawingList(benchmark::State& state)
{
    const orv::JetTableDef def = orv::GalleryJetTables()[7];  // DrawingList
    const int rows = static_cast<int>(state.range(0));
    std::vector<orv::JetRow> data;
    for (int g = 1; g <= rows; ++g)
        data.push_back(DrawingRow(g));
    std::size_t bytes = 0;
    for (auto _ : state) {
        orv::CJet4Writer writer;
        int table = writer.AddTable(def).value();
        for (const orv::JetRow& row : data)
            writer.AddRow(table, row);
        std::optional<std::string> file = writer.Finish();
        bytes = file ? file->size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_JetWriteDrawingList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The search page's two searches at the size of a large gallery: the full-text scan of 50 MB
// of page-like GB18030 content in 20,000 records (plain form), for a text with ASCII letters
// and for a Chinese one, and the title search over 20,000 directories, copy of the tree
// included. With ORV_SEARCH_DUMP=PATH the content is also written to PATH, so
// bench/compare-search.sh can hand the same bytes to grep.

#include "navigation/ContentsTree.h"
#include "navigation/DirectorySearch.h"
#include "navigation/FullTextIndex.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace orv {
namespace {

constexpr std::size_t kRecords = 20000;
constexpr std::size_t kRecordBytes = 50u * 1024 * 1024 / kRecords;

struct Content {
    std::string bytes, index;
    std::shared_ptr<const FullTextIndex> fullText;
};

const Content& TheContent()
{
    static const Content content = [] {
        Content c;
        std::mt19937 random(42);
        // GB2312 words (螺栓, 轴承, 齿轮, 尺寸, 材料), technical ASCII words and numbers.
        const char* words[] = { "\xC2\xDD\xCB\xA8", "\xD6\xE1\xB3\xD0", "\xB3\xDD\xC2\xD6",
            "\xB3\xDF\xB4\xE7", "\xB2\xC4\xC1\xCF", "GB/T", "mm", "M", "washer", "nut", "Shaft", "<td>",
            "</td>", "&nbsp;" };
        for (std::size_t r = 0; r < kRecords; ++r) {
            const std::size_t start = c.bytes.size();
            while (c.bytes.size() - start < kRecordBytes - 16) {
                c.bytes += words[random() % (sizeof words / sizeof *words)];
                c.bytes += std::to_string(random() % 2000);
                c.bytes += ' ';
            }
            // One record in a hundred names a bolt.
            if (r % 100 == 7)
                c.bytes += "Hex Bolt";
            c.bytes += "\r\n";
            c.index += "r,[" + std::to_string(r + 1) + "]\r\n" + std::to_string(start) + ","
                + std::to_string(c.bytes.size() - 1) + "\r\n";
        }
        c.fullText = FullTextIndex::FromBytes(c.index, c.bytes, FullTextFormat::Plain);
        if (const char* dump = std::getenv("ORV_SEARCH_DUMP"))
            std::ofstream(dump, std::ios::binary) << c.bytes;
        return c;
    }();
    return content;
}

void FullText(benchmark::State& state, const char* text)
{
    const Content& c = TheContent();
    const bool running = true;
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = c.fullText->Find(text, running).Hits.size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.bytes.size()));
}

void BM_FullTextLetters(benchmark::State& state)
{
    FullText(state, "bolt");
}
void BM_FullTextChinese(benchmark::State& state)
{
    FullText(state, "螺栓螺栓");
}

// 20 specialities of 1,000 directories each, in two levels.
void BM_TitleSearch20000(benchmark::State& state)
{
    ContentsTree tree;
    std::int32_t id = 0;
    for (int s = 0; s < 20; ++s) {
        const int spec = tree.AddNode(-1, "专业" + std::to_string(s), 0, 0, 0);
        int parent = spec;
        for (int d = 0; d < 1000; ++d) {
            ++id;
            const std::string title
                = (d % 97 == 3 ? "六角头螺栓 Hex Bolt M" : "轴承座 Bearing ") + std::to_string(d);
            const int node = tree.AddNode(d % 10 == 0 ? spec : parent, title, 1, 1, id);
            if (d % 10 == 0)
                parent = node;
            tree.Table.DirID.push_back(static_cast<std::uint32_t>(id));
            tree.Table.Item.push_back(node);
            tree.Table.Content.push_back("NULL");
        }
    }
    const bool running = true;
    std::size_t rows = 0;
    for (auto _ : state) {
        const SearchTreeCopy copy = SearchTreeCopy::From(tree);
        rows = SearchTitles(copy, "bolt", SearchScope::All, {}, running).Rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(BM_FullTextLetters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTextChinese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitleSearch20000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv

BENCHMARK_MAIN();

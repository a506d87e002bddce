// Reading pages out of a large package: a 2,000-member ".htz" whose last member is a 100 KB
// page, opened and extracted end to end the way the content view does for every page shown.

#include "packages/ZFileLib.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string PageText(std::size_t bytes, unsigned seed)
{
    static const char* const words[]
        = { "<p>", "</p>", "<td>", "</td>", "\xB3\xDD\xC2\xD6", "\xD6\xE1\xB3\xD0", "\xC2\xDD\xCB\xA8",
              "GB/T", "<img src=\"A12.files/image", ".gif\">", "\xB3\xDF\xB4\xE7", "mm", "\r\n" };
    std::string text = "<html><head><meta charset=\"gb2312\"></head><body>\r\n";
    unsigned state = seed;
    while (text.size() < bytes) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % (sizeof words / sizeof words[0])];
        text += std::to_string((state >> 8) % 1000);
        text += ' ';
    }
    text.resize(bytes - 7);
    return text + "</html>";
}

std::string Compress(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
        static_cast<uLong>(bytes.size()), 6);
    out.resize(size);
    return out;
}

struct Package {
    std::string folder; // native
    std::string dataPath; // program path of P.htz
    std::string target; // program path of the extracted page
    std::string baseFolder; // program path

    Package()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        std::ofstream data(folder + "/P.htz", std::ios::binary);
        std::ofstream index(folder + "/P.idx", std::ios::binary);
        for (int i = 0; i < 2000; ++i) {
            bool last = i == 1999;
            std::string name = last ? "Target.htm" : "P" + std::to_string(i) + ".htm";
            std::string blob = Compress(PageText(last ? 100 * 1024 : 2000 + (i * 37) % 6000, i + 1));
            data << blob;
            index << name << "\r\n" << blob.size() << "\r\n";
        }
        dataPath = orv::platform::ProgramPath(folder + "/P.htz");
        target = orv::platform::ProgramPath(folder + "/out.htm");
        baseFolder = orv::platform::ProgramPath(folder);
    }
    ~Package() { std::filesystem::remove_all(folder); }
};

const Package& TestPackage()
{
    static Package package;
    return package;
}

// Open the package and write the rewritten page, as for every page the reader shows.
void BM_ExtractPageEndToEnd(benchmark::State& state)
{
    const Package& package = TestPackage();
    for (auto _ : state) {
        orv::CZHtmFileLib lib(package.dataPath);
        if (!lib.Open(package.dataPath))
            state.SkipWithError("open failed");
        lib.SetBaseFolder(package.baseFolder);
        std::string target = package.target;
        if (!lib.ExtractFile("TARGET.HTM", target))
            state.SkipWithError("extract failed");
    }
    state.SetBytesProcessed(state.iterations() * 100 * 1024);
}
BENCHMARK(BM_ExtractPageEndToEnd)->Unit(benchmark::kMicrosecond);

void BM_OpenIndexOf2000Members(benchmark::State& state)
{
    const Package& package = TestPackage();
    for (auto _ : state) {
        orv::CZFileLib lib(package.dataPath);
        benchmark::DoNotOptimize(lib.Open(package.dataPath));
    }
}
BENCHMARK(BM_OpenIndexOf2000Members)->Unit(benchmark::kMicrosecond);

void BM_ReadPageText(benchmark::State& state)
{
    const Package& package = TestPackage();
    orv::CZHtmFileLib lib(package.dataPath);
    lib.Open(package.dataPath);
    for (auto _ : state)
        benchmark::DoNotOptimize(lib.ReadPageText("target.htm"));
}
BENCHMARK(BM_ReadPageText)->Unit(benchmark::kMicrosecond);

void BM_ExtractMemberToFile(benchmark::State& state)
{
    const Package& package = TestPackage();
    orv::CZFileLib lib(package.dataPath);
    lib.Open(package.dataPath);
    for (auto _ : state) {
        std::string target = package.target;
        benchmark::DoNotOptimize(lib.ExtractFile("Target.htm", target));
    }
}
BENCHMARK(BM_ExtractMemberToFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

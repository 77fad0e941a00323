// Searching the library's catalogue as the reader types, on a generated catalogue of 20,000
// works in the library's layout: one keystroke that narrows the previous results, one that
// starts over (a full pass), a change of order, and reading and indexing the file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "library/catalogue_index.h"
#include "library/catalogue_reader.h"
#include "support/catalogue_maker.h"

namespace {

using namespace Yomibon;
constexpr size_t kWorks = 20'000;

const std::filesystem::path& CatalogueFile() {
    static const std::filesystem::path file = [] {
        auto path = std::filesystem::temp_directory_path() / "yomibon_bench_catalogue.zip";
        Test::WriteCatalogueZip(path,
                                Test::CatalogueCsv(Test::SampleCatalogue(kWorks, "http://h")));
        return path;
    }();
    return file;
}

CYbCatalogueIndex& Index() {
    static CYbCatalogueIndex index = [] {
        std::vector<CatalogueWork> works;
        ReadCatalogue(CatalogueFile(), works);
        CYbCatalogueIndex i;
        i.assign(std::move(works));
        return i;
    }();
    return index;
}

// Typing a query one character at a time from an empty field: the time per keystroke.
void BM_TypeQuery(benchmark::State& state, std::u16string query) {
    CYbCatalogueIndex& index = Index();
    size_t found = 0;
    for (auto _ : state) {
        index.search(u"");
        for (size_t n = 1; n <= query.size(); ++n)
            found = index.search(query.substr(0, n)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["keystroke_us"] =
        benchmark::Counter(double(query.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
    state.counters["found"] = double(found);
}
BENCHMARK_CAPTURE(BM_TypeQuery, reading, std::u16string(u"はるのゆき"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TypeQuery, kanji_author, std::u16string(u"雪 佐藤"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TypeQuery, half_width, std::u16string(u"ﾋﾟｱﾉ"))->Unit(benchmark::kMicrosecond);

// The worst keystroke: a query that does not extend the last one, so every work is looked at.
void BM_FullPass(benchmark::State& state) {
    CYbCatalogueIndex& index = Index();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        benchmark::DoNotOptimize(index.search(flip ? u"ゆ" : u"か").size());
    }
}
BENCHMARK(BM_FullPass)->Unit(benchmark::kMicrosecond);

// A miss scans everything too, with nothing to collect.
void BM_FullPassNoMatch(benchmark::State& state) {
    CYbCatalogueIndex& index = Index();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        benchmark::DoNotOptimize(index.search(flip ? u"存在しない" : u"ありえない").size());
    }
}
BENCHMARK(BM_FullPassNoMatch)->Unit(benchmark::kMicrosecond);

// Clicking a column head: the whole list re-ordered, the query kept.
void BM_Sort(benchmark::State& state) {
    CYbCatalogueIndex& index = Index();
    index.search(u"");
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        index.sortBy(flip ? CYbCatalogueIndex::BY_AUTHOR : CYbCatalogueIndex::BY_TITLE, true);
    }
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond);

// Opening the window the first time: reading the zipped file and folding every work.
void BM_ReadAndIndex(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<CatalogueWork> works;
        ReadCatalogue(CatalogueFile(), works);
        CYbCatalogueIndex index;
        index.assign(std::move(works));
        benchmark::DoNotOptimize(index.works().size());
    }
}
BENCHMARK(BM_ReadAndIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

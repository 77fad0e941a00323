// Line arrangement speed: the largest corpus text in the bunko layout, arranged again and
// again as a re-layout does (target: 10 M characters/s, a 2 MB novel under 100 ms).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "largest_text.h"
#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace {

using namespace Yomibon;
using Bench::LargestText;

int64_t CharactersOf(const CYbTxtBuffer& buffer) {
    int64_t count = 0;
    for (const LineInfo& line : buffer.lines())
        for (const TextInfo& run : line.runs)
            if (run.textType == TT_TEXT || run.textType == TT_AUTO_HORIZONTAL ||
                run.textType == TT_HANGING)
                count += int64_t(CharCount(run.str));
    return count;
}

void BM_ArrangeBunko(benchmark::State& state) {
    std::filesystem::path file = LargestText();
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    if (file.empty() || !parser.loadFile(FromUtf8(file.string()), buffer)) {
        state.SkipWithError("no text to arrange");
        return;
    }
    CYbBunkoTxtLayout layout;
    CYbTxtParam param;
    int64_t chars = CharactersOf(buffer);
    int lastPage = 0;
    for (auto _ : state) {
        lastPage = ArrangeDocument(buffer, layout, param);
        benchmark::DoNotOptimize(lastPage);
    }
    state.SetItemsProcessed(state.iterations() * chars);
    state.counters["chars"] = double(chars);
    state.counters["bytes"] = double(std::filesystem::file_size(file));
    state.counters["pages"] = double(lastPage + 1);
    state.SetLabel(file.filename().string());
}
BENCHMARK(BM_ArrangeBunko)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

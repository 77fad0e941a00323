// Searching the largest corpus text (or the bundled samples) end to end, forwards and
// backwards, for a word that does not occur: every candidate run of the buffer is tried.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/paths.h"
#include "text/aozora_parser.h"
#include "text/text_buffer.h"
#include "text/txt_search.h"

namespace {

namespace fs = std::filesystem;
using namespace Yomibon;

fs::path LargestText() {
    const fs::path preferred =
        fs::path(YB_SOURCE_DIR) / "../shared/corpus/dev/oooka-seidan/50685_ruby_67979.txt";
    std::error_code ec;
    if (fs::is_regular_file(preferred, ec)) return preferred;
    fs::path best;
    std::uintmax_t bestSize = 0;
    for (const auto& e :
         fs::recursive_directory_iterator(fs::path(YB_SOURCE_DIR) / "data/samples", ec)) {
        if (!e.is_regular_file() || e.path().extension() != ".txt") continue;
        if (e.file_size() > bestSize) bestSize = e.file_size(), best = e.path();
    }
    return best;
}

const CYbTxtBuffer& LoadedBuffer(fs::path& file) {
    static fs::path loadedFile = LargestText();
    static CYbTxtBuffer buffer = [] {
        CYbTxtBuffer b;
        CYbAozoraTxtParser parser;
        if (!loadedFile.empty()) parser.loadFile(FromFsPath(loadedFile), b);
        return b;
    }();
    file = loadedFile;
    return buffer;
}

void SearchMissing(benchmark::State& state, bool forward) {
    fs::path file;
    const CYbTxtBuffer& buffer = LoadedBuffer(file);
    if (buffer.lineCount() == 0) {
        state.SkipWithError("no text to search");
        return;
    }
    // A hiragana start puts the most candidate runs in the way; the word itself is absent.
    const std::u16string word = u"のぞみえぬ言葉ぬ";
    CYbTxtSearch search(&buffer);
    for (auto _ : state) {
        TextPoint hit;
        search.StartSearch(forward ? TextPoint{0, 0, 0} : TextPoint{-1, 0, 0}, forward, word,
                           false);
        if (search.Find(hit, forward)) state.SkipWithError("the word occurs");
    }
    state.SetLabel(file.filename().string());
    state.counters["source_MB"] = double(fs::file_size(file)) / 1e6;
    state.counters["lines"] = double(buffer.lineCount());
}

void BM_SearchMissingForward(benchmark::State& state) {
    SearchMissing(state, true);
}
void BM_SearchMissingBackward(benchmark::State& state) {
    SearchMissing(state, false);
}
BENCHMARK(BM_SearchMissingForward)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMissingBackward)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

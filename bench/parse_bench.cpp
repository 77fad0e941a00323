// Parsing speed of the Aozora parser, end to end (read, decode, parse, post-process), on the
// largest corpus text (or the bundled samples), with the buffer's memory per source byte.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

#include "largest_text.h"
#include "platform/paths.h"
#include "text/aozora_parser.h"
#include "text/text_buffer.h"

namespace {

namespace fs = std::filesystem;
using namespace Yomibon;
using Bench::LargestText;

// Heap bytes held by the buffer's lines, runs and their characters (one terminated string a
// run, whether the run's own or part of its line's block).
size_t BufferBytes(const CYbTxtBuffer& buffer) {
    size_t bytes = buffer.lines().capacity() * sizeof(LineInfo);
    for (const LineInfo& line : buffer.lines()) {
        bytes += line.runs.capacity() * sizeof(TextInfo);
        for (const TextInfo& run : line.runs)
            if (!run.str.empty()) bytes += (run.str.size() + 1) * sizeof(char16_t);
    }
    return bytes;
}

void BM_ParseLargestText(benchmark::State& state) {
    fs::path file = LargestText();
    if (file.empty()) {
        state.SkipWithError("no text to parse");
        return;
    }
    std::u16string name = FromFsPath(file);
    size_t sourceBytes = fs::file_size(file);
    size_t bufferBytes = 0;
    for (auto _ : state) {
        CYbTxtBuffer buffer;
        CYbAozoraTxtParser parser;
        parser.loadFile(name, buffer);
        bufferBytes = BufferBytes(buffer);
        benchmark::DoNotOptimize(buffer.lineCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations() * sourceBytes));
    state.SetLabel(file.filename().string());
    state.counters["source_MB"] = double(sourceBytes) / 1e6;
    state.counters["buffer_bytes_per_source_byte"] = double(bufferBytes) / double(sourceBytes);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ParseLargestText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

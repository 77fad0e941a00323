// Parsing speed of the Aozora parser, end to end (read, decode, parse, post-process), on the
// largest corpus text (or the bundled samples), with the buffer's memory per source byte.
// `parse_bench --once` loads the text once in the fresh process instead.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "largest_text.h"
#include "platform/heap_tuning.h"
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

// One load in this fresh process, as a reader opening the text meets it (first touch of
// the heap included), for `perf stat` to count: the phases' times and the peak memory.
int ParseOnce() {
    fs::path file = LargestText();
    if (file.empty()) {
        std::fprintf(stderr, "parse_bench: no text to parse\n");
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    if (!parser.loadFile(FromFsPath(file), buffer)) return 1;
    const double totalMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const auto& phases = parser.loadPhases();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s\nread_ms: %.2f\ndecode_ms: %.2f\nparse_ms: %.2f\nlines: %d\n",
                file.filename().c_str(), phases.read, phases.decode,
                totalMs - phases.read - phases.decode, buffer.lineCount());
    std::printf("buffer_MB: %.2f\npeak_rss_MB: %.1f\n", double(BufferBytes(buffer)) / 1e6,
                double(usage.ru_maxrss) / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // As the programs that open texts do.
    if (!std::getenv("YOMIBON_DEFAULT_HEAP")) TuneHeap();
    if (argc == 2 && std::strcmp(argv[1], "--once") == 0) return ParseOnce();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

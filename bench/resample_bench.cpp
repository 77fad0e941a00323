// Picture scaling: a large photograph reduced to fit a page box, and a small illustration
// enlarged, each with one worker thread and with the two the resampler normally uses.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "render/resampler.h"

namespace {

using Yomibon::CYbBitmap;

CYbBitmap Pattern(int width, int height) {
    CYbBitmap bitmap(width, height);
    uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;  // texture, so no pixel is predictable
            bitmap.pixel(x, y) = 0xFF000000u | ((uint32_t(x + y) & 0xFF) << 16) |
                                 ((state >> 24) << 8) | (uint32_t(x * y) & 0xFF);
        }
    return bitmap;
}

void Scale(benchmark::State& state, int width, int height, double scale) {
    const CYbBitmap source = Pattern(width, height);
    const int threads = int(state.range(0));
    CYbBitmap target;
    for (auto _ : state) {
        Yomibon::Detail::ResampleWithThreads(target, source, scale, scale, threads);
        benchmark::DoNotOptimize(target.bits());
    }
    state.counters["pixels_out"] = double(target.width()) * target.height();
}

// 4000 x 3000 to fit 1000 x 750.
void BM_ReduceToFit(benchmark::State& state) {
    Scale(state, 4000, 3000, 0.25);
}
// 300 x 200 to 1200 x 800.
void BM_Enlarge(benchmark::State& state) {
    Scale(state, 300, 200, 4.0);
}

BENCHMARK(BM_ReduceToFit)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Enlarge)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

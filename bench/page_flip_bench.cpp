// One frame of the page-turn animation on a 1920 x 1080 canvas, for each turning angle.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "render/page_flip.h"

namespace {

using Yomibon::CYbBitmap;
using Yomibon::CYbPageFlip;

CYbBitmap Spread(uint32_t seed) {
    CYbBitmap bitmap(1920, 1080);
    uint32_t state = seed;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            bitmap.pixel(x, y) = state >> 8;
        }
    return bitmap;
}

// Produces frame range(0) of a forward turn over the whole canvas.
void BM_FlipFrame(benchmark::State& state) {
    const int frame = int(state.range(0));
    const CYbBitmap oldSpread = Spread(1), newSpread = Spread(2);
    CYbPageFlip flip;
    flip.captureOld(oldSpread);
    flip.captureNew(newSpread);
    for (auto _ : state) {
        state.PauseTiming();
        flip.prepare({0, 0, 1920, 1080}, true);
        while (flip.frameIndex() < frame)
            flip.step();
        state.ResumeTiming();
        flip.step();
        benchmark::DoNotOptimize(flip.frame().bits());
    }
}
BENCHMARK(BM_FlipFrame)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

// A whole turn of twelve frames.
void BM_FlipTurn(benchmark::State& state) {
    const CYbBitmap oldSpread = Spread(1), newSpread = Spread(2);
    CYbPageFlip flip;
    flip.captureOld(oldSpread);
    flip.captureNew(newSpread);
    for (auto _ : state) {
        flip.prepare({0, 0, 1920, 1080}, true);
        while (flip.step()) {
        }
        benchmark::DoNotOptimize(flip.frame().bits());
    }
}
BENCHMARK(BM_FlipTurn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Glyph drawing speed: a body character from the glyph cache, one drawn again from the
// recent glyphs, one rasterised afresh (also with the small-size and the LCD renderer),
// and an emphasis mark from its metafile.
#include <benchmark/benchmark.h>

#include "render/char_4nn_renderer.h"
#include "render/char_8nn_renderer.h"
#include "render/char_lcd_renderer.h"

namespace {

using namespace Yomibon;

LogFont Vertical(int height) {
    LogFont f;
    f.lfHeight = height;
    f.lfFaceName = u"@IPAex明朝";
    f.lfEscapement = f.lfOrientation = 2700;
    return f;
}

enum class Kept { Retained, Recent, Never };

template <typename Renderer>
void Draw(benchmark::State& state, int height, Kept kept, const char16_t* text, int length) {
    Renderer r;
    r.setColor(0x202020);
    r.setFont(Vertical(height));
    if (kept == Kept::Retained) r.retainGlyphs(text);
    CYbBitmap page(800, 600);
    page.fill(0x00FFFFFF);
    for (auto _ : state) {
        if (kept == Kept::Never) {
            // Setting the folder forgets the recent glyphs, so the next draw rasterises.
            state.PauseTiming();
            r.setProperty(u"CurDir", u"");
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(r.drawText(page, 100, 100, text, length));
    }
}

void CachedBody(benchmark::State& s) {
    Draw<CYbChar4NNRenderer>(s, 40, Kept::Retained, u"の", 1);
}
void RepeatedBody(benchmark::State& s) {
    Draw<CYbChar4NNRenderer>(s, 40, Kept::Recent, u"漢", 1);
}
void FreshBody(benchmark::State& s) {
    Draw<CYbChar4NNRenderer>(s, 40, Kept::Never, u"漢", 1);
}
void FreshSmall(benchmark::State& s) {
    Draw<CYbChar8NNRenderer>(s, 16, Kept::Never, u"漢", 1);
}
void FreshLcd(benchmark::State& s) {
    Draw<CYbCharLCDRenderer>(s, 40, Kept::Never, u"漢", 1);
}
void EmphasisMark(benchmark::State& s) {
    Draw<CYbChar4NNRenderer>(s, 40, Kept::Recent, u"傍点", 0);
}

BENCHMARK(CachedBody);
BENCHMARK(RepeatedBody);
BENCHMARK(FreshBody);
BENCHMARK(FreshSmall);
BENCHMARK(FreshLcd);
BENCHMARK(EmphasisMark);

}  // namespace

BENCHMARK_MAIN();

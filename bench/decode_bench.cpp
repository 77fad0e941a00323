// Reading a text (bytes → UTF-16 the way the reader decodes it) against the C library's iconv
// converting the same bytes from CP932 to UTF-16LE, on the largest corpus text, in one run so
// that the two figures are comparable.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "largest_text.h"
#include "text/aozora_parser.h"

namespace {

namespace fs = std::filesystem;
using namespace Yomibon;
using Bench::LargestText;

const std::string& Bytes() {
    static const std::string bytes = [] {
        std::ifstream in(LargestText(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

void BM_DecodeText(benchmark::State& state) {
    const std::string& bytes = Bytes();
    if (bytes.empty()) return state.SkipWithError("no text to read");
    for (auto _ : state) {
        std::u16string text = CYbAozoraTxtParser::DecodeText(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeText)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_Iconv(benchmark::State& state) {
    const std::string& bytes = Bytes();
    if (bytes.empty()) return state.SkipWithError("no text to read");
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == iconv_t(-1)) return state.SkipWithError("iconv has no CP932");
    for (auto _ : state) {
        // The same output form as the reader's: a string of UTF-16 units.
        std::u16string text(bytes.size() + 16, u'\0');
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        char* out = reinterpret_cast<char*>(text.data());
        size_t outLeft = text.size() * sizeof(char16_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        iconv(cd, &in, &inLeft, &out, &outLeft);
        text.resize(text.size() - outLeft / sizeof(char16_t));
        benchmark::DoNotOptimize(text.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Iconv)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();

// PDF export speed and size: the longest corpus text exported whole in the paperback
// layout (target: 大岡政談 under 20 s and under 40 KB a page). Counters: pages per second
// and kilobytes per page of the written file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "layout/document_arranger.h"
#include "platform/utf16.h"
#include "render/pdf_export.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace {

using namespace Yomibon;

std::filesystem::path LongestText() {
    const char* env = std::getenv("YOMIBON_CORPUS");
    const std::filesystem::path dir =
        env ? std::filesystem::path(env)
            : std::filesystem::path(YB_SOURCE_DIR) / "../shared/corpus/dev";
    const auto corpus = dir / "oooka-seidan/50685_ruby_67979.txt";
    if (std::filesystem::exists(corpus)) return corpus;
    // Without the corpus, the sample shipped with the program.
    return std::filesystem::path(YB_SOURCE_DIR) / "data/samples/rashomon.txt";
}

void BM_ExportPdfWhole(benchmark::State& state) {
    const std::filesystem::path file = LongestText();
    CYbTxtParam param;
    auto arranger = std::make_unique<CYbDocumentArranger>();
    CYbDocumentArranger* layout = arranger.get();
    CYbTxtDocument document(param, std::move(arranger));
    if (!document.openFile(FromUtf8(file.string()))) {
        state.SkipWithError("no text to export");
        return;
    }
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / "yomibon-pdf-bench.pdf";
    PdfExportResult r;
    for (auto _ : state) {
        r = ExportPdf(param, document, layout->layout(), out, {});
        if (r.status != PdfExportStatus::Done) {
            state.SkipWithError("export failed");
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove(out, ec);
    state.SetItemsProcessed(state.iterations() * r.pages);
    state.counters["pages"] = double(r.pages);
    state.counters["pages/s"] =
        benchmark::Counter(double(r.pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["KB/page"] = r.pages ? double(r.bytes) / 1024.0 / r.pages : 0.0;
    state.SetLabel(file.filename().string());
}
BENCHMARK(BM_ExportPdfWhole)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

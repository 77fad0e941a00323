// Time to the first spread of a 2 MB XHTML novel (the corpus's 走れメロス XHTML with its
// body repeated), next to the notation edition of the same size: open (read, decode,
// parse, arrange) and draw the first spread. Target: under 0.5 s for the XHTML.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace {

namespace fs = std::filesystem;
using namespace Yomibon;

constexpr size_t kTargetBytes = 2 << 20;

fs::path CorpusFile(const char* relative) {
    if (const char* env = std::getenv("YOMIBON_CORPUS")) return fs::path(env) / relative;
    return fs::path(YB_SOURCE_DIR) / "../shared/corpus/dev" / relative;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The document with the part from `a` to `b` repeated up to the target size.
std::string Repeated(const std::string& doc, size_t a, size_t b) {
    if (a == std::string::npos || b == std::string::npos || b <= a) return {};
    std::string body = doc.substr(a, b - a), out = doc.substr(0, a);
    while (out.size() + body.size() < kTargetBytes)
        out += body;
    return out + doc.substr(b);
}

// Writes the 2 MB edition once per process; empty without the corpus.
fs::path MakeEdition(bool xhtml) {
    fs::path dir = fs::temp_directory_path() / "yomibon-html-bench";
    fs::create_directories(dir);
    fs::path out = dir / (xhtml ? "cards/000035/files/melos-2mb.html" : "melos-2mb.txt");
    if (fs::exists(out)) return out;
    if (!fs::exists(CorpusFile("xhtml"))) return {};
    std::string doc;
    if (xhtml) {
        // Shift_JIS bytes as published: the markers are ASCII.
        std::string page = ReadAll(CorpusFile("xhtml/cards/000035/files/1567_14913.html"));
        size_t a = page.find("<div class=\"main_text\">");
        doc = Repeated(page, a == std::string::npos ? a : a + 23,
                       page.find("<div class=\"chitsuki_1\""));
        fs::create_directories(out.parent_path());
        fs::copy_file(CorpusFile("xhtml/cards/aozora.css"), dir / "cards/aozora.css",
                      fs::copy_options::overwrite_existing);
    } else {
        std::string text = ReadAll(CorpusFile("dazai-hashire-merosu/1567_ruby_4948.txt"));
        // From the first body line (after the header's notes, closed by a rule) to the blank
        // lines before the bibliography.
        size_t rule = text.find("-------", text.find("\r\n", text.find("-------")));
        size_t a = rule == std::string::npos ? rule : text.find("\r\n", rule) + 2;
        doc = Repeated(text, a, text.rfind("\r\n\r\n\r\n"));
    }
    if (doc.empty()) return {};
    std::ofstream(out, std::ios::binary) << doc;
    return out;
}

void FirstSpread(benchmark::State& state, bool xhtml) {
    fs::path file = MakeEdition(xhtml);
    if (file.empty()) {
        state.SkipWithError("no corpus");
        return;
    }
    for (auto _ : state) {
        CYbTxtParam param;
        param.SetText(u"LayoutFile", u"");
        auto arranger = std::make_unique<CYbDocumentArranger>();
        CYbDocumentArranger* layout = arranger.get();
        CYbTxtDocument document(param, std::move(arranger));
        if (!document.openFile(FromFsPath(file))) {
            state.SkipWithError("cannot open");
            return;
        }
        CYbPageCanvas canvas(param);
        canvas.setDocument(&document, &layout->layout());
        canvas.resize(1920, 1080);
        canvas.drawPage(document.getStartPage());
        state.counters["pages"] = document.getPageCount();
    }
    state.counters["bytes"] = double(fs::file_size(file));
}

void BM_FirstSpreadXhtml(benchmark::State& state) {
    FirstSpread(state, true);
}
void BM_FirstSpreadNotation(benchmark::State& state) {
    FirstSpread(state, false);
}

BENCHMARK(BM_FirstSpreadXhtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FirstSpreadNotation)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

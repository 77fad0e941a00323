// yomibon-cli bench FILE [--size WxH] [--layout …]: times opening, arrangement, and the
// mapping and drawing of every spread.
#include <iconv.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "platform/font_match.h"
#include "platform/limits.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/page_canvas.h"
#include "settings/file_io.h"

namespace Yomibon::Cli {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The floor for reading: the C library's iconv reading the same file and converting it from
// CP932 to UTF-16LE; negative when the file is not a plain file or iconv lacks CP932.
double IconvMs(const std::u16string& path) {
    auto start = Clock::now();
    std::string bytes;
    if (!ReadFileBytes(ToFsPath(path), bytes, Limits::kMaxTextFileBytes)) return -1;
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == iconv_t(-1)) return -1;
    std::u16string text(bytes.size() + 16, u'\0');
    char* in = bytes.data();
    size_t inLeft = bytes.size();
    char* out = reinterpret_cast<char*>(text.data());
    size_t outLeft = text.size() * sizeof(char16_t);
    iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    text.resize(text.size() - outLeft / sizeof(char16_t));
    return MsSince(start);
}

int RunBench(const Args& args) {
    std::string file = Positional(args, {"--size", "--layout", "--kinsoku"});
    int width = 1920, height = 1080;
    if (file.empty() || !ParseSize(Option(args, "--size", "1920x1080"), width, height)) {
        std::fprintf(stderr, "usage: yomibon-cli bench FILE [--size WxH] [--layout …] [--whole]\n");
        return 2;
    }
    // As the window opens a file: the first spread is arranged and drawn before the rest.
    // --whole arranges the whole text before the first spread instead.
    const bool whole = HasFlag(args, "--whole");
    std::string error;
    auto open = Clock::now();
    // As the window does while it starts: the font configuration is read on the second core.
    std::thread fontConfig(PrepareFontConfig);
    auto cli =
        OpenCliDocument(file, Option(args, "--layout"), error, Option(args, "--kinsoku"), !whole);
    fontConfig.join();
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return 1;
    }
    const double openedMs = MsSince(open);
    const auto head = cli->document->loadTimes();
    auto toStart = Clock::now();
    const int start = cli->arranger->arrangeForStart(*cli->document);
    const double toStartMs = MsSince(toStart);
    auto setup = Clock::now();
    CYbPageCanvas canvas(cli->param);
    canvas.setDocument(cli->document.get(), &cli->arranger->layout());
    canvas.resize(width, height);
    const double setupMs = MsSince(setup);
    auto first = Clock::now();
    canvas.drawPage(start);
    double firstMs = MsSince(first);
    double openMs = MsSince(open);
    // The whole text takes the head's place as the window takes it, arranged in steps.
    auto rest = Clock::now();
    cli->arranger->deferNextArrangement();
    cli->document->adoptRest(true);
    cli->arranger->deferNextArrangement(false);
    const auto times = cli->document->loadTimes();
    cli->arranger->finishArrangement(*cli->document);
    canvas.setDocument(cli->document.get(), &cli->arranger->layout());
    const double restMs = MsSince(rest);
    const double wholeMs = MsSince(open);
    std::vector<double> spreads;
    for (int page = 0; page <= cli->document->getPageCount(); page += 2) {
        auto t = Clock::now();
        canvas.drawPage(page);
        spreads.push_back(MsSince(t));
    }
    std::sort(spreads.begin(), spreads.end());
    double median = spreads.empty() ? 0 : spreads[spreads.size() / 2];
    double worst = spreads.empty() ? 0 : spreads.back();
    // Phases of the load, as the document timed them: the head's, then the whole text's
    // (on the second thread when the head came first).
    std::printf("open_ms: %.2f\nhead_ms: %.2f\ncanvas_setup_ms: %.2f\nrest_wait_ms: %.2f\n",
                openedMs, head.head, setupMs, times.restWait);
    std::printf("read_ms: %.2f\nparse_ms: %.2f\noutline_ms: %.2f\n", times.read + times.decode,
                times.parse, times.outline);
    // The lines set before the first spread; after it, the wait for the rest of the text and
    // the whole text's outline and arrangement.
    std::printf("arrange_first_ms: %.2f\nrest_after_wait_ms: %.2f\n", head.arrange + toStartMs,
                restMs - times.restWait);
    std::printf("open_to_first_spread_ms: %.2f\nopen_to_whole_arrangement_ms: %.2f\n", openMs,
                wholeMs);
    std::printf("first_spread_ms: %.2f\nspread_median_ms: %.2f\nspread_max_ms: %.2f\n", firstMs,
                median, worst);
    std::printf("spreads: %zu\npeak_rss_mb: %.1f\n", spreads.size(), PeakRssMb());
    // After the memory figure, which it would otherwise raise.
    std::printf("iconv_ms: %.2f\n", IconvMs(cli->source));
    return 0;
}

Registrar reg{{"bench",
               "FILE [--size WxH] [--layout bunko|shinsho|PATH] [--kinsoku standard|strict] "
               "[--whole]",
               RunBench}};

}  // namespace
}  // namespace Yomibon::Cli

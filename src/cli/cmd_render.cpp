// yomibon-cli render FILE [--page N | --all] [--size WxH] [--layout …] [--aa 1|2] -o OUT.png:
// draws spreads as the reader shows them, without a display.
#include <cstdio>
#include <filesystem>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "platform/utf16.h"
#include "render/page_canvas.h"
#include "render/png_writer.h"

namespace Yomibon::Cli {
namespace {

const char* kUsage =
    "FILE [--page N | --all | --flip N] [--size WxH] [--layout bunko|shinsho|PATH] "
    "[--aa 1|2] [--kinsoku standard|strict] -o OUT.png|DIR";

// Tells on stderr what the reader would be told about the spreads drawn (a picture refused
// by the size limits, say).
void PrintNotices(CYbPageCanvas& canvas) {
    for (const std::u16string& notice : canvas.renderers().takeNotices())
        std::fprintf(stderr, "yomibon-cli: %s\n", ToUtf8(notice).c_str());
}

void DrawPage(CYbPageCanvas& canvas, int page) {
    canvas.drawPage(page);
    PrintNotices(canvas);
}

// The frames of one animated page turn from the current spread to page `to`, one PNG each,
// into the folder `dir` (`out` is the name the user gave it, for messages).
int WriteFlip(CYbPageCanvas& canvas, int from, int to, const std::filesystem::path& dir,
              const std::string& out) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    DrawPage(canvas, from);
    canvas.showPage(to);
    PrintNotices(canvas);
    if (!canvas.flipping()) {
        std::fprintf(stderr, "yomibon-cli: no page turn from %d to %d\n", from, to);
        return 1;
    }
    CYbBitmap frame(canvas.bitmap().width(), canvas.bitmap().height());
    MapRect all{0, 0, frame.width(), frame.height()};
    for (int k = 0;; ++k) {
        canvas.paintCanvas(frame, all);
        char name[32];
        std::snprintf(name, sizeof name, "frame-%02d.png", k);
        if (!WritePng(frame, dir / name)) {
            std::fprintf(stderr, "yomibon-cli: cannot write into %s\n", out.c_str());
            return 1;
        }
        if (!canvas.flipStep()) return 0;
    }
}

int RunRender(const Args& args) {
    std::string file =
        Positional(args, {"--page", "--flip", "--size", "--layout", "--aa", "-o", "--kinsoku"});
    std::string out = Option(args, "-o");
    int width = 1920, height = 1080;
    if (file.empty() || out.empty() ||
        !ParseSize(Option(args, "--size", "1920x1080"), width, height)) {
        std::fprintf(stderr, "usage: yomibon-cli render %s\n", kUsage);
        return 2;
    }
    const std::filesystem::path target = OutputPath(out);
    std::string error;
    auto cli = OpenCliDocument(file, Option(args, "--layout"), error, Option(args, "--kinsoku"));
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return 1;
    }
    if (const std::u16string& notice = cli->document->buffer().getNotice(); !notice.empty())
        std::fprintf(stderr, "yomibon-cli: %s\n", ToUtf8(notice).c_str());
    int aa = std::atoi(Option(args, "--aa", "1").c_str());
    cli->param.SetPoints(u"AntiAlias", &aa, 1);
    CYbPageCanvas canvas(cli->param);
    canvas.setDocument(cli->document.get(), &cli->arranger->layout());
    canvas.resize(width, height);
    int pages = cli->document->getPageCount();
    if (!Option(args, "--flip").empty())
        return WriteFlip(canvas, std::atoi(Option(args, "--page", "0").c_str()),
                         std::atoi(Option(args, "--flip").c_str()), target, out);
    if (!HasFlag(args, "--all")) {
        int page = std::atoi(Option(args, "--page", "0").c_str());
        DrawPage(canvas, page);
        if (!WritePng(canvas.bitmap(), target)) {
            std::fprintf(stderr, "yomibon-cli: cannot write %s\n", out.c_str());
            return 1;
        }
        return 0;
    }
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    for (int page = 0; page <= pages; page += 2) {
        DrawPage(canvas, page);
        char name[32];
        std::snprintf(name, sizeof name, "spread-%04d.png", page / 2);
        if (!WritePng(canvas.bitmap(), target / name)) {
            std::fprintf(stderr, "yomibon-cli: cannot write into %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}

Registrar reg{{"render", kUsage, RunRender}};

}  // namespace
}  // namespace Yomibon::Cli

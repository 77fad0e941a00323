// yomibon-cli export FILE -o BOOK.pdf [--layout …] [--spreads] [--pages A-B] [--background]:
// the typeset book as a PDF, with a progress line on a terminal.
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "platform/utf16.h"
#include "render/pdf_export.h"

namespace Yomibon::Cli {
namespace {

const char* kUsage =
    "FILE -o BOOK.pdf [--layout bunko|shinsho|PATH] [--kinsoku standard|strict] [--spreads] "
    "[--pages A-B] [--background]";

const char* Reason(PdfExportStatus status) {
    switch (status) {
        case PdfExportStatus::Done:
            return "done";
        case PdfExportStatus::Cancelled:
            return "cancelled";
        case PdfExportStatus::NoPages:
            return "the page range holds no page of the text";
        case PdfExportStatus::FolderNotWritable:
            return "the folder cannot be written";
        case PdfExportStatus::DiskFull:
            return "the disk is full";
        case PdfExportStatus::WriteFailed:
            return "the file could not be written";
        case PdfExportStatus::RenderFailed:
            return "the PDF could not be made (no font?)";
    }
    return "failed";
}

std::u16string FileStem(const std::string& file) {
    return FromUtf8(std::filesystem::path(file).stem().string());
}

int RunExport(const Args& args) {
    std::string file = Positional(args, {"-o", "--layout", "--kinsoku", "--pages"});
    std::string out = Option(args, "-o");
    PdfExportOptions options;
    std::string range = Option(args, "--pages");
    if (file.empty() || out.empty() ||
        (!range.empty() && !ParsePageRange(range, options.firstPage, options.lastPage))) {
        std::fprintf(stderr, "usage: yomibon-cli export %s\n", kUsage);
        return 2;
    }
    options.spreads = HasFlag(args, "--spreads");
    options.background = HasFlag(args, "--background");
    options.fallbackTitle = FileStem(file);
    const std::filesystem::path target = OutputPath(out);
    std::string error;
    auto cli = OpenCliDocument(file, Option(args, "--layout"), error, Option(args, "--kinsoku"));
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return 1;
    }
    const bool terminal = isatty(STDERR_FILENO) == 1;
    auto start = std::chrono::steady_clock::now();
    PdfExportResult r =
        ExportPdf(cli->param, *cli->document, cli->arranger->layout(), target, options,
                  [&](int done, int total) {
                      if (terminal) std::fprintf(stderr, "\rexporting page %d/%d", done, total);
                      return true;
                  });
    if (terminal) std::fprintf(stderr, "\n");
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (r.status != PdfExportStatus::Done) {
        std::fprintf(stderr, "yomibon-cli: cannot export %s: %s\n", out.c_str(), Reason(r.status));
        return 1;
    }
    std::printf("%s: %d pages, %zu bytes (%.1f KB a page), %.2f s\n", out.c_str(), r.pages, r.bytes,
                r.pages ? r.bytes / 1024.0 / r.pages : 0.0, seconds);
    if (r.missingPictures)
        std::printf("missing pictures: %d (drawn as frames)\n", r.missingPictures);
    if (r.missingGlyphs)
        std::printf("external glyphs without an outline: %d (drawn as notes)\n", r.missingGlyphs);
    return 0;
}

Registrar reg{{"export", kUsage, RunExport}};

}  // namespace
}  // namespace Yomibon::Cli

// yomibon-cli info FILE [--layout bunko|shinsho|PATH]: what the reader knows of a text
// after opening it (title, author, page count, outline) and how long each phase took.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "platform/limits.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/file_io.h"
#include "text/aozora_parser.h"
#include "text/file_kind.h"
#include "text/txt_document.h"
#include "text/txt_parser_mgr.h"

namespace Yomibon::Cli {
namespace {

// Line breaks inside a one-line field are shown as " / ".
std::string OneLine(std::u16string_view s) {
    std::u16string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r' || s[i] == u'\n') {
            if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
            out += u" / ";
        } else {
            out += s[i];
        }
    }
    return ToUtf8(out);
}

// Reading and decoding alone, timed apart from the document's whole load.
double ReadDecodeMs(const std::u16string& file) {
    auto start = std::chrono::steady_clock::now();
    std::string bytes;
    if (CYbTxtParserMgr().chooseParser(file) == CYbTxtParserMgr::PK_HTML) return 0;
    if (IsUrlName(file) || !ReadFileBytes(ToFsPath(file), bytes, Limits::kMaxTextFileBytes))
        return 0;
    std::u16string text = CYbAozoraTxtParser::DecodeText(bytes.data(), bytes.size());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void PrintReport(const CYbTxtDocument& doc, double readDecode) {
    const CYbTxtBuffer& buffer = doc.buffer();
    std::printf("title: %s\nauthor: %s\n", OneLine(buffer.getTitle()).c_str(),
                OneLine(buffer.getAuthor()).c_str());
    std::printf("lines: %d\npages: %d\noutline: %zu\n", buffer.lineCount(), doc.getPageCount(),
                doc.outline().size());
    for (const OutlineEntry& e : doc.outline())
        std::printf("  %d %d %s\n", e.level, doc.pointToPage(e.begin), OneLine(e.text).c_str());
    const CYbTxtDocument::LoadTimes& t = doc.loadTimes();
    // The document's load reads and decodes the file itself; parsing is the rest of it.
    double parse = t.parse > readDecode ? t.parse - readDecode : 0.0;
    std::printf("time read+decode: %.3f\ntime parse: %.3f\n", readDecode, parse);
    std::printf("time outline: %.3f\ntime arrangement: %.3f\n", t.outline, t.arrange);
    std::printf("info: %s\n", ToUtf8(buffer.getInfo()).c_str());
}

int RunInfo(const Args& args) {
    std::string file = Positional(args, {"--layout"});
    std::string layoutOption = Option(args, "--layout");
    if (file.empty()) {
        std::fprintf(stderr, "usage: yomibon-cli info FILE [--layout bunko|shinsho|PATH]\n");
        return 2;
    }
    std::string error;
    auto cli = OpenCliDocument(file, layoutOption, error);
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return error.rfind("no layout", 0) == 0 ? 2 : 1;
    }
    // Of the text actually opened (an archive's text, not the archive's bytes).
    double readDecode = ReadDecodeMs(cli->source);
    const CYbTxtDocument& doc = *cli->document;
    PrintReport(doc, readDecode);
    return 0;
}

Registrar reg{{"info", "FILE [--layout bunko|shinsho|PATH]", RunInfo}};

}  // namespace
}  // namespace Yomibon::Cli

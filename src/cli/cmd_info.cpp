// yomibon-cli info FILE [--layout bunko|shinsho|PATH]: what the reader knows of a text
// after opening it (title, author, page count, outline) and how long each phase took.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "platform/utf16.h"
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

void PrintReport(const CYbTxtDocument& doc) {
    const CYbTxtBuffer& buffer = doc.buffer();
    std::printf("title: %s\nauthor: %s\n", OneLine(buffer.getTitle()).c_str(),
                OneLine(buffer.getAuthor()).c_str());
    std::printf("lines: %d\npages: %d\noutline: %zu\n", buffer.lineCount(), doc.getPageCount(),
                doc.outline().size());
    for (const OutlineEntry& e : doc.outline())
        std::printf("  %d %d %s\n", e.level, doc.pointToPage(e.begin), OneLine(e.text).c_str());
    const CYbTxtDocument::LoadTimes& t = doc.loadTimes();
    // Every phase is timed within the one load the report describes.
    std::printf("time read: %.3f\ntime decode: %.3f\n", t.read, t.decode);
    std::printf("time read+decode: %.3f\ntime parse: %.3f\n", t.read + t.decode, t.parse);
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
    const CYbTxtDocument& doc = *cli->document;
    PrintReport(doc);
    return 0;
}

Registrar reg{{"info", "FILE [--layout bunko|shinsho|PATH]", RunInfo}};

}  // namespace
}  // namespace Yomibon::Cli

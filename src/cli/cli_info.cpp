#include "cli/cli_info.h"

#include <cstdio>
#include <string>

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

}  // namespace

void PrintInfo(const CYbTxtDocument& doc) {
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

}  // namespace Yomibon::Cli

// yomibon-cli columns FILE [--layout bunko|shinsho|PATH] [--pages A-B] [--kinsoku standard|strict]:
// the arrangement of a text, one line per column, so that a person (or a checker) can read where
// lines turn.
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "layout/arrange_columns.h"
#include "layout/kinsoku.h"
#include "platform/utf16.h"

namespace Yomibon::Cli {
namespace {

// "A-B", "A-" or "A" into a page range; false when malformed.
bool ParsePages(const std::string& text, int& first, int& last) {
    first = 0;
    last = 1 << 30;
    if (text.empty()) return true;
    int a = 0, b = 0;
    char dash = 0;
    int n = std::sscanf(text.c_str(), "%d%c%d", &a, &dash, &b);
    if (n == 1) {
        first = last = a;
    } else if (n == 2 && dash == '-') {
        first = a;
    } else if (n == 3 && dash == '-') {
        first = a;
        last = b;
    } else {
        return false;
    }
    return first >= 0 && first <= last;
}

int RunColumns(const Args& args) {
    std::string file = Positional(args, {"--layout", "--pages", "--kinsoku"});
    int first = 0, last = 0;
    if (file.empty() || !ParsePages(Option(args, "--pages"), first, last)) {
        std::fprintf(stderr,
                     "usage: yomibon-cli columns FILE [--layout bunko|shinsho|PATH] [--pages A-B] "
                     "[--kinsoku standard|strict]\n");
        return 2;
    }
    std::string error;
    auto cli =
        OpenCliDocument(file, Option(args, "--layout", "bunko"), error, Option(args, "--kinsoku"));
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return 1;
    }
    const CYbTxtBuffer& buffer = cli->document->buffer();
    const auto& boxes = cli->arranger->layout().GetBoxes(TextLayout);
    CYbKinsoku kinsoku(cli->param);
    for (int l = 0; l < buffer.lineCount(); ++l) {
        const LineInfo& info = buffer.lines()[size_t(l)];
        // Lines that take no column of their own have nothing to show.
        if (info.iNextCol <= info.iStartCol) continue;
        for (size_t k = 0; k < info.turns.size(); ++k) {
            const TextTurnPos& t = info.turns[k];
            ColumnSummary c = SummarizeColumn(buffer, l, k, boxes, kinsoku);
            if (c.page < first || c.page > last) continue;
            std::printf("%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n", c.column, c.box, c.page, l,
                        info.iIndent, info.iHangIndent, t.iBottom, t.iCount, t.iLength, c.capacity,
                        ToUtf8(c.text).c_str());
        }
    }
    return 0;
}

Registrar reg{{"columns",
               "FILE [--layout bunko|shinsho|PATH] [--pages A-B] [--kinsoku standard|strict]",
               RunColumns}};

}  // namespace
}  // namespace Yomibon::Cli

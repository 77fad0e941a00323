// Golden cases of the arrangement and of ruby placement: tests/data/layout/*.cases. A line
// "@ CELLS MODE" sets the cells per column and the kinsoku mode (standard or strict) of
// the cases after it; a case is one line of notation, then "> " and the characters of each
// column (marks past the column end in ⟨ ⟩), then "= " and each ruby: its reading, the
// span it takes from the box top and the span of its base's glyphs, in layout units
// (a cell is 310, a ruby character 160). "#" lines are comments; a blank line ends a case.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <sstream>

#include "arrange_test_support.h"
#include "layout/bunko_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/utf16.h"
#include "support/test_support.h"

namespace Yomibon::Test {
namespace {

struct Case {
    std::string notation;
    int cells = 10;
    bool strict = false;
    std::vector<std::string> expected;
    int lineNumber = 0;
};

std::vector<Case> ReadCases(const std::filesystem::path& file) {
    std::vector<Case> cases;
    std::istringstream in(ReadFile(file));
    std::string line;
    int number = 0, cells = 10;
    bool strict = false, open = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("#")) continue;
        if (line.starts_with("@ ")) {
            std::istringstream options(line.substr(2));
            std::string mode;
            options >> cells >> mode;
            strict = mode == "strict";
        } else if (line.empty()) {
            open = false;
        } else if (line.starts_with("> ") || line.starts_with("= ")) {
            if (open) cases.back().expected.push_back(line);
        } else {
            cases.push_back({line, cells, strict, {}, number});
            open = true;
        }
    }
    return cases;
}

// The bunko layout with columns of `cells` cells and room for a hanging mark below them.
CYbBunkoTxtLayout SmallLayout(int cells) {
    CYbBunkoTxtLayout layout;
    for (LayoutBox& box : layout.GetBoxes(TextLayout)) {
        box.chars = cells;
        box.bottom = box.top + (cells + 1) * layout.GetSize(TextSize).size;
    }
    return layout;
}

std::vector<std::string> Describe(const Case& c) {
    const CYbBunkoTxtLayout layout = SmallLayout(c.cells);
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(u"\r\n" + FromUtf8(c.notation), buffer);
    CYbTxtParam param;
    const int32_t mode = c.strict ? 1 : 0;
    param.SetPoints(u"KinsokuMode", &mode, 1);
    ArrangeDocument(buffer, layout, param);
    std::vector<std::string> out;
    CYbKinsoku kinsoku(param);
    const auto& boxes = layout.GetBoxes(TextLayout);
    for (int l = 2; l < buffer.lineCount(); ++l) {
        const LineInfo& info = buffer.lines()[size_t(l)];
        if (info.iNextCol <= info.iStartCol) continue;
        for (size_t k = 0; k < info.turns.size(); ++k)
            out.push_back("> " + ToUtf8(SummarizeColumn(buffer, l, k, boxes, kinsoku).text));
    }
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    mapper.Arrange({}, buffer, 0);
    const int32_t top = boxes.front().top;
    for (int l = 2; l < buffer.lineCount(); ++l) {
        const auto& runs = buffer.lines()[size_t(l)].runs;
        for (int r = 0; r < int(runs.size()); ++r) {
            if (runs[size_t(r)].textType != TT_RUBY) continue;
            int32_t y0 = INT32_MAX, y1 = INT32_MIN, b0 = INT32_MAX, b1 = INT32_MIN;
            for (const auto& [at, e] : mapper.charMap()) {
                if (at.iLine != l) continue;
                RunPoint p{at.iIndex, at.iPos};
                RunPoint end = runs[size_t(r)].tpEnd;
                if (end.iPos < 0) end.iPos = INT32_MAX;
                if (at.iIndex == r) {
                    y0 = std::min(y0, e.y - top);
                    y1 = std::max(y1, e.y + e.height - top);
                } else if (!(p < runs[size_t(r)].tpBegin) && !(end < p) && e.height > 0) {
                    b0 = std::min(b0, e.y - top);
                    b1 = std::max(b1, e.y + e.height - top);
                }
            }
            out.push_back("= " + ToUtf8(runs[size_t(r)].str) + " " + std::to_string(y0) + ".." +
                          std::to_string(y1) + " over " + std::to_string(b0) + ".." +
                          std::to_string(b1));
        }
    }
    return out;
}

TEST(LayoutCases, GoldenFiles) {
    size_t count = 0;
    for (const auto& e : std::filesystem::directory_iterator(DataDir() / "layout")) {
        if (e.path().extension() != ".cases") continue;
        for (const Case& c : ReadCases(e.path())) {
            SCOPED_TRACE(e.path().filename().string() + ":" + std::to_string(c.lineNumber));
            const std::vector<std::string> actual = Describe(c);
            if (actual != c.expected) {
                // Printed as it would be recorded, so that a changed case can be reviewed.
                std::string text = c.notation + "\n";
                for (const std::string& line : actual)
                    text += line + "\n";
                ADD_FAILURE() << "actual:\n" << text;
            }
            ++count;
        }
    }
    EXPECT_GE(count, 8u);
}

}  // namespace
}  // namespace Yomibon::Test

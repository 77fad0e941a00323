// Every spread of long real texts: plain characters never overlap and stay in their boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

struct Cell {
    TextPoint at;
    PageMapEntry e;
};

// Columns the arranger filled so far that no spacing fits them into the box and its
// hanging half cell: only overlaps are checked in them.
std::set<int> OverfullColumns(const CYbTxtBuffer& buffer, const MapGeometry& g) {
    std::set<int> out;
    const int64_t ts = g.textSize.size;
    for (const LineInfo& line : buffer.lines())
        for (size_t i = 0; i < line.turns.size(); ++i) {
            const TextTurnPos& t = line.turns[i];
            const ColumnBox cb = FindColumnBox(g, t.iColumn);
            if (cb.index < 0) continue;
            const LayoutBox& box = g.text[cb.index];
            const int64_t height = box.bottom - box.top;
            const int cells = std::min(i == 0 ? line.iIndent : line.iHangIndent, box.chars - 1);
            const int64_t indent = cells > 0 ? height * cells / std::max(box.chars, 1) : 0;
            const int64_t raise = t.iBottom > 0 ? t.iBottom * ts : 0;
            if (t.iLength * ts / 4 + indent + raise > height + ts / 2) out.insert(t.iColumn);
        }
    return out;
}

// Checks one spread; returns a description of the first fault, or "".
std::string CheckSpread(const CYbTxtMapper& mapper, const CYbTxtBuffer& buffer,
                        const std::set<int>& overfull) {
    const MapGeometry& g = mapper.geometry();
    const int32_t half = g.textSize.size / 2;
    std::vector<Cell> cells;
    for (const auto& [at, e] : mapper.charMap()) {
        if (buffer.lines()[at.iLine].runs[at.iIndex].textType != TT_TEXT) continue;
        if (e.height <= 0 || e.size <= 0) continue;
        cells.push_back({at, e});
        if (overfull.count(e.iColumn)) continue;
        const ColumnBox cb = FindColumnBox(g, e.iColumn);
        if (cb.index < 0) return "no box";
        const LayoutBox& box = g.text[cb.index];
        const int32_t end = e.y + std::min(e.advance, e.height);
        if (e.x < box.left || e.x + e.size > box.right || e.y < box.top || end > box.bottom + half)
            return "line " + std::to_string(at.iLine) + " pos " + std::to_string(at.iPos) +
                   " leaves its box: y " + std::to_string(e.y) + ".." + std::to_string(end);
    }
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.e.iColumn != b.e.iColumn ? a.e.iColumn < b.e.iColumn : a.e.y < b.e.y;
    });
    for (size_t i = 1; i < cells.size(); ++i) {
        const PageMapEntry& a = cells[i - 1].e;
        const PageMapEntry& b = cells[i].e;
        const bool sideBySide = a.x + a.size <= b.x || b.x + b.size <= a.x;
        if (a.iColumn == b.iColumn && !sideBySide && a.y + a.advance > b.y)
            return "line " + std::to_string(cells[i].at.iLine) + " pos " +
                   std::to_string(cells[i].at.iPos) + " overlaps the character before it";
    }
    return "";
}

void CheckText(const std::string& relative, const CYbTxtLayout& layout) {
    const auto path = Test::CorpusDir() / relative;
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    ASSERT_TRUE(parser.loadFile(FromUtf8(path.string()), buffer)) << relative;
    CYbTxtParam param;
    const int last = ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    const int perSpread = mapper.geometry().columnsPerSpread;
    ASSERT_GT(perSpread, 0);
    size_t placed = 0;
    const std::set<int> overfull = OverfullColumns(buffer, mapper.geometry());
    if (!overfull.empty())
        std::printf("%s: %zu columns arranged longer than their box\n", relative.c_str(),
                    overfull.size());
    for (int page = 0; page <= last; page += 2) {
        mapper.Arrange({}, buffer, page / 2 * perSpread);
        placed += mapper.charMap().size();
        const std::string fault = CheckSpread(mapper, buffer, overfull);
        ASSERT_EQ(fault, "") << relative << " page " << page;
    }
    EXPECT_GT(placed, 100000u) << relative;
}

TEST(MapperCorpusTest, NoPlainCharactersOverlapOrLeaveTheirBoxes) {
    YB_REQUIRE_CORPUS();
    const char* texts[] = {"soseki-wagahai-neko/789_ruby_5639.txt",
                           "yumeno-dogra-magra/2093_ruby_28087.txt"};
    for (const char* text : texts) {
        CheckText(text, CYbBunkoTxtLayout());
        CheckText(text, CYbShinShoTate2TxtLayout());
    }
}

}  // namespace
}  // namespace Yomibon

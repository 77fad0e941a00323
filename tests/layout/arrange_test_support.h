// Helpers for the arrangement tests: small layouts, parsed notation and column summaries.
#pragma once

#include <string>
#include <vector>

#include "layout/arrange.h"
#include "layout/arrange_columns.h"
#include "layout/index_creator.h"
#include "layout/kinsoku.h"
#include "layout/txt_layout.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"
#include "text/text_buffer.h"

namespace Yomibon::Test {

constexpr int32_t kTextSize = 310;

// `count` boxes of `lines` columns with `chars` cells; tall enough for hanging marks unless
// `exact` (then the box is exactly `chars` cells high and nothing may hang).
inline std::vector<LayoutBox> Boxes(int lines, int chars, int count = 2, bool exact = false) {
    int32_t height = (chars + (exact ? 0 : 1)) * kTextSize;
    std::vector<LayoutBox> boxes;
    for (int i = 0; i < count; ++i)
        boxes.push_back(LayoutBox{0, 1000, 9000, 1000 + height, lines, chars});
    return boxes;
}

// A parsed text arranged in given boxes.
struct Arranged {
    CYbTxtBuffer buffer;
    std::vector<LayoutBox> boxes;
    CYbTxtParam param;
    int lastPage = 0;

    // Columns of one line as summaries.
    std::vector<std::u16string> columns(int line) const {
        CYbKinsoku kinsoku(param);
        std::vector<std::u16string> out;
        const LineInfo& info = buffer.lines()[size_t(line)];
        for (size_t k = 0; k < info.turns.size(); ++k)
            out.push_back(SummarizeColumn(buffer, line, k, boxes, kinsoku).text);
        return out;
    }
    const LineInfo& line(int index) const { return buffer.lines()[size_t(index)]; }
};

inline void Arrange(Arranged& a) {
    {
        CYbIndexCreator creator(a.buffer, a.boxes, kTextSize, a.param);
        for (int i = 0; i < a.buffer.lineCount(); ++i)
            creator.IndexLine(i);
    }
    int columns = 0;
    for (const LayoutBox& b : a.boxes)
        columns += b.lines;
    a.lastPage = LastPageNumber(a.buffer, columns, int(a.boxes.size()));
}

inline void Parse(Arranged& a, std::u16string_view text) {
    CYbAozoraTxtParser parser;
    parser.parseText(text, a.buffer);
}

inline void ParseAndArrange(Arranged& a, std::u16string_view text, std::vector<LayoutBox> boxes) {
    a.boxes = std::move(boxes);
    Parse(a, text);
    Arrange(a);
}

}  // namespace Yomibon::Test

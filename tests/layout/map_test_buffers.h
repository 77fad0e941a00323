// Buffers with hand-written turn lists, as the arranger writes them, for the mapper tests.
#pragma once

#include <string>
#include <vector>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/char_type.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"
#include "text/text_buffer.h"

namespace Yomibon::Test {

inline TextInfo Plain(std::u16string s) {
    TextInfo r;
    r.str = std::move(s);
    r.chrType = r.str.empty() ? 0 : CharClass(CodePointAt(r.str, 0));
    r.textType = TT_TEXT;
    return r;
}

inline TextInfo Typed(int type, std::u16string s, RunPoint begin = {0, 0}, RunPoint end = {0, -1}) {
    TextInfo r;
    r.str = std::move(s);
    r.textType = type;
    r.tpBegin = begin;
    r.tpEnd = end;
    if (type == TT_TEXT || type == TT_AUTO_HORIZONTAL)
        r.chrType = r.str.empty() ? 0 : CharClass(CodePointAt(r.str, 0));
    return r;
}

// A turn: the column starts at (run, pos) and holds `count` characters (negative for a
// line's last column) of `length` quarters.
inline TextTurnPos Turn(int run, int pos, int column, int count, int length, int bottom = -1) {
    return TextTurnPos{run, pos, count, length, column, bottom};
}

inline LineInfo Line(std::vector<TextInfo> runs, std::vector<TextTurnPos> turns) {
    LineInfo l;
    l.runs = std::move(runs);
    l.turns = std::move(turns);
    l.iStartCol = l.turns.empty() ? 0 : l.turns.front().iColumn;
    l.iNextCol = l.turns.empty() ? 0 : l.turns.back().iColumn + 1;
    l.iBottom = -1;
    return l;
}

// The empty first line every parsed text starts with, in column 0.
inline LineInfo EmptyLine(int column = 0) {
    return Line({}, {Turn(0, 0, column, 0, 0)});
}

inline MapGeometry BunkoGeometry() {
    return MapGeometry::FromLayout(CYbBunkoTxtLayout());
}

inline std::u16string Repeat(std::u16string_view s, int n) {
    std::u16string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// Bunko: the right page's box (11500, 1000, 20000, 13800), 40 cells of 310; pitch 510.
constexpr int32_t kTop = 1000;
constexpr int32_t kBottom = 13800;
constexpr int32_t kCol0X = 19690;
constexpr int32_t kPitch = 510;
constexpr int32_t kNatural = 10;  // (12800 - 40 * 310) / 39

// Parses a body of notation under a title and an author, arranges it in the layout and maps
// the first spread.
inline bool ParseArrangeAndMap(std::u16string_view body, CYbTxtBuffer& buffer, CYbTxtLayout& layout,
                               const CYbTxtParam& param, CYbTxtMapper& mapper) {
    std::u16string text = u"題名\r\n著者\r\n\r\n";
    text += body;
    CYbAozoraTxtParser parser;
    if (!parser.parseText(std::u16string_view(text), buffer)) return false;
    ArrangeDocument(buffer, layout, param);
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    mapper.Arrange({}, buffer, 0);
    return true;
}

}  // namespace Yomibon::Test

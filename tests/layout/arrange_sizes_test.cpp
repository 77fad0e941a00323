// Headings and larger or smaller characters: counted at their size, larger type on a column
// that also takes the slot to its left, placed by the mapper without overlaps, and readings
// over them given room at the base's own size.
#include <gtest/gtest.h>

#include <algorithm>

#include "arrange_test_support.h"
#include "layout/bunko_txt_layout.h"
#include "layout/txt_mapper.h"

namespace Yomibon::Test {
namespace {

const LineInfo& LastLine(const Arranged& a) {
    return a.line(a.buffer.lineCount() - 1);
}

TEST(ArrangeSizes, LengthsCountedAtTheSize) {
    // Eight characters of a large heading (1.25) take ten cells, in quarters 40.
    Arranged large;
    ParseAndArrange(large, u"\r\n第一章春の海です［＃「第一章春の海です」は大見出し］",
                    Boxes(6, 12));
    ASSERT_EQ(LastLine(large).turns.size(), 1u);
    EXPECT_EQ(LastLine(large).turns[0].iLength, 40);
    // One step larger (1.125): eight characters are nine cells exactly, though each one is
    // four and a half quarters.
    Arranged one;
    ParseAndArrange(one, u"\r\n一段階大きな文字［＃「一段階大きな文字」は１段階大きな文字］",
                    Boxes(6, 12));
    EXPECT_EQ(LastLine(one).turns[0].iLength, 36);
    // One step smaller (0.8125): twelve characters are 9.75 cells, 39 quarters.
    Arranged small;
    ParseAndArrange(small,
                    u"\r\n［＃１段階小さな文字］あいうえおかきくけこさし［＃小さな文字終わり］",
                    Boxes(6, 10));
    EXPECT_EQ(LastLine(small).turns[0].iLength, 39);
    // The thirteenth would reach 42.25 quarters, past the capacity of 42: it turns.
    Arranged turn;
    ParseAndArrange(turn,
                    u"\r\n［＃１段階小さな文字］あいうえおかきくけこさしす［＃小さな文字終わり］",
                    Boxes(6, 10));
    ASSERT_EQ(LastLine(turn).turns.size(), 2u);
    EXPECT_EQ(LastLine(turn).turns[0].iCount, 12);
}

TEST(ArrangeSizes, LargerTypeTakesTheSlotToItsLeft) {
    Arranged a;
    ParseAndArrange(a, u"\r\n見出しの行［＃「見出しの行」は中見出し］\r\n本文", Boxes(6, 10));
    const int n = a.buffer.lineCount();
    const LineInfo& heading = a.line(n - 2);
    const LineInfo& body = a.line(n - 1);
    EXPECT_TRUE(a.buffer.wideColumns().count(heading.turns[0].iColumn));
    EXPECT_EQ(body.iStartCol, heading.turns[0].iColumn + 2);
    EXPECT_FALSE(a.buffer.wideColumns().count(body.iStartCol));
    // A smaller line keeps its single column.
    Arranged s;
    ParseAndArrange(s, u"\r\n小さい［＃「小さい」は２段階小さな文字］\r\n本文", Boxes(6, 10));
    EXPECT_TRUE(s.buffer.wideColumns().empty());
    EXPECT_EQ(LastLine(s).iStartCol, s.line(s.buffer.lineCount() - 2).iStartCol + 1);
}

TEST(ArrangeSizes, LargerTypeAtTheLastColumnOfABoxStartsTheNextBox) {
    // Three columns a box: two body lines, then a heading that would fall into the last
    // column, where no slot is left to its left.
    Arranged a;
    ParseAndArrange(a, u"\r\n一\r\n二\r\n見出し［＃「見出し」は大見出し］\r\n本文", Boxes(3, 10));
    const int n = a.buffer.lineCount();
    const LineInfo& heading = a.line(n - 2);
    EXPECT_EQ(heading.iStartCol % 3, 0);
    EXPECT_TRUE(a.buffer.wideColumns().count(heading.iStartCol));
    EXPECT_EQ(a.line(n - 1).iStartCol, heading.iStartCol + 2);
}

TEST(ArrangeSizes, LargerTypeCarriedOnByAColumnEndWidensTheNewColumnToo) {
    // Twice the body size: four characters after the indent fill a column of ten cells, and
    // every column the heading runs on to takes the slot to its left as well.
    Arranged a;
    ParseAndArrange(a,
                    u"\r\n　　　　正木博士投身自殺す［＃「正木博士投身自殺す」は５段階大きな文字］"
                    u"\r\n本文",
                    Boxes(6, 10));
    const int n = a.buffer.lineCount();
    const LineInfo& heading = a.line(n - 2);
    std::vector<int> held;  // columns holding characters; the slots beside them are empty
    for (const TextTurnPos& t : heading.turns)
        if (t.iCount != 0) held.push_back(t.iColumn);
    ASSERT_EQ(held.size(), 3u);
    for (int column : held)
        EXPECT_TRUE(a.buffer.wideColumns().count(column)) << column;
    EXPECT_GE(held[1], held[0] + 2);
    EXPECT_GE(held[2], held[1] + 2);
    EXPECT_GE(a.line(n - 1).iStartCol, held[2] + 2);
}

TEST(ArrangeSizes, MapperPlacesGlyphsAtTheirSizeWithoutOverlap) {
    CYbTxtParam param;
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    std::u16string text =
        u"題名\r\n著者\r\n\r\n［＃３字下げ］第一章　春の海［＃「第一章　春の海」は大見出し］\r\n"
        u"　本文はこの大きさで組まれる。\r\n"
        u"　三段階大きな文字［＃「三段階大きな文字」は３段階大きな文字］も。\r\n"
        u"　本文の行がもう一つ。\r\n";
    ASSERT_TRUE(parser.parseText(std::u16string_view(text), buffer));
    CYbBunkoTxtLayout layout;
    ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    mapper.Arrange({}, buffer, 0);
    const int32_t ts = layout.GetSize(TextSize).size;
    // Horizontal extent of the main-text glyphs per column.
    std::map<int, std::pair<int32_t, int32_t>> spans;
    int large = 0, huge = 0;
    for (const auto& [point, e] : mapper.charMap()) {
        if (e.height <= 0 || buffer.lines()[point.iLine].runs[point.iIndex].textType != TT_TEXT)
            continue;
        const int size = buffer.charSize(point);
        EXPECT_EQ(e.size, ts * size / 16);
        if (size == 20) ++large;
        if (size == 32) ++huge;
        auto [it, added] = spans.emplace(e.iColumn, std::make_pair(e.x, e.x + e.size));
        it->second.first = std::min(it->second.first, e.x);
        it->second.second = std::max(it->second.second, e.x + e.size);
    }
    EXPECT_EQ(large, 7);
    EXPECT_EQ(huge, 8);
    // A point in the part of a large glyph that lies beyond a body cell hits that glyph.
    for (const auto& [point, e] : mapper.charMap()) {
        if (buffer.charSize(point) != 32 || e.height <= 0) continue;
        TextPoint hit;
        PageMapEntry found;
        ASSERT_TRUE(mapper.HitTest(e.x + 2, e.y + e.advance - 2, hit, found));
        EXPECT_EQ(hit, point);
        break;
    }
    // Columns run right to left: each column's glyphs and the ruby lane at their right lie
    // left of the previous column's glyphs.
    const SizePair ruby = layout.GetSize(RubySize);
    const std::pair<int32_t, int32_t>* before = nullptr;
    for (const auto& [column, span] : spans) {
        if (before) {
            EXPECT_LE(span.second + ruby.spacing + ruby.size, before->first) << column;
        }
        before = &span;
    }
}

TEST(ArrangeSizes, ReadingOverSmallerTypeKeepsClearOfTheKanjiAround) {
    // Two characters two steps smaller are shorter than their four-character reading: the
    // arranger gives the reading room at the base's own size.
    CYbTxtParam param;
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    std::u16string text =
        u"題名\r\n著者\r\n\r\n　音楽の都［＃２段階小さな文字］旧都｜伯林《ベルリン"
        u"》国立歌劇場［＃小さな文字終わり］の話。\r\n";
    ASSERT_TRUE(parser.parseText(std::u16string_view(text), buffer));
    CYbBunkoTxtLayout layout;
    ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    mapper.Arrange({}, buffer, 0);
    int line = 0;
    while (line + 1 < buffer.lineCount() &&
           std::none_of(buffer.lines()[line].runs.begin(), buffer.lines()[line].runs.end(),
                        [](const TextInfo& r) { return r.textType == TT_RUBY; }))
        ++line;
    const auto& runs = buffer.lines()[line].runs;
    int32_t rubyTop = INT32_MAX, rubyEnd = INT32_MIN, column = -1;
    std::vector<PageMapEntry> kanji;
    for (const auto& [point, e] : mapper.charMap()) {
        if (point.iLine != line || e.height <= 0) continue;
        const TextInfo& run = runs[point.iIndex];
        if (run.textType == TT_RUBY) {
            rubyTop = std::min(rubyTop, e.y);
            rubyEnd = std::max(rubyEnd, e.y + e.height);
            column = e.iColumn;
        } else if (run.textType == TT_TEXT && (run.str == u"旧都" || run.str == u"国立歌劇場")) {
            EXPECT_EQ(buffer.charSize(point), 10);
            kanji.push_back(e);
        }
    }
    ASSERT_NE(column, -1);
    ASSERT_EQ(kanji.size(), 7u);
    for (const PageMapEntry& e : kanji) {
        if (e.iColumn != column) continue;
        const bool before = e.y < rubyTop;
        if (before)
            EXPECT_LE(e.y + e.height, rubyTop);
        else
            EXPECT_GE(e.y, rubyEnd);
    }
}

}  // namespace
}  // namespace Yomibon::Test

// Real notation through the parser, the arranger and the mapper.
#include <gtest/gtest.h>

#include <set>

#include "layout/arrange.h"
#include "layout/map_test_buffers.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

class MapNotationTest : public ::testing::Test {
  protected:
    void map(std::u16string_view body) {
        CYbBunkoTxtLayout layout;
        ASSERT_TRUE(ParseArrangeAndMap(body, buffer, layout, param, mapper));
    }
    // The line whose first plain run begins with `text`, and the index of that run.
    TextPoint find(std::u16string_view text) {
        for (int l = 0; l < buffer.lineCount(); ++l) {
            const auto& runs = buffer.lines()[l].runs;
            for (int r = 0; r < int(runs.size()); ++r)
                if (runs[r].textType == TT_TEXT && runs[r].str.starts_with(text)) return {l, r, 0};
        }
        ADD_FAILURE() << "no run";
        return {0, 0, 0};
    }
    int runOfType(int line, int type) {
        const auto& runs = buffer.lines()[line].runs;
        for (int r = 0; r < int(runs.size()); ++r)
            if (runs[r].textType == type) return r;
        ADD_FAILURE() << "no run of type " << type;
        return 0;
    }
    const PageMapEntry& at(const TextPoint& p) { return mapper.charMap().at(p); }
    CYbTxtParam param;
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
};

TEST_F(MapNotationTest, RubyIsSpreadBesideItsBase) {
    map(u"吾輩《わがはい》は猫である。\r\n");
    const TextPoint base = find(u"吾輩");
    const int ruby = runOfType(base.iLine, TT_RUBY);
    const PageMapEntry& b0 = at(base);
    const PageMapEntry& r0 = at({base.iLine, ruby, 0});
    const PageMapEntry& r3 = at({base.iLine, ruby, 3});
    EXPECT_EQ(r0.x, b0.x + 310 + 20);
    EXPECT_EQ(r0.iColumn, b0.iColumn);
    // Four ruby characters over two base characters: 640 long, exactly as long as the base.
    EXPECT_EQ(r0.y, b0.y);
    EXPECT_EQ(r3.y + r3.advance, b0.y + 2 * b0.advance);
}

TEST_F(MapNotationTest, IndentBottomAlignmentAndMarks) {
    map(u"［＃３字下げ］本文\r\n［＃地付き］署名\r\n猫である［＃「猫」に傍点］\r\n");
    EXPECT_EQ(at(find(u"本文")).y, kTop + 12800 * 3 / 40);
    TextPoint sign = find(u"署名");
    sign.iPos = 1;
    EXPECT_EQ(at(sign).y + at(sign).advance, kBottom);
    const TextPoint cat = find(u"猫");
    const int mark = runOfType(cat.iLine, TT_SESAME_DOT);
    EXPECT_EQ(at({cat.iLine, mark, 0}).x, at(cat).x + 310);
    EXPECT_EQ(at({cat.iLine, mark, 0}).y, at(cat).y);
    EXPECT_EQ(mapper.charMap().count({cat.iLine, mark, 1}), 0u);
}

TEST_F(MapNotationTest, NotesAreNumberedAndSetInTheNoteArea) {
    map(u"語［＃「語」は底本では「誤」］\r\n別［＃「別」は底本では「列」］\r\n");
    const TextPoint word = find(u"語");
    const int note = runOfType(word.iLine, TT_QUOTE_NOTE);
    const PageMapEntry& mark = at({word.iLine, note, 0});
    EXPECT_EQ(mark.x, at(word).x + 310 + 20);
    // "※1" beside the word, then "※1" and the note text in the first note column.
    const PageMapEntry& head = at({word.iLine, note, 2});
    EXPECT_EQ(head.x, 1000 - 200);
    EXPECT_EQ(head.y, 1000);
    const TextPoint other = find(u"別");
    const int second = runOfType(other.iLine, TT_QUOTE_NOTE);
    EXPECT_EQ(at({other.iLine, second, 2}).x, 1000 - 200 - 220);
}

TEST_F(MapNotationTest, LongParagraphFillsColumnsWithinTheBox) {
    std::u16string body;
    for (int i = 0; i < 30; ++i)
        body += u"吾輩は猫である。名前はまだ無い、「どこで生れたか」とんと見当がつかぬ。";
    map(body + u"\r\n");
    const TextPoint first = find(u"吾輩");
    // The title page ends with a page break: the paragraph begins on the left page and
    // goes on over the next spread.
    size_t placed = 0;
    for (int spread = 0; spread < 2; ++spread) {
        mapper.Arrange({}, buffer, spread * 34);
        std::set<int> columns;
        for (const auto& [key, e] : mapper.charMap()) {
            if (key.iLine != first.iLine || e.height <= 0) continue;
            const LayoutBox& box =
                mapper.geometry().text[FindColumnBox(mapper.geometry(), e.iColumn).index];
            EXPECT_GE(e.y, box.top);
            EXPECT_LE(e.y + std::min(e.advance, e.height), box.bottom + 155);
            EXPECT_GE(e.x, box.left);
            EXPECT_LE(e.x + e.size, box.right);
            columns.insert(e.iColumn);
            ++placed;
        }
        if (spread == 0) {
            EXPECT_EQ(columns.size(), 17u);
        } else {
            EXPECT_GE(columns.size(), 9u);
        }
    }
    EXPECT_EQ(placed, 30u * 35u);  // every character once
}

TEST_F(MapNotationTest, FourDigitHorizontalRunIsCondensedToTheColumn) {
    // Four half-width digits would be two cells wide: they are narrowed to share one, each
    // entered with its own quarter, and nothing reaches past the column's text.
    map(u"た。［＃地付き］1000［＃「1000」は縦中横］\r\nは、二十一［＃「二十一」は縦中横］日\r\n");
    const TextPoint ta = find(u"た");
    const int run = runOfType(ta.iLine, TT_HORIZONTAL);
    const PageMapEntry& ch = at(ta);
    ASSERT_EQ(buffer.lines()[ta.iLine].runs[run].str, u"1000");
    for (int k = 0; k < 4; ++k) {
        const PageMapEntry& e = at({ta.iLine, run, k});
        EXPECT_EQ(e.size, 310 / 4);
        EXPECT_NEAR(e.x, ch.x + k * (310 / 4), 1);  // centred on the column
        EXPECT_GE(e.x, ch.x);
        EXPECT_LE(e.x + e.size, ch.x + 310);
    }
    // Three kanji: a third of a cell each.
    const TextPoint ha = find(u"は");
    const int kanji = runOfType(ha.iLine, TT_HORIZONTAL);
    EXPECT_GE(at({ha.iLine, kanji, 0}).x, at(ha).x);
    EXPECT_LE(at({ha.iLine, kanji, 2}).x + at({ha.iLine, kanji, 2}).size, at(ha).x + 310);
}

TEST_F(MapNotationTest, TwoDigitHorizontalRunKeepsItsHalfCells) {
    map(u"は、21［＃「21」は縦中横］日\r\n");
    const TextPoint two = find(u"は");
    const int digits = runOfType(two.iLine, TT_HORIZONTAL);
    EXPECT_EQ(at({two.iLine, digits, 0}).size, 155);
    EXPECT_EQ(at({two.iLine, digits, 1}).x, at(two).x + 155);
}

}  // namespace
}  // namespace Yomibon

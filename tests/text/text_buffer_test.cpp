#include "text/text_buffer.h"

#include <gtest/gtest.h>

namespace Yomibon {
namespace {

TextInfo MakeRun(std::u16string s, int type = TT_TEXT) {
    TextInfo r;
    r.str = std::move(s);
    r.textType = type;
    return r;
}

LineInfo Line(std::vector<TextInfo> runs) {
    LineInfo l;
    l.runs = std::move(runs);
    return l;
}

// Line 0 empty, as a parser leaves it; then plain text with a ruby, a line without plain
// runs, and a line with a supplementary-plane kanji.
CYbTxtBuffer MakeBuffer() {
    CYbTxtBuffer b;
    b.addLine(Line({}));
    b.addLine(Line({MakeRun(u"羅生門"), MakeRun(u"らしょうもん", TT_RUBY), MakeRun(u"の下で")}));
    b.addLine(Line({MakeRun(u"", TT_NEXT_PAGE)}));
    b.addLine(Line({MakeRun(u"𠮟𠮟る"), MakeRun(u"。")}));
    return b;
}

struct Collect : CYbTxtBuffer::CYbCharFunc {
    const CYbTxtBuffer& b;
    std::u16string seen;
    std::vector<TextPoint> points;
    int stopAfter = -1;
    explicit Collect(const CYbTxtBuffer& buffer) : b(buffer) {}
    bool isValid(int t) override { return t == TT_TEXT; }
    bool setChar(const TextPoint& p) override {
        char32_t c = b.charAt(p);
        if (c >= 0x10000) {
            seen += char16_t(0xD800 + ((c - 0x10000) >> 10));
            seen += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            seen += char16_t(c);
        }
        points.push_back(p);
        return stopAfter < 0 || int(points.size()) < stopAfter;
    }
};

TEST(TextBuffer, SurrogatePairIsOneCharacter) {
    CYbTxtBuffer b = MakeBuffer();
    EXPECT_EQ(b.charAt({3, 0, 0}), U'\U00020B9F');
    EXPECT_EQ(b.charAt({3, 0, 1}), U'\U00020B9F');
    EXPECT_EQ(b.charAt({3, 0, 2}), U'る');
    EXPECT_EQ(b.charAt({3, 0, 3}), 0u);
    Collect all(b);
    b.forEachAll(all);
    EXPECT_EQ(all.seen, u"羅生門の下で𠮟𠮟る。");
    ASSERT_EQ(all.points.size(), 10u);
    EXPECT_EQ(all.points[8], (TextPoint{3, 0, 2}));

    std::u16string frequent;
    {
        HitMap hits(b, frequent, 2);
        b.forEachAll(hits);
    }
    EXPECT_EQ(frequent, u"𠮟。");  // two of 𠮟, then the lowest code point of the singles

    TextPoint at;
    NextPosFunc step(2, at);
    b.forEach({3, 0, 0}, {9, 0, 0}, step);
    EXPECT_EQ(at, (TextPoint{3, 0, 2}));
    NextPosFunc across(3, at);
    b.forEach({1, 2, 1}, {9, 0, 0}, across);  // "下で" then the next plain line
    EXPECT_EQ(at, (TextPoint{3, 0, 1}));
}

TEST(TextBuffer, ForEachClampsItsStartAndStopsAfterItsEnd) {
    CYbTxtBuffer b = MakeBuffer();
    Collect beyond(b);
    b.forEach({42, 0, 0}, {99, 0, 0}, beyond);  // a line past the end starts at the last line
    EXPECT_EQ(beyond.seen, u"𠮟𠮟る。");
    Collect lastRun(b);
    b.forEach({3, 7, 0}, {99, 0, 0}, lastRun);  // a run past the line's runs: the last run
    EXPECT_EQ(lastRun.seen, u"。");
    Collect range(b);
    b.forEach({1, 0, 1}, {1, 2, 1}, range);  // both ends visited, ruby skipped
    EXPECT_EQ(range.seen, u"生門の下");
    Collect stop(b);
    stop.stopAfter = 2;
    b.forEachAll(stop);
    EXPECT_EQ(stop.seen, u"羅生");

    CYbTxtBuffer empty;
    Collect none(empty);
    empty.forEach({0, 0, 0}, {5, 0, 0}, none);
    empty.forEachAll(none);
    EXPECT_TRUE(none.points.empty());
    std::u16string text = u"stale";
    empty.getText(text, {0, 0, 0}, {5, 0, 0}, 0);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(empty.findLineOfColumn(0), -1);
    TextPoint p;
    EXPECT_FALSE(empty.columnToPoint(0, p));
}

TEST(TextBuffer, GetTextStepsLinesAndHonoursItsLimit) {
    CYbTxtBuffer b = MakeBuffer();
    std::u16string text;
    b.getText(text, {1, 0, 0}, {3, 1, 0}, 0);
    // The line with no plain runs still counts as a line step.
    EXPECT_EQ(text, u"羅生門の下で\r\n\r\n𠮟𠮟る。");
    b.getText(text, {1, 0, 2}, {1, 2, 0}, 0);
    EXPECT_EQ(text, u"門の");
    // Past the limit the walk stops and the pending segment is left out.
    b.getText(text, {1, 0, 0}, {3, 1, 0}, 5);
    EXPECT_EQ(text, u"羅生門の下で\r\n\r\n");
    b.getText(text, {1, 0, 0}, {3, 1, 0}, 2);
    EXPECT_EQ(text, u"羅生門");
    // A segment ending in a surrogate pair keeps the whole pair.
    b.getText(text, {3, 0, 0}, {3, 0, 1}, 0);
    EXPECT_EQ(text, u"𠮟𠮟");
}

TEST(TextBuffer, BoldMarkingWithUnmatchedStartAndEnd) {
    CYbTxtBuffer b;
    b.addLine(Line({}));
    b.addLine(Line(
        {MakeRun(u"", TT_BOLD_END), MakeRun(u"ab"), MakeRun(u"", TT_BOLD_START), MakeRun(u"cd")}));
    b.addLine(Line({MakeRun(u"ef"), MakeRun(u"", TT_BOLD_END), MakeRun(u"gh")}));
    TextInfo range = MakeRun(u"", TT_BOLD);
    range.tpBegin = {0, 1};
    range.tpEnd = {0, -1};  // through the end of run 0
    b.addLine(Line({MakeRun(u"ijk"), range, MakeRun(u"", TT_BOLD_START), MakeRun(u"lm")}));
    MarkBold(b);
    EXPECT_FALSE(b.isBold({1, 1, 0}));  // the end without a start marks nothing
    EXPECT_TRUE(b.isBold({1, 3, 0}));
    EXPECT_TRUE(b.isBold({1, 3, 1}));
    EXPECT_TRUE(b.isBold({2, 0, 1}));
    EXPECT_FALSE(b.isBold({2, 2, 0}));
    EXPECT_FALSE(b.isBold({3, 0, 0}));
    EXPECT_TRUE(b.isBold({3, 0, 1}));
    EXPECT_TRUE(b.isBold({3, 0, 2}));
    EXPECT_FALSE(b.isBold({3, 3, 0}));  // a start left open at the end marks nothing
    EXPECT_EQ(b.boldSet().size(), 6u);
}

TEST(TextBuffer, ColumnsMapToLinesAndPoints) {
    CYbTxtBuffer b = MakeBuffer();
    auto& lines = b.lines();
    lines[1].iStartCol = 0;
    lines[1].iNextCol = 2;
    lines[1].turns = {{0, 0, 2, 8, 0, -1}, {2, 1, 2, 8, 1, -1}};
    lines[2].iStartCol = 2;
    lines[2].iNextCol = 2;  // a break takes no column
    lines[3].iStartCol = 2;
    lines[3].iNextCol = 5;
    lines[3].turns = {{0, 0, 4, 16, 2, -1}};
    EXPECT_EQ(b.findLineOfColumn(1), 1);
    EXPECT_EQ(b.findLineOfColumn(2), 3);
    EXPECT_EQ(b.findLineOfColumn(5), -1);
    TextPoint p;
    ASSERT_TRUE(b.columnToPoint(1, p));
    EXPECT_EQ(p, (TextPoint{1, 2, 1}));
    ASSERT_TRUE(b.columnToPoint(4, p));  // past the last entry: the last entry
    EXPECT_EQ(p, (TextPoint{3, 0, 0}));
    b.clear();
    EXPECT_EQ(b.lineCount(), 0);
}

}  // namespace
}  // namespace Yomibon

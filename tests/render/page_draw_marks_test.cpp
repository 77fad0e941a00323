// Side lines, long dashes and notes drawn on a spread: real notation typeset by the
// arranger and the mapper, then checked in the canvas pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "layout/document_arranger.h"
#include "render/canvas_fixture.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

constexpr uint32_t kPaper = 0xFFFFFF;

using Fixture = Test::CanvasFixture;

std::u16string Doc(std::u16string_view body) {
    return u"題名\r\n著者\r\n\r\n" + std::u16string(body);
}

std::u16string Repeat(std::u16string_view s, int n) {
    std::u16string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// The runs of a type, in text order.
std::vector<TextPoint> RunsOf(const CYbTxtDocument& doc, int type) {
    std::vector<TextPoint> out;
    const auto& lines = doc.buffer().lines();
    for (int l = 0; l < int(lines.size()); ++l)
        for (int r = 0; r < int(lines[size_t(l)].runs.size()); ++r)
            if (lines[size_t(l)].runs[size_t(r)].textType == type) out.push_back({l, r, 0});
    return out;
}

// A run's entries on the spread last drawn, character 0 onwards.
std::vector<PageMapEntry> Entries(const Fixture& f, const TextPoint& run) {
    std::vector<PageMapEntry> out;
    for (int k = 0;; ++k) {
        auto it = f.map().find({run.iLine, run.iIndex, k});
        if (it == f.map().end()) break;
        out.push_back(it->second);
    }
    return out;
}

int InkPixels(const CYbBitmap& b, const MapRect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(b.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(b.width(), r.right); ++x)
            if ((b.pixel(x, y) & 0xFFFFFF) != kPaper) ++n;
    return n;
}

// Pixels that differ between two drawings of the same size, and their bounding box.
int DiffPixels(const CYbBitmap& a, const CYbBitmap& b, const MapRect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(a.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(a.width(), r.right); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

// Characters of plain text per column of the layout at the fixture's default size.
int ColumnLength() {
    Fixture f(Doc(u"　" + Repeat(u"あ", 200) + u"\r\n"));
    f.canvas->drawPage(0);
    std::vector<TextPoint> texts = RunsOf(*f.doc, TT_TEXT);
    for (const TextPoint& p : texts) {
        std::vector<PageMapEntry> e = Entries(f, p);
        if (e.size() < 100) continue;
        int n = 0;
        while (n < int(e.size()) && e[size_t(n)].iColumn == e[0].iColumn)
            ++n;
        return n + 1;  // the opening ideographic space
    }
    return 0;
}

// Every pixel where two drawings differ lies in one of the rectangles, and every
// rectangle holds at least `least` of them.
void ExpectDiffOnlyIn(const CYbBitmap& with, const CYbBitmap& without,
                      const std::vector<MapRect>& rects, int least) {
    ASSERT_EQ(with.width(), without.width());
    ASSERT_EQ(with.height(), without.height());
    int outside = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) == without.pixel(x, y)) continue;
            bool in = false;
            for (const MapRect& r : rects)
                in = in || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            if (!in) ++outside;
        }
    EXPECT_EQ(outside, 0);
    for (const MapRect& r : rects)
        EXPECT_GE(DiffPixels(with, without, r), least)
            << "rect " << r.left << "," << r.top << " " << r.width() << "x" << r.height();
}

// The side-line run's entries cut at column changes, as rectangles one pixel larger.
std::vector<MapRect> ColumnRects(const std::vector<PageMapEntry>& entries) {
    std::vector<MapRect> rects;
    int column = INT_MIN;
    for (const PageMapEntry& e : entries) {
        MapRect cell{e.inkX - 1, e.inkY - 1, e.inkX + e.size + 1, e.inkY + e.advance + 1};
        if (e.iColumn != column) {
            rects.push_back(cell);
            column = e.iColumn;
        } else {
            MapRect& r = rects.back();
            r = {std::min(r.left, cell.left), std::min(r.top, cell.top),
                 std::max(r.right, cell.right), std::max(r.bottom, cell.bottom)};
        }
    }
    return rects;
}

// Rows of a rectangle with ink in some pixel of the row.
int InkedRows(const CYbBitmap& b, const MapRect& r) {
    int rows = 0;
    for (int y = r.top; y < r.bottom; ++y)
        if (InkPixels(b, {r.left, y, r.right, y + 1}) > 0) ++rows;
    return rows;
}

TEST(PageDrawMarks, SideLineSplitOverTwoColumnsIsDrawnBesideBothParts) {
    const int len = ColumnLength();
    ASSERT_GT(len, 10);
    // "傍線" ends the first column, "部分" opens the second.
    std::u16string body = u"　" + Repeat(u"あ", len - 3) + u"傍線部分" + Repeat(u"あ", 20);
    Fixture with(Doc(body + u"［＃「傍線部分」に傍線］\r\n"));
    Fixture without(Doc(body + u"\r\n"));
    with.canvas->drawPage(0);
    without.canvas->drawPage(0);
    std::vector<TextPoint> lines = RunsOf(*with.doc, TT_SIDE_LINE);
    ASSERT_EQ(lines.size(), 1u);
    std::vector<PageMapEntry> entries = Entries(with, lines[0]);
    ASSERT_EQ(entries.size(), 4u);
    std::vector<MapRect> parts = ColumnRects(entries);
    ASSERT_EQ(parts.size(), 2u);  // the range really is split
    EXPECT_NE(parts[0].left, parts[1].left);
    // The line beside each part covers most of that part's length, and nothing else
    // changed on the spread.
    ExpectDiffOnlyIn(with.bitmap(), without.bitmap(), parts, 10);
    for (const MapRect& part : parts) {
        MapRect inner{part.left, part.top + 2, part.right, part.bottom - 2};
        EXPECT_GE(InkedRows(with.bitmap(), inner), inner.height() * 3 / 4);
    }
}

TEST(PageDrawMarks, SideLinePastTheSpreadIsDrawnOnlyForItsEntriesOnTheSpread) {
    const int len = ColumnLength();
    ASSERT_GT(len, 10);
    // How many characters of one long paragraph the first spread holds.
    Fixture probe(Doc(u"　" + Repeat(u"あ", 3000) + u"\r\n"));
    probe.canvas->drawPage(0);
    int onFirst = 0;
    for (const TextPoint& p : RunsOf(*probe.doc, TT_TEXT))
        onFirst = std::max(onFirst, int(Entries(probe, p).size()));
    ASSERT_GT(onFirst, len);
    std::u16string body = u"　" + Repeat(u"あ", onFirst - 2) + u"傍線部分" + Repeat(u"あ", 100);
    Fixture with(Doc(body + u"［＃「傍線部分」に傍線］\r\n"));
    Fixture without(Doc(body + u"\r\n"));
    for (int page : {0, 2}) {
        with.canvas->drawPage(page);
        without.canvas->drawPage(page);
        std::vector<PageMapEntry> entries = Entries(with, RunsOf(*with.doc, TT_SIDE_LINE)[0]);
        ASSERT_EQ(entries.size(), 2u) << "page " << page;
        std::vector<MapRect> parts = ColumnRects(entries);
        ASSERT_EQ(parts.size(), 1u);
        ExpectDiffOnlyIn(with.bitmap(), without.bitmap(), parts, 10);
    }
}

// The dash runs' entries in text order.
std::vector<PageMapEntry> DashEntries(const Fixture& f) {
    std::vector<PageMapEntry> out;
    for (const TextPoint& p : RunsOf(*f.doc, TT_DASH))
        for (const PageMapEntry& e : Entries(f, p))
            out.push_back(e);
    return out;
}

// The longest unbroken vertical stretch of ink in any pixel column of a rectangle.
int LongestStroke(const CYbBitmap& b, const MapRect& r) {
    int best = 0;
    for (int x = r.left; x < r.right; ++x) {
        int run = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            run = (b.pixel(x, y) & 0xFFFFFF) != kPaper ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

TEST(PageDrawMarks, DashesInOneColumnAreOneStroke) {
    Fixture one(Doc(u"　あ―\r\n"));
    Fixture two(Doc(u"　あ――\r\n"));
    one.canvas->drawPage(0);
    two.canvas->drawPage(0);
    std::vector<PageMapEntry> single = DashEntries(one), pair = DashEntries(two);
    ASSERT_EQ(single.size(), 1u);
    ASSERT_EQ(pair.size(), 2u);
    ASSERT_EQ(pair[0].iColumn, pair[1].iColumn);
    const PageMapEntry& a = pair[0];
    const PageMapEntry& b = pair[1];
    // One stroke from the first dash's cell into the last one's, without a break between.
    MapRect both{a.inkX, a.inkY, a.inkX + a.size, b.inkY + b.size};
    int stroke = LongestStroke(two.bitmap(), both);
    EXPECT_GE(stroke, both.height() - 4);
    // A single dash is a stroke of its own cell only.
    const PageMapEntry& s = single[0];
    MapRect cell{s.inkX, s.inkY - s.advance, s.inkX + s.size, s.inkY + 2 * s.advance};
    int alone = LongestStroke(one.bitmap(), cell);
    EXPECT_GE(alone, s.advance - 4);
    EXPECT_LE(alone, s.advance + 1);
    // Nothing below the last dash: the end of the paragraph.
    EXPECT_EQ(InkPixels(two.bitmap(), {b.inkX, b.inkY + b.size + 1, b.inkX + b.size,
                                       b.inkY + b.size + b.advance}),
              0);
}

TEST(PageDrawMarks, DashRunBrokenOverTwoColumnsIsDrawnInBoth) {
    const int len = ColumnLength();
    ASSERT_GT(len, 10);
    Fixture f(Doc(u"　" + Repeat(u"あ", len - 3) + u"――――ああ\r\n"));
    f.canvas->drawPage(0);
    std::vector<PageMapEntry> dashes = DashEntries(f);
    ASSERT_EQ(dashes.size(), 4u);
    std::vector<MapRect> parts = ColumnRects(dashes);
    ASSERT_EQ(parts.size(), 2u);  // the run really is broken
    for (const MapRect& part : parts) {
        MapRect inner{part.left + 1, part.top + 1, part.right - 1, part.bottom - 1};
        EXPECT_GE(LongestStroke(f.bitmap(), inner), inner.height() - 4)
            << "column at x " << part.left;
    }
}

// The inked part of a rectangle (its size, then its pixels), to compare drawings of the
// same glyph at different places and with different spacing around it.
std::vector<uint32_t> InkCrop(const CYbBitmap& b, const MapRect& r) {
    MapRect ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = std::max(0, r.top); y < std::min(b.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(b.width(), r.right); ++x)
            if ((b.pixel(x, y) & 0xFFFFFF) != kPaper)
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
    if (ink.left == INT_MAX) return {};
    std::vector<uint32_t> out{uint32_t(ink.width()), uint32_t(ink.height())};
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x)
            out.push_back(b.pixel(x, y));
    return out;
}

// A note's number ("※n", two cells) beside the text and at the head of its note column,
// each cell's ink cropped on its own, so equal numbers give equal pixels wherever the
// note stands.
std::vector<uint32_t> NoteMark(const Fixture& f, const TextPoint& note) {
    std::vector<PageMapEntry> e = Entries(f, note);
    EXPECT_GE(e.size(), 4u);
    if (e.size() < 4) return {};
    std::vector<uint32_t> out;
    for (size_t k = 0; k < 4; ++k) {
        // A cell ends where the next one below it begins.
        int bottom = e[k].inkY + std::min(e[k].size, e[k].advance);
        if (k + 1 < e.size() && e[k + 1].inkX == e[k].inkX && e[k + 1].inkY > e[k].inkY)
            bottom = std::min(bottom, e[k + 1].inkY);
        MapRect r{e[k].inkX, e[k].inkY, e[k].inkX + e[k].size, bottom};
        std::vector<uint32_t> cell = InkCrop(f.bitmap(), r);
        EXPECT_FALSE(cell.empty()) << "cell " << k;
        out.insert(out.end(), cell.begin(), cell.end());
    }
    return out;
}

// Notes whose first entry is on the spread last drawn.
std::vector<TextPoint> NotesOnSpread(const Fixture& f) {
    std::vector<TextPoint> out;
    for (const TextPoint& p : RunsOf(*f.doc, TT_NOTE))
        if (!Entries(f, p).empty()) out.push_back(p);
    return out;
}

TEST(PageDrawMarks, NotesAreNumberedFromOneOnEverySpread) {
    std::u16string body =
        u"　下人が門の下で待つ［＃「下人」に「召使い」の注記］。雨が降る［＃「雨」に「あめ」の注"
        u"記］。\r\n"
        u"［＃改ページ］\r\n"
        u"　老婆が髪を抜く［＃「老婆」に「年寄りの女」の注記］。夜が来る［＃「夜」に「よる」の注"
        u"記］。\r\n";
    Fixture f(Doc(body));
    f.canvas->drawPage(0);
    std::vector<TextPoint> first = NotesOnSpread(f);
    ASSERT_EQ(first.size(), 2u);
    std::vector<uint32_t> one = NoteMark(f, first[0]), two = NoteMark(f, first[1]);
    EXPECT_NE(one, two);  // "※1" and "※2" do look different
    std::vector<std::u16string> tips;
    for (const CanvasTooltip& t : f.canvas->tooltips())
        tips.push_back(t.text);
    EXPECT_NE(std::find(tips.begin(), tips.end(), u"召使い"), tips.end());

    f.canvas->drawPage(2);
    std::vector<TextPoint> second = NotesOnSpread(f);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(NoteMark(f, second[0]), one);
    EXPECT_EQ(NoteMark(f, second[1]), two);
    tips.clear();
    for (const CanvasTooltip& t : f.canvas->tooltips())
        tips.push_back(t.text);
    EXPECT_NE(std::find(tips.begin(), tips.end(), u"年寄りの女"), tips.end());
    EXPECT_EQ(std::find(tips.begin(), tips.end(), u"召使い"), tips.end());
}

TEST(PageDrawMarks, NoteOfTheSpreadBeforeDoesNotCountInAParagraphCrossingSpreads) {
    // One paragraph over two spreads, a note in each part.
    Fixture probe(Doc(u"　" + Repeat(u"あ", 3000) + u"\r\n"));
    probe.canvas->drawPage(0);
    int onFirst = 0;
    for (const TextPoint& p : RunsOf(*probe.doc, TT_TEXT))
        onFirst = std::max(onFirst, int(Entries(probe, p).size()));
    ASSERT_GT(onFirst, 40);
    std::u16string body = u"　下人［＃「下人」に「召使い」の注記］" + Repeat(u"あ", onFirst) +
                          u"老婆［＃「老婆」に「年寄りの女」の注記］" + Repeat(u"あ", 20) +
                          u"夜［＃「夜」に「よる」の注記］\r\n";
    Fixture f(Doc(body));
    f.canvas->drawPage(0);
    std::vector<TextPoint> notes = RunsOf(*f.doc, TT_NOTE);
    ASSERT_EQ(notes.size(), 3u);
    ASSERT_EQ(NotesOnSpread(f).size(), 1u);
    std::vector<uint32_t> one = NoteMark(f, notes[0]);
    f.canvas->drawPage(2);
    ASSERT_EQ(NotesOnSpread(f).size(), 2u);
    EXPECT_EQ(NoteMark(f, notes[1]), one);
    EXPECT_NE(NoteMark(f, notes[2]), one);
    // The tooltips belong to this spread's notes only.
    for (const CanvasTooltip& t : f.canvas->tooltips())
        EXPECT_NE(t.text, u"召使い");
}

TEST(PageDrawMarks, PageFillIsThePageColourOnThePaperAndTheThirdOutside) {
    // Chosen colours (COLORREF), a canvas much wider than the spread so that the paper
    // leaves bands on both sides, and an empty spread (the title page's facing page).
    Fixture f(Doc(u"　あ\r\n"), 1500, 500);
    const int32_t colours[3] = {0x00C0FFEE, 0x00123456, 0x00204060};
    f.param.SetPoints(u"PageColor", colours, 3);
    f.canvas->drawPage(0);
    const CYbBitmap& b = f.bitmap();
    const MapRect& paper = f.canvas->mapper().paperRect();
    ASSERT_GT(paper.left, 0);
    ASSERT_LT(paper.right, b.width());
    const uint32_t paperPixel = ColorToPixel(0x00C0FFEE), outside = ColorToPixel(0x00204060);
    int wrongOutside = 0, paperPixels = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            bool in = x >= paper.left && x < paper.right && y >= paper.top && y < paper.bottom;
            if (!in && b.pixel(x, y) != outside) ++wrongOutside;
            if (in && b.pixel(x, y) == paperPixel) ++paperPixels;
        }
    EXPECT_EQ(wrongOutside, 0);
    // The paper is the first colour except where text is drawn on it.
    EXPECT_GT(paperPixels, paper.width() * paper.height() * 9 / 10);
    EXPECT_EQ(b.pixel(paper.left, paper.top), paperPixel);
    EXPECT_EQ(b.pixel(paper.right - 1, paper.bottom - 1), paperPixel);
}

}  // namespace
}  // namespace Yomibon

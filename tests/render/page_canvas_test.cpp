#include "render/page_canvas.h"

#include <gtest/gtest.h>

#include <cstring>

#include "layout/document_arranger.h"
#include "render/canvas_fixture.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

constexpr uint32_t kPaper = 0xFFFFFF;
constexpr uint32_t kOutside = 0xD0D0D0;

using Fixture = Test::CanvasFixture;

std::u16string LongText(int paragraphs) {
    std::u16string text = u"題名\r\n著者\r\n\r\n";
    for (int i = 0; i < paragraphs; ++i)
        text +=
            u"　ある日の暮方の事である。一人の下人《げにん》が、羅生門《らしょうもん》の下で雨やみ"
            u"を待っていた。\r\n";
    return text;
}

bool HasInk(const CYbBitmap& b, const MapRect& r) {
    for (int y = std::max(0, r.top); y < std::min(b.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(b.width(), r.right); ++x)
            if ((b.pixel(x, y) & 0xFFFFFF) != kPaper) return true;
    return false;
}

TEST(PageCanvas, PaperOutsideAndInkOnlyInBoxes) {
    Fixture f(LongText(40));
    ASSERT_GE(f.doc->getPageCount(), 3);
    EXPECT_EQ(f.canvas->drawPage(2), 2);
    const CYbBitmap& b = f.canvas->bitmap();
    const MapRect& paper = f.canvas->mapper().paperRect();
    ASSERT_GT(paper.width(), 0);
    // Outside the paper: the third page colour; a corner of the paper: paper.
    if (paper.left > 0) {
        EXPECT_EQ(b.pixel(paper.left - 1, 400) & 0xFFFFFF, kOutside);
    }
    EXPECT_EQ(b.pixel(paper.left + 1, paper.bottom - 2) & 0xFFFFFF, kPaper);
    // Every text box of a full spread holds ink.
    for (const MapBoxRect& box : f.canvas->mapper().boxRects())
        EXPECT_TRUE(HasInk(b, box.box));
    // Ink outside the boxes lies only where decorations and ruby go: the paper's margins
    // below the boxes hold none.
    int lowest = 0;
    for (const MapBoxRect& box : f.canvas->mapper().boxRects())
        lowest = std::max(lowest, box.box.bottom);
    EXPECT_FALSE(HasInk(b, {paper.left, lowest + 8, paper.right, paper.bottom}));
}

TEST(PageCanvas, PageNumbersAndSpreads) {
    Fixture f(LongText(40));
    EXPECT_EQ(f.canvas->drawPage(3), 2);   // an odd page draws the spread of the even one
    EXPECT_EQ(f.canvas->drawPage(-1), 2);  // -1 redraws the current spread
    CYbBitmap spread2 = f.canvas->bitmap();
    f.canvas->drawPage(2);
    EXPECT_EQ(
        std::memcmp(spread2.bits(), f.canvas->bitmap().bits(), size_t(spread2.stride()) * 800), 0);
    // A page past the end changes nothing and keeps the current page.
    EXPECT_EQ(f.canvas->drawPage(f.doc->getPageCount() + 5), 2);
    // Nombres: "2" and "3" on the second spread, with their tooltips; none for page 0.
    f.canvas->drawPage(2);
    int nombres = 0;
    for (const auto& tip : f.canvas->tooltips())
        if (tip.text.find(u'/') != std::u16string::npos) ++nombres;
    EXPECT_EQ(nombres, 2);
    f.canvas->drawPage(0);
    nombres = 0;
    for (const auto& tip : f.canvas->tooltips())
        if (tip.text.find(u'/') != std::u16string::npos) ++nombres;
    EXPECT_EQ(nombres, 1);
}

TEST(PageCanvas, SelectionInvertsExactlyTheSelectedCells) {
    Fixture f(u"題名\r\n著者\r\n\r\n　羅生門羅生門羅生門羅生門\r\n");
    f.canvas->drawPage(0);
    CYbTxtMapper& m = f.canvas->mapper();
    // The body line's kanji run (after the ideographic space): its first three characters.
    TextPoint a{4, 1, 0}, b{4, 1, 2};
    ASSERT_TRUE(m.charMap().count(a));
    m.selStart = a;
    m.selEnd = b;
    m.selShown = true;
    const CYbBitmap& src = f.canvas->bitmap();
    CYbBitmap out(src.width(), src.height());
    f.canvas->paintCanvas(out, {0, 0, src.width(), src.height()});
    const PageMapEntry& first = m.charMap().at(a);
    const PageMapEntry& after = m.charMap().at({4, 1, 3});
    EXPECT_EQ(out.pixel(first.x + 1, first.y + 1) & 0xFFFFFF,
              (src.pixel(first.x + 1, first.y + 1) ^ 0xFFFFFF) & 0xFFFFFF);
    EXPECT_EQ(out.pixel(after.x + 1, after.y + 1), src.pixel(after.x + 1, after.y + 1));
    m.selShown = false;
    f.canvas->paintCanvas(out, {0, 0, src.width(), src.height()});
    EXPECT_EQ(out.pixel(first.x + 1, first.y + 1), src.pixel(first.x + 1, first.y + 1));
}

std::u16string RunningHead(const CYbPageCanvas& canvas) {
    for (const TextInfo& d : canvas.decorations())
        if (d.textType == TT_RUNNING_HEAD) return d.str;
    return u"(none)";
}

TEST(PageCanvas, RunningHeadIsTheLastHeadingOrTheTitle) {
    Fixture plain(LongText(40));
    plain.canvas->drawPage(2);
    EXPECT_EQ(RunningHead(*plain.canvas), u"題名");
    std::u16string text = u"題名\r\n著者\r\n\r\n第一章［＃「第一章」は大見出し］\r\n";
    text += LongText(30).substr(9);
    text += u"第二章［＃「第二章」は大見出し］\r\n";
    text += LongText(30).substr(9);
    Fixture headed(text);
    headed.canvas->drawPage(0);
    EXPECT_EQ(RunningHead(*headed.canvas), u"第一章");
    headed.canvas->drawPage(headed.doc->getPageCount());
    EXPECT_EQ(RunningHead(*headed.canvas), u"第二章");
}

TEST(PageCanvas, NothingLoadedIsJustPaper) {
    CYbTxtParam param;
    CYbPageCanvas canvas(param);
    canvas.resize(100, 80);
    EXPECT_EQ(canvas.drawPage(0), 0);
    CYbBitmap out(100, 80);
    out.fill(0x123456);
    canvas.paintCanvas(out, {0, 0, 100, 80});
    EXPECT_EQ(out.pixel(50, 40), 0x123456u);  // painting copies nothing
}

}  // namespace
}  // namespace Yomibon

// Runs keep their characters in one block per line: the text of every run read back after
// parsing real notation, after copies and moves of lines, and for a line of 40,000 runs; the
// compact run (twelve-byte text, 32-byte run) keeps long texts, surrogate pairs, empty texts
// and every type code.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "parser_test_util.h"
#include "platform/utf16.h"
#include "text/aozora_parser.h"
#include "text/run_text.h"
#include "text/text_buffer.h"

namespace Yomibon {
namespace {

using Test::DescribeLine;
using Test::ParseNotation;

// Every run of a stored line views its line's block, terminated after its last character.
void ExpectGathered(const LineInfo& line) {
    const char16_t* block = line.chars.get();
    for (const TextInfo& run : line.runs) {
        if (run.str.empty()) continue;
        EXPECT_FALSE(run.str.owned()) << ToUtf8(run.str);
        ASSERT_NE(block, nullptr);
        EXPECT_GE(run.str.data(), block);
        EXPECT_EQ(run.str.c_str()[run.str.size()], u'\0') << ToUtf8(run.str);
    }
}

const std::u16string kNotation =
    u"本文。\n本文。\n本文。\n"
    u"吾輩《わがはい》は猫である。名前はまだ無い。［＃「名前」に傍点］\n"
    u"どこで生れたかとんと見当《けんとう》がつかぬ。※［＃「てへん＋丑」、第3水準1-84-81］\n";

TEST(RunStorage, ParsedNotationKeepsEachRunsTextAndType) {
    CYbTxtBuffer buffer = ParseNotation(kNotation);
    // Line 0 is the empty line every parse starts with.
    ASSERT_GE(buffer.lineCount(), 6);
    const LineInfo& line = buffer.lines()[4];
    EXPECT_EQ(DescribeLine(line),
              "吾輩 {1:わがはい@0,0-0,1} は 猫 である 。 名前 はまだ 無 い 。 {9:傍点@6,0-6,1} "
              "{71:@0,0-0,-1}");
    for (const LineInfo& l : buffer.lines())
        ExpectGathered(l);
    // A run's text compares, converts and indexes as a string does.
    EXPECT_EQ(line.runs[0].str, u"吾輩");
    EXPECT_TRUE(line.runs[1].str == std::u16string(u"わがはい"));
    EXPECT_EQ(std::u16string_view(line.runs[1].str).substr(2), u"はい");
    EXPECT_EQ(line.runs[1].str[3], u'い');
    EXPECT_EQ(u"《" + line.runs[1].str, u"《わがはい");
}

TEST(RunStorage, CopiedAndMovedLinesKeepTheirRunsText) {
    LineInfo copy, moved;
    {
        CYbTxtBuffer buffer = ParseNotation(kNotation);
        copy = buffer.lines()[4];
        LineInfo other = buffer.lines()[5];
        moved = std::move(other);
        buffer.clear();  // the buffer's lines are gone; the copies share the blocks
    }
    EXPECT_EQ(copy.runs[0].str, u"吾輩");
    EXPECT_EQ(copy.runs[1].str, u"わがはい");
    EXPECT_EQ(copy.runs[copy.runs.size() - 2].str, u"傍点");
    EXPECT_EQ(moved.runs[0].str, u"どこで");
    EXPECT_EQ(moved.runs[1].str, u"生");
    ExpectGathered(copy);
    ExpectGathered(moved);
    // A run given new text owns it; the line stored again gathers it with the others.
    copy.runs[0].str = u"我輩";
    EXPECT_TRUE(copy.runs[0].str.owned());
    CYbTxtBuffer again;
    again.addLine(copy);
    copy = LineInfo{};
    EXPECT_EQ(again.lines()[0].runs[0].str, u"我輩");
    EXPECT_EQ(again.lines()[0].runs[1].str, u"わがはい");
    ExpectGathered(again.lines()[0]);
}

TEST(RunStorage, TextEditsOfARunKeepItsCharacters) {
    const std::u16string kept = u"見当違い";
    CYbRunText text = kept;
    CYbRunText view = CYbRunText::View(kept);
    EXPECT_FALSE(view.owned());
    CYbRunText copy = text;  // an own text is copied, not shared
    text.resize(2);
    EXPECT_EQ(text, u"見当");
    EXPECT_EQ(text.c_str()[2], u'\0');
    EXPECT_EQ(copy, u"見当違い");
    copy += u"だ";
    EXPECT_EQ(copy, u"見当違いだ");
    copy = copy.view().substr(2);  // from its own characters
    EXPECT_EQ(copy, u"違いだ");
    view.removePrefix(2);
    EXPECT_FALSE(view.owned());
    EXPECT_EQ(view, u"違い");
    view = u"";
    EXPECT_TRUE(view.empty());
    EXPECT_EQ(view.c_str()[0], u'\0');
}

TEST(RunStorage, LineOfFortyThousandRunsIsOneBlock) {
    std::u16string text = u"本文。\n本文。\n本文。\n";
    for (int i = 0; i < 20'000; ++i)
        text += u"aあ";
    text += u"［＃「aあ」に傍点］\n";
    CYbTxtBuffer buffer = ParseNotation(text);
    ASSERT_GE(buffer.lineCount(), 5);
    const LineInfo& line = buffer.lines()[4];
    ASSERT_EQ(line.runs.size(), 40'001u);
    for (size_t r = 0; r + 1 < line.runs.size(); ++r) {
        ASSERT_EQ(line.runs[r].str, r % 2 == 0 ? u"a" : u"あ") << r;
        ASSERT_EQ(line.runs[r].textType, TT_TEXT) << r;
    }
    EXPECT_EQ(line.runs.back().textType, TT_SESAME_DOT);
    EXPECT_EQ(line.runs.back().tpBegin.iIndex, 39'998);
    ExpectGathered(line);
    // One block: the characters and a terminator per run, back to back.
    EXPECT_EQ(line.runs.back().str.data() + line.runs.back().str.size() + 1 - line.chars.get(),
              2 * 40'000 + 2 + 1);
}

TEST(RunStorage, CompactTextKeepsLongAndEmptyTextsAndPairsBeyondTheBasicPlane) {
    // A run of 300,000 units, owned, viewed, moved and gathered into its line.
    std::u16string longText(300'000, u'あ');
    longText.back() = u'ん';
    CYbRunText owned = longText;
    EXPECT_TRUE(owned.owned());
    EXPECT_EQ(owned.size(), 300'000u);
    EXPECT_EQ(owned.back(), u'ん');
    EXPECT_EQ(owned.c_str()[300'000], u'\0');
    CYbRunText moved = std::move(owned);
    EXPECT_TRUE(owned.empty());
    EXPECT_EQ(owned.c_str()[0], u'\0');
    EXPECT_EQ(moved, longText);
    CYbRunText view = CYbRunText::View(longText);
    view.removePrefix(299'999);
    EXPECT_EQ(view, u"ん");
    EXPECT_EQ(view.data(), longText.data() + 299'999);

    // Characters beyond the basic plane are two units each, kept as written.
    const std::u16string pairs = u"𠮟られて𩸽を食べる";
    ASSERT_EQ(pairs.size(), 11u);
    CYbRunText text = pairs;
    text += u"𪚲";
    EXPECT_EQ(text.size(), 13u);
    EXPECT_EQ(text.view().substr(11), u"𪚲");
    EXPECT_EQ(text.view().substr(0, 2), u"𠮟");

    LineInfo line;
    line.runs.emplace_back(moved, 0x21);
    line.runs.emplace_back(u"");  // an empty run takes no room in the block
    line.runs.emplace_back(text, 0x22, RunPoint{0, 0}, RunPoint{0, -1}, TT_TEXT);
    line.runs.emplace_back(CYbRunText(), 0xFFFF, RunPoint{2, 1}, RunPoint{2, 3}, TT_SESAME_DOT);
    line.pack();
    ExpectGathered(line);
    EXPECT_EQ(line.runs[0].str, longText);
    EXPECT_TRUE(line.runs[1].str.empty());
    EXPECT_EQ(line.runs[1].str.c_str()[0], u'\0');
    EXPECT_EQ(line.runs[2].str, pairs + u"𪚲");
    EXPECT_TRUE(line.runs[3].str.empty());
    EXPECT_EQ(line.runs[2].str.data() - line.chars.get(), 300'001);

    // The run's fields in the order they are written out; every type code kept.
    const TextInfo& mark = line.runs[3];
    EXPECT_EQ(mark.chrType, 0xFFFF);
    EXPECT_EQ(mark.tpBegin, (RunPoint{2, 1}));
    EXPECT_EQ(mark.tpEnd, (RunPoint{2, 3}));
    EXPECT_EQ(mark.textType, TT_SESAME_DOT);
    EXPECT_EQ(line.runs[0].chrType, 0x21);
    EXPECT_EQ(line.runs[0].textType, TT_TEXT);
    EXPECT_EQ(line.runs[0].tpEnd, (RunPoint{0, -1}));
    for (int type = 0; type < TT_MAX; ++type) {
        TextInfo run(u"x", 0xFFFF, {0, 0}, {0, -1}, type);
        EXPECT_EQ(run.textType, type);
        EXPECT_EQ(TypeIdentifier(run.textType), TypeIdentifier(type));
    }
}

TEST(RunStorage, TextPastTheRunLimitIsLeftOutWithANotice) {
    std::u16string text = u"本文。\n本文。\n本文。\n";
    for (int l = 0; l < 100; ++l) {
        for (int i = 0; i < 50; ++i)
            text += u"aあ";
        text += u"\n";
    }
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.setMaxRuns(1'000);
    ASSERT_TRUE(parser.parseText(std::u16string_view(text), buffer));
    size_t runs = 0;
    for (const LineInfo& line : buffer.lines())
        runs += line.runs.size();
    EXPECT_GE(runs, 1'000u);
    EXPECT_LE(runs, 1'010u);
    // Nine whole lines of 100 runs after the head, then the line the limit fell in.
    EXPECT_LT(buffer.lineCount(), 16);
    EXPECT_EQ(buffer.lines()[5].runs.size(), 100u);
    const std::string notice = ToUtf8(parser.getNotice());
    EXPECT_NE(notice.find("1000 個"), std::string::npos) << notice;
    EXPECT_NE(notice.find("読み込んでいません"), std::string::npos) << notice;

    // The same parser on a short text again: nothing left out, no notice.
    CYbTxtBuffer small;
    ASSERT_TRUE(parser.parseText(std::u16string_view(u"吾輩は猫である。\n"), small));
    EXPECT_TRUE(parser.getNotice().empty());
    EXPECT_EQ(small.lines()[1].runs[0].str, u"吾輩");
}

}  // namespace
}  // namespace Yomibon

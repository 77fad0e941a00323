#include "text/txt_search.h"

#include <gtest/gtest.h>

#include <ostream>

#include "parser_test_util.h"
#include "text/txt_search_history.h"

namespace Yomibon {

void PrintTo(const TextPoint& p, std::ostream* os) {
    *os << "{" << p.iLine << "," << p.iIndex << "," << p.iPos << "}";
}

namespace {

using Test::DescribeLine;
using Test::ParseNotation;

// Notation starts with a blank line so that no title is taken from it; body line k is then
// buffer line k + 2.
constexpr int32_t kBody = 2;

CYbTxtBuffer Parse(std::u16string_view text) {
    return ParseNotation(u"\n" + std::u16string(text));
}

TextPoint Pt(int32_t bodyLine, int32_t run, int32_t pos) {
    return {bodyLine + kBody, run, pos};
}

// The run text at a hit, for readable failures.
std::string RunAt(const CYbTxtBuffer& buffer, const TextPoint& p) {
    return ToUtf8(buffer.lines()[size_t(p.iLine)].runs[size_t(p.iIndex)].str);
}

TEST(TxtSearch, HiraganaWordIsNotFoundInKatakanaOrRuby) {
    // "あめ" lies once as katakana, once in ruby and once as plain hiragana on line 2.
    CYbTxtBuffer buffer = Parse(u"アメが降る\n雨《あめ》の日\nけさはあめです");
    ASSERT_EQ(buffer.lineCount(), 3 + kBody) << DescribeLine(buffer, 1 + kBody);
    CYbTxtSearch search(&buffer);
    search.StartSearch(Pt(0, 0, 0), true, u"あめ", false);
    TextPoint hit;
    ASSERT_TRUE(search.Find(hit, true));
    EXPECT_EQ(hit.iLine, 2 + kBody);
    EXPECT_EQ(buffer.charAt(hit), U'あ');
    EXPECT_EQ(RunAt(buffer, hit), "けさはあめです");
    EXPECT_EQ(hit.iPos, 3);
    EXPECT_FALSE(search.Find(hit, true)) << "only one plain occurrence";
    EXPECT_EQ(search.current(), Pt(2, 0, 3)) << "a failure without wrap keeps the position";

    // The katakana word is found in its katakana run.
    search.StartSearch(Pt(0, 0, 0), true, u"アメ", false);
    ASSERT_TRUE(search.Find(hit, true));
    EXPECT_EQ(hit, Pt(0, 0, 0)) << "a dialog search may hit the very first character";
}

TEST(TxtSearch, HitMayCrossRunsButNeverALineEnd) {
    CYbTxtBuffer buffer = Parse(u"今日は晴れ\nです。明日は雨");
    CYbTxtSearch search(&buffer);
    TextPoint hit;
    search.StartSearch(Pt(0, 0, 0), true, u"晴れです", true);
    EXPECT_FALSE(search.Find(hit, true)) << "the word spans the line end";
    EXPECT_FALSE(search.Find(hit, false));

    // Across runs of different classes within one line the match goes on.
    search.StartSearch(Pt(0, 0, 0), true, u"明日は雨", false);
    ASSERT_TRUE(search.Find(hit, true));
    EXPECT_EQ(hit.iLine, 1 + kBody);
    EXPECT_EQ(buffer.charAt(hit), U'明');
    TextPoint end = SearchHitEnd(buffer, hit, search.length());
    EXPECT_EQ(buffer.charAt(end), U'雨');
    EXPECT_EQ(end.iLine, 1 + kBody);
    EXPECT_GT(end.iIndex, hit.iIndex) << DescribeLine(buffer, 1 + kBody);
}

TEST(TxtSearch, WrapOnAndOffWithTheNextSearchAfterTheLastHit) {
    CYbTxtBuffer buffer = Parse(u"猫がいる。\n犬もいる。\nまた猫だ。");
    CYbTxtSearch search(&buffer);
    TextPoint hit;
    search.StartSearch(Pt(0, 0, 0), true, u"猫", false);
    ASSERT_TRUE(search.Find(hit, true));
    EXPECT_EQ(hit, Pt(0, 0, 0));
    ASSERT_TRUE(search.Find(hit, true));
    EXPECT_EQ(hit.iLine, 2 + kBody);
    TextPoint last = hit;
    EXPECT_FALSE(search.Find(hit, true)) << "wrap off: nothing after the last hit";
    EXPECT_EQ(search.current(), last);

    search.StartSearch(last, true, u"猫", true);
    ASSERT_TRUE(search.Find(hit, true));
    EXPECT_EQ(hit, last) << "the dialog start itself is the first candidate";
    ASSERT_TRUE(search.Find(hit, true)) << "wrap on: the next search starts over";
    EXPECT_EQ(hit, Pt(0, 0, 0));

    // Backwards with wrap from the first hit goes round to the last one.
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, last);
}

TEST(TxtSearch, BackwardSearchFromTheEnd) {
    CYbTxtBuffer buffer = Parse(u"ねこねこ\nいぬ\nねこ");
    CYbTxtSearch search(&buffer);
    TextPoint hit;
    search.StartSearch(TextPoint{-1, 0, 0}, false, u"ねこ", false);
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, Pt(2, 0, 0));
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, Pt(0, 0, 2));
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, Pt(0, 0, 0));
    EXPECT_FALSE(search.Find(hit, false));

    // Backwards from a point inside a line finds the nearest start before it.
    search.StartSearch(Pt(0, 0, 3), false, u"ねこ", false);
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, Pt(0, 0, 2));
    // A start beyond the buffer counts as its end too.
    search.StartSearch(TextPoint{99, 0, 0}, false, u"いぬ", false);
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, Pt(1, 0, 0));
}

TEST(TxtSearch, SurrogatePairCountsAsOneCharacter) {
    // U+20B9F (a kanji outside the BMP) is one character of the run.
    CYbTxtBuffer buffer = Parse(u"\U00020B9Fる\U00020B9Fられる");
    CYbTxtSearch search(&buffer);
    TextPoint hit;
    search.StartSearch(Pt(0, 0, 0), true, u"\U00020B9Fら", false);
    EXPECT_EQ(search.length(), 2);
    ASSERT_TRUE(search.Find(hit, true)) << DescribeLine(buffer, kBody);
    EXPECT_EQ(buffer.charAt(hit), U'\U00020B9F');
    EXPECT_EQ(buffer.charAt(SearchHitEnd(buffer, hit, search.length())), U'ら');
    TextPoint first = hit;

    search.StartSearch(TextPoint{-1, 0, 0}, false, u"\U00020B9F", false);
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, first);
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(buffer.charAt(hit), U'\U00020B9F');
    EXPECT_LT(hit, first);
    EXPECT_FALSE(search.Find(hit, false));

    // A lone low surrogate never matches the tail of a pair.
    search.StartSearch(Pt(0, 0, 0), true, std::u16string(1, char16_t(0xDF9F)), true);
    EXPECT_FALSE(search.Find(hit, true));
}

TEST(TxtSearch, NothingToSearch) {
    CYbTxtBuffer empty;
    CYbTxtSearch search(&empty);
    TextPoint hit{7, 7, 7};
    const TextPoint untouched = hit;
    search.StartSearch(Pt(0, 0, 0), true, u"a", true);
    EXPECT_FALSE(search.Find(hit, true));
    EXPECT_EQ(hit, untouched);

    CYbTxtBuffer buffer = Parse(u"本文");
    CYbTxtSearch none;
    EXPECT_FALSE(none.Find(hit, true)) << "no buffer, no string";
    search.setBuffer(&buffer);
    search.StartSearch(Pt(0, 0, 0), true, u"", true);
    EXPECT_FALSE(search.Find(hit, true));
    EXPECT_FALSE(search.Find(hit, false));
    // Outlandish positions neither crash nor find anything false.
    search.StartSearch(Pt(0, 55, -3), false, u"本", false);
    ASSERT_TRUE(search.Find(hit, false));
    EXPECT_EQ(hit, Pt(0, 0, 0));
}

TEST(SearchHistory, DeduplicatesKeepsNineNewestFirstAndCuts) {
    std::vector<std::u16string> history{u"a", u"b", u"c"};
    history = AddSearchWord(history, u"b");
    EXPECT_EQ(history, (std::vector<std::u16string>{u"a", u"c", u"b"}));
    history = AddSearchWord(history, u"b");
    EXPECT_EQ(history.size(), 3u) << "the same word twice stays once";
    EXPECT_EQ(NewestSearchWords(history).front(), u"b");

    for (char16_t c = u'0'; c <= u'9'; ++c)
        history = AddSearchWord(history, std::u16string(1, c));
    history.insert(history.begin() + 5, u"");
    auto newest = NewestSearchWords(history);
    ASSERT_EQ(newest.size(), 9u);
    EXPECT_EQ(newest.front(), u"9");
    EXPECT_EQ(newest.back(), u"1");
    EXPECT_EQ(SearchHistoryKey(1), u"HistSearchWord1");
    EXPECT_EQ(SearchHistoryKey(9), u"HistSearchWord9");

    std::u16string longWord(600, u'字');
    EXPECT_EQ(CutSearchWord(longWord).size(), 511u);
    EXPECT_EQ(CutSearchWord(u"短い"), u"短い");
    std::u16string pairs;
    for (int i = 0; i < 300; ++i)
        pairs += u"\U00020B9F";
    std::u16string cut = CutSearchWord(pairs);
    EXPECT_EQ(cut.size(), 510u) << "a pair is never split";
    EXPECT_EQ(CharCount(cut), 255u);
}

}  // namespace
}  // namespace Yomibon

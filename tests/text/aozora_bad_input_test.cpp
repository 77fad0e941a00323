// Bad input never crashes and never stops a text from being read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "parser_test_util.h"
#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/annotation_table.h"
#include "text/txt_document.h"

namespace Yomibon::Test {
namespace {

// Every run that points into its line points at a run of that line.
bool PointsStayInTheirLine(const CYbTxtBuffer& buffer) {
    for (const LineInfo& line : buffer.lines()) {
        int32_t n = int32_t(line.runs.size());
        for (const TextInfo& run : line.runs) {
            if (!RunHoldsPoints(run.textType)) continue;
            if (run.tpBegin.iIndex < 0 || run.tpBegin.iIndex >= n) return false;
            if (run.tpEnd.iIndex < 0 || run.tpEnd.iIndex >= n) return false;
        }
    }
    return true;
}

TEST(AozoraBadInput, UnmatchedAndHugeAnnotations) {
    CYbTxtBuffer b = ParseNotation(u"\nあ［＃傍点\nい《よみ\nう※［＃\n］］》《》");
    EXPECT_EQ(DescribeLine(b, 2), "あ ［＃ 傍点");
    EXPECT_EQ(DescribeLine(b, 3), "い 《 よみ");
    // An annotation of thousands of characters is not searched past the limit: plain text.
    std::u16string huge = u"\n字［＃" + std::u16string(20000, u'あ') + u"］";
    b = ParseNotation(huge);
    ASSERT_EQ(b.lines()[2].runs.size(), 4u);  // 字, ［＃, the body, ］
    EXPECT_EQ(b.lines()[2].runs[2].str.size(), 20000u);
    // A long but bounded annotation still works.
    std::u16string longNote = u"\n字［＃（" + std::u16string(3000, u'あ') + u"）］";
    b = ParseNotation(longNote);
    ASSERT_EQ(b.lines()[2].runs.size(), 2u);
    EXPECT_EQ(b.lines()[2].runs[1].textType, TT_PAREN_NOTE);
    // Deeply nested blocks stay bounded.
    std::u16string nested = u"\n";
    for (int i = 0; i < 500; ++i)
        nested += u"［＃ここから罫囲み］［＃ここから２字下げ］";
    nested += u"\nあ";
    b = ParseNotation(nested);
    EXPECT_LE(b.lines().back().runs.size(), 1u + 64u);
}

// Boxes nested past the limit leave a notice for the reader (why some of them are missing); a text
// within the limit has none, and a document opened from the text carries it.
TEST(AozoraBadInput, NestingPastTheLimitLeavesANotice) {
    auto nested = [](std::u16string_view open, int depth) {
        std::u16string text;
        for (int i = 0; i < depth; ++i)
            text += std::u16string(open) + u"\n";
        return text + u"本文\n";
    };
    const std::u16string deepBoxes = nested(u"［＃ここから罫囲み］", 25'000);
    CYbAozoraTxtParser parser;
    ParseNotation(deepBoxes, &parser);
    EXPECT_NE(parser.getNotice().find(u"入れ子が深すぎます（上限 64 段）"), std::u16string::npos);
    // A block indent replaces the one in force: a hundred of them leave nothing out.
    ParseNotation(nested(u"［＃ここから２字下げ］", 100), &parser);
    EXPECT_TRUE(parser.getNotice().empty());
    ParseNotation(nested(u"［＃ここから地付き］", 100), &parser);
    EXPECT_TRUE(parser.getNotice().empty());
    ParseNotation(nested(u"［＃ここから罫囲み］［＃ここから２字下げ］", 30), &parser);
    EXPECT_TRUE(parser.getNotice().empty());

    CYbTxtParam param;
    CYbTxtDocument document(param);
    ASSERT_TRUE(document.openText(deepBoxes));
    EXPECT_NE(document.buffer().getNotice().find(u"入れ子が深すぎます"), std::u16string::npos);
    ASSERT_TRUE(document.openText(u"題\n著者\n\n普通の文\n"));
    EXPECT_TRUE(document.buffer().getNotice().empty());
}

TEST(AozoraBadInput, MegabyteLineFullOfAnnotations) {
    std::u16string line = u"\n";
    while (line.size() < (1u << 20))
        line += u"漢字《かんじ》［＃「漢字」に傍点］［＃傍線］※［＃「口＋世」、U+546D］｜";
    CYbTxtBuffer b = ParseNotation(line);
    ASSERT_EQ(b.lineCount(), 3);
    EXPECT_GT(b.lines()[2].runs.size(), 50000u);
}

TEST(AozoraBadInput, BinaryGarbageFiles) {
    TempDir dir;
    std::mt19937 random(12345);
    for (int round = 0; round < 40; ++round) {
        std::string bytes(size_t(random() % 5000), '\0');
        for (char& c : bytes)
            c = char(random());
        if (round % 4 == 0) bytes.insert(0, "\xFF\xFE");
        if (round % 4 == 1) bytes.insert(0, "\xEF\xBB\xBF");
        WriteFile(dir.path() / "g.txt", bytes);
        CYbTxtBuffer buffer;
        CYbAozoraTxtParser parser;
        EXPECT_TRUE(parser.loadFile(FromFsPath(dir.path() / "g.txt"), buffer));
        EXPECT_GE(buffer.lineCount(), bytes.empty() ? 0 : 1);
    }
    // Garbage made of the notation's own characters.
    // YB_GARBAGE_ROUNDS and YB_GARBAGE_SEED widen the search by hand.
    int rounds =
        std::getenv("YB_GARBAGE_ROUNDS") ? std::atoi(std::getenv("YB_GARBAGE_ROUNDS")) : 200;
    if (const char* seed = std::getenv("YB_GARBAGE_SEED")) random.seed(unsigned(std::atoi(seed)));
    const std::u16string alphabet =
        u"［］＃「」《》｜※〔〕、（）-\n\r字下げ終わり傍点罫囲み改ページ入る図1";
    for (int round = 0; round < rounds; ++round) {
        std::u16string text;
        for (int i = 0; i < 300; ++i)
            text += alphabet[random() % alphabet.size()];
        CYbTxtBuffer buffer = ParseNotation(text);
        EXPECT_GE(buffer.lineCount(), 1);
        EXPECT_TRUE(PointsStayInTheirLine(buffer)) << ToUtf8(text);
    }
    // Garbage made of whole notation fragments, so that real forms meet in odd orders.
    const std::vector<std::u16string> tokens = {u"［＃",
                                                u"］",
                                                u"「",
                                                u"」",
                                                u"《",
                                                u"》",
                                                u"｜",
                                                u"※",
                                                u"\n",
                                                u"漢字",
                                                u"かな",
                                                u"カナ",
                                                u"ab",
                                                u"〔e'〕",
                                                u"傍点",
                                                u"終わり",
                                                u"ここから",
                                                u"ここで",
                                                u"字下げ",
                                                u"地付き",
                                                u"罫囲み",
                                                u"太字",
                                                u"２字詰め",
                                                u"は縦中横",
                                                u"は上付き小文字",
                                                u"は行右小書き",
                                                u"に傍点",
                                                u"改ページ",
                                                u"改行",
                                                u"、",
                                                u"第3水準1-85-54",
                                                u"U+546D",
                                                u"挿絵（",
                                                u"）入る",
                                                u"は中見出し",
                                                u"折り返して",
                                                u"３",
                                                u"\U00020089",
                                                u"-----",
                                                u"底本：",
                                                u"／＼",
                                                u"―",
                                                u"この行",
                                                u"天付き",
                                                u"2「x」",
                                                u"」に「",
                                                u"」は底本では「"};
    for (int round = 0; round < rounds; ++round) {
        std::u16string text;
        for (int i = 0; i < 60; ++i)
            text += tokens[random() % tokens.size()];
        CYbTxtBuffer buffer = ParseNotation(text);
        EXPECT_GE(buffer.lineCount(), 2);
        EXPECT_TRUE(PointsStayInTheirLine(buffer)) << ToUtf8(text);
    }
}

}  // namespace
}  // namespace Yomibon::Test

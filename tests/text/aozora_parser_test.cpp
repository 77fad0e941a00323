// The character walk and the actions of the Aozora notation parser, on real notation.
#include <gtest/gtest.h>

#include "parser_test_util.h"

namespace Yomibon::Test {
namespace {

// The body starts after a blank first line, so that no title is taken from it: body line k
// is buffer line k + 1.
std::string Body(std::u16string_view text, int bodyLine = 1) {
    CYbTxtBuffer buffer = ParseNotation(u"\n" + std::u16string(text));
    return DescribeLine(buffer, bodyLine + 1);
}

TEST(AozoraParser, RubyBases) {
    // Two kanji: the reading covers both.
    EXPECT_EQ(Body(u"吾輩《わがはい》は猫"), "吾輩 {1:わがはい@0,0-0,1} は 猫");
    // Kanji then katakana: the automatic base is only the last run of one class.
    EXPECT_EQ(Body(u"日本テレビ《てれび》"), "日本 テレビ {1:てれび@1,0-1,2}");
    // With "｜" the base starts after the bar and the bar becomes type 63.
    EXPECT_EQ(Body(u"｜日本テレビ《にほんてれび》"),
              "{63:｜@0,0-0,-1} 日本 テレビ {1:にほんてれび@1,0-2,2}");
    // A bar without a ruby stays visible text.
    EXPECT_EQ(Body(u"あ｜い"), "あ ｜ い");
    // An unmatched "《" is plain text.
    EXPECT_EQ(Body(u"本《ほん"), "本 《 ほん");
}

// Headings of every form are headings (and so in the outline) and are set bold; the text
// around them is not.
TEST(AozoraParser, HeadingsAreBold) {
    CYbTxtBuffer buffer = ParseNotation(
        u"\n［＃大見出し］第一章［＃大見出し終わり］\n［＃窓小見出し］窓［＃窓小見出し終わり］本文"
        u"\n"
        u"二［＃「二」は同行中見出し］");
    EXPECT_EQ(DescribeLine(buffer, 2), "第一章 {79:@0,0-1,-1}");
    EXPECT_EQ(DescribeLine(buffer, 3), "窓 {81:@0,0-1,-1} 本文");
    EXPECT_EQ(DescribeLine(buffer, 4), "二 {80:@0,0-0,0}");
    EXPECT_TRUE(buffer.isBold({2, 0, 0}));
    EXPECT_TRUE(buffer.isBold({2, 0, 2}));
    EXPECT_TRUE(buffer.isBold({3, 0, 0}));
    EXPECT_FALSE(buffer.isBold({3, 2, 0}));
    EXPECT_TRUE(buffer.isBold({4, 0, 0}));
}

TEST(AozoraParser, EmphasisTargetsAndRanges) {
    EXPECT_EQ(Body(u"これは大事［＃「大事」に傍点］だ"), "これは 大事 {9:傍点@1,0-1,1} だ");
    // A target that does not occur adds nothing.
    EXPECT_EQ(Body(u"これは大事［＃「小事」に傍点］"), "これは 大事");
    // Left-side and wavy forms pick their own rows.
    EXPECT_EQ(Body(u"線［＃「線」の左に傍線］"), "線 {13:左傍線@0,0-0,0}");
    EXPECT_EQ(Body(u"波［＃「波」に波傍線］"), "波 {11:波線@0,0-0,0}");
    // Open range: starts after the last plain point, ends just before the closing form.
    EXPECT_EQ(Body(u"あいう［＃傍点］えお［＃傍点終わり］か"), "あいう えお {9:傍点@0,3-2,-1} か");
    // A closing form without its opening adds nothing.
    EXPECT_EQ(Body(u"あい［＃傍点終わり］"), "あい");
}

TEST(AozoraParser, RangeAcrossLinesIsCutAtEachLineEnd) {
    CYbTxtBuffer buffer = ParseNotation(u"\nあ［＃傍線］い\nう\nえ［＃傍線終わり］お");
    EXPECT_EQ(DescribeLine(buffer, 2), "あ い {10:傍線@0,1-2,-1}");
    EXPECT_EQ(DescribeLine(buffer, 3), "う {10:傍線@0,0-1,-1}");
    EXPECT_EQ(DescribeLine(buffer, 4), "え {10:傍線@0,0-1,-1} お");
}

TEST(AozoraParser, SpecificClosingRowsBeatGenericOnes) {
    // "ここで字詰め終わり" is its own row (the end of a limit), not the generic closing.
    EXPECT_EQ(Body(u"［＃ここから２０字詰め］\n文\n［＃ここで字詰め終わり］", 1),
              "{48:@20,0-0,-1}");
    EXPECT_EQ(Body(u"［＃ここから２０字詰め］\n文\n［＃ここで字詰め終わり］", 3), "{48:@0,0-0,-1}");
    // "［＃太字］" closes at its own "］", before the later "終わり］".
    EXPECT_EQ(Body(u"あ［＃太字］い［＃太字終わり］"), "あ {70:@0,0-0,-1} い {71:@0,0-0,-1}");
    // The hanging one-line indent row wins its tie against "［＃この行…字下げ］"; the first
    // line stays at the top ("天付き"), the wrapped lines go down by three.
    EXPECT_EQ(Body(u"［＃この行天付き、折り返して３字下げ］本文"), "{40:@0,0-3,-1} 本文");
    EXPECT_EQ(Body(u"［＃天から３字下げ］本文"), "{40:@3,0-3,-1} 本文");
}

TEST(AozoraParser, OneLineIndentOfTheManual) {
    CYbTxtBuffer buffer = ParseNotation(u"\n［＃５字下げ］一［＃「一」は中見出し］\n本文");
    EXPECT_EQ(DescribeLine(buffer, 2), "{40:@5,0-5,-1} 一 {80:@1,0-1,0}");
    EXPECT_EQ(DescribeLine(buffer, 3), "本文");
    // Inside a block indent the one-line indent ends the block for the typesetter and
    // restores it after its line.
    buffer = ParseNotation(
        u"\n［＃ここから２字下げ］\nあ\n［＃４字下げ］い\nう\n［＃ここで字下げ終わり］");
    EXPECT_EQ(DescribeLine(buffer, 2), "{42:@2,0-2,-1}");
    EXPECT_EQ(DescribeLine(buffer, 4), "{44:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 5), "{40:@4,0-4,-1} い");
    EXPECT_EQ(DescribeLine(buffer, 6), "{42:@2,0-2,-1}");
    EXPECT_EQ(DescribeLine(buffer, 7), "う");
    EXPECT_EQ(DescribeLine(buffer, 8), "{44:@0,0-0,-1}");
}

TEST(AozoraParser, IndentsWithFoldAndBottoms) {
    EXPECT_EQ(Body(u"［＃ここから１字下げ、折り返して３字下げ］"), "{42:@1,0-3,-1}");
    EXPECT_EQ(Body(u"［＃地付き］終"), "{45:@0,0-0,-1} 終");
    EXPECT_EQ(Body(u"［＃地から２字上げ］終"), "{45:@2,0-2,-1} 終");
    CYbTxtBuffer buffer = ParseNotation(u"\n［＃ここから地付き］\nあ\n［＃ここで地付き終わり］");
    EXPECT_EQ(DescribeLine(buffer, 2), "{46:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 4), "{47:@0,0-0,-1}");
}

TEST(AozoraParser, BreaksSplitLines) {
    CYbTxtBuffer buffer = ParseNotation(u"\n前［＃改ページ］後");
    EXPECT_EQ(DescribeLine(buffer, 2), "前");
    EXPECT_EQ(DescribeLine(buffer, 3), "{74:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 4), "後");
    // At the start of a line the break is just a run.
    EXPECT_EQ(Body(u"［＃改丁］後"), "{75:@0,0-0,-1} 後");
    // A forced line break stores no run.
    buffer = ParseNotation(u"\n前［＃改行］後");
    EXPECT_EQ(DescribeLine(buffer, 2), "前");
    EXPECT_EQ(DescribeLine(buffer, 3), "後");
}

TEST(AozoraParser, NotesAndSmallCharacters) {
    EXPECT_EQ(Body(u"侍［＃「侍」に「ママ」の注記］"), "侍 {38:ママ@0,0-0,0}");
    EXPECT_EQ(Body(u"侍［＃「侍」に「さむらい」の注記］"), "侍 {31:さむらい@0,0-0,0}");
    EXPECT_EQ(Body(u"侍［＃「侍」は底本では「待」］"), "侍 {57:底本では、待@0,0-0,0}");
    EXPECT_EQ(Body(u"あ［＃（注）］"), "あ {32:注@0,0-0,0}");
    EXPECT_EQ(Body(u"あ［＃小］"), "あ {58:小@0,0-0,0}");
    EXPECT_EQ(Body(u"※［＃判読不可、一字］"), "※ {39:一字@0,0-0,0}");
    // Superscript cut out of the last plain run.
    EXPECT_EQ(Body(u"ｍ2［＃「2」は上付き小文字］"), "ｍ {35:2@1,0-1,0}");
    EXPECT_EQ(Body(u"明治29［＃「29」は縦中横］年"), "明治 {64:29@1,0-1,0} 年");
    // Only the last plain run is searched.
    EXPECT_EQ(Body(u"明治29年［＃「29」は縦中横］"), "明治 29 年");
    EXPECT_EQ(Body(u"xaxbx［＃2「x」は下付き小文字］"), "xa {36:x@1,4-1,4} bx");
    // Small characters beside the line: the run is split where the target starts.
    EXPECT_EQ(Body(u"あいう［＃「いう」は行右小書き］"), "あ {33:いう@0,0-0,-1}");
}

TEST(AozoraParser, SpecialCharacters) {
    EXPECT_EQ(Body(u"いろ／＼"), "いろ {61:／＼@0,1-0,1}");
    EXPECT_EQ(Body(u"いろ／″＼"), "いろ {62:／″＼@0,1-0,1}");
    EXPECT_EQ(Body(u"あ――い"), "あ {76:―@0,0-0,0} {76:―@0,0-0,0} い");
}

TEST(AozoraParser, PicturesAndBoxes) {
    EXPECT_EQ(Body(u"絵［＃挿絵（fig01.png、横321×縦445）入る］"),
              "絵 {50:fig01.png|挿絵|横321×縦445|||@0,0-0,0}");
    EXPECT_EQ(Body(u"［＃「地図」のキャプション付きの図（map.png、頁）入る］"),
              "{51:map.png|地図||頁||@0,0-0,-1}");
    // Not a picture: the word is followed by something other than a number.
    EXPECT_EQ(Body(u"あ［＃図を見よ（注）入る］"), "あ");
    CYbTxtBuffer buffer = ParseNotation(u"\n［＃ここから罫囲み］\nあ\n［＃ここで罫囲み終わり］");
    EXPECT_EQ(DescribeLine(buffer, 2), "{53:罫囲み@0,0-0,0} {53:罫囲み@0,0-1,1}");
    EXPECT_EQ(DescribeLine(buffer, 3), "あ {53:罫囲み@0,0-1,1}");
    EXPECT_EQ(DescribeLine(buffer, 4), "{54:@0,0-0,2}");
}

TEST(AozoraParser, ExternalCharacters) {
    // Through the gaiji table, by the description with its code.
    EXPECT_EQ(Body(u"※［＃「木＋吶のつくり」、第3水準1-85-54、234-下-3］"), "枘");
    // Through the code alone when the table has no such key.
    EXPECT_EQ(Body(u"※［＃「未知の字」、第3水準1-85-54、1-2］"), "枘");
    EXPECT_EQ(Body(u"※［＃「口＋世」、U+546D、ページ数-行数］"), "呭");
    // A code inside the quoted description belongs to a component and is not used.
    EXPECT_EQ(Body(u"あ※［＃「木＋「U+5436」」、123-4］"), "あ {59:木＋「U+5436」@1,0-0,-1}");
    // Unresolved: a numbered note with the description.
    EXPECT_EQ(Body(u"※［＃「未知の字」、123-4］"), "{59:未知の字@0,0-0,-1}");
    EXPECT_EQ(Body(u"ロ※［＃ローマ数字3、1-13-23］"), "ロ Ⅲ");
    // An annotation with "、" after a character other than "※" does not eat it.
    EXPECT_EQ(Body(u"漢字［＃不明な注記、その二］"), "漢字");
}

TEST(AozoraParser, AccentNotation) {
    EXPECT_EQ(Body(u"〔cafe'〕の話"), "caf é の 話");
    // Nothing to convert: the brackets stay.
    EXPECT_EQ(Body(u"〔abc〕"), "〔 abc 〕");
}

TEST(AozoraParser, WholeLineForms) {
    CYbTxtBuffer buffer = ParseNotation(u"\n本文\n\n\n\n底本：「某」\n入力：某");
    // The end-of-body mark, and the comment-begin run the information step puts there.
    EXPECT_EQ(DescribeLine(buffer, 3), "{87:@0,0-0,-1} {66:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 6), "底本：「某」");
    EXPECT_EQ(buffer.lines()[6].runs[0].chrType, 0x40);
    EXPECT_EQ(DescribeLine(buffer, 7), "入力：某");
    // Two blank lines are not enough.
    buffer = ParseNotation(u"\n本文\n\n\n底本：「某」");
    EXPECT_EQ(DescribeLine(buffer, 5), "底本 ：「 某 」");
    // Rule lines open and close the comment block.
    buffer = ParseNotation(u"\n-----\n《》［＃注］\n-----\n後");
    EXPECT_EQ(DescribeLine(buffer, 2), "{66:-----@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 3), "{67:《》［＃注］@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 4), "{68:-----@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(buffer, 5), "後");
}

TEST(AozoraParser, LineEndsAndZeroTerminatedForm) {
    std::u16string text = u"\r\nあ\rい\r\nう\n";
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    ASSERT_TRUE(parser.parseText(text.data(), buffer));
    EXPECT_EQ(buffer.lineCount(), 6);  // line 0, blank, あ, い, う, the empty last line
    EXPECT_EQ(DescribeLine(buffer, 3), "い");
    EXPECT_EQ(text[0], u'\0');  // line ends are overwritten with zeros
    EXPECT_FALSE(parser.parseText(static_cast<char16_t*>(nullptr), buffer));
    EXPECT_EQ(parser.getName(), u"CYbAozoraTxtParser");
}

}  // namespace
}  // namespace Yomibon::Test

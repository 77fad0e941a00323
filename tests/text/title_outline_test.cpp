// Title, author and information from the head lines; outline entries from headings.
#include <gtest/gtest.h>

#include "parser_test_util.h"
#include "text/outline.h"
#include "text/title_info.h"

namespace Yomibon::Test {
namespace {

TEST(TitleInfo, HeadOfTitleAndAuthor) {
    CYbAozoraTxtParser parser;
    CYbTxtBuffer b = ParseNotation(u"羅生門\n芥川龍之介\n\n　或日の暮方の事である。", &parser);
    EXPECT_EQ(parser.getTitle(), u"羅生門");
    EXPECT_EQ(parser.getAuthor(), u"芥川龍之介");
    EXPECT_EQ(parser.getInfo(), u"羅生門\r\n芥川龍之介\r\n");
    EXPECT_EQ(DescribeLine(b, 0), "{70:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(b, 1), "羅生門 {71:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(b, 3), "{74:@0,0-0,-1}");  // the body starts on a new page
    EXPECT_TRUE(b.isBold({1, 0, 2}));
    EXPECT_FALSE(b.isBold({2, 0, 0}));
}

TEST(TitleInfo, TranslatorLinesAndCommentBlock) {
    CYbAozoraTxtParser parser;
    CYbTxtBuffer b =
        ParseNotation(u"ファウスト\nゲーテ\n森鴎外訳\n\n-----\n《》はルビ\n-----\n\n本文", &parser);
    EXPECT_EQ(parser.getTitle(), u"ファウスト");
    EXPECT_EQ(parser.getAuthor(), u"ゲーテ\r\n森鴎外訳");
    EXPECT_EQ(parser.getInfo(),
              u"ファウスト\r\nゲーテ\r\n森鴎外訳\r\n-----\r\n《》はルビ\r\n-----");
    // The page break goes after the comment block and the blank line after it.
    EXPECT_EQ(DescribeLine(b, 8), "{74:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(b, 9), "本文");
}

TEST(TitleInfo, NoHead) {
    CYbAozoraTxtParser parser;
    CYbTxtBuffer b = ParseNotation(u"\n本文", &parser);
    EXPECT_EQ(parser.getTitle(), u"");
    EXPECT_EQ(DescribeLine(b, 0), "{74:@0,0-0,-1}");
    // Seven lines of head count as none.
    b = ParseNotation(u"一\n二\n三\n四\n五\n六\n七\n\n本文", &parser);
    EXPECT_EQ(parser.getTitle(), u"");
    EXPECT_EQ(DescribeLine(b, 0), "{74:@0,0-0,-1}");
    b = ParseNotation(u"一\n二\n三\n四\n五\n六\n\n本文", &parser);
    EXPECT_EQ(parser.getTitle(), u"一\r\n二\r\n三\r\n四\r\n五");
    EXPECT_EQ(parser.getAuthor(), u"六");
    // A title of more than 500 characters: kept, but no bold and no page break.
    b = ParseNotation(std::u16string(501, u'題') + u"\n著者\n\n本文", &parser);
    EXPECT_EQ(parser.getTitle().size(), 501u);
    EXPECT_EQ(DescribeLine(b, 0), "");
}

TEST(TitleInfo, BibliographyGoesToTheInformation) {
    CYbAozoraTxtParser parser;
    ParseNotation(u"題\n著\n\n本文\n\n\n\n底本：「題」某社\n入力：某", &parser);
    EXPECT_EQ(parser.getInfo(), u"題\r\n著\r\n\r\n底本：「題」某社\r\n入力：某");
}

TEST(Outline, DotHeadingsOfMemoTexts) {
    CYbTxtBuffer b = ParseNotation(u"\n..第二節《だいにせつ》\n.第一章\n-----\n.注\n-----");
    std::vector<OutlineEntry> outline;
    {
        CYbTxtOutLinerFunc func(b, outline);
        b.forEachAll(func);
    }
    ASSERT_EQ(outline.size(), 2u);  // the line inside the comment block is no heading
    EXPECT_EQ(outline[0].level, 2);
    EXPECT_EQ(outline[0].text, u"第二節");
    EXPECT_EQ(outline[0].begin, (TextPoint{2, 0, 0}));
    EXPECT_EQ(outline[0].end, (TextPoint{3, -1, -1}));
    EXPECT_EQ(outline[1].text, u"第一章");
    // The dots are gone from the text and the ruby base moved with the text.
    EXPECT_EQ(b.lines()[2].runs[0].str, u"");
    EXPECT_EQ(DescribeLine(b, 2), "第二節 {1:だいにせつ@1,0-1,2}");
    EXPECT_EQ(DescribeLine(b, 3), "第一章");
}

TEST(Outline, AnnotatedHeadings) {
    CYbTxtBuffer b = ParseNotation(
        u"\n［＃５字下げ］第一［＃「第一」は大見出し］\n本文中の節［＃「節」は小見出し］です\n"
        u"見出し［＃「無い」は中見出し］");
    std::vector<OutlineEntry> outline;
    CYbTxtSubtileFunc func(b, outline);
    b.forEachAll(func);
    ASSERT_EQ(outline.size(), 2u);
    EXPECT_EQ(outline[0].level, 1);
    EXPECT_EQ(outline[0].text, u"第一");
    EXPECT_EQ(outline[0].begin, (TextPoint{2, 1, 0}));
    EXPECT_EQ(outline[0].end, (TextPoint{2, 1, 2}));
    EXPECT_EQ(outline[1].level, 3);
    EXPECT_EQ(outline[1].text, u"節");
}

}  // namespace
}  // namespace Yomibon::Test

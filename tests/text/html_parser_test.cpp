// Real XHTML snippets through the HTML parser, checked run by run.
#include <gtest/gtest.h>

#include "html_test_util.h"
#include "text/html_tables.h"

namespace Yomibon::Test {
namespace {

const char* kRuby =
    "<ruby><rb>邪智暴虐</rb><rp>（</rp><rt>じゃちぼうぎゃく</rt><rp>）</rp></ruby>の王";

TEST(HtmlParser, RubyWithBaseReadingAndParentheses) {
    HtmlParsed p = ParseBody(std::string("かの") + kRuby);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(DescribeAll(p.buffer), "かの 邪智暴虐 {1:じゃちぼうぎゃく@1,0-1,3} の 王\n");
    EXPECT_EQ(PlainText(p.buffer).find(u'（'), std::u16string::npos);  // RP never shows
}

TEST(HtmlParser, RubyWithoutRbUsesTheRubyStart) {
    HtmlParsed p = ParseBody("今日は<ruby>漢字<rt>かんじ</rt></ruby>です");
    EXPECT_EQ(DescribeAll(p.buffer), "今日 は 漢字 {1:かんじ@2,0-2,1} です\n");
}

TEST(HtmlParser, ReadingWithoutBaseIsHidden) {
    HtmlParsed p = ParseBody("前<rt>よみ</rt>後");
    EXPECT_EQ(DescribeAll(p.buffer), "前 {67:よみ@0,0-0,-1} 後\n");
}

TEST(HtmlParser, EmphasisClassesIncludingLeftSideAndUnknown) {
    HtmlParsed p = ParseBody(
        "あ<em class=\"sesame_dot\">強調</em>い<em class=\"white_circle_after\">左</em>"
        "う<em class=\"overline_dashed\">線</em>え<em class=\"saltire\">不明</em>お"
        "<strong class=\"SESAME_DOT\">旧形</strong>");
    EXPECT_EQ(DescribeAll(p.buffer),
              "あ 強調 {9:傍点@1,0-2,-1} い 左 {19:左白丸傍点@4,0-5,-1} う 線 "
              "{27:左破線@7,0-8,-1} え 不明 お 旧形 {9:傍点@12,0-13,-1}\n");
    EXPECT_TRUE(p.buffer.boldSet().empty());  // an emphasis written as STRONG is not bold
}

TEST(HtmlParser, EmphasisClassTable) {
    EXPECT_EQ(EmphasisTypeOf("underline_solid"), TT_SIDE_LINE);
    EXPECT_EQ(EmphasisTypeOf("overline_solid"), TT_UNDER_LINE);
    EXPECT_EQ(EmphasisTypeOf("foo fisheye"), TT_FISHEYE);
    EXPECT_EQ(EmphasisTypeOf("WHITE_CIRCLE"), TT_WHITE_CIRCLE);
    EXPECT_EQ(EmphasisTypeOf("saltire_after"), TT_MAX);
    EXPECT_EQ(HtmlElementCodeOf("STRIKE"), HE_DEL);
    EXPECT_EQ(HtmlElementCodeOf("#text"), HE_TEXT);
    EXPECT_EQ(HtmlElementCodeOf("H7"), 12);
    EXPECT_EQ(HtmlElementCodeOf("TABLE"), HE_OTHER);
}

TEST(HtmlParser, TitleAndAuthorHeadingsEndTheTitlePage) {
    HtmlParsed p = ParseBody(
        "<div class=\"metadata\"><h1 class=\"title\">走れメロス</h1>"
        "<h2 class=\"author\">太宰治</h2></div><div class=\"main_text\">本文</div>");
    EXPECT_EQ(p.title, u"走れメロス");
    EXPECT_EQ(p.author, u"太宰治");
    EXPECT_EQ(DescribeLine(p.buffer, 0), "{70:@0,0-0,-1} 走 れ メロス");
    EXPECT_EQ(DescribeLine(p.buffer, 1), "{71:@0,0-0,-1} {70:@0,0-0,-1} 太宰治");
    EXPECT_EQ(DescribeLine(p.buffer, 2), "{71:@0,0-0,-1} {74:@0,0-0,-1}");
    EXPECT_EQ(DescribeLine(p.buffer, 3), "本文");
    EXPECT_TRUE(p.buffer.isBold({0, 1, 0}));
    EXPECT_FALSE(p.buffer.isBold({3, 0, 0}));
}

TEST(HtmlParser, AuthorByClassAndTitleFromTheDocument) {
    HtmlParsed p = ParseBody("<p>序</p><p>文</p><h2 class=\"author\">著者</h2>");
    EXPECT_EQ(p.author, u"著者");
    EXPECT_EQ(p.title, u"T");  // no H1: the document's <title>
}

TEST(HtmlParser, HeadingsGiveHeadingRunsPerLine) {
    HtmlParsed p = ParseBody(
        "<h3 class=\"o-midashi\"><a class=\"midashi_anchor\" id=\"m1\">一</a></h3>"
        "<h4>中<br/>見出し</h4><h5>小</h5>");
    std::string all = DescribeAll(p.buffer);
    EXPECT_NE(all.find("一 {79:@1,0-2,-1}"), std::string::npos) << all;
    EXPECT_NE(all.find("中 {80:@0,0-1,-1}\n見出 し {80:@0,0-2,-1}"), std::string::npos) << all;
    EXPECT_NE(all.find("小 {81:@0,0-1,-1}"), std::string::npos) << all;
}

TEST(HtmlParser, LinksStartEndAndNamedAnchors) {
    HtmlParsed p = ParseBody(
        "前<a href=\"b.html#x\">リンク</a>後<a name=\"n1\">名前</a>");
    ASSERT_EQ(p.buffer.lineCount(), 1);
    const auto& runs = p.buffer.lines()[0].runs;
    ASSERT_EQ(runs.size(), 7u);
    EXPECT_EQ(runs[1].textType, TT_LINK);
    EXPECT_EQ(runs[1].tpEnd.iIndex, -1);  // a start: points unset
    EXPECT_TRUE(ToUtf8(runs[1].str).ends_with("/b.html#x"));
    EXPECT_TRUE(ToUtf8(runs[1].str).starts_with("file:///"));
    EXPECT_EQ(runs[1].chrType, 0);  // link identifier 0
    EXPECT_EQ(runs[3].textType, TT_LINK);
    EXPECT_EQ(runs[3].tpBegin, (RunPoint{2, 0}));
    EXPECT_EQ(runs[3].tpEnd, (RunPoint{3, -1}));
    EXPECT_EQ(runs[3].chrType, 0);
    auto small = RunsOfType(p.buffer, TT_HEADING_SMALL);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].tpBegin, (RunPoint{5, 0}));
}

TEST(HtmlParser, LinkOverSeveralLinesAndTooLongLink) {
    HtmlParsed p = ParseBody("<a href=\"x.html\">一<br/>二</a><a href=\"y.html\">1<br/>2<br/>3"
                             "<br/>4<br/>5<br/>6</a>");
    auto links = RunsOfType(p.buffer, TT_LINK);
    // x: a start and two end runs; y: only its start (it spans six lines).
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[1].tpBegin, (RunPoint{1, 0}));
    EXPECT_EQ(links[2].tpBegin, (RunPoint{0, 0}));
    EXPECT_EQ(links[3].tpEnd.iIndex, -1);
    EXPECT_EQ(links[3].chrType, 1);
}

TEST(HtmlParser, NestedLinkIsSplitIntoTwoLinks) {
    // The tree builder closes the outer anchor where the inner one opens (as browsers do), so
    // each text belongs to one link only and no range covers the other's text.
    HtmlParsed p = ParseBody("<a href=\"o.html\">外<span><a href=\"i.html\">内</a></span></a>");
    EXPECT_EQ(DescribeAll(p.buffer).substr(0, 3), "{88");
    auto links = RunsOfType(p.buffer, TT_LINK);
    ASSERT_EQ(links.size(), 4u);
    EXPECT_TRUE(ToUtf8(links[1].str).ends_with("/o.html"));
    EXPECT_EQ(links[1].tpBegin, (RunPoint{1, 0}));
    EXPECT_EQ(links[1].tpEnd, (RunPoint{2, -1}));
    EXPECT_TRUE(ToUtf8(links[3].str).ends_with("/i.html"));
    EXPECT_EQ(links[3].chrType, 1);
    EXPECT_EQ(PlainText(p.buffer), u"外内");
}

TEST(HtmlParser, BreaksParagraphsAndWhiteSpace) {
    HtmlParsed p = ParseBody("<p>一行目\n　二</p>\n<p>三 four  five\nsix</p>前<br/><br/>後");
    ASSERT_GE(p.buffer.lineCount(), 5);
    EXPECT_EQ(DescribeLine(p.buffer, 0), "一行目 　 二");  // a line feed between kana vanishes
    EXPECT_EQ(DescribeLine(p.buffer, 1), "三   four   five   six");  // one space each
    EXPECT_EQ(DescribeLine(p.buffer, 2), "前");
    EXPECT_EQ(DescribeLine(p.buffer, 3), "");
    EXPECT_EQ(DescribeLine(p.buffer, 4), "後");
}

TEST(HtmlParser, PreformattedTextKeepsItsLines) {
    HtmlParsed p = ParseBody("<pre>一\n二\r\n三</pre>");
    EXPECT_EQ(DescribeAll(p.buffer), "一\n二\n三\n");
}

TEST(HtmlParser, SubSupAndStrike) {
    HtmlParsed p = ParseBody("H<sub>2</sub>O x<sup>2</sup> <del>消</del><s>線</s>");
    std::string all = DescribeAll(p.buffer);
    EXPECT_NE(all.find("{36:2@0,0-0,-1}"), std::string::npos) << all;
    EXPECT_NE(all.find("{35:2@0,0-0,-1}"), std::string::npos) << all;
    EXPECT_EQ(RunsOfType(p.buffer, TT_STRIKE_LINE).size(), 2u);
    EXPECT_EQ(RunsOfType(p.buffer, TT_STRIKE_LINE)[0].str, u"取消線");
}

TEST(HtmlParser, GaijiImagesResolveOrBecomeDescriptions) {
    HtmlParsed p = ParseBody(
        "<img src=\"../../../gaiji/1-85/1-85-54.png\" alt=\"※(「てへん＋劣」、第3水準1-85-54)\" "
        "class=\"gaiji\" />と<img src=\"x.png\" alt=\"※(「未知の字」、unknown)\" "
        "class=\"gaiji\" />");
    std::u16string plain = PlainText(p.buffer);
    EXPECT_EQ(plain.find(u'※'), std::u16string::npos);
    auto ext = RunsOfType(p.buffer, TT_EXTERNAL_CHAR);
    ASSERT_EQ(ext.size(), 1u);
    EXPECT_EQ(ext[0].str, u"未知の字");
    EXPECT_EQ(plain.size(), 2u);  // the resolved character and "と"
}

TEST(HtmlParser, AccentNotationInText) {
    HtmlParsed p = ParseBody("〔Cafe'〕");
    EXPECT_NE(PlainText(p.buffer).find(u"é"), std::u16string::npos) << ToUtf8(PlainText(p.buffer));
}

TEST(HtmlParser, SpecialStringsBecomeTheirRunsButTheBarStays) {
    HtmlParsed p = ParseBody("くり／＼かえし｜縦線―");
    EXPECT_EQ(RunsOfType(p.buffer, TT_REPEAT_MARK).size(), 1u);
    EXPECT_EQ(RunsOfType(p.buffer, TT_DASH).size(), 1u);
    EXPECT_NE(PlainText(p.buffer).find(u'｜'), std::u16string::npos);
}

TEST(HtmlParser, BibliographyFromTheSourceLine) {
    HtmlParsed p = ParseBody(
        "<div class=\"main_text\">本文。<br/></div><div class=\"bibliographical_information\">"
        "<hr/><br/>底本：「全集」筑摩書房<br/>入力：誰か<br/><a href=\"http://example.org/\">"
        "リンク</a>で作られました。</div>");
    EXPECT_EQ(PlainText(p.buffer), u"本文。");
    EXPECT_EQ(RunsOfType(p.buffer, TT_END_OF_BODY).size(), 1u);
    EXPECT_EQ(RunsOfType(p.buffer, TT_COMMENT_BEGIN).size(), 1u);
    EXPECT_TRUE(RunsOfType(p.buffer, TT_LINK).empty());
    EXPECT_EQ(p.info, u"底本：「全集」筑摩書房\r\n入力：誰か\r\nリンクで作られました。\r\n");
}

TEST(HtmlParser, IndentsAndBottomAlignmentFromStyle) {
    HtmlParsed p = ParseBody(
        "<div class=\"jisage_2\" style=\"margin-left: 2em\">二字下げ</div>"
        "<div style=\"margin-left: 3em; text-indent: -1em\">ぶら下げ</div>"
        "<div class=\"chitsuki_1\" style=\"text-align:right; margin-right: 1em\">字上げ</div>"
        "<div style=\"text-align:right\">地付き</div>後");
    EXPECT_EQ(DescribeAll(p.buffer),
              "{42:@2,0-2,-1}\n二字下 げ\n{44:@0,0-0,-1}\n{42:@2,0-3,-1}\nぶら 下 げ\n"
              "{44:@0,0-0,-1}\n{46:@1,0-1,-1}\n字上 げ\n{47:@0,0-0,-1}\n{46:@0,0-0,-1}\n地付 き\n"
              "{47:@0,0-0,-1}\n後\n");
}

TEST(HtmlParser, StyleSheetsComeThroughTheLoader) {
    HtmlParsed p = ParseHtmlFile(
        "<html><head><link rel=\"stylesheet\" href=\"../css/a.css\"/></head><body>"
        "<div class=\"jisage\">字下げ</div><span class=\"b\">太字</span></body></html>",
        "dir/doc.html", nullptr,
        {{"css/a.css", ".jisage { margin-left: 4em } .b { font-weight: bold }"}});
    EXPECT_EQ(DescribeLine(p.buffer, 0), "{42:@4,0-4,-1}");
    auto boldStarts = RunsOfType(p.buffer, TT_BOLD_START);
    EXPECT_EQ(boldStarts.size(), 1u);
}

TEST(HtmlParser, HiddenContentsAndScriptsAreNotText) {
    HtmlParsed p = ParseBody(
        "<div id=\"contents\">+目次<br/>一</div><div id=\"contents\" style=\"display:none\">"
        "隠</div><script>var x = 1;</script><style>p {}</style>本文<rp>（</rp>");
    EXPECT_EQ(PlainText(p.buffer), u"本文");
}

TEST(HtmlParser, PageBreakNoteAndOtherNotes) {
    HtmlParsed p = ParseBody("前<span class=\"notes\">［＃改ページ］</span>後"
                             "<span class=\"notes\">［＃「前」に傍点］</span>");
    EXPECT_EQ(DescribeAll(p.buffer), "前\n{74:@0,0-0,-1}\n後\n");
}

TEST(HtmlParser, MissingFileFailsWithAMessage) {
    CYbTxtBuffer buffer;
    CYbHTMLTxtParser parser;
    EXPECT_FALSE(parser.loadFile(u"/no/such/dir/x.html", buffer));
    EXPECT_NE(parser.message().find(u"/no/such/dir/x.html"), std::u16string::npos);
    EXPECT_EQ(parser.getName(), u"CYbHTMLTxtParser");
    char16_t text[] = u"x";
    EXPECT_FALSE(parser.parseText(text, buffer));
}

}  // namespace
}  // namespace Yomibon::Test

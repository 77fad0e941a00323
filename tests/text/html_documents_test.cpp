// Whole documents: encodings, pictures, plain text, card pages, and the parser manager.
#include <gtest/gtest.h>

#include "html_test_util.h"
#include "platform/codepage.h"
#include "text/html_encoding.h"
#include "text/html_file_loader.h"
#include "text/picture_size.h"
#include "text/txt_parser_mgr.h"

namespace Yomibon::Test {
namespace {

std::string Encode(int codePage, std::u16string_view text) {
    std::string out;
    EXPECT_TRUE(ConvertFromUtf16(codePage, std::u16string(text), out));
    return out;
}

const std::u16string kDoc =
    u"<html><head>%META%<title>題</title></head><body><h1 class=\"title\">走れメロス</h1>"
    u"<p><ruby><rb>邪智暴虐</rb><rt>じゃちぼうぎゃく</rt></ruby>の王①～</p></body></html>";

std::u16string WithMeta(std::u16string_view meta) {
    std::u16string doc = kDoc;
    doc.replace(doc.find(u"%META%"), 6, meta);
    return doc;
}

void ExpectMelos(const HtmlParsed& p) {
    ASSERT_TRUE(p.ok) << ToUtf8(p.message);
    EXPECT_EQ(p.title, u"走れメロス");
    EXPECT_EQ(PlainText(p.buffer), u"走れメロス邪智暴虐の王①～");
    ASSERT_EQ(RunsOfType(p.buffer, TT_RUBY).size(), 1u);
    EXPECT_EQ(RunsOfType(p.buffer, TT_RUBY)[0].str, u"じゃちぼうぎゃく");
}

TEST(HtmlEncoding, EveryDeclarationAndMarkGivesTheSameText) {
    ExpectMelos(ParseHtmlFile("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" +
                              Encode(CP_SHIFT_JIS, WithMeta(u""))));
    ExpectMelos(ParseHtmlFile(Encode(
        CP_SHIFT_JIS, WithMeta(u"<meta http-equiv=\"Content-Type\" content=\"text/html;"
                               u"charset=Shift_JIS\" />"))));
    ExpectMelos(ParseHtmlFile(Encode(CP_EUC_JP, WithMeta(u"<meta charset=\"EUC-JP\">")).replace(
        0, 0, "")));
    ExpectMelos(ParseHtmlFile("\xEF\xBB\xBF" + Encode(CP_UTF8, WithMeta(u""))));
    ExpectMelos(ParseHtmlFile("\xFF\xFE" + Encode(CP_UTF16LE, WithMeta(u""))));
    ExpectMelos(ParseHtmlFile("\xFE\xFF" + Encode(CP_UTF16BE, WithMeta(u""))));
    // Nothing declared: the bytes tell.
    ExpectMelos(ParseHtmlFile(Encode(CP_SHIFT_JIS, WithMeta(u""))));
}

TEST(HtmlEncoding, DeclarationBeforeContentTypeBeforeDetection) {
    std::string sjis = Encode(CP_SHIFT_JIS, u"<p>日本語</p>");
    EXPECT_EQ(HtmlCodePage(sjis, "text/html; charset=EUC-JP"), CP_EUC_JP);
    EXPECT_EQ(HtmlCodePage("<meta charset='utf-8'>" + sjis, "text/html; charset=EUC-JP"), CP_UTF8);
    EXPECT_EQ(HtmlCodePage("\xEF\xBB\xBF<meta charset='Shift_JIS'>", ""), CP_UTF8);
    EXPECT_EQ(DeclaredCharset("<?xml version='1.0' encoding='EUC-JP'?>"), "EUC-JP");
    EXPECT_EQ(CharsetCodePage("x-sjis"), CP_SHIFT_JIS);
    EXPECT_EQ(CharsetCodePage("klingon"), 0);
}

TEST(HtmlEncoding, InvalidBytesInEveryEncodingBecomeReplacementCharacters) {
    struct Case {
        const char* meta;
        std::string bad;
    } cases[] = {{"Shift_JIS", "\x81\x20\xFF"}, {"EUC-JP", "\x8E\xFF"},
                 {"UTF-8", "\xC3\x28\xE2\x82"}, {"ISO-2022-JP", "\x1B$B\x7F\x7F"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meta);
        std::string doc = std::string("<html><head><meta charset=\"") + c.meta +
                          "\"></head><body>前" + c.bad + "後</body></html>";
        if (std::string(c.meta) != "UTF-8") {
            // The same text around the bad bytes, in the declared encoding.
            std::string before, after;
            ConvertFromUtf16(CharsetCodePage(c.meta), u"前", before);
            ConvertFromUtf16(CharsetCodePage(c.meta), u"後", after);
            doc = std::string("<html><head><meta charset=\"") + c.meta + "\"></head><body>" +
                  before + c.bad + after + "</body></html>";
        }
        HtmlParsed p = ParseHtmlFile(doc);
        ASSERT_TRUE(p.ok);
        std::u16string text = PlainText(p.buffer);
        EXPECT_TRUE(text.starts_with(u"前")) << ToUtf8(text);
        EXPECT_TRUE(text.ends_with(u"後")) << ToUtf8(text);
        EXPECT_NE(text.find(u'\uFFFD'), std::u16string::npos) << ToUtf8(text);
    }
    // UTF-16 with a lone surrogate and an odd last byte.
    std::string utf16 = "\xFF\xFE" + Encode(CP_UTF16LE, u"<p>前") + "\x00\xD8" +
                        Encode(CP_UTF16LE, u"後</p>") + "\x41";
    HtmlParsed p = ParseHtmlFile(utf16);
    EXPECT_TRUE(PlainText(p.buffer).starts_with(u"前"));
}

TEST(HtmlPictures, SmallPicturesAreSkippedBySetting) {
    // A PNG header is all the size check reads.
    std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
                      std::string("\0\0\0\x63\0\0\0\xC8\x08\x02\0\0\0", 13);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(PictureHeaderSize(png, w, h));
    EXPECT_EQ(w, 99);
    EXPECT_EQ(h, 200);
    std::string doc =
        "<html><body>前<img class=\"illustration\" src=\"fig.png\" alt=\"挿絵\"/>"
        "<img src=\"sized.png\" width=\"120\" height=\"150\" alt=\"大\"/><img src=\"none.png\" "
        "alt=\"無\"/>後</body></html>";
    std::vector<std::pair<std::string, std::string>> files{{"fig.png", png}, {"sized.png", png}};
    HtmlParsed byDefault = ParseHtmlFile(doc, "doc.html", nullptr, files);
    auto pictures = RunsOfType(byDefault.buffer, TT_PICTURE_PAGE);
    ASSERT_EQ(pictures.size(), 1u);  // 99 x 200 is too narrow; the sized one stays
    std::u16string text = pictures[0].str;
    EXPECT_TRUE(ToUtf8(text.substr(0, text.find(u'\0'))).ends_with("/sized.png"));
    EXPECT_NE(text.find(std::u16string(u"大\0Size\0Pos\0\0", 12)), std::u16string::npos);

    CYbTxtParam param;
    int32_t zero[2] = {0, 100};
    param.SetPoints(u"SkipHTMLImgSize", zero, 2);
    HtmlParsed noWidth = ParseHtmlFile(doc, "doc.html", &param, files);
    EXPECT_EQ(RunsOfType(noWidth.buffer, TT_PICTURE_PAGE).size(), 2u);  // missing file dropped
}

TEST(HtmlPictures, HeaderSizesOfTheOtherFormats) {
    int32_t w = 0, h = 0;
    EXPECT_TRUE(PictureHeaderSize(std::string("GIF89a\x10\x00\x20\x00", 10), w, h));
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 32);
    std::string jpeg("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x0B\x08\x00\x30\x00\x40\x01",
                     18);
    EXPECT_TRUE(PictureHeaderSize(jpeg, w, h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    EXPECT_FALSE(PictureHeaderSize("\xFF\xD8\xFF\xE0\x00", w, h));  // cut off
    EXPECT_FALSE(PictureHeaderSize("not a picture", w, h));
}

TEST(HtmlDocuments, PlainTextDocumentIsReadAsNotation) {
    std::string text = Encode(CP_SHIFT_JIS, u"走れメロス\r\n太宰治\r\n\r\n　かの邪智暴虐《じゃちぼうぎゃく》の王\r\n");
    HtmlParsed byName = ParseHtmlFile(text, "melos.txt");
    ASSERT_TRUE(byName.ok);
    EXPECT_EQ(byName.title, u"走れメロス");
    EXPECT_EQ(byName.author, u"太宰治");
    ASSERT_EQ(RunsOfType(byName.buffer, TT_RUBY).size(), 1u);

    CYbHTMLTxtParser parser;
    CYbTxtBuffer buffer;
    HtmlResource served{text, "text/plain; charset=Shift_JIS", "http://example.org/a.cgi", {}};
    ASSERT_TRUE(parser.parseResource(served, buffer));
    EXPECT_EQ(parser.getAuthor(), u"太宰治");
    EXPECT_TRUE(IsPlainTextDocument(served));
    EXPECT_FALSE(IsPlainTextDocument({text, "text/html", "http://example.org/a.txt", {}}));
}

TEST(HtmlDocuments, CardPageLinksToTheTextsAreRelabelled) {
    EXPECT_TRUE(IsLibraryCardPage("https://www.aozora.gr.jp/cards/000035/card1567.html"));
    EXPECT_FALSE(IsLibraryCardPage("https://www.aozora.gr.jp/cards/000035/files/1567_14913.html"));
    std::string page =
        "<html><body><h1>図書カード：No.1567</h1><a href=\"./files/1567_14913.html\">"
        "いますぐXHTML版で読む</a>と<a href=\"./files/1567_ruby_4948.zip\">zip</a></body></html>";
    CYbHTMLTxtParser parser;
    CYbTxtBuffer buffer;
    HtmlResource card{page, "text/html; charset=UTF-8",
                      "https://www.aozora.gr.jp/cards/000035/card1567.html", {}};
    ASSERT_TRUE(parser.parseResource(card, buffer));
    std::u16string text = PlainText(buffer);
    EXPECT_NE(text.find(u"[★いますぐYomibonで見る★]"), std::u16string::npos) << ToUtf8(text);
    EXPECT_EQ(text.find(u"XHTML版"), std::u16string::npos);
    EXPECT_NE(text.find(u"zip"), std::u16string::npos);
    auto links = RunsOfType(buffer, TT_LINK);
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(ToUtf8(links[0].str), "https://www.aozora.gr.jp/cards/000035/files/1567_14913.html");
}

TEST(HtmlDocuments, FileUrlsRoundTrip) {
    std::string url = CYbHtmlFileLoader::FileUrl("/tmp/a b/青空.html");
    EXPECT_EQ(url, "file:///tmp/a%20b/%E9%9D%92%E7%A9%BA.html");
    std::filesystem::path back;
    ASSERT_TRUE(CYbHtmlFileLoader::FileUrlToPath(url + "#frag", back));
    EXPECT_EQ(back, std::filesystem::path("/tmp/a b/青空.html"));
    EXPECT_TRUE(CYbHtmlFileLoader::FileUrlToPath("file://localhost/x", back));
    EXPECT_FALSE(CYbHtmlFileLoader::FileUrlToPath("file://server/share/x", back));
    CYbHtmlFileLoader loader;
    HtmlResource out;
    EXPECT_FALSE(loader.loadLinked("https://example.org/a.css", out));  // never the network
    EXPECT_FALSE(loader.message().empty());
}

TEST(HtmlDocuments, ParserManagerOpensHtmlThroughTheHtmlParser) {
    TempDir dir;
    WriteFile(dir.path() / "a.xhtml",
              "<html><body><h1 class='title'>題名</h1><h2 class='author'>作者</h2></body></html>");
    CYbTxtBuffer buffer;
    CYbTxtParserMgr mgr;
    ASSERT_TRUE(mgr.open(FromUtf8((dir.path() / "a.xhtml").string()), buffer));
    EXPECT_EQ(buffer.getTitle(), u"題名");
    EXPECT_EQ(buffer.getAuthor(), u"作者");
    EXPECT_EQ(mgr.createParser(CYbTxtParserMgr::PK_HTML)->getName(), u"CYbHTMLTxtParser");
    EXPECT_FALSE(mgr.open(u"/no/such/file.html", buffer));
    EXPECT_EQ(buffer.getTitle(), u"/no/such/file.html");
    EXPECT_FALSE(mgr.message().empty());
}

}  // namespace
}  // namespace Yomibon::Test

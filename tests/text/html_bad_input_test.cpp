// Broken and hostile documents: a sound document or a clear failure, never a crash.
#include <gtest/gtest.h>

#include "html_test_util.h"
#include "text/txt_document.h"

namespace Yomibon::Test {
namespace {

TEST(HtmlBadInput, TruncatedDocumentKeepsWhatArrived) {
    std::string whole =
        "<html><head><title>途中</title></head><body><p>一段落目。</p><p><ruby><rb>漢字"
        "</rb><rt>かんじ</rt></ruby>の二段落目。</p><p>三段落目</p></body></html>";
    for (size_t cut : {size_t(10), size_t(60), size_t(90), whole.size() - 20}) {
        SCOPED_TRACE(cut);
        HtmlParsed p = ParseHtmlFile(whole.substr(0, cut));
        ASSERT_TRUE(p.ok);
    }
    HtmlParsed p = ParseHtmlFile(whole.substr(0, whole.find("の二段落目")));
    EXPECT_EQ(PlainText(p.buffer), u"一段落目。漢字");
    // Cut in the middle of a multi-byte character and of a tag.
    HtmlParsed mid = ParseHtmlFile("<meta charset='utf-8'><p>あい\xE3\x81");
    EXPECT_TRUE(PlainText(mid.buffer).starts_with(u"あい"));
    HtmlParsed tag = ParseHtmlFile("<p>本文<a href=\"x");
    EXPECT_TRUE(tag.ok);
}

TEST(HtmlBadInput, EmptyAndBinaryFiles) {
    HtmlParsed empty = ParseHtmlFile("");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(PlainText(empty.buffer), u"");
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary.push_back(char((i * 131) & 0xFF));
    HtmlParsed junk = ParseHtmlFile(binary);
    EXPECT_TRUE(junk.ok);
}

size_t Occurrences(std::u16string_view text, std::u16string_view part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::u16string_view::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Past the nesting limit the deeper tags go, the text inside and after them stays, and the
// reader is told once why some markup is missing.
TEST(HtmlBadInput, HundredThousandNestedElements) {
    std::string doc = "<html><body>";
    for (int i = 0; i < 100000; ++i)
        doc += (i % 2) ? "<span>" : "<div>";
    doc += "奥";
    for (int i = 100000; i-- > 0;)
        doc += (i % 2) ? "</span>" : "</div>";
    doc += "後<p>次の段落。</p></body></html>";
    HtmlParsed p = ParseHtmlFile(doc);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(PlainText(p.buffer), u"奥後次の段落。");
    EXPECT_EQ(Occurrences(p.notice, u"入れ子が深すぎます（上限 512 段）"), 1u);
    // Unclosed, and nested inline marks.
    std::string open = "<p>";
    for (int i = 0; i < 100000; ++i)
        open += "<em class=\"sesame_dot\"><b>";
    HtmlParsed q = ParseHtmlFile(open + "字");
    ASSERT_TRUE(q.ok);
    EXPECT_EQ(PlainText(q.buffer), u"字");
    EXPECT_EQ(Occurrences(q.notice, u"入れ子が深すぎます"), 1u);
    // Within the limit, and a long run of unclosed siblings: no notice.
    std::string shallow = "<html><body>", siblings = "<html><body>";
    for (int i = 0; i < 400; ++i)
        shallow += "<div>";
    for (int i = 0; i < 5000; ++i)
        siblings += "<p>段<li>項";
    EXPECT_TRUE(ParseHtmlFile(shallow + "浅い").notice.empty());
    EXPECT_TRUE(ParseHtmlFile(siblings).notice.empty());

    // Opened as a document (as the window and the command line open it), the buffer carries it.
    TempDir dir;
    WriteFile(dir.path() / "deep.xhtml", doc);
    CYbTxtParam param;
    CYbTxtDocument document(param);
    ASSERT_TRUE(document.openFile(FromUtf8((dir.path() / "deep.xhtml").string())));
    EXPECT_EQ(Occurrences(document.buffer().getNotice(), u"入れ子が深すぎます"), 1u);
    EXPECT_EQ(PlainText(document.buffer()), u"奥後次の段落。");
    WriteFile(dir.path() / "flat.xhtml", "<html><body><p>平ら</p></body></html>");
    ASSERT_TRUE(document.openFile(FromUtf8((dir.path() / "flat.xhtml").string())));
    EXPECT_TRUE(document.buffer().getNotice().empty());
}

TEST(HtmlBadInput, FiftyMegabyteTextNode) {
    std::string doc = "<html><head><meta charset=\"utf-8\"></head><body><p>";
    std::string line = "あいうえおかきくけこ";  // 30 bytes
    doc.reserve(doc.size() + 50 * 1024 * 1024 + 64);
    while (doc.size() < 50u * 1024 * 1024)
        doc += line;
    doc += "</p><p>終</p></body></html>";
    // In memory, as a transport hands it over: the test measures parsing, not the disk.
    HtmlParsed p;
    CYbHTMLTxtParser parser;
    p.ok = parser.parseResource({std::move(doc), "text/html", "file:///big.html", {}}, p.buffer);
    ASSERT_TRUE(p.ok);
    ASSERT_GE(p.buffer.lineCount(), 2);
    size_t chars = 0;
    for (const TextInfo& run : p.buffer.lines()[0].runs)
        chars += run.str.size();
    EXPECT_GT(chars, 17'000'000u);                   // one node, whole: every character kept
    EXPECT_LT(p.buffer.lines()[0].runs.size(), 4u);  // one class, one run
}

}  // namespace
}  // namespace Yomibon::Test

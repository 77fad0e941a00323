// Broken and hostile documents: a sound document or a clear failure, never a crash.
#include <gtest/gtest.h>

#include "html_test_util.h"

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
    for (int i = 0; i < 5000; ++i) binary.push_back(char((i * 131) & 0xFF));
    HtmlParsed junk = ParseHtmlFile(binary);
    EXPECT_TRUE(junk.ok);
}

TEST(HtmlBadInput, HundredThousandNestedElements) {
    std::string doc = "<html><body>";
    for (int i = 0; i < 100000; ++i) doc += (i % 2) ? "<span>" : "<div>";
    doc += "奥";
    for (int i = 100000; i-- > 0;) doc += (i % 2) ? "</span>" : "</div>";
    doc += "後</body></html>";
    HtmlParsed p = ParseHtmlFile(doc);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(PlainText(p.buffer), u"奥後");
    // Unclosed, and nested inline marks.
    std::string open = "<p>";
    for (int i = 0; i < 100000; ++i) open += "<em class=\"sesame_dot\"><b>";
    HtmlParsed q = ParseHtmlFile(open + "字");
    ASSERT_TRUE(q.ok);
    EXPECT_EQ(PlainText(q.buffer), u"字");
}

TEST(HtmlBadInput, FiftyMegabyteTextNode) {
    std::string doc = "<html><head><meta charset=\"utf-8\"></head><body><p>";
    std::string line = "あいうえおかきくけこ";  // 30 bytes
    doc.reserve(doc.size() + 50 * 1024 * 1024 + 64);
    while (doc.size() < 50u * 1024 * 1024) doc += line;
    doc += "</p><p>終</p></body></html>";
    // In memory, as a transport hands it over: the test measures parsing, not the disk.
    HtmlParsed p;
    CYbHTMLTxtParser parser;
    p.ok = parser.parseResource({std::move(doc), "text/html", "file:///big.html", {}}, p.buffer);
    ASSERT_TRUE(p.ok);
    ASSERT_GE(p.buffer.lineCount(), 2);
    size_t chars = 0;
    for (const TextInfo& run : p.buffer.lines()[0].runs) chars += run.str.size();
    EXPECT_GT(chars, 17'000'000u);  // one node, whole: every character kept
    EXPECT_LT(p.buffer.lines()[0].runs.size(), 4u);  // one class, one run
}

}  // namespace
}  // namespace Yomibon::Test

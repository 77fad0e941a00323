// The HTML engine's facts as the walker relies on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/html_engine.h"

namespace Yomibon {
namespace {

CYbHtmlNode FindTag(const CYbHtmlNode& node, const std::string& tag) {
    std::vector<CYbHtmlNode> stack{node};
    while (!stack.empty()) {
        CYbHtmlNode n = stack.back();
        stack.pop_back();
        if (n.tagName() == tag) return n;
        for (size_t i = n.childCount(); i-- > 0;) stack.push_back(n.child(i));
    }
    return {};
}

TEST(HtmlEngine, UpperCaseTagsWholeTextNodesAndAttributes) {
    CYbHtmlEngineDocument doc;
    ASSERT_TRUE(doc.load("<html><head><title>題 名</title></head><body><div id='d' class='c'>"
                         "吾輩は猫である。名前はまだ無い。<ruby><rb>漢</rb><rt>かん</rt></ruby>"
                         "<img src='a.png' alt='絵' width='10' height='20'></div></body></html>",
                         "file:///x/doc.html", nullptr));
    EXPECT_EQ(doc.title(), "題 名");
    CYbHtmlNode body = doc.body();
    EXPECT_EQ(body.tagName(), "BODY");
    CYbHtmlNode div = FindTag(body, "DIV");
    ASSERT_TRUE(div.valid());
    EXPECT_EQ(div.attr("id"), "d");
    EXPECT_EQ(div.attr("class"), "c");
    EXPECT_FALSE(div.hasAttr("name"));
    ASSERT_GE(div.childCount(), 3u);
    // The Japanese text is one node, not one element per character.
    EXPECT_TRUE(div.child(0).isText());
    EXPECT_EQ(div.child(0).tagName(), "#text");
    EXPECT_EQ(div.child(0).data(), "吾輩は猫である。名前はまだ無い。");
    EXPECT_EQ(div.child(1).tagName(), "RUBY");
    EXPECT_EQ(FindTag(div, "RB").innerText(), "漢");
    CYbHtmlNode img = FindTag(div, "IMG");
    EXPECT_EQ(img.attr("alt"), "絵");
    EXPECT_EQ(img.attr("width"), "10");
    EXPECT_EQ(div.innerText(), "吾輩は猫である。名前はまだ無い。漢かん");
}

TEST(HtmlEngine, CascadedStyleWithUnitsAndUserAgentSheet) {
    CYbHtmlEngineDocument doc;
    ASSERT_TRUE(doc.load("<html><head><style>.j { margin-left: 3em; text-indent: -1em }"
                         "</style></head><body><div class='j' style='margin-right: 10%'>"
                         "<span>字</span></div><h3>見出し</h3><script>x</script></body></html>",
                         "file:///x/doc.html", nullptr));
    CYbHtmlNode div = FindTag(doc.body(), "DIV");
    EXPECT_EQ(div.style("margin-left", false), "3em");
    EXPECT_EQ(div.style("text-indent", false), "-1em");
    EXPECT_EQ(div.style("margin-right", false), "10%");
    EXPECT_EQ(div.style("display", false), "block");
    CYbHtmlNode span = FindTag(div, "SPAN");
    EXPECT_EQ(span.style("margin-left", false, "none"), "none");
    EXPECT_EQ(span.style("text-indent", true), "-1em");  // inherited from the block
    EXPECT_EQ(FindTag(doc.body(), "H3").style("font-weight", true), "bold");
    EXPECT_EQ(FindTag(doc.body(), "H3").style("display", false), "block");
}

TEST(HtmlEngine, LinkedStyleSheetsOnlyThroughTheLoader) {
    std::vector<std::string> asked;
    auto loader = [&asked](const std::string& url, std::string& css) {
        asked.push_back(url);
        if (url.ends_with("/a.css")) css = "@import url(sub/b.css); .x { margin-left: 2em }";
        if (url.ends_with("/sub/b.css")) css = ".y { font-weight: bold }";
        return !css.empty();
    };
    CYbHtmlEngineDocument doc;
    ASSERT_TRUE(doc.load("<html><head><link rel='stylesheet' href='../../a.css'/></head>"
                         "<body><p class='x y'>t</p></body></html>",
                         "https://www.aozora.gr.jp/cards/000035/files/1567_14913.html", loader));
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked[0], "https://www.aozora.gr.jp/cards/a.css");
    CYbHtmlNode p = FindTag(doc.body(), "P");
    EXPECT_EQ(p.style("margin-left", false), "2em");
    if (asked.size() > 1) {
        EXPECT_EQ(asked[1], "https://www.aozora.gr.jp/cards/sub/b.css");
        EXPECT_EQ(p.style("font-weight", true), "bold");
    }
}

TEST(HtmlEngine, ResolvesAddresses) {
    EXPECT_EQ(ResolveHtmlUrl("file:///a/b/c.html", "../d.css"), "file:///a/d.css");
    EXPECT_EQ(ResolveHtmlUrl("https://h/x/y.html", "./files/z.html#f"), "https://h/x/files/z.html#f");
    EXPECT_EQ(ResolveHtmlUrl("https://h/x/y.html", "http://o/p"), "http://o/p");
    EXPECT_EQ(ResolveHtmlUrl("", "rel.html"), "rel.html");
}

TEST(HtmlEngine, NestingIsCappedBeforeTheEngine) {
    std::string deep;
    for (int i = 0; i < 2000; ++i) deep += "<div>";
    deep += "x";
    std::string capped = CapHtmlNesting(deep, 100);
    size_t opens = 0;
    for (size_t at = capped.find("<div>"); at != std::string::npos; at = capped.find("<div>", at + 1))
        ++opens;
    EXPECT_EQ(opens, 100u);
    EXPECT_TRUE(capped.ends_with("x"));
    // Siblings, void and self-closed elements, comments and scripts do not nest.
    std::string flat;
    for (int i = 0; i < 500; ++i) flat += "<p>a<br><img src='x'/><!-- <div> --><li>";
    flat += "<script>if (a<b) { '<div>' }</script>";
    EXPECT_TRUE(CapHtmlNesting(flat, 10) == flat);
    // The engine then builds the capped tree.
    CYbHtmlEngineDocument doc;
    std::string html = "<html><body>";
    for (int i = 0; i < 100000; ++i) html += "<span>";
    EXPECT_TRUE(doc.load(html + "y", "file:///d.html", nullptr));
}

}  // namespace
}  // namespace Yomibon

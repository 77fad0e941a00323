#include <gtest/gtest.h>

#include "platform/utf16.h"
#include "support/http_test_server.h"
#include "support/test_support.h"
#include "text/html_net_loader.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

// Stands in for the local file loader: answers every name with a fixed page and records
// what it was asked.
class RecordingLocalLoader : public CYbHtmlResourceLoader {
  public:
    bool loadDocument(const std::string& name, HtmlResource& out) override {
        asked.push_back(name);
        out.bytes = "local";
        out.url = name;
        return true;
    }
    bool loadLinked(const std::string& url, HtmlResource& out) override {
        asked.push_back(url);
        if (url.find("missing") != std::string::npos) return false;
        out.bytes = "local linked";
        return true;
    }
    std::u16string message() const override { return u"local failure"; }
    std::vector<std::string> asked;
};

class StopObserver : public CYbNetObserver {
  public:
    bool onNetProgress(const NetProgress&) override { return false; }
};

NetOptions Options(const yt::TempDir& dir) {
    NetOptions o;
    o.proxy = NetProxySettings{false, false, "", ""};
    o.totalTimeoutMs = 10'000;
    o.cacheFolder = dir.path() / "Cache";
    return o;
}

TEST(HtmlNetLoader, WebDocumentAndLinkedFilesComeThroughTheCache) {
    yt::TempDir dir;
    yt::HttpTestServer server;
    server.route("/files/page.html",
                 {200, "text/html; charset=Shift_JIS", "<html>page</html>", {}});
    server.redirect("/card.html", "/files/page.html");
    server.route("/files/pict.png", {200, "image/png", "\x89PNG picture", {}});
    RecordingLocalLoader local;
    CYbHtmlNetLoader loader(Options(dir), local);

    HtmlResource page;
    ASSERT_TRUE(loader.loadDocument(server.url("/card.html"), page)) << ToUtf8(loader.message());
    EXPECT_EQ(page.bytes, "<html>page</html>");
    EXPECT_EQ(page.contentType, "text/html; charset=Shift_JIS");
    EXPECT_EQ(page.url, server.url("/files/page.html"));
    EXPECT_EQ(page.localFile.parent_path(), dir.path() / "Cache");
    EXPECT_EQ(yt::ReadFile(page.localFile), page.bytes);

    // A picture used twice is fetched once per load and drawn from its cached file.
    HtmlResource pict, again;
    ASSERT_TRUE(loader.loadLinked(server.url("/files/pict.png"), pict));
    ASSERT_TRUE(loader.loadLinked(server.url("/files/pict.png#x"), again));
    EXPECT_EQ(again.bytes, "\x89PNG picture");
    EXPECT_EQ(again.localFile, pict.localFile);
    EXPECT_EQ(yt::ReadFile(pict.localFile), "\x89PNG picture");
    EXPECT_EQ(server.hits("/files/pict.png"), 1);
    EXPECT_TRUE(local.asked.empty());

    // A page from the network reaches no local file.
    HtmlResource secret;
    EXPECT_FALSE(loader.loadLinked("file:///etc/passwd", secret));
    EXPECT_TRUE(secret.bytes.empty());
    EXPECT_NE(ToUtf8(loader.message()).find("file:///etc/passwd"), std::string::npos);
    EXPECT_TRUE(local.asked.empty());
}

TEST(HtmlNetLoader, LocalNamesGoToTheLocalLoader) {
    yt::TempDir dir;
    yt::HttpTestServer server;
    server.route("/remote.css", {200, "text/css", "p{}", {}});
    RecordingLocalLoader local;
    CYbHtmlNetLoader loader(Options(dir), local);
    HtmlResource out;
    ASSERT_TRUE(loader.loadDocument("/books/a.html", out));
    EXPECT_EQ(out.bytes, "local");
    ASSERT_TRUE(loader.loadDocument("file:///books/b.xhtml", out));
    ASSERT_TRUE(loader.loadLinked("file:///books/aozora.css", out));
    EXPECT_EQ(out.bytes, "local linked");
    EXPECT_FALSE(loader.loadLinked("file:///books/missing.png", out));
    EXPECT_EQ(loader.message(), u"local failure");
    // A local page's linked files are the local loader's to give or refuse, addresses on
    // the web included.
    ASSERT_TRUE(loader.loadLinked(server.url("/remote.css"), out));
    EXPECT_EQ(out.bytes, "local linked");
    EXPECT_EQ(server.hits("/remote.css"), 0);
    EXPECT_EQ(loader.fetchCount(), 0);
    EXPECT_EQ(local.asked,
              (std::vector<std::string>{"/books/a.html", "file:///books/b.xhtml",
                                        "file:///books/aozora.css", "file:///books/missing.png",
                                        server.url("/remote.css")}));
}

TEST(HtmlNetLoader, FailuresNameTheAddressAndCancelEndsTheLoad) {
    yt::TempDir dir;
    yt::HttpTestServer server;
    yt::HttpTestServer::Response silent;
    silent.neverAnswer = true;
    server.route("/silent.html", silent);
    RecordingLocalLoader local;
    HtmlResource out;
    {
        CYbHtmlNetLoader loader(Options(dir), local);
        EXPECT_FALSE(loader.loadDocument(server.url("/nothing.html"), out));
        EXPECT_NE(ToUtf8(loader.message()).find("404"), std::string::npos);
        EXPECT_NE(ToUtf8(loader.message()).find(server.url("/nothing.html")), std::string::npos);
        EXPECT_FALSE(loader.cancelled());
        EXPECT_FALSE(loader.loadDocument("ftp://127.0.0.1/a.html", out));
        EXPECT_NE(ToUtf8(loader.message()).find("ftp:"), std::string::npos);
        EXPECT_TRUE(local.asked.empty());
    }
    StopObserver stop;
    NetOptions options = Options(dir);
    options.observer = &stop;
    CYbHtmlNetLoader loader(options, local);
    EXPECT_FALSE(loader.loadDocument(server.url("/silent.html"), out));
    EXPECT_TRUE(loader.cancelled());
    EXPECT_NE(ToUtf8(loader.message()).find("中止"), std::string::npos);
    // Nothing more is fetched for a cancelled load.
    EXPECT_FALSE(loader.loadLinked(server.url("/pict.png"), out));
    EXPECT_EQ(loader.fetchCount(), 1);
}

}  // namespace
}  // namespace Yomibon

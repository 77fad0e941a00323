// Documents opened from a loopback server as the reader opens addresses: the library's XHTML
// with its style sheet and picture, a card page through a proxy, a plain-text edition, a
// redirect; and failures that keep the document shown.
#include <gtest/gtest.h>

#include "html_test_util.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "support/library_site.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;
namespace fs = std::filesystem;

// A PNG header of 200 x 150: all the size check reads.
std::string PngHeader() {
    return std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
           std::string("\0\0\0\xC8\0\0\0\x96\x08\x02\0\0\0", 13);
}

class StopAfter : public CYbNetObserver {
  public:
    explicit StopAfter(int calls) : left_(calls) {}
    bool onNetProgress(const NetProgress&) override { return --left_ > 0; }

  private:
    int left_;
};

class HtmlNetDocumentTest : public ::testing::Test {
  protected:
    HtmlNetDocumentTest() : site_(PngHeader()) {
        param_.SetBoolean(u"UseIESetting", false);
        param_.SetBoolean(u"UseProxy", false);
        doc_ = std::make_unique<CYbTxtDocument>(param_);
        doc_->setDataFolder(dir_.path());
    }
    std::string url(const char* path) { return site_.server.url(path); }
    bool open(const std::string& address) { return doc_->openFile(FromUtf8(address)); }

    yt::TempDir dir_;
    yt::LibrarySite site_;
    CYbTxtParam param_;
    std::unique_ptr<CYbTxtDocument> doc_;
};

TEST_F(HtmlNetDocumentTest, XhtmlWithStyleSheetAndPictureFromTheServer) {
    ASSERT_TRUE(open(url(yt::LibrarySite::kXhtml))) << ToUtf8(doc_->lastError());
    const CYbTxtBuffer& buffer = doc_->buffer();
    EXPECT_EQ(buffer.getTitle(), u"走れメロス");
    EXPECT_EQ(buffer.getAuthor(), u"太宰治");
    EXPECT_EQ(doc_->getFileName(), FromUtf8(url(yt::LibrarySite::kXhtml)));
    auto ruby = yt::RunsOfType(buffer, TT_RUBY);
    ASSERT_EQ(ruby.size(), 1u);
    EXPECT_EQ(ruby[0].str, u"げきど");
    // The indent comes from the linked style sheet alone.
    auto indents = yt::RunsOfType(buffer, TT_INDENT_START);
    ASSERT_EQ(indents.size(), 1u);
    EXPECT_EQ(indents[0].tpBegin.iIndex, 3);
    EXPECT_EQ(site_.server.hits(yt::LibrarySite::kStyle), 1);
    // The picture is drawn from its file in the download cache under the data folder.
    auto pictures = yt::RunsOfType(buffer, TT_PICTURE_PAGE);
    ASSERT_EQ(pictures.size(), 1u);
    fs::path file = ToFsPath(pictures[0].str.substr(0, pictures[0].str.find(u'\0')));
    EXPECT_EQ(file.parent_path(), dir_.path() / "Cache");
    EXPECT_EQ(yt::ReadFile(file), PngHeader());
    EXPECT_NE(buffer.getInfo().find(u"底本"), std::u16string::npos);
}

TEST_F(HtmlNetDocumentTest, CardPageThroughTheProxyAndRedirectAndPlainText) {
    // The card page of the library's host, reached through the settings' proxy (the
    // loopback server), gets its XHTML link relabelled.
    param_.SetBoolean(u"UseProxy", true);
    param_.SetText(u"ProxyServer", FromUtf8("127.0.0.1:" + std::to_string(site_.server.port())));
    param_.SetText(u"NoProxyAddress", u"127.0.0.1;");
    const std::string card = std::string("http://www.aozora.gr.jp") + yt::LibrarySite::kCard;
    ASSERT_TRUE(open(card)) << ToUtf8(doc_->lastError());
    EXPECT_NE(yt::PlainText(doc_->buffer()).find(u"[★いますぐYomibonで見る★]"),
              std::u16string::npos);
    auto links = yt::RunsOfType(doc_->buffer(), TT_LINK);
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(ToUtf8(links[0].str), "http://www.aozora.gr.jp/cards/000035/files/1567_14913.html");
    EXPECT_EQ(site_.server.targets().back(), card);

    // The proxy is bypassed for the loopback address: requests arrive with plain paths.
    const size_t before = site_.server.targets().size();
    ASSERT_TRUE(open(url(yt::LibrarySite::kRedirect))) << ToUtf8(doc_->lastError());
    EXPECT_EQ(doc_->buffer().getTitle(), u"走れメロス");
    EXPECT_EQ(doc_->getFileName(), FromUtf8(url(yt::LibrarySite::kRedirect)));
    const auto targets = site_.server.targets();
    ASSERT_EQ(targets.size(), before + 4);  // redirect, page, style sheet, picture
    EXPECT_EQ(targets[before], yt::LibrarySite::kRedirect);
    EXPECT_EQ(targets[before + 1], yt::LibrarySite::kXhtml);

    ASSERT_TRUE(open(url(yt::LibrarySite::kText))) << ToUtf8(doc_->lastError());
    EXPECT_EQ(doc_->buffer().getAuthor(), u"太宰治");
    auto ruby = yt::RunsOfType(doc_->buffer(), TT_RUBY);
    ASSERT_EQ(ruby.size(), 1u);
    EXPECT_EQ(ruby[0].str, u"げきど");
}

TEST_F(HtmlNetDocumentTest, FailuresKeepTheDocumentShownAndSayWhy) {
    ASSERT_TRUE(open(url(yt::LibrarySite::kXhtml)));
    const int lines = doc_->buffer().lineCount();
    const std::u16string shown = doc_->getFileName();
    auto unchanged = [&] {
        EXPECT_EQ(doc_->getFileName(), shown);
        EXPECT_EQ(doc_->buffer().getTitle(), u"走れメロス");
        EXPECT_EQ(doc_->buffer().lineCount(), lines);
    };

    EXPECT_FALSE(open(url(yt::LibrarySite::kMissing)));
    unchanged();
    EXPECT_NE(ToUtf8(doc_->lastError()).find("404"), std::string::npos);
    EXPECT_NE(ToUtf8(doc_->lastError()).find(url(yt::LibrarySite::kMissing)), std::string::npos);

    doc_->netOptions().totalTimeoutMs = 500;
    EXPECT_FALSE(open(url(yt::LibrarySite::kSilent)));
    unchanged();
    EXPECT_NE(ToUtf8(doc_->lastError()).find("時間切れ"), std::string::npos);

    doc_->netOptions().totalTimeoutMs = 60'000;
    StopAfter stop(2);
    doc_->setNetObserver(&stop);
    EXPECT_FALSE(open(url(yt::LibrarySite::kSilent)));
    unchanged();
    EXPECT_NE(ToUtf8(doc_->lastError()).find("中止"), std::string::npos);
    doc_->setNetObserver(nullptr);

    EXPECT_FALSE(open("gopher://127.0.0.1/a.html"));
    unchanged();
    EXPECT_NE(ToUtf8(doc_->lastError()).find("gopher:"), std::string::npos);
}

}  // namespace
}  // namespace Yomibon

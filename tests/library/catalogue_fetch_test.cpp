// The catalogue and the works fetched from a loopback server: the catalogue kept in the data
// folder and read again without the network, a work's zip kept in the download cache and
// found there with the server gone; a 404, a broken file and a cancelled transfer keep what
// was there before.
#include <gtest/gtest.h>

#include <memory>

#include "archive/archive_maker.h"
#include "library/catalogue_index.h"
#include "library/catalogue_store.h"
#include "library/work_fetch.h"
#include "platform/download_cache.h"
#include "platform/utf16.h"
#include "support/catalogue_maker.h"
#include "support/http_test_server.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

class CancelAtOnce : public CYbNetObserver {
  public:
    bool onNetProgress(const NetProgress&) override {
        ++calls;
        return false;
    }
    int calls = 0;
};

std::string ZipBytes(const yt::TempDir& dir, const std::vector<yt::ArchiveItem>& items) {
    const auto path = dir.path() / "tmp.zip";
    EXPECT_TRUE(yt::WriteZip(path, items));
    return yt::ReadFile(path);
}

yt::HttpTestServer::Response Zip(std::string body) {
    yt::HttpTestServer::Response response;
    response.contentType = "application/zip";
    response.body = std::move(body);
    return response;
}

class CatalogueFetchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_ = std::make_unique<yt::HttpTestServer>();
        const std::string base = server_->url("");
        yt::WriteCatalogueZip(dir_.path() / "list.zip",
                              yt::CatalogueCsv(yt::SampleCatalogue(300, base)));
        server_->route("/index_pages/list.zip", Zip(yt::ReadFile(dir_.path() / "list.zip")));
        server_->route(yt::SampleTextPath("1567"),
                       Zip(ZipBytes(dir_, {{"hashire_merosu.txt", "走れメロス\r\n太宰治\r\n"}})));
        proxy_.useSystem = false;
    }
    CYbCatalogueStore store(const std::string& path = "/index_pages/list.zip") {
        return CYbCatalogueStore(dir_.path() / "data", server_->url(path));
    }
    CatalogueWork work(const std::string& id) {
        std::vector<CatalogueWork> works;
        EXPECT_TRUE(store().load(works, proxy_).ok);
        CYbCatalogueIndex index;
        index.assign(std::move(works));
        const CatalogueWork* w = index.find(FromUtf8(id));
        return w ? *w : CatalogueWork{};
    }

    yt::TempDir dir_;
    std::unique_ptr<yt::HttpTestServer> server_;
    NetProxySettings proxy_;
};

TEST_F(CatalogueFetchTest, FetchesOnceThenReadsTheKeptCopyOffline) {
    CYbCatalogueStore s = store();
    EXPECT_FALSE(s.cached());
    std::vector<CatalogueWork> works;
    CatalogueLoad first = s.load(works, proxy_);
    ASSERT_TRUE(first.ok) << ToUtf8(first.message);
    EXPECT_TRUE(first.fetched);
    EXPECT_EQ(works.size(), 300u);
    EXPECT_TRUE(s.cached());
    EXPECT_EQ(s.file().parent_path(), dir_.path() / "data" / "Catalogue");

    server_.reset();  // offline from here on
    works.clear();
    CatalogueLoad second = s.load(works, proxy_);
    ASSERT_TRUE(second.ok);
    EXPECT_FALSE(second.fetched);
    EXPECT_EQ(works.size(), 300u);
    // 更新 fails, and the kept catalogue stays usable.
    CatalogueLoad update = s.update(works, proxy_);
    EXPECT_FALSE(update.ok);
    EXPECT_NE(update.message.find(u"これまでの目録をそのまま使います"), std::u16string::npos);
    EXPECT_EQ(works.size(), 300u);
    EXPECT_TRUE(s.cached());
}

TEST_F(CatalogueFetchTest, WithoutNetworkOrCopyTheMessageSaysSo) {
    std::vector<CatalogueWork> works;
    CatalogueLoad missing = store("/index_pages/none.zip").load(works, proxy_);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.netStatus, NetStatus::HTTP_ERROR);
    EXPECT_NE(missing.message.find(u"作品目録を取得できませんでした"), std::u16string::npos);
    EXPECT_NE(missing.message.find(u"404"), std::u16string::npos) << ToUtf8(missing.message);

    server_->route("/index_pages/broken.zip", Zip("PK\x03\x04 broken"));
    CYbCatalogueStore broken = store("/index_pages/broken.zip");
    CatalogueLoad load = broken.load(works, proxy_);
    EXPECT_FALSE(load.ok);
    EXPECT_NE(load.message.find(u"作品目録として読めませんでした"), std::u16string::npos);
    EXPECT_FALSE(broken.cached());
    EXPECT_FALSE(std::filesystem::exists(broken.file().string() + ".new"));
    EXPECT_TRUE(works.empty());
}

TEST_F(CatalogueFetchTest, AWorkIsFetchedIntoTheCacheAndOpensFromItOffline) {
    const CatalogueWork melos = work("001567");
    ASSERT_EQ(melos.title, u"走れメロス");
    CYbDownloadCache cache(dir_.path() / "data" / "Cache");
    WorkFetch first = FetchWorkText(melos, cache, proxy_);
    ASSERT_TRUE(first.ok()) << ToUtf8(first.message);
    EXPECT_FALSE(first.fromCache);
    EXPECT_EQ(first.file.parent_path(), cache.folder());
    EXPECT_TRUE(IsReadableZip(yt::ReadFile(first.file)));
    EXPECT_EQ(server_->hits(yt::SampleTextPath("1567")), 1);

    server_.reset();
    WorkFetch second = FetchWorkText(melos, cache, proxy_);
    ASSERT_TRUE(second.ok());
    EXPECT_TRUE(second.fromCache);
    EXPECT_EQ(second.file, first.file);
}

TEST_F(CatalogueFetchTest, FailedTransfersKeepNothing) {
    CYbDownloadCache cache(dir_.path() / "data" / "Cache");
    CatalogueWork rashomon = work("127");  // its zip is not served: 404
    WorkFetch missing = FetchWorkText(rashomon, cache, proxy_);
    EXPECT_EQ(missing.status, WorkFetch::NET_FAILED);
    EXPECT_NE(missing.message.find(u"「羅生門」をダウンロードできませんでした"),
              std::u16string::npos);
    EXPECT_NE(missing.message.find(u"404"), std::u16string::npos);

    server_->route(yt::SampleTextPath("127"), Zip("PK\x03\x04garbage"));
    WorkFetch broken = FetchWorkText(rashomon, cache, proxy_);
    EXPECT_EQ(broken.status, WorkFetch::DAMAGED);
    EXPECT_NE(broken.message.find(u"壊れています"), std::u16string::npos);
    EXPECT_TRUE(cache.localFileFor(rashomon.textUrl).empty());

    CatalogueWork melos = work("1567");
    CancelAtOnce cancel;
    yt::HttpTestServer::Response silent;
    silent.neverAnswer = true;
    server_->route(yt::SampleTextPath("1567"), silent);
    WorkFetch cancelled = FetchWorkText(melos, cache, proxy_, &cancel);
    EXPECT_EQ(cancelled.status, WorkFetch::CANCELLED);
    EXPECT_GT(cancel.calls, 0);
    EXPECT_TRUE(cancelled.message.empty());
    EXPECT_TRUE(cache.localFileFor(melos.textUrl).empty());

    CatalogueWork none = melos;
    none.textUrl.clear();
    EXPECT_EQ(FetchWorkText(none, cache, proxy_).status, WorkFetch::NO_TEXT);
}

}  // namespace
}  // namespace Yomibon

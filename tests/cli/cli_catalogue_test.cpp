// yomibon-cli catalogue run as a user runs it, against a catalogue and a work served by a
// loopback server: search by title, reading and author; open fetches, unpacks and reports the
// work, and opens it again from the cache with the server gone; failures go to standard error.
#include <gtest/gtest.h>

#include <memory>

#include "archive/archive_maker.h"
#include "cli/cli_support.h"
#include "support/catalogue_maker.h"
#include "support/http_test_server.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

yt::HttpTestServer::Response Zip(std::string body) {
    yt::HttpTestServer::Response response;
    response.contentType = "application/zip";
    response.body = std::move(body);
    return response;
}

const char kMelos[] =
    "走れメロス\r\n太宰治\r\n\r\n　メロスは激怒した。必ず、かの｜邪智暴虐《じゃちぼうぎゃく》"
    "の王を除かなければならぬと決意した。メロスには政治がわからぬ。メロスは、村の牧人である。\r\n";

class CliCatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy",
                                 "ALL_PROXY", "no_proxy", "NO_PROXY"})
            ::unsetenv(name);
        server_ = std::make_unique<yt::HttpTestServer>();
        const auto list = dir_.path() / "list.zip";
        ASSERT_TRUE(yt::WriteCatalogueZip(
            list, yt::CatalogueCsv(yt::SampleCatalogue(300, server_->url("")))));
        server_->route("/list.zip", Zip(yt::ReadFile(list)));
        const auto work = dir_.path() / "work.zip";
        ASSERT_TRUE(yt::WriteZip(work, {{"hashire_merosu.txt", kMelos}}));
        server_->route(yt::SampleTextPath("1567"), Zip(yt::ReadFile(work)));
        url_ = server_->url("/list.zip");
    }
    yt::CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"catalogue", "--url", url_});
        return yt::RunCli(args);
    }

    yt::TempDir dir_;
    std::unique_ptr<yt::HttpTestServer> server_;
    std::string url_;
};

TEST_F(CliCatalogueTest, SearchPrintsOneWorkALine) {
    yt::CliRun title = run({"search", "走れ"});
    ASSERT_EQ(title.exitCode, 0) << title.err;
    EXPECT_EQ(title.out, "001567\t走れメロス\t太宰治\n");
    yt::CliRun reading = run({"search", "おつべる"});
    EXPECT_EQ(reading.out, "000466\tオツベルと象\t宮沢賢治\n");
    yt::CliRun author = run({"search", "カフカ", "変身"});
    EXPECT_EQ(author.out, "001235\t変身\tカフカフランツ、原田義人(翻訳者)\n");
    yt::CliRun none = run({"search", "存在しない題名"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(server_->hits("/list.zip"), 1);  // fetched once, then kept
}

TEST_F(CliCatalogueTest, OpenFetchesOnceAndReportsLikeInfo) {
    yt::CliRun first = run({"open", "1567"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find("title: 走れメロス\nauthor: 太宰治\n"), std::string::npos)
        << first.out;
    EXPECT_NE(first.out.find("pages: "), std::string::npos);
    server_.reset();
    yt::CliRun second = run({"open", "001567"});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.out.find("title: 走れメロス\n"), std::string::npos);
    // Searching works offline from the kept catalogue; opening a work not yet fetched says why.
    EXPECT_EQ(run({"search", "らしょうもん"}).out, "000127\t羅生門\t芥川竜之介\n");
    yt::CliRun offline = run({"open", "127"});
    EXPECT_EQ(offline.exitCode, 1);
    EXPECT_NE(offline.err.find("「羅生門」をダウンロードできませんでした"), std::string::npos)
        << offline.err;
}

TEST_F(CliCatalogueTest, FailuresAndMistakes) {
    yt::CliRun missing =
        yt::RunCli({"catalogue", "--url", server_->url("/none.zip"), "search", "a"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("作品目録を取得できませんでした"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("404"), std::string::npos);
    EXPECT_EQ(run({"open", "999999"}).exitCode, 1);
    EXPECT_EQ(run({"fetch", "1"}).exitCode, 2);
    EXPECT_EQ(run({"search", "--bogus"}).exitCode, 2);
}

}  // namespace
}  // namespace Yomibon

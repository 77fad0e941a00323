#include <gtest/gtest.h>

#include "cli/cli_support.h"
#include "support/library_site.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

// The tool takes the proxy from the environment by default: none here, whatever the
// machine's own settings are.
class CliUrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy",
                                 "ALL_PROXY", "no_proxy", "NO_PROXY"})
            ::unsetenv(name);
    }
    yt::LibrarySite site_{std::string(40, 'x')};
};

TEST_F(CliUrlTest, AddressesWorkAsFilesDo) {
    std::string xhtml = site_.server.url(yt::LibrarySite::kXhtml);
    yt::CliRun info = yt::RunCli({"info", xhtml});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("title: 走れメロス\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("author: 太宰治\n"), std::string::npos);

    yt::CliRun dump = yt::RunCli({"dump", site_.server.url(yt::LibrarySite::kText)});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("\"text\":\"げきど\""), std::string::npos);

    yt::CliRun columns = yt::RunCli({"columns", xhtml});
    ASSERT_EQ(columns.exitCode, 0) << columns.err;
    EXPECT_NE(columns.out.find("メロスは"), std::string::npos) << columns.out;

    yt::TempDir dir;
    yt::CliRun render =
        yt::RunCli({"render", xhtml, "--size", "400x300", "-o", (dir.path() / "s.png").string()});
    ASSERT_EQ(render.exitCode, 0) << render.err;
    EXPECT_GT(std::filesystem::file_size(dir.path() / "s.png"), 1000u);
}

TEST_F(CliUrlTest, FailuresGoToStandardErrorWithTheReason) {
    std::string missing = site_.server.url(yt::LibrarySite::kMissing);
    for (const char* command : {"info", "dump", "columns"}) {
        yt::CliRun run = yt::RunCli({command, missing});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_TRUE(run.out.empty()) << command;
        EXPECT_NE(run.err.find("「" + missing + "」を開けませんでした"), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("404"), std::string::npos) << run.err;
    }
    yt::CliRun refused = yt::RunCli({"info", "ftp://127.0.0.1/a.html"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("ftp:"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace Yomibon

#include <gtest/gtest.h>
#include <unistd.h>

#include "archive/archive_maker.h"
#include "cli/cli_support.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;
namespace fs = std::filesystem;

const std::string kText =
    "走れメロス\r\n太宰治\r\n\r\n［＃５字下げ］一［＃「一」は中見出し］\r\n"
    "メロスは激怒《げきど》した。必ず、かの邪智暴虐《じゃちぼうぎゃく》の王を除かなければならぬと決"
    "意した。\r\n";

// An archive named for this process: the reader unpacks by file name under the data folder.
class CliArchiveTest : public ::testing::Test {
  protected:
    fs::path zip(const std::string& stem) {
        return dir_.path() / (stem + "-" + std::to_string(::getpid()) + ".zip");
    }
    void TearDown() override {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_.path()))
            fs::remove_all(fs::path(YB_CLI).parent_path() / "Archive" / entry.path().filename(),
                           ec);
    }
    yt::TempDir dir_;
};

TEST_F(CliArchiveTest, ArchiveTextIsOpenedAsTheWindowOpensIt) {
    fs::path archive = zip("melos");
    ASSERT_TRUE(yt::WriteZip(archive, {{"melos/", "", yt::ArchiveItem::FOLDER},
                                       {"melos/hashire_merosu.txt", kText},
                                       {"melos/readme.html", "<html></html>"}}));
    yt::CliRun info = yt::RunCli({"info", archive.string()});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("title: 走れメロス\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("author: 太宰治\n"), std::string::npos);
    EXPECT_NE(info.out.find("outline: 1\n"), std::string::npos);

    yt::CliRun dump = yt::RunCli({"dump", archive.string()});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("\"text\":\"げきど\""), std::string::npos);
    EXPECT_NE(dump.out.find("{\"title\":\"走れメロス\",\"author\":\"太宰治\""), std::string::npos);

    yt::CliRun columns = yt::RunCli({"columns", archive.string()});
    ASSERT_EQ(columns.exitCode, 0) << columns.err;
    EXPECT_NE(columns.out.find("メロスは激怒"), std::string::npos);

    fs::path png = dir_.path() / "spread.png";
    yt::CliRun render =
        yt::RunCli({"render", archive.string(), "--size", "400x300", "-o", png.string()});
    ASSERT_EQ(render.exitCode, 0) << render.err;
    EXPECT_GT(fs::file_size(png), 1000u);
}

TEST_F(CliArchiveTest, ArchiveWithoutASingleTextOrDamagedFails) {
    fs::path two = zip("two");
    ASSERT_TRUE(yt::WriteZip(two, {{"a.txt", kText}, {"b.txt", kText}}));
    yt::CliRun run = yt::RunCli({"info", two.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("holds 2 texts"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("a.txt"), std::string::npos);
    EXPECT_TRUE(run.out.empty());

    fs::path broken = zip("broken");
    yt::WriteFile(broken, "PK\x03\x04 this is not really a zip");
    run = yt::RunCli({"dump", broken.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace Yomibon

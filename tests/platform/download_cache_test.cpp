#include <gtest/gtest.h>

#include <chrono>

#include "platform/download_cache.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace fs = std::filesystem;
namespace yt = Yomibon::Test;

TEST(DownloadCache, NamesComeFromTheAddress) {
    std::string a = CYbDownloadCache::FileNameFor(
        "https://www.aozora.gr.jp/cards/000035/files/1567_14913.html");
    EXPECT_EQ(a.size(), 16u + 5u);
    EXPECT_TRUE(a.ends_with(".html"));
    EXPECT_EQ(a, CYbDownloadCache::FileNameFor(
                     "https://www.aozora.gr.jp/cards/000035/files/1567_14913.html#midashi"));
    EXPECT_NE(a, CYbDownloadCache::FileNameFor(
                     "https://www.aozora.gr.jp/cards/000035/files/1567_14914.html"));
    EXPECT_TRUE(CYbDownloadCache::FileNameFor("http://x/a/PICT.PNG?size=2").ends_with(".png"));
    // Odd or missing extensions never reach the file system.
    EXPECT_TRUE(CYbDownloadCache::FileNameFor("http://x/").ends_with(".dat"));
    EXPECT_TRUE(CYbDownloadCache::FileNameFor("http://x/a.b/c").ends_with(".dat"));
    EXPECT_TRUE(CYbDownloadCache::FileNameFor("http://x/a.../..%2f").ends_with(".dat"));
    EXPECT_TRUE(CYbDownloadCache::FileNameFor("http://x/a.toolongext").ends_with(".dat"));
}

TEST(DownloadCache, EvictionTakesOldestFirstAndSparesTheKeptFile) {
    std::vector<CacheFileInfo> files = {{"new", 40, 30}, {"old", 40, 10}, {"mid", 40, 20}};
    EXPECT_TRUE(ChooseEvictions(files, 120).empty());
    EXPECT_EQ(ChooseEvictions(files, 100), (std::vector<std::string>{"old"}));
    EXPECT_EQ(ChooseEvictions(files, 50), (std::vector<std::string>{"old", "mid"}));
    EXPECT_EQ(ChooseEvictions(files, 50, "old"), (std::vector<std::string>{"mid", "new"}));
    EXPECT_EQ(ChooseEvictions(files, 0, "new"), (std::vector<std::string>{"old", "mid"}));
}

TEST(DownloadCache, StoresFilesAndStaysWithinItsBound) {
    yt::TempDir dir;
    CYbDownloadCache cache(CYbDownloadCache::FolderUnder(dir.path()), 10'000);
    EXPECT_EQ(cache.folder(), dir.path() / "Cache");
    auto now = fs::file_time_type::clock::now();
    std::vector<fs::path> stored;
    for (int i = 0; i < 4; ++i) {
        std::string url = "http://127.0.0.1/p" + std::to_string(i) + ".png";
        fs::path file = cache.store(url, std::string(4000, char('a' + i)));
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(cache.localFileFor(url), file);
        EXPECT_EQ(yt::ReadFile(file), std::string(4000, char('a' + i)));
        // Each file older than the next, as if fetched a minute apart.
        fs::last_write_time(file, now - std::chrono::minutes(10 - i));
        stored.push_back(file);
    }
    // 4 x 4000 bytes do not fit in 10000: the two oldest went.
    EXPECT_FALSE(fs::exists(stored[0]));
    EXPECT_FALSE(fs::exists(stored[1]));
    EXPECT_TRUE(fs::exists(stored[2]));
    EXPECT_TRUE(fs::exists(stored[3]));
    EXPECT_TRUE(cache.localFileFor("http://127.0.0.1/p0.png").empty());
    uint64_t total = 0;
    for (const auto& e : fs::directory_iterator(cache.folder()))
        total += e.file_size();
    EXPECT_LE(total, 10'000u);
}

TEST(DownloadCache, FileUrlsResolveToTheirFiles) {
    yt::TempDir dir;
    yt::WriteFile(dir.path() / "a b.png", "x");
    CYbDownloadCache cache(dir.path() / "Cache");
    std::string url = "file://" + (dir.path() / "a%20b.png").string();
    EXPECT_EQ(cache.localFileFor(url), dir.path() / "a b.png");
    EXPECT_EQ(FileUrlToPath("file:///tmp/x.png#frag"), fs::path("/tmp/x.png"));
    EXPECT_EQ(FileUrlToPath("file://localhost/tmp/x.png"), fs::path("/tmp/x.png"));
    EXPECT_EQ(FileUrlToPath("FILE:/tmp/x.png"), fs::path("/tmp/x.png"));
    EXPECT_TRUE(FileUrlToPath("file://server/share/x.png").empty());
    EXPECT_TRUE(FileUrlToPath("http://x/a.png").empty());
    EXPECT_TRUE(cache.localFileFor("file:///no/such/file.png").empty());
}

}  // namespace
}  // namespace Yomibon

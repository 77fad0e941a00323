// Which extraction folders go at start-up: the decision, then the folders on disk.
#include "archive/extraction_cleanup.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace fs = std::filesystem;
namespace yt = Yomibon::Test;

ExtractionFolderInfo Folder(const char* name, uint64_t bytes, int64_t modified,
                            bool bookmark = false) {
    return {fs::path("/data/Archive") / name, bytes, modified, bookmark};
}

TEST(ExtractionCleanup, UnnamedFoldersGoOldestFirstUntilTheRestFit) {
    const std::vector<ExtractionFolderInfo> folders = {
        Folder("new.zip", 100, 50), Folder("old.zip", 100, 10), Folder("mid.zip", 100, 30),
        Folder("read.lzh", 100, 1), Folder("marked.7z", 100, 2, true)};
    const std::vector<std::u16string> named = {u"/data/Archive/read.lzh/sub/本.txt", u""};
    // 500 bytes in all, 300 allowed: old and mid go (read.lzh and marked.7z are kept
    // although older).
    EXPECT_EQ(ExtractionFoldersToRemove(folders, named, 300),
              (std::vector<fs::path>{"/data/Archive/old.zip", "/data/Archive/mid.zip"}));
    // Within the bound nothing goes.
    EXPECT_TRUE(ExtractionFoldersToRemove(folders, named, 500).empty());
    // With no room at all every unnamed folder goes, the named ones stay.
    EXPECT_EQ(ExtractionFoldersToRemove(folders, named, 0).size(), 3u);
    // The archive itself in the recent files names its folder.
    EXPECT_EQ(
        ExtractionFoldersToRemove(folders, {u"/home/u/old.zip", u"/data/Archive/read.lzh"}, 0),
        (std::vector<fs::path>{"/data/Archive/mid.zip", "/data/Archive/new.zip"}));
    // A path that only starts like a folder does not name it.
    EXPECT_EQ(
        ExtractionFoldersToRemove({Folder("a", 10, 1)}, {u"/data/Archive/ab/x.txt"}, 0).size(), 1u);
}

TEST(ExtractionCleanup, StartUpRemovesWhatNothingNames) {
    yt::TempDir temp;
    const fs::path archive = temp.path() / "Archive";
    yt::WriteFile(archive / "kept.zip" / "a.txt", std::string(1000, 'a'));
    yt::WriteFile(archive / "gone.zip" / "b.txt", std::string(1000, 'b'));
    yt::WriteFile(archive / "marked.zip" / "c.txt", std::string(1000, 'c'));
    yt::WriteFile(archive / "marked.zip" / "c.txt.siori", "bookmarks");
    fs::create_directories(temp.path() / "outside");
    yt::WriteFile(temp.path() / "outside" / "big.txt", std::string(100000, 'x'));
    fs::create_directory_symlink(temp.path() / "outside", archive / "kept.zip" / "link");

    CYbTxtParam param;
    param.SetText(u"HistFile3", FromFsPath(archive / "kept.zip" / "a.txt"));
    EXPECT_EQ(CleanExtractionFolders(temp.path(), PathsNamedBySettings(param), 500), 1u);
    EXPECT_TRUE(fs::exists(archive / "kept.zip" / "a.txt"));
    EXPECT_TRUE(fs::exists(archive / "marked.zip" / "c.txt"));
    EXPECT_FALSE(fs::exists(archive / "gone.zip"));
    EXPECT_TRUE(fs::exists(temp.path() / "outside" / "big.txt"));  // links are not entered
    // Nothing to do without an Archive folder.
    yt::TempDir empty;
    EXPECT_EQ(CleanExtractionFolders(empty.path(), {}, 0), 0u);
}

}  // namespace
}  // namespace Yomibon

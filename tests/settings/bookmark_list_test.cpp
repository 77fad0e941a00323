#include "settings/bookmark_list.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "settings/bookmark_file.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

using Yomibon::Test::TempDir;

std::u16string U(const std::filesystem::path& p) {
    return FromFsPath(p);
}

CYbCSVText ReadList(const std::u16string& folder) {
    CYbCSVText list;
    list.Read(ToFsPath(BookmarkListPath(folder)));
    return list;
}

TEST(BookmarkFolder, ResolvesTheSettingAgainstTheDataFolder) {
    const std::u16string data = u"/home/u/.local/share/Yomibon";
    EXPECT_EQ(ResolveBookmarkFolder(u"", data), data + u"/Bookmark");
    EXPECT_EQ(ResolveBookmarkFolder(u"./Bookmark", data), data + u"/Bookmark");
    EXPECT_EQ(ResolveBookmarkFolder(u"marks", data), data + u"/marks");
    EXPECT_EQ(ResolveBookmarkFolder(u"x", data), data + u"/x");
    // A single separator is the root of the data folder's drive: on Linux the root.
    EXPECT_EQ(ResolveBookmarkFolder(u"/", data), u"/");
    EXPECT_EQ(ResolveBookmarkFolder(u"\\", data), u"/");
    EXPECT_EQ(ResolveBookmarkFolder(u"/srv/marks", data), u"/srv/marks");
    EXPECT_EQ(ResolveBookmarkFolder(u"D:\\marks", data), u"D:/marks");
    // A data folder with a drive letter, and one without a drive of its own.
    EXPECT_EQ(ResolveBookmarkFolder(u"\\", u"C:\\Yomibon"), u"C:/");
    EXPECT_EQ(ResolveBookmarkFolder(u"\\marks", u"C:\\Yomibon"), u"C:/marks");
    EXPECT_EQ(ResolveBookmarkFolder(u"/", u"//server/share"), u"//server/share/Bookmark");
    EXPECT_EQ(ResolveBookmarkFolder(u"/marks", u"//server/share"), u"//server/share/Bookmark");
    EXPECT_EQ(BookmarkListPath(u"/b"), u"/b/bookmark.lis");
}

TEST(BookmarkList, FindsTheLastRowOfATextIgnoringCase) {
    TempDir dir;
    std::u16string folder = U(dir.path());
    Yomibon::Test::WriteFile(dir.path() / "2.siori", "x");
    Yomibon::Test::WriteFile(dir.path() / "3.siori", "x");
    CYbCSVText list;
    list.AppendRow({u"/t/A.txt", folder + u"/1.siori"});
    list.AppendRow({u"/t/a.TXT", folder + u"\\2.siori"});
    list.AppendRow({u"/t/b.txt", folder + u"/3.siori"});
    list.AppendRow({u"/t/c.txt", u""});
    list.AppendRow({u"/t/d.txt", folder + u"/9.siori"});
    ASSERT_TRUE(list.Write(ToFsPath(BookmarkListPath(folder))));
    std::u16string found;
    ASSERT_TRUE(FindInBookmarkList(folder, u"/t/a.txt", found));
    EXPECT_EQ(found, folder + u"/2.siori");
    ASSERT_TRUE(FindInBookmarkList(folder, u"\\t\\b.txt", found));
    EXPECT_EQ(found, folder + u"/3.siori");
    EXPECT_FALSE(FindInBookmarkList(folder, u"/t/c.txt", found));  // no file named
    EXPECT_FALSE(FindInBookmarkList(folder, u"/t/d.txt", found));  // file missing
    EXPECT_FALSE(FindInBookmarkList(folder, u"/t/e.txt", found));
    EXPECT_FALSE(FindInBookmarkList(folder + u"/none", u"/t/a.txt", found));
}

TEST(BookmarkList, MapAndNextNumber) {
    EachBookmarkMapFunc map(u"/t/b.txt", 3);
    for (const char16_t* t : {u"/t/a.txt", u"/t/B.TXT", u"/t/a.txt", u"/t/c.txt", u"/t/d.txt"})
        map.Each({t, std::u16string(t) + u".siori"});
    map.Each({u"/t/short-row"});
    // b is the current text, the second a is a repeat, and at most two rows stay.
    ASSERT_EQ(map.result().GetRowCount(), 2u);
    EXPECT_EQ(map.result().GetField(0, 0), u"/t/c.txt");
    EXPECT_EQ(map.result().GetField(1, 0), u"/t/d.txt");

    EachNextNoFunc next(3);
    next.Each({u"/t/a.txt", u"/b/1.siori"});
    next.Each({u"/t/c.txt", u"/b/3.siori"});
    next.Each({u"/t/x.txt", u"/b/notanumber.siori"});
    EXPECT_EQ(next.NextNumber(), 2);
    next.Each({u"/t/e.txt", u"C:\\b\\2.siori"});
    EXPECT_EQ(next.NextNumber(), 100);
}

TEST(BookmarkList, KeepsAtMostCountTextsAndReusesTheNumberOfTheOldest) {
    TempDir dir;
    std::u16string folder = U(dir.path() / "Bookmark" / "deep");
    std::u16string target;
    ASSERT_TRUE(RecordInBookmarkList(folder, u"/t/A.txt", 3, target));
    EXPECT_EQ(target, folder + u"/1.siori");
    ASSERT_TRUE(RecordInBookmarkList(folder, u"/t/B.txt", 3, target));
    EXPECT_EQ(target, folder + u"/2.siori");
    ASSERT_TRUE(RecordInBookmarkList(folder, u"/t/C.txt", 3, target));
    EXPECT_EQ(target, folder + u"/3.siori");
    // A fourth text drops A's row and takes A's number.
    ASSERT_TRUE(RecordInBookmarkList(folder, u"/t/D.txt", 3, target));
    EXPECT_EQ(target, folder + u"/1.siori");
    CYbCSVText list = ReadList(folder);
    ASSERT_EQ(list.GetRowCount(), 3u);
    EXPECT_EQ(list.GetField(0, 0), u"/t/B.txt");
    EXPECT_EQ(list.GetField(1, 0), u"/t/C.txt");
    EXPECT_EQ(list.GetField(2, 0), u"/t/D.txt");
    EXPECT_EQ(list.GetField(2, 1), folder + u"/1.siori");
    // Saving B again moves it last and keeps its number.
    ASSERT_TRUE(RecordInBookmarkList(folder, u"/t/b.txt", 3, target));
    EXPECT_EQ(target, folder + u"/2.siori");
    list = ReadList(folder);
    ASSERT_EQ(list.GetRowCount(), 3u);
    EXPECT_EQ(list.GetField(0, 0), u"/t/C.txt");
    EXPECT_EQ(list.GetField(2, 0), u"/t/b.txt");
    // With room for one text only, the list holds the newest.
    ASSERT_TRUE(RecordInBookmarkList(folder, u"/t/E.txt", 0, target));
    list = ReadList(folder);
    ASSERT_EQ(list.GetRowCount(), 1u);
    EXPECT_EQ(list.GetField(0, 0), u"/t/E.txt");
    EXPECT_EQ(target, folder + u"/1.siori");
}

TEST(BookmarkList, FailsWhenTheFolderOrListCannotBeWritten) {
    TempDir dir;
    std::u16string target;
    // A file where the folder should be.
    Yomibon::Test::WriteFile(dir.path() / "file", "x");
    EXPECT_FALSE(RecordInBookmarkList(U(dir.path() / "file"), u"/t/a.txt", 3, target));
    // A folder where the list should be.
    std::filesystem::create_directories(dir.path() / "b" / "bookmark.lis" / "x");
    EXPECT_FALSE(RecordInBookmarkList(U(dir.path() / "b"), u"/t/a.txt", 3, target));
}

}  // namespace
}  // namespace Yomibon

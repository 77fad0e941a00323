#include "archive/archive_open.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_base.h"
#include "archive/archive_maker.h"
#include "archive/archive_messages.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

namespace fs = std::filesystem;

std::u16string U16(const fs::path& path) {
    return FromFsPath(path);
}

TEST(ArchiveOpen, NamesTheFolderAfterTheArchiveFile) {
    EXPECT_EQ(ArchiveFolder(u"/home/u/走れメロス.zip", "/data"), u"/data/Archive/走れメロス.zip/");
    EXPECT_EQ(ArchiveFolder(u"a.LZH", "/data/"), u"/data/Archive/a.LZH/");
    EXPECT_EQ(ArchiveFolder(u"/home/u/", "/data"), u"");
    EXPECT_EQ(ArchiveFolder(u"/home/u/..", "/data"), u"");
    EXPECT_EQ(ArchiveFolder(u"", "/data"), u"");
}

TEST(ArchiveOpen, ListsTextsOfSubfoldersFirst) {
    yt::TempDir temp;
    const fs::path& root = temp.path();
    for (const char* name : {"a.txt", "B.TXT", "note.html", "z/d.txt", "sub/b.Txt",
                             "sub/deeper/c.txt", "sub/deeper/c.txt.bak", "empty/x.md"})
        yt::WriteFile(root / name, "x");
    fs::create_directories(root / "folder.txt");        // a folder is never listed
    fs::create_directory_symlink(root, root / "loop");  // nor entered through a link
    const std::vector<std::u16string> expected = {U16(root / "sub/deeper/c.txt"),
                                                  U16(root / "sub/b.Txt"), U16(root / "z/d.txt"),
                                                  U16(root / "B.TXT"), U16(root / "a.txt")};
    EXPECT_EQ(FindArchiveTexts(root), expected);
    EXPECT_TRUE(FindArchiveTexts(root / "missing").empty());
}

TEST(ArchiveOpen, OpensTheOneTextOrAsks) {
    yt::TempDir temp;
    const fs::path data = temp.path() / "data";
    const fs::path one = temp.path() / "one.zip";
    const fs::path two = temp.path() / "two.7z";
    const fs::path none = temp.path() / "none.zip";
    ASSERT_TRUE(yt::WriteZip(
        one,
        {{"sub/", "", yt::ArchiveItem::FOLDER}, {"sub/only.txt", "only"}, {"readme.html", "<p>"}}));
    ASSERT_TRUE(yt::Write7z(two, {{"a.txt", "a"}, {"b/b.txt", "b"}}));
    ASSERT_TRUE(yt::WriteZip(none, {{"picture.png", "png"}}));

    ArchiveOpening opening = OpenArchive(U16(one), data);
    EXPECT_EQ(opening.result, ARCHIVE_RESULT_OK);
    ASSERT_EQ(opening.action, ArchiveOpening::OPEN_TEXT);
    EXPECT_EQ(opening.folder, U16(data / "Archive" / "one.zip") + u"/");
    EXPECT_EQ(opening.textPath, U16(data / "Archive" / "one.zip" / "sub" / "only.txt"));
    EXPECT_EQ(yt::ReadFile(ToFsPath(opening.textPath)), "only");

    // The same archive again is unpacked again into the same folder.
    yt::WriteFile(ToFsPath(opening.textPath), "changed by hand");
    const ArchiveOpening again = OpenArchive(U16(one), data);
    EXPECT_EQ(again.action, ArchiveOpening::OPEN_TEXT);
    EXPECT_EQ(again.textPath, opening.textPath);
    EXPECT_EQ(yt::ReadFile(ToFsPath(again.textPath)), "only");

    opening = OpenArchive(U16(two), data);
    EXPECT_EQ(opening.action, ArchiveOpening::CHOOSE_TEXT);
    EXPECT_EQ(opening.folder, U16(data / "Archive" / "two.7z") + u"/");
    EXPECT_TRUE(opening.textPath.empty());
    EXPECT_EQ(FindArchiveTexts(ToFsPath(opening.folder)).size(), 2u);

    opening = OpenArchive(U16(none), data);
    EXPECT_EQ(opening.action, ArchiveOpening::CHOOSE_TEXT);
    EXPECT_TRUE(fs::exists(data / "Archive" / "none.zip" / "picture.png"));
}

TEST(ArchiveOpen, ReportsFailuresWithTheirMessages) {
    yt::TempDir temp;
    const fs::path data = temp.path() / "data";
    const std::u16string missing = U16(temp.path() / "無い.lzh");
    ArchiveOpening opening = OpenArchive(missing, data);
    EXPECT_EQ(opening.action, ArchiveOpening::SHOW_MESSAGE);
    EXPECT_EQ(opening.result, ARCHIVE_RESULT_MISSING);
    EXPECT_EQ(opening.messageId, 40069);
    EXPECT_EQ(opening.dllName, u"unlha32.so");
    EXPECT_EQ(opening.message, u"書庫ファイル(" + missing + u")が見つかりませんでした。");

    const std::u16string tar = U16(temp.path() / "a.tar");
    yt::WriteFile(ToFsPath(tar), "tar");
    opening = OpenArchive(tar, data);
    EXPECT_EQ(opening.messageId, 40068);
    EXPECT_EQ(opening.message, u"書庫ファイル(" + tar + u")の形式はサポート対象外です。");
    EXPECT_FALSE(fs::exists(data / "Archive" / "a.tar"));

    const std::u16string damaged = U16(temp.path() / "bad.zip");
    yt::WriteFile(ToFsPath(damaged), "not a zip at all");
    opening = OpenArchive(damaged, data);
    EXPECT_EQ(opening.messageId, 40068);

    EXPECT_EQ(FormatArchiveMessage(ARCHIVE_RESULT_COMMAND_FAILED, u"p", u"d"),
              u"書庫ファイル(p)の読み込みに失敗しました。");
    EXPECT_EQ(FormatArchiveMessage(ARCHIVE_RESULT_NO_LIBRARY, u"p", u"unzip32.so"),
              u"DLL(unzip32.so)が見つかりませんでした。");
    EXPECT_EQ(FormatArchiveMessage(ARCHIVE_RESULT_BUSY, u"p", u"7-zip32.so"),
              u"DLL(7-zip32.so)が動作中です。");
    EXPECT_EQ(FormatArchiveMessage(9, u"p", u"d"), u"書庫ファイル(p)の読み込みに失敗しました。");
    EXPECT_EQ(ArchiveMessageId(9), 40072);
    EXPECT_EQ(ArchiveMessageId(ARCHIVE_RESULT_COMMAND_FAILED), 40067);
    EXPECT_EQ(ArchiveMessageId(ARCHIVE_RESULT_OK), 0);
}

TEST(ArchiveOpen, OpensALibraryZipAsItsText) {
    YB_REQUIRE_CORPUS();
    const fs::path zip = yt::CorpusDir() / "dazai-hashire-merosu" / "1567_ruby_4948.zip";
    yt::TempDir temp;
    const ArchiveOpening opening = OpenArchive(U16(zip), temp.path());
    ASSERT_EQ(opening.action, ArchiveOpening::OPEN_TEXT) << opening.result;
    EXPECT_EQ(opening.textPath,
              U16(temp.path() / "Archive" / "1567_ruby_4948.zip" / "hashire_merosu.txt"));
    const std::string text = yt::ReadFile(ToFsPath(opening.textPath));
    EXPECT_EQ(text.size(), 21563u);
    const fs::path beside = yt::CorpusDir() / "dazai-hashire-merosu" / "1567_ruby_4948.txt";
    if (fs::exists(beside)) {
        EXPECT_EQ(text, yt::ReadFile(beside));
    }
}

}  // namespace
}  // namespace Yomibon

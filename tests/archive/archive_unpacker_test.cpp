#include "archive/archive_unpacker.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_maker.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

namespace fs = std::filesystem;
using yt::ArchiveItem;

class ArchiveUnpackerTest : public ::testing::Test {
  protected:
    int Unpack(ArchiverKind kind, const fs::path& archive, UnpackLimits limits = {}) {
        return CYbArchiveUnpacker(kind, limits).Unpack(archive, out.string(), {}, report);
    }
    yt::TempDir temp;
    fs::path out = temp.path() / "Archive" / "x" / "";
    UnpackReport report;
};

TEST_F(ArchiveUnpackerTest, ShiftJisZipNamesComeOutReadable) {
    const fs::path zip = temp.path() / "sjis.zip";
    const std::string sjis = std::string(yt::kMelosShiftJis);
    ASSERT_TRUE(yt::WriteZip(zip, {{sjis + "/" + sjis + ".txt", "melos"}, {"b.txt", "b"}}));
    // The name is stored as raw Shift_JIS bytes without the UTF-8 flag, as Japanese
    // systems write it.
    const std::string bytes = yt::ReadFile(zip);
    ASSERT_NE(bytes.find(sjis + "/" + sjis + ".txt"), std::string::npos);
    ASSERT_EQ(bytes[7] & 0x08, 0);

    ASSERT_EQ(Unpack(ArchiverKind::Zip, zip), ARCHIVER_OK) << report.error;
    const std::string utf8 = yt::kMelosUtf8;
    EXPECT_EQ(yt::ReadFile(out / utf8 / (utf8 + ".txt")), "melos");
    EXPECT_EQ(yt::ReadFile(out / "b.txt"), "b");
    EXPECT_EQ(report.written, 2u);
    EXPECT_EQ(report.bytes, 6u);
    EXPECT_TRUE(report.refused.empty());

    // Names flagged as UTF-8 stay as they are.
    const fs::path flagged = temp.path() / "utf8.zip";
    ASSERT_TRUE(yt::WriteZip(flagged, {{"u/" + utf8 + "2.txt", "flagged"}}, true));
    ASSERT_NE(yt::ReadFile(flagged)[7] & 0x08, 0);
    ASSERT_EQ(Unpack(ArchiverKind::Zip, flagged), ARCHIVER_OK) << report.error;
    EXPECT_EQ(yt::ReadFile(out / "u" / (utf8 + "2.txt")), "flagged");
}

TEST_F(ArchiveUnpackerTest, RefusesEntriesThatLeadOutAndKeepsTheRest) {
    const fs::path zip = temp.path() / "slip.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"../evil.txt", "evil"},
                                   {"sub/../../evil2.txt", "evil"},
                                   {"/tmp/yomibon-absolute-evil.txt", "evil"},
                                   {"up", "..", ArchiveItem::SYMLINK},
                                   {"passwd", "/etc/passwd", ArchiveItem::SYMLINK},
                                   {"good.txt", "good"},
                                   {"inner", "good.txt", ArchiveItem::SYMLINK}}));
    ASSERT_EQ(Unpack(ArchiverKind::Zip, zip), ARCHIVER_OK) << report.error;
    EXPECT_EQ(yt::ReadFile(out / "good.txt"), "good");
    EXPECT_FALSE(fs::exists(out.parent_path().parent_path() / "evil.txt"));
    EXPECT_FALSE(fs::exists(temp.path() / "evil2.txt"));
    EXPECT_FALSE(fs::exists(temp.path() / "Archive" / "evil2.txt"));
    EXPECT_FALSE(fs::exists("/tmp/yomibon-absolute-evil.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(out / "up")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(out / "passwd")));
    // A link that stays inside is made.
    EXPECT_TRUE(fs::is_symlink(out / "inner"));
    EXPECT_EQ(yt::ReadFile(out / "inner"), "good");
    EXPECT_EQ(report.refused,
              (std::vector<std::string>{"../evil.txt", "sub/../../evil2.txt",
                                        "/tmp/yomibon-absolute-evil.txt", "up", "passwd"}));
}

TEST_F(ArchiveUnpackerTest, NeverWritesThroughALinkLeftInTheFolder) {
    // A link planted by someone else in the folder must not carry a file outside.
    fs::create_directories(out);
    yt::WriteFile(temp.path() / "victim.txt", "keep");
    fs::create_symlink(temp.path() / "victim.txt", out / "a.txt");
    const fs::path zip = temp.path() / "a.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"a.txt", "new"}}));
    ASSERT_EQ(Unpack(ArchiverKind::Zip, zip), ARCHIVER_OK) << report.error;
    EXPECT_EQ(yt::ReadFile(temp.path() / "victim.txt"), "keep");
    EXPECT_FALSE(fs::is_symlink(out / "a.txt"));
    EXPECT_EQ(yt::ReadFile(out / "a.txt"), "new");
}

TEST_F(ArchiveUnpackerTest, StopsPastTheEntryAndByteLimits) {
    const fs::path zip = temp.path() / "bomb.zip";
    ASSERT_TRUE(yt::WriteZip(
        zip,
        {{"a.txt", "0123456789"}, {"b.txt", "0123456789"}, {"c.txt", std::string(4000, 'c')}}));
    EXPECT_EQ(Unpack(ArchiverKind::Zip, zip, {1000000, 2}), ARCHIVER_ERROR_LIMIT);
    EXPECT_TRUE(fs::exists(out / "b.txt"));
    EXPECT_FALSE(fs::exists(out / "c.txt"));
    EXPECT_FALSE(report.error.empty());

    fs::remove_all(out);
    EXPECT_EQ(Unpack(ArchiverKind::Zip, zip, {1000, 100}), ARCHIVER_ERROR_LIMIT);
    EXPECT_EQ(report.bytes, 20u);
    EXPECT_TRUE(fs::exists(out / "b.txt"));
    EXPECT_FALSE(fs::exists(out / "c.txt"));  // no partial file stays

    fs::remove_all(out);
    EXPECT_EQ(Unpack(ArchiverKind::Zip, zip, {4020, 3}), ARCHIVER_OK) << report.error;
    EXPECT_EQ(report.bytes, 4020u);
    // The shipped limits are a gigabyte and a hundred thousand entries.
    EXPECT_EQ(UnpackLimits{}.maxBytes, uint64_t(1) << 30);
    EXPECT_EQ(UnpackLimits{}.maxEntries, 100000u);
}

TEST_F(ArchiveUnpackerTest, ReadsLhaWithShiftJisNamesIn7zAndAgainInTheSameFolder) {
    const fs::path lzh = temp.path() / "a.lzh";
    const std::string sjis = yt::kMelosShiftJis;
    yt::WriteFile(lzh,
                  yt::MakeLha({{"sub\\" + sjis + ".txt", "lha text\r\n"}, {"b.txt", "second"}}));
    CYbArchiveUnpacker lha(ArchiverKind::Lha);
    EXPECT_TRUE(lha.Check(lzh, true));
    EXPECT_TRUE(lha.Check(lzh, false));
    ASSERT_EQ(lha.Unpack(lzh, out, {}, report), ARCHIVER_OK) << report.error;
    const std::string utf8 = yt::kMelosUtf8;
    EXPECT_EQ(yt::ReadFile(out / "sub" / (utf8 + ".txt")), "lha text\r\n");
    EXPECT_EQ(yt::ReadFile(out / "b.txt"), "second");

    // Unpacking again into the same folder overwrites what is there.
    yt::WriteFile(out / "b.txt", "changed");
    ASSERT_EQ(lha.Unpack(lzh, out, {}, report), ARCHIVER_OK) << report.error;
    EXPECT_EQ(yt::ReadFile(out / "b.txt"), "second");

    // Level-2 headers, as LHA tools on Japanese systems write them.
    const fs::path level2 = temp.path() / "level2.lzh";
    yt::WriteFile(level2, yt::MakeLha({{"dir\\" + sjis + "\\" + sjis + "2.txt", "level two"},
                                       {"top.txt", "top"}},
                                      2));
    ASSERT_EQ(lha.Unpack(level2, out, {}, report), ARCHIVER_OK) << report.error;
    EXPECT_EQ(yt::ReadFile(out / "dir" / utf8 / (utf8 + "2.txt")), "level two");
    EXPECT_EQ(yt::ReadFile(out / "top.txt"), "top");

    const fs::path sevenZip = temp.path() / "a.7z";
    ASSERT_TRUE(yt::Write7z(sevenZip,
                            {{"dir", "", ArchiveItem::FOLDER}, {"dir/" + utf8 + ".txt", "seven"}}));
    ASSERT_EQ(Unpack(ArchiverKind::SevenZip, sevenZip), ARCHIVER_OK) << report.error;
    EXPECT_EQ(yt::ReadFile(out / "dir" / (utf8 + ".txt")), "seven");
}

TEST_F(ArchiveUnpackerTest, ChecksTheKindAndReportsDamage) {
    const fs::path zip = temp.path() / "a.zip";
    const fs::path text = temp.path() / "not.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"a.txt", std::string(5000, 'a')}}));
    yt::WriteFile(text, "just text, not an archive");
    CYbArchiveUnpacker unzip(ArchiverKind::Zip);
    EXPECT_TRUE(unzip.Check(zip, true));
    EXPECT_TRUE(unzip.Check(zip, false));
    EXPECT_FALSE(unzip.Check(text, true));
    EXPECT_FALSE(unzip.Check(temp.path() / "missing.zip", true));
    EXPECT_FALSE(CYbArchiveUnpacker(ArchiverKind::SevenZip).Check(zip, true));
    EXPECT_FALSE(CYbArchiveUnpacker(ArchiverKind::Lha).Check(zip, true));
    EXPECT_EQ(Unpack(ArchiverKind::Zip, text), ARCHIVER_ERROR_OPEN);

    // Damaged data: the stored bytes no longer match their checksum.
    std::string bytes = yt::ReadFile(zip);
    auto le16 = [&](size_t at) {
        return size_t(uint8_t(bytes[at])) | size_t(uint8_t(bytes[at + 1])) << 8;
    };
    const size_t data = 30 + le16(26) + le16(28);  // past the first local header
    ASSERT_LT(data + 4, bytes.size());
    bytes[data + 1] ^= 0x55;
    const fs::path damaged = temp.path() / "damaged.zip";
    yt::WriteFile(damaged, bytes);
    EXPECT_EQ(Unpack(ArchiverKind::Zip, damaged), ARCHIVER_ERROR_READ);
    EXPECT_FALSE(fs::exists(out / "a.txt"));
}

}  // namespace
}  // namespace Yomibon

// Archives made to harm: links already inside the destination, bombs, huge entries.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_base.h"
#include "archive/archive_maker.h"
#include "archive/archive_messages.h"
#include "archive/archive_unpacker.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;
namespace fs = std::filesystem;

class ArchiveHostileTest : public ::testing::Test {
  protected:
    int Unpack(const fs::path& archive, UnpackLimits limits = {}) {
        return CYbArchiveUnpacker(ArchiverKind::Zip, limits)
            .Unpack(archive, out.string(), {}, report);
    }
    yt::TempDir temp;
    fs::path out = temp.path() / "Archive" / "x";
    fs::path outside = temp.path() / "outside";
    UnpackReport report;
};

// A link inside the destination (left by anyone) pointing outside: entries below it are
// refused, not written through it.
TEST_F(ArchiveHostileTest, FolderLinkInsideTheDestinationIsNotFollowed) {
    fs::create_directories(out);
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, out / "sub");
    const fs::path zip = temp.path() / "escape.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"sub/x.txt", "escaped"},
                                   {"sub/deeper/y.txt", "escaped"},
                                   {"sub/", "", yt::ArchiveItem::FOLDER},
                                   {"ok.txt", "stays"}}));
    EXPECT_EQ(Unpack(zip), ARCHIVER_OK) << report.error;
    EXPECT_FALSE(fs::exists(outside / "x.txt"));
    EXPECT_FALSE(fs::exists(outside / "deeper"));
    EXPECT_EQ(yt::ReadFile(out / "ok.txt"), "stays");
    EXPECT_EQ(report.refused.size(), 2u);  // the two files; the folder entry made a real one
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(out / "sub")));
}

// A link to a folder made by the archive itself leads nowhere either.
TEST_F(ArchiveHostileTest, LinkFromTheSameArchiveIsNotWrittenThrough) {
    const fs::path zip = temp.path() / "chain.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"real/", "", yt::ArchiveItem::FOLDER},
                                   {"via", "real", yt::ArchiveItem::SYMLINK},
                                   {"via/x.txt", "through a link"}}));
    EXPECT_EQ(Unpack(zip), ARCHIVER_OK) << report.error;
    EXPECT_FALSE(fs::exists(out / "real" / "x.txt"));
    EXPECT_EQ(report.refused, std::vector<std::string>{"via/x.txt"});
}

// A small archive that claims to hold far more than its own size is a bomb: it stops at the
// ratio, with a limit error, and the message names the archive.
TEST_F(ArchiveHostileTest, ZipBombStopsAtTheRatio) {
    const fs::path zip = temp.path() / "bomb.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"zeros1.txt", std::string(4 << 20, '0')},
                                   {"zeros2.txt", std::string(4 << 20, '0')}}));
    ASSERT_LT(fs::file_size(zip), 64u << 10);
    UnpackLimits limits;
    limits.ratioFloorBytes = 1 << 20;
    EXPECT_EQ(Unpack(zip, limits), ARCHIVER_ERROR_LIMIT);
    EXPECT_LE(report.bytes, limits.Budget(fs::file_size(zip)));
    EXPECT_NE(report.error.find("far more than its own size"), std::string::npos);
    EXPECT_FALSE(CYbArchiveUnpacker(ArchiverKind::Zip, limits).Check(zip.string(), false));
    // With the shipped floor the same archive is fine: small files may compress well.
    EXPECT_EQ(Unpack(zip), ARCHIVER_OK) << report.error;

    const std::u16string message = FormatArchiveMessage(ARCHIVE_RESULT_TOO_LARGE, u"b.zip", u"");
    EXPECT_NE(message.find(u"b.zip"), std::u16string::npos);
    EXPECT_NE(message.find(u"大きすぎる"), std::u16string::npos);
}

TEST_F(ArchiveHostileTest, OneEntryPastItsLimitStops) {
    const fs::path zip = temp.path() / "big.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"a.txt", "small"}, {"b.txt", std::string(5000, 'b')}}));
    UnpackLimits limits;
    limits.maxEntryBytes = 4096;
    EXPECT_EQ(Unpack(zip, limits), ARCHIVER_ERROR_LIMIT);
    EXPECT_EQ(yt::ReadFile(out / "a.txt"), "small");
    EXPECT_FALSE(fs::exists(out / "b.txt"));
    EXPECT_EQ(UnpackLimits{}.maxEntryBytes, uint64_t(256) << 20);
}

TEST(ArchiveLimits, BudgetIsTheSmallerOfTheLimitAndTheRatio) {
    UnpackLimits limits;
    EXPECT_EQ(limits.Budget(0), limits.ratioFloorBytes);
    EXPECT_EQ(limits.Budget(1000), limits.ratioFloorBytes + 200'000);
    EXPECT_EQ(limits.Budget(uint64_t(1) << 40), limits.maxBytes);
    EXPECT_EQ(limits.Budget(UINT64_MAX), limits.maxBytes);
}

}  // namespace
}  // namespace Yomibon

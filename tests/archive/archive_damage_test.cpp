#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "archive/archive_maker.h"
#include "archive/archive_unpacker.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;
namespace fs = std::filesystem;

// Damaged archives of every kind: unpacking ends with a result, never a crash, and
// whatever it writes stays inside its folder (which is kept from round to round, as
// the same folder is when an archive is opened again).
void UnpackDamaged(ArchiverKind kind, const std::string& good, const fs::path& root) {
    std::mt19937 random(20240607);
    const fs::path archive = root / "damaged";
    const fs::path folder = root / "out";
    CYbArchiveUnpacker unpacker(kind, {1 << 20, 64});
    for (int round = 0; round < 60; ++round) {
        std::string bytes = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t at = random() % bytes.size();
            bytes[at] = static_cast<char>(random() % 3 == 0 ? bytes[at] ^ 0x80 : random());
        }
        if (round % 10 == 9) bytes.resize(random() % bytes.size());
        yt::WriteFile(archive, bytes);
        unpacker.Check(archive, round % 2 == 0);
        UnpackReport report;
        const int result = unpacker.Unpack(archive, folder, {}, report);
        EXPECT_TRUE(result == ARCHIVER_OK || result >= ARCHIVER_ERROR_COMMAND_LINE) << round;
        EXPECT_LE(report.bytes, uint64_t(1) << 20);
        for (const auto& entry : fs::directory_iterator(root))
            EXPECT_TRUE(entry.path() == archive || entry.path() == folder) << entry.path();
    }
}

TEST(ArchiveDamage, DamagedArchivesFailCleanly) {
    yt::TempDir temp;
    const std::vector<yt::ArchiveItem> items = {
        {"sub/a.txt", std::string(300, 'a')}, {"b.txt", "bbbb"}, {"c/d/e.txt", "e"}};
    const fs::path zip = temp.path() / "good.zip";
    const fs::path sevenZip = temp.path() / "good.7z";
    ASSERT_TRUE(yt::WriteZip(zip, items));
    ASSERT_TRUE(yt::Write7z(sevenZip, items));
    const std::string zipBytes = yt::ReadFile(zip);
    const std::string sevenZipBytes = yt::ReadFile(sevenZip);
    fs::remove(zip);
    fs::remove(sevenZip);
    UnpackDamaged(ArchiverKind::Zip, zipBytes, temp.path());
    UnpackDamaged(ArchiverKind::SevenZip, sevenZipBytes, temp.path());
    const std::vector<yt::ArchiveItem> lhaItems = {{"sub\\a.txt", std::string(300, 'a')},
                                                   {"b.txt", "bbbb"}};
    UnpackDamaged(ArchiverKind::Lha, yt::MakeLha(lhaItems, 0), temp.path());
    UnpackDamaged(ArchiverKind::Lha, yt::MakeLha(lhaItems, 2), temp.path());
}

}  // namespace
}  // namespace Yomibon

#include "archive/archive_base.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_maker.h"
#include "archive/archive_un_7zip.h"
#include "archive/archive_un_lha.h"
#include "archive/archive_un_zip.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

namespace fs = std::filesystem;

// An extractor whose fields a test may bend, to reach each step of the extraction.
class BentUnZip : public CYbArchiveUnZip {
  public:
    using CYbArchiveBase::checkArchiveName_;
    using CYbArchiveBase::command_;
    using CYbArchiveBase::commandFormat_;
    using CYbArchiveBase::commandName_;
    using CYbArchiveBase::entries_;
    using CYbArchiveBase::getRunning_;
    using CYbArchiveBase::getRunningName_;
    using CYbArchiveBase::getVersionName_;
    using CYbArchiveBase::libName_;
    using CYbArchiveBase::module_;
};

class BentUnLha : public CYbArchiveUnLha {
  public:
    using CYbArchiveBase::libName_;
};

std::u16string U16(const fs::path& path) {
    return FromFsPath(path);
}

bool LoadedFromProgramFolder(const char* name) {
    const std::string path = (ProgramFolder() / name).string();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

TEST(ArchiveBase, KnowsArchivesByExtension) {
    EXPECT_TRUE(IsArchivePath(u"/a/b.zip"));
    EXPECT_TRUE(IsArchivePath(u"/a/b.ZIP"));
    EXPECT_TRUE(IsArchivePath(u"b.Lzh"));
    EXPECT_TRUE(IsArchivePath(u"/a/走れ.7z"));
    EXPECT_TRUE(IsArchivePath(u"/a/b.tar.7Z"));
    EXPECT_TRUE(IsArchivePath(u"/a/.zip"));  // only a dot at the very start counts as none
    EXPECT_FALSE(IsArchivePath(u".zip"));
    EXPECT_FALSE(IsArchivePath(u"/a/b.tar"));
    EXPECT_FALSE(IsArchivePath(u"/a/b.zipx"));
    EXPECT_FALSE(IsArchivePath(u"/a.zip/b"));
    EXPECT_FALSE(IsArchivePath(u"C:\\a.zip\\b"));
    EXPECT_FALSE(IsArchivePath(u"/a/zip"));
    EXPECT_FALSE(IsArchivePath(u""));
}

TEST(ArchiveBase, ChoosesTheExtractorByExtension) {
    yt::TempDir temp;
    const fs::path upper = temp.path() / "upper.ZIP";
    const fs::path lower = temp.path() / "lower.zip";
    ASSERT_TRUE(yt::WriteZip(upper, {{"u.txt", "upper"}}));
    ASSERT_TRUE(yt::WriteZip(lower, {{"l.txt", "lower"}}));
    std::u16string dll;
    EXPECT_EQ(ExtractArchive(U16(upper), dll, U16(temp.path() / "out/")), ARCHIVE_RESULT_OK);
    EXPECT_EQ(ExtractArchive(U16(lower), dll, U16(temp.path() / "out/")), ARCHIVE_RESULT_OK);
    EXPECT_EQ(yt::ReadFile(temp.path() / "out" / "u.txt"), "upper");
    EXPECT_EQ(yt::ReadFile(temp.path() / "out" / "l.txt"), "lower");
    EXPECT_TRUE(dll.empty());  // the name is only given on failure

    // On failure the library's name comes back; which one shows the extractor chosen.
    EXPECT_EQ(ExtractArchive(U16(temp.path() / "gone.ZIP"), dll, u"/x/"), ARCHIVE_RESULT_MISSING);
    EXPECT_EQ(dll, u"unzip32.so");
    EXPECT_EQ(ExtractArchive(U16(temp.path() / "gone.LzH"), dll, u"/x/"), ARCHIVE_RESULT_MISSING);
    EXPECT_EQ(dll, u"unlha32.so");
    EXPECT_EQ(ExtractArchive(U16(temp.path() / "gone.7z"), dll, u"/x/"), ARCHIVE_RESULT_MISSING);
    EXPECT_EQ(dll, u"7-zip32.so");

    // Any other extension is unsupported before any extractor or library exists.
    yt::WriteFile(temp.path() / "a.tar", "tar");
    dll.clear();
    EXPECT_EQ(ExtractArchive(U16(temp.path() / "a.tar"), dll, u"/x/"), ARCHIVE_RESULT_UNSUPPORTED);
    EXPECT_TRUE(dll.empty());
    EXPECT_EQ(ExtractArchive(u"noext", dll, u"/x/"), ARCHIVE_RESULT_UNSUPPORTED);
    EXPECT_FALSE(fs::exists("/x"));
}

TEST(ArchiveBase, TestsForTheFileBeforeLoadingTheLibrary) {
    yt::TempDir temp;
    BentUnLha lha;
    lha.libName_ = u"no-such-archiver.so";
    EXPECT_EQ(lha.Extract(U16(temp.path() / "missing.lzh"), U16(temp.path() / "o/")),
              ARCHIVE_RESULT_MISSING);
    yt::WriteFile(temp.path() / "there.lzh", yt::MakeLha({{"a.txt", "a"}}));
    EXPECT_EQ(lha.Extract(U16(temp.path() / "there.lzh"), U16(temp.path() / "o/")),
              ARCHIVE_RESULT_NO_LIBRARY);
}

TEST(ArchiveBase, LoadsALibraryFoundOnlyInTheProgramFolder) {
    void* bare = dlopen("unzip32.so", RTLD_NOW);
    if (bare) {
        dlclose(bare);
        GTEST_SKIP() << "unzip32.so is installed on the library path";
    }
    ASSERT_TRUE(fs::exists(ProgramFolder() / "unzip32.so"));
    yt::TempDir temp;
    const fs::path zip = temp.path() / "a.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{"a.txt", "a"}}));
    {
        BentUnZip unzip;
        EXPECT_EQ(unzip.Extract(U16(zip), U16(temp.path() / "o/")), ARCHIVE_RESULT_OK);
        EXPECT_TRUE(LoadedFromProgramFolder("unzip32.so"));
        // Every entry was resolved once and is remembered for the next call.
        for (int entry = 1; entry <= 4; ++entry)
            EXPECT_NE(unzip.entries_[entry], nullptr);
        void* command = unzip.entries_[CYbArchiveBase::ENTRY_COMMAND];
        EXPECT_EQ(reinterpret_cast<void*>(unzip.command_), command);
        EXPECT_EQ(unzip.Extract(U16(zip), U16(temp.path() / "o/")), ARCHIVE_RESULT_OK);
        EXPECT_EQ(unzip.entries_[CYbArchiveBase::ENTRY_COMMAND], command);
    }
    EXPECT_EQ(yt::ReadFile(temp.path() / "o" / "a.txt"), "a");
}

TEST(ArchiveBase, ReportsEachStepsFailure) {
    yt::TempDir temp;
    const fs::path zip = temp.path() / "a.zip";
    const std::u16string out = U16(temp.path() / "o/");
    ASSERT_TRUE(yt::WriteZip(zip, {{"a.txt", "a"}}));
    {
        BentUnZip busy;  // the version (non-zero) read as the busy answer
        busy.getRunningName_ = "UnZipGetVersion";
        EXPECT_EQ(busy.Extract(U16(zip), out), ARCHIVE_RESULT_BUSY);
    }
    for (int step = 0; step < 4; ++step) {
        BentUnZip missing;
        const char** names[] = {&missing.getVersionName_, &missing.getRunningName_,
                                &missing.checkArchiveName_, &missing.commandName_};
        *names[step] = "NoSuchEntry";
        EXPECT_EQ(missing.Extract(U16(zip), out), ARCHIVE_RESULT_NO_LIBRARY) << step;
    }
    {
        BentUnZip unconfigured;
        unconfigured.commandFormat_.clear();
        EXPECT_EQ(unconfigured.Extract(U16(zip), out), ARCHIVE_RESULT_COMMAND_FAILED);
        BentUnZip noCommand;
        noCommand.commandName_ = nullptr;
        EXPECT_EQ(noCommand.Extract(U16(zip), out), ARCHIVE_RESULT_COMMAND_FAILED);
        BentUnZip wrongLine;
        wrongLine.commandFormat_ = u"-d \"%1!s!\" \"%2!s!\" *";
        EXPECT_EQ(wrongLine.Extract(U16(zip), out), ARCHIVE_RESULT_COMMAND_FAILED);
        BentUnZip noTest;  // without a test the command entry meets the bad file itself
        noTest.checkArchiveName_ = nullptr;
        yt::WriteFile(temp.path() / "text.zip", "plain text");
        EXPECT_EQ(noTest.Extract(U16(temp.path() / "text.zip"), out),
                  ARCHIVE_RESULT_COMMAND_FAILED);
    }
    yt::WriteFile(temp.path() / "text.zip", "plain text");
    CYbArchiveUnZip unzip;
    EXPECT_EQ(unzip.Extract(U16(temp.path() / "text.zip"), out), ARCHIVE_RESULT_UNSUPPORTED);
    // A zip is no 7z archive: the 7z library's test rejects it.
    fs::copy_file(zip, temp.path() / "zip.7z");
    CYbArchiveUn7Zip sevenZip;
    EXPECT_EQ(sevenZip.Extract(U16(temp.path() / "zip.7z"), out), ARCHIVE_RESULT_UNSUPPORTED);
}

TEST(ArchiveBase, APathWithAQuoteCannotRedirectTheCommand) {
    yt::TempDir temp;
    // Quoted into the command line this name would read as the archive "a.zip", the
    // destination "yomibon-redirected" (relative) and a few patterns.
    const fs::path plain = temp.path() / "a.zip";
    const fs::path tricky = temp.path() / "a.zip\" \"yomibon-redirected\" \"b.zip";
    ASSERT_TRUE(yt::WriteZip(plain, {{"a.txt", "a"}}));
    fs::copy_file(plain, tricky);
    CYbArchiveUnZip unzip;
    EXPECT_EQ(unzip.Extract(U16(tricky), U16(temp.path() / "o/")), ARCHIVE_RESULT_COMMAND_FAILED);
    EXPECT_FALSE(fs::exists(temp.path() / "o"));
    EXPECT_FALSE(fs::exists("yomibon-redirected"));
}

TEST(ArchiveBase, ExtractsEachKindThroughItsLibrary) {
    yt::TempDir temp;
    const std::string sjis = yt::kMelosShiftJis;
    const std::string utf8 = yt::kMelosUtf8;
    const fs::path lzh = temp.path() / (utf8 + ".lzh");
    yt::WriteFile(lzh, yt::MakeLha({{"sub\\" + sjis + ".txt", "lha"}}));
    const fs::path sevenZip = temp.path() / "a b.7z";
    ASSERT_TRUE(yt::Write7z(sevenZip, {{"s/" + utf8 + ".txt", "seven"}}));
    const fs::path zip = temp.path() / "z.zip";
    ASSERT_TRUE(yt::WriteZip(zip, {{sjis + ".txt", "zip"}}));
    std::u16string dll;
    const fs::path out = temp.path() / "出力 folder";
    ASSERT_EQ(ExtractArchive(U16(lzh), dll, U16(out) + u"/"), ARCHIVE_RESULT_OK);
    ASSERT_EQ(ExtractArchive(U16(sevenZip), dll, U16(out) + u"/"), ARCHIVE_RESULT_OK);
    ASSERT_EQ(ExtractArchive(U16(zip), dll, U16(out) + u"/"), ARCHIVE_RESULT_OK);
    EXPECT_EQ(yt::ReadFile(out / "sub" / (utf8 + ".txt")), "lha");
    EXPECT_EQ(yt::ReadFile(out / "s" / (utf8 + ".txt")), "seven");
    EXPECT_EQ(yt::ReadFile(out / (utf8 + ".txt")), "zip");
}

}  // namespace
}  // namespace Yomibon

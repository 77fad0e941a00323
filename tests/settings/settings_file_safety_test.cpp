// The settings and key files are never lost to a save: files in every encoding read as
// written, a file not read whole and losslessly is not saved over, a failed write keeps the
// old file, and nothing waits on a FIFO or reads without bound.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/codepage.h"
#include "platform/file_text.h"
#include "platform/limits.h"
#include "platform/utf16.h"
#include "settings/file_io.h"
#include "settings/key_bind.h"
#include "settings/profile.h"
#include "settings/txt_param.h"
#include "support/file_size_limit.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace fs = std::filesystem;
using Test::ReadFile;
using Test::TempDir;
using Test::WriteFile;

std::string ShiftJis(const std::u16string& text) {
    std::string out;
    EXPECT_TRUE(ConvertFromUtf16(CP_SHIFT_JIS, text, out));
    return out;
}

TEST(SettingsFile, ShiftJisValuesSurviveLoadAndSave) {
    TempDir dir;
    fs::path file = dir.path() / "Yomibon.ini";
    WriteFile(file,
              ShiftJis(u"[text]\r\nLastFile=/本/羅生門.txt\r\n[font]\r\nTextFont=@ＭＳ 明朝\r\n"
                       u"[Yomibon]\r\nメモ=残す\r\n"));
    CYbTxtParam param;
    ASSERT_TRUE(param.Load(file));
    EXPECT_EQ(param.GetText(u"LastFile"), u"/本/羅生門.txt");
    EXPECT_EQ(param.GetFont(u"TextFont").face, u"@ＭＳ 明朝");
    param.SetBoolean(u"SearchLoop", false);
    ASSERT_TRUE(param.Save(file));
    // Saved as UTF-8, every value (and the section the reader does not know) as it was.
    std::string saved = ReadFile(file);
    EXPECT_EQ(saved.find("\xEF\xBF\xBD"), std::string::npos);  // no U+FFFD
    EXPECT_NE(saved.find(ToUtf8(u"LastFile=/本/羅生門.txt")), std::string::npos);
    EXPECT_NE(saved.find(ToUtf8(u"メモ=残す")), std::string::npos);
    CYbTxtParam again;
    ASSERT_TRUE(again.Load(file));
    EXPECT_EQ(again.GetFont(u"TextFont").face, u"@ＭＳ 明朝");
}

TEST(SettingsFile, AFileNotReadWholeAndLosslesslyIsNotSavedOver) {
    TempDir dir;
    // Bytes that are neither UTF-8 nor Shift_JIS.
    fs::path garbled = dir.path() / "garbled.ini";
    const std::string bad = "[text]\nLastFile=\x85\x7F\xFD\n";
    WriteFile(garbled, bad);
    CYbTxtParam param;
    EXPECT_TRUE(param.Load(garbled));
    EXPECT_FALSE(param.Save(garbled));
    EXPECT_FALSE(ProfileWriteString(u"text", u"k", u"v", garbled));
    EXPECT_EQ(ReadFile(garbled), bad);

    // A file past the read cap (sparse, so that the test stays small on disk).
    fs::path big = dir.path() / "big.ini";
    WriteFile(big, "[Yomibon]\nUseApplicationData=1\n");
    fs::resize_file(big, Limits::kMaxTableFileBytes + 10);
    EXPECT_FALSE(param.Save(big));
    EXPECT_EQ(fs::file_size(big), Limits::kMaxTableFileBytes + 10);
}

TEST(FileRead, SaysWhetherTheFileEndedWithinTheLimit) {
    TempDir dir;
    fs::path file = dir.path() / "f";
    WriteFile(file, "12345");
    std::string bytes;
    bool whole = false;
    ASSERT_TRUE(ReadFileBytes(file, bytes, 5, &whole));
    EXPECT_TRUE(whole);
    EXPECT_EQ(bytes, "12345");
    ASSERT_TRUE(ReadFileBytes(file, bytes, 4, &whole));
    EXPECT_FALSE(whole);
    EXPECT_EQ(bytes, "1234");
    ASSERT_TRUE(ReadFileBytes(file, bytes, 0, &whole));
    EXPECT_FALSE(whole);
    EXPECT_EQ(bytes, "");
}

TEST(SettingsFile, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    fs::path file = dir.path() / "Yomibon.ini";
    WriteFile(file, "[text]\nLastFile=old\n");
    CYbTxtParam param;
    ASSERT_TRUE(param.Load(file));
    param.SetText(u"LastFile", u"new");
    {
        Yomibon::Test::FileSizeLimit full(8);
        EXPECT_FALSE(param.Save(file));
    }
    EXPECT_EQ(ReadFile(file), "[text]\nLastFile=old\n");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(param.Save(file));
}

TEST(KeyFile, ReadInEveryFormWithASizeLimit) {
    TempDir dir;
    fs::path file = dir.path() / "keybind.ini";
    KeyBindTable table;
    WriteFile(file, ShiftJis(u"C-4F=ReadFile\r\n22=NextPage\r\n"));
    ASSERT_TRUE(LoadKeyBindings(file, table));
    EXPECT_EQ(table.at({'O', false, true, false}), u"ReadFile");
    WriteFile(file,
              "\xEF\xBB\xBF"
              "21=PrevPage\n");
    ASSERT_TRUE(LoadKeyBindings(file, table));
    EXPECT_EQ(table.at({0x21, false, false, false}), u"PrevPage");

    // A key file larger than any key file is not read at all.
    std::string huge = "\xFF\xFE";
    while (huge.size() <= Limits::kMaxKeyFileBytes)
        AppendUtf16Le(huge, u"70=Help\r\n");
    WriteFile(file, huge);
    KeyBindTable none;
    EXPECT_FALSE(LoadKeyBindings(file, none));
    EXPECT_TRUE(none.empty());
}

TEST(KeyFile, SavedAtomicallyKeepingTheOldFileOnFailure) {
    TempDir dir;
    fs::path file = dir.path() / "keybind.ini";
    KeyBindTable table;
    DefaultKeyBindings(table);
    WriteFile(file, "70=Help\r\n");
    {
        Yomibon::Test::FileSizeLimit full(8);
        EXPECT_FALSE(SaveKeyBindings(file, table));
    }
    EXPECT_EQ(ReadFile(file), "70=Help\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    ASSERT_TRUE(SaveKeyBindings(file, table));
    KeyBindTable back;
    ASSERT_TRUE(LoadKeyBindings(file, back));
    EXPECT_EQ(back, table);
}

TEST(FileRead, AFifoIsRefusedWithoutWaiting) {
    TempDir dir;
    fs::path fifo = dir.path() / "keybind.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes;
    EXPECT_FALSE(ReadFileBytes(fifo, bytes, 100));
    KeyBindTable table;
    EXPECT_FALSE(LoadKeyBindings(fifo, table));
    CYbProfile profile;
    EXPECT_FALSE(profile.Load(fifo));
}

}  // namespace
}  // namespace Yomibon

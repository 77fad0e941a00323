#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "archive/archive_maker.h"
#include "archive/archiver_api.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;
namespace fs = std::filesystem;

// One archiver module opened from the program folder, its four entry points resolved.
class Module {
  public:
    Module(const char* file, const std::string& prefix, const char* command) {
        handle_ = dlopen((ProgramFolder() / file).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) return;
        version = reinterpret_cast<ArchiverGetVersionProc>(
            dlsym(handle_, (prefix + "GetVersion").c_str()));
        running = reinterpret_cast<ArchiverGetRunningProc>(
            dlsym(handle_, (prefix + "GetRunning").c_str()));
        check = reinterpret_cast<ArchiverCheckArchiveProc>(
            dlsym(handle_, (prefix + "CheckArchive").c_str()));
        run = reinterpret_cast<ArchiverCommandProc>(dlsym(handle_, command));
    }
    ~Module() {
        if (handle_) dlclose(handle_);
    }
    bool complete() const { return handle_ && version && running && check && run; }
    int Run(const std::string& line, std::string* output = nullptr) {
        char buffer[kArchiverOutputSize];
        std::fill(std::begin(buffer), std::end(buffer), 'x');
        const int result = run(nullptr, line.c_str(), buffer, sizeof(buffer));
        if (output) *output = buffer;
        return result;
    }

    ArchiverGetVersionProc version = nullptr;
    ArchiverGetRunningProc running = nullptr;
    ArchiverCheckArchiveProc check = nullptr;
    ArchiverCommandProc run = nullptr;

  private:
    void* handle_ = nullptr;
};

TEST(ArchiverModule, EachModuleAnswersItsOwnCommandLine) {
    yt::TempDir temp;
    const std::string zip = (temp.path() / "a b.zip").string();
    const std::string lzh = (temp.path() / "a.lzh").string();
    const std::string sevenZip = (temp.path() / "a.7z").string();
    ASSERT_TRUE(yt::WriteZip(zip, {{"z.txt", "zip"}}));
    yt::WriteFile(lzh, yt::MakeLha({{"l.txt", "lha"}}));
    ASSERT_TRUE(yt::Write7z(sevenZip, {{"s.txt", "seven"}}));
    const std::string out = (temp.path() / "出力").string() + "/";

    Module unzip("unzip32.so", "UnZip", "UnZip");
    Module unlha("unlha32.so", "Unlha", "Unlha");
    Module seven("7-zip32.so", "SevenZip", "SevenZip");
    ASSERT_TRUE(unzip.complete() && unlha.complete() && seven.complete());
    EXPECT_EQ(unzip.version(), 100);
    EXPECT_EQ(unzip.running(), 0);

    EXPECT_NE(unzip.check(zip.c_str(), 0), 0);
    EXPECT_EQ(unzip.check(lzh.c_str(), 0), 0);
    EXPECT_NE(unlha.check(lzh.c_str(), 0), 0);
    EXPECT_NE(unlha.check(lzh.c_str(), 1), 0);
    EXPECT_EQ(unlha.check(sevenZip.c_str(), 0), 0);
    EXPECT_NE(seven.check(sevenZip.c_str(), 0), 0);
    EXPECT_EQ(seven.check(nullptr, 0), 0);

    std::string output;
    EXPECT_EQ(unzip.Run("-x -s \"" + zip + "\" \"" + out + "\" *", &output), ARCHIVER_OK);
    EXPECT_EQ(output.substr(0, 2), "ok");
    EXPECT_EQ(unlha.Run("x \"" + lzh + "\" \"" + out + "\" *"), ARCHIVER_OK);
    EXPECT_EQ(seven.Run("x \"" + sevenZip + "\" -o\"" + out + "\""), ARCHIVER_OK);
    EXPECT_EQ(yt::ReadFile(fs::path(out) / "z.txt"), "zip");
    EXPECT_EQ(yt::ReadFile(fs::path(out) / "l.txt"), "lha");
    EXPECT_EQ(yt::ReadFile(fs::path(out) / "s.txt"), "seven");
    EXPECT_EQ(unzip.running(), 0);  // busy only while a command runs

    // Another library's line, or another kind of archive, fails.
    EXPECT_EQ(unzip.Run("x \"" + zip + "\" \"" + out + "\" *", &output),
              ARCHIVER_ERROR_COMMAND_LINE);
    EXPECT_FALSE(output.empty());
    EXPECT_EQ(seven.Run("x \"" + zip + "\" -o\"" + out + "\""), ARCHIVER_ERROR_OPEN);
    EXPECT_EQ(unlha.Run("x \"" + temp.path().string() + "/gone.lzh\" \"" + out + "\" *"),
              ARCHIVER_ERROR_OPEN);
    EXPECT_EQ(unzip.run(nullptr, nullptr, nullptr, 0), ARCHIVER_ERROR_COMMAND_LINE);
}

TEST(ArchiverModule, ReportsRefusedEntriesAndPatternsWithinTheOutputSize) {
    yt::TempDir temp;
    const std::string zip = (temp.path() / "slip.zip").string();
    ASSERT_TRUE(
        yt::WriteZip(zip, {{"../evil.txt", "evil"}, {"good.txt", "good"}, {"other.html", "html"}}));
    const std::string out = (temp.path() / "o").string() + "/";
    Module unzip("unzip32.so", "UnZip", "UnZip");
    ASSERT_TRUE(unzip.complete());
    std::string output;
    EXPECT_EQ(unzip.Run("-x \"" + zip + "\" \"" + out + "\" *.txt", &output), ARCHIVER_OK);
    EXPECT_NE(output.find("refused: ../evil.txt"), std::string::npos) << output;
    EXPECT_TRUE(fs::exists(fs::path(out) / "good.txt"));
    EXPECT_FALSE(fs::exists(fs::path(out) / "other.html"));  // not matched by the pattern
    EXPECT_FALSE(fs::exists(temp.path() / "evil.txt"));

    char small[6];
    std::fill(std::begin(small), std::end(small), 'x');
    const std::string line = "-x \"" + zip + "\" \"" + out + "\" *";
    EXPECT_EQ(unzip.run(nullptr, line.c_str(), small, sizeof(small)), ARCHIVER_OK);
    EXPECT_EQ(std::string(small), "ok\n2 ");  // cut to the buffer, zero-terminated
}

}  // namespace
}  // namespace Yomibon

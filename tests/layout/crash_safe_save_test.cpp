// Saves killed at any moment: a writer process saving the settings file, a bookmark file
// and a layout file over and over is killed (SIGKILL) at many points; what is left on disk
// is always one whole version of the file, never a mixture or a cut-off one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "layout/bunko_txt_layout.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/bookmark_file.h"
#include "settings/profile.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace fs = std::filesystem;
using Saver = std::function<bool(const fs::path&, int version)>;

bool SaveSettings(const fs::path& file, int version) {
    CYbProfile profile;
    for (int i = 0; i < 4000; ++i)
        profile.WriteString(
            u"Recent",
            u"File" + std::u16string(1, char16_t(u'0' + i % 10)) + FromUtf8(std::to_string(i)),
            version ? u"新しい値/本.txt" : u"古い値/本.txt");
    return profile.Save(file);
}

bool SaveBookmarks(const fs::path& file, int version) {
    SioriContent content;
    content.textPath = u"/texts/本.txt";
    content.last = {version, 0, 1, u"最後"};
    for (int i = 0; i < 4000; ++i)
        content.entries.push_back({i, version, i, version ? u"新しいしおり" : u"古いしおり"});
    return WriteSioriFile(FromFsPath(file), content);
}

bool SaveLayout(const fs::path& file, int version) {
    CYbBunkoTxtLayout layout;
    layout.SetLayoutName(std::u16string(200'000, version ? u'新' : u'古'));
    return layout.Save(FromFsPath(file).c_str());
}

void CheckKilledSaves(const Saver& save, const char* name) {
    Yomibon::Test::TempDir dir;
    const fs::path file = dir.path() / name;
    std::string versions[2];
    for (int v : {1, 0}) {
        ASSERT_TRUE(save(file, v));
        versions[v] = Yomibon::Test::ReadFile(file);
    }
    ASSERT_NE(versions[0], versions[1]);
    for (int round = 0; round < 30; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                save(file, i & 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200 + 397 * round));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string left = Yomibon::Test::ReadFile(file);
        ASSERT_TRUE(left == versions[0] || left == versions[1])
            << name << " round " << round << ": " << left.size() << " bytes";
    }
}

// The files in the folder, by name.
std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A process id that was used and is free now: a child that has ended and been reaped.
pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// The temporary files that killed saves leave beside the file are removed by its next save,
// except a live writer's and other files' ones.
void CheckStaleTemporariesRemoved(const Saver& save, const char* name) {
    Yomibon::Test::TempDir dir;
    const fs::path file = dir.path() / name;
    ASSERT_TRUE(save(file, 0));
    for (int round = 0; round < 10; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                save(file, i & 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300 + 1009 * round));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    const std::string base = std::string(name) + ".tmp-";
    const std::string dead = std::to_string(EndedProcess());
    const std::string live = std::to_string(getppid());
    Yomibon::Test::WriteFile(dir.path() / (base + dead + "-7"), "killed mid-save");
    Yomibon::Test::WriteFile(dir.path() / (base + live + "-0"), "being written");
    Yomibon::Test::WriteFile(dir.path() / (base + "notes"), "not ours");
    Yomibon::Test::WriteFile(dir.path() / ("other.txt.tmp-" + dead + "-0"), "another file's");
    ASSERT_TRUE(save(file, 1));
    std::vector<std::string> expected = {base + live + "-0", base + "notes", name,
                                         "other.txt.tmp-" + dead + "-0"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderNames(dir.path()), expected) << name;
}

TEST(CrashSafeSave, KilledWritersLeaveAWholeOldOrNewFile) {
    CheckKilledSaves(SaveSettings, "Yomibon.ini");
    CheckKilledSaves(SaveBookmarks, "book.txt.siori");
    CheckKilledSaves(SaveLayout, "mine.lay");
}

TEST(CrashSafeSave, NextSaveRemovesTheKilledSavesTemporaryFiles) {
    CheckStaleTemporariesRemoved(SaveSettings, "Yomibon.ini");
    CheckStaleTemporariesRemoved(SaveBookmarks, "book.txt.siori");
    CheckStaleTemporariesRemoved(SaveLayout, "mine.lay");
}

}  // namespace
}  // namespace Yomibon

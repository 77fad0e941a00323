#include "settings/data_folder.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

using Yomibon::ComputeDataFolder;
using Yomibon::DataFolderEnvironment;

namespace {

DataFolderEnvironment Env(const std::filesystem::path& root, bool writable = true) {
    DataFolderEnvironment env;
    env.xdgDataHome = (root / "data").string();
    env.xdgConfigHome = (root / "config").string();
    env.home = (root / "home").string();
    env.programWritable = writable;
    return env;
}

}  // namespace

TEST(DataFolder, ProgramFolderUnlessUseApplicationData) {
    Yomibon::Test::TempDir dir;
    auto program = dir.path() / "program";
    std::filesystem::create_directories(program);
    EXPECT_EQ(ComputeDataFolder(program, Env(dir.path())), program);

    Yomibon::Test::WriteFile(program / "Yomibon.ini", "[Yomibon]\nUseApplicationData=0\n");
    EXPECT_EQ(ComputeDataFolder(program, Env(dir.path())), program);
    // An explicit 0 keeps the program folder even when it is not writable.
    EXPECT_EQ(ComputeDataFolder(program, Env(dir.path(), false)), program);

    Yomibon::Test::WriteFile(program / "Yomibon.ini",
                             "[text]\nx=1\n[Yomibon]\nUseApplicationData = 1\n");
    auto user = ComputeDataFolder(program, Env(dir.path()));
    EXPECT_EQ(user, dir.path() / "data" / "Yomibon");
    EXPECT_TRUE(std::filesystem::is_directory(user));  // created with its parents
}

TEST(DataFolder, FallsBackThroughTheUserFolders) {
    Yomibon::Test::TempDir dir;
    auto program = dir.path() / "program";
    Yomibon::Test::WriteFile(program / "Yomibon.ini", "[Yomibon]\nUseApplicationData=1\n");
    auto env = Env(dir.path());
    env.xdgDataHome.clear();
    EXPECT_EQ(ComputeDataFolder(program, env), dir.path() / "home" / ".local/share" / "Yomibon");
    env.home.clear();
    EXPECT_EQ(ComputeDataFolder(program, env), dir.path() / "config" / "Yomibon");
    env.xdgConfigHome = "relative/path";  // XDG folders must be absolute
    EXPECT_EQ(ComputeDataFolder(program, env), program);
    // A user folder that cannot be created falls back too.
    Yomibon::Test::WriteFile(dir.path() / "file", "x");
    env.xdgDataHome = (dir.path() / "file").string();
    EXPECT_EQ(ComputeDataFolder(program, env), program);
}

TEST(DataFolder, ReadOnlyProgramFolderUsesThePerUserFolder) {
    Yomibon::Test::TempDir dir;
    auto program = dir.path() / "program";
    std::filesystem::create_directories(program);
    EXPECT_EQ(ComputeDataFolder(program, Env(dir.path(), false)), dir.path() / "data" / "Yomibon");
    Yomibon::Test::WriteFile(program / "Yomibon.ini", "[text]\nLastFile=x\n");
    EXPECT_EQ(ComputeDataFolder(program, Env(dir.path(), false)), dir.path() / "data" / "Yomibon");
}

TEST(DataFolder, RunningProgramHasOneDataFolder) {
    const auto& folder = Yomibon::DataFolder();
    EXPECT_FALSE(folder.empty());
    EXPECT_EQ(&folder, &Yomibon::DataFolder());
    EXPECT_EQ(Yomibon::SettingsFilePath(), folder / "Yomibon.ini");
}

TEST(DataFolder, PerUserFolderStartsWithTheShippedLayoutsAndKeepsTheUsersOwn) {
    Yomibon::Test::TempDir dir;
    auto program = dir.path() / "program";
    Yomibon::Test::WriteFile(program / "Yomibon.ini", "[Yomibon]\nUseApplicationData=1\n");
    Yomibon::Test::WriteFile(program / "Layout" / "Bunko.lay", "LayoutType,BUNKO 1.0\n");
    Yomibon::Test::WriteFile(program / "Layout" / "ShinshoTate2.lay", "LayoutType,SHINSHO\n");
    auto user = ComputeDataFolder(program, Env(dir.path()));
    ASSERT_EQ(user, dir.path() / "data" / "Yomibon");
    EXPECT_EQ(Yomibon::Test::ReadFile(user / "Layout" / "Bunko.lay"), "LayoutType,BUNKO 1.0\n");
    EXPECT_TRUE(std::filesystem::exists(user / "Layout" / "ShinshoTate2.lay"));

    // An edited layout, or one the user deleted, stays as the user left it.
    Yomibon::Test::WriteFile(user / "Layout" / "Bunko.lay", "edited");
    std::filesystem::remove(user / "Layout" / "ShinshoTate2.lay");
    ComputeDataFolder(program, Env(dir.path()));
    EXPECT_EQ(Yomibon::Test::ReadFile(user / "Layout" / "Bunko.lay"), "edited");
    EXPECT_FALSE(std::filesystem::exists(user / "Layout" / "ShinshoTate2.lay"));
    // The program folder is left as it was.
    EXPECT_EQ(Yomibon::Test::ReadFile(program / "Layout" / "Bunko.lay"), "LayoutType,BUNKO 1.0\n");
}

#include "layout/txt_layout_list.h"

#include <gtest/gtest.h>

#include "layout/bunko_txt_layout.h"
#include "layout/custom_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"

using namespace Yomibon;

TEST(TxtLayoutList, EmptyFolderOffersBothBuiltInEntries) {
    Yomibon::Test::TempDir dir;
    auto entries = EnumerateLayouts(dir.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (LayoutEntry{u"BUNKO 1.0", u"文庫本", u"Layout/Bunko.lay"}));
    EXPECT_EQ(entries[1],
              (LayoutEntry{u"SHINSHOTATE2 1.0", u"新書縦2段", u"Layout/ShinshoTate2.lay"}));
}

TEST(TxtLayoutList, FilesAreListedAndReplaceTheFallbacks) {
    Yomibon::Test::TempDir dir;
    auto layoutDir = dir.path() / "Layout";
    CYbShinShoTate2TxtLayout shinsho;
    shinsho.SetLayoutName(u"two tiers");
    ASSERT_TRUE(shinsho.Save(FromFsPath(layoutDir / "b_two.lay").c_str()));
    Yomibon::Test::WriteFile(layoutDir / "a_custom.LAY",
                             "LayoutType,Mine\r\nLayoutName,mine\r\nTextLayout,1,1,9,9,3,3\r\n");
    Yomibon::Test::WriteFile(layoutDir / "c_empty.lay",
                             "LayoutType,Mine\r\n");  // no columns: skipped
    Yomibon::Test::WriteFile(layoutDir / "d_notes.txt", "LayoutType,BUNKO 1.0\r\n");
    std::filesystem::create_directories(layoutDir / "folder.lay");

    auto entries = EnumerateLayouts(dir.path());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (LayoutEntry{u"Mine", u"mine", u"Layout/a_custom.LAY"}));
    EXPECT_EQ(entries[1], (LayoutEntry{u"SHINSHOTATE2 1.0", u"two tiers", u"Layout/b_two.lay"}));
    EXPECT_EQ(entries[2].name, u"文庫本");

    // A file whose type is empty counts as a bunko entry.
    Yomibon::Test::WriteFile(layoutDir / "e_untyped.lay",
                             "LayoutType,\r\nLayoutName,plain\r\nTextLayout,1,1,9,9,3,3\r\n");
    entries = EnumerateLayouts(dir.path());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].file, u"Layout/e_untyped.lay");
}

TEST(TxtLayoutList, UnnamedFilesOfBuiltInKindsShowTheKindsNames) {
    // The shipped layout files leave LayoutName empty: the list shows 文庫本 and 新書縦2段,
    // never the file names.
    Yomibon::Test::TempDir dir;
    auto layoutDir = dir.path() / "Layout";
    ASSERT_TRUE(CYbBunkoTxtLayout().Save(FromFsPath(layoutDir / "Bunko.lay").c_str()));
    ASSERT_TRUE(
        CYbShinShoTate2TxtLayout().Save(FromFsPath(layoutDir / "ShinshoTate2.lay").c_str()));
    auto entries = EnumerateLayouts(dir.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (LayoutEntry{u"BUNKO 1.0", u"文庫本", u"Layout/Bunko.lay"}));
    EXPECT_EQ(entries[1],
              (LayoutEntry{u"SHINSHOTATE2 1.0", u"新書縦2段", u"Layout/ShinshoTate2.lay"}));
    // The shipped files themselves read the same way.
    const auto shipped = std::filesystem::path(YB_SOURCE_DIR) / "data";
    if (std::filesystem::exists(shipped / "Layout" / "Bunko.lay")) {
        entries = EnumerateLayouts(shipped);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].name, u"文庫本");
        EXPECT_EQ(entries[1].name, u"新書縦2段");
    }
}

TEST(TxtLayoutList, CreateLayoutForEntry) {
    Yomibon::Test::TempDir dir;
    auto file = FromFsPath(dir.path() / "mine.lay");
    Yomibon::Test::WriteFile(dir.path() / "mine.lay",
                             "LayoutType,Mine\r\nTextLayout,1,1,9,9,3,3\r\n");
    auto layout = CreateLayoutForEntry({u"Mine", u"mine", file});
    EXPECT_NE(dynamic_cast<CYbCustomTxtLayout*>(layout.get()), nullptr);
    EXPECT_EQ(layout->GetLineCount(), 3);
    EXPECT_EQ(layout->GetFileName(), file);

    auto absent = FromFsPath(dir.path() / "absent.lay");
    layout = CreateLayoutForEntry({u"SHINSHOTATE2 1.0 x", u"", absent});
    EXPECT_NE(dynamic_cast<CYbShinShoTate2TxtLayout*>(layout.get()), nullptr);
    EXPECT_EQ(layout->GetLineCount(), 68);
    layout = CreateLayoutForEntry({u"BUNKO 1.0", u"", u""});
    EXPECT_NE(dynamic_cast<CYbBunkoTxtLayout*>(layout.get()), nullptr);
    layout = CreateLayoutForEntry({u"Unknown", u"", absent});
    EXPECT_NE(dynamic_cast<CYbBunkoTxtLayout*>(layout.get()), nullptr);
}

TEST(TxtLayoutList, ShippedLayoutFilesAreWhatSaveWrites) {
    Yomibon::Test::TempDir dir;
    auto shipped = std::filesystem::path(YB_SOURCE_DIR) / "data" / "Layout";
    CYbBunkoTxtLayout bunko;
    ASSERT_TRUE(bunko.Save(FromFsPath(dir.path() / "Bunko.lay").c_str()));
    EXPECT_EQ(Yomibon::Test::ReadFile(shipped / "Bunko.lay"),
              Yomibon::Test::ReadFile(dir.path() / "Bunko.lay"));
    CYbShinShoTate2TxtLayout shinsho;
    ASSERT_TRUE(shinsho.Save(FromFsPath(dir.path() / "ShinshoTate2.lay").c_str()));
    EXPECT_EQ(Yomibon::Test::ReadFile(shipped / "ShinshoTate2.lay"),
              Yomibon::Test::ReadFile(dir.path() / "ShinshoTate2.lay"));
}

TEST(TxtLayoutList, ChoosingAndLoadingTheSettingsLayout) {
    Yomibon::Test::TempDir dir;
    auto file = FromFsPath(dir.path() / "Layout" / "chosen.lay");
    CYbTxtParam param;
    std::vector<LayoutEntry> entries{{u"BUNKO 1.0", u"文庫本", u"Layout/Bunko.lay"},
                                     {u"SHINSHOTATE2 1.0", u"新書縦2段", file}};
    EXPECT_EQ(FindLayoutEntry(entries, param), 0);
    // The entry's file does not exist yet: a built-in shinsho layout is written there.
    ASSERT_TRUE(ConfirmLayoutChoice(param, entries[1]));
    EXPECT_EQ(param.GetText(u"LayoutFile"), file);
    EXPECT_EQ(param.GetText(u"LayoutType"), u"SHINSHOTATE2 1.0");
    EXPECT_EQ(FindLayoutEntry(entries, param), 1);

    CYbCustomTxtLayout layout;
    ASSERT_TRUE(LoadLayoutFromSettings(layout, param));
    EXPECT_EQ(layout.GetLineCount(), 68);
    EXPECT_EQ(layout.GetTypeName(), u"SHINSHOTATE2 1.0");
    param.SetText(u"LayoutFile", u"");
    ASSERT_TRUE(LoadLayoutFromSettings(layout, param));
    EXPECT_EQ(layout.GetLineCount(), 34);
    param.SetText(u"LayoutFile", FromFsPath(dir.path() / "absent.lay"));
    EXPECT_FALSE(LoadLayoutFromSettings(layout, param));
    EXPECT_EQ(layout.GetLineCount(), 34);  // the previous layout stays
    EXPECT_EQ(FindLayoutEntry(entries, param), -1);
}

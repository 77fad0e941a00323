#include "layout/txt_layout.h"

#include <gtest/gtest.h>

#include "layout/bunko_txt_layout.h"
#include "layout/custom_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/paths.h"
#include "support/test_support.h"

using namespace Yomibon;

namespace {

std::u16string Path(const std::filesystem::path& p) {
    return FromFsPath(p);
}

// Writes a layout file from rows of text (UTF-8, as a person might write one).
std::u16string WriteLay(const std::filesystem::path& file, const std::string& text) {
    Yomibon::Test::WriteFile(file, text);
    return Path(file);
}

const char kThreeBoxes[] =
    "LayoutType,Custom 1.0\r\n"
    "LayoutName,three\r\n"
    "PaperSize,20000,15000\r\n"
    "PageCharCount,99,33\r\n"
    "TextLayout,100,100,900,900,10,33\r\n"
    "TextLayout,1000,100,1900,900,10,33\r\n"
    "TextLayout,2000,100,2900,900,14,33\r\n";

}  // namespace

TEST(TxtLayout, BuiltInLayoutsAsTabled) {
    CYbBunkoTxtLayout bunko;
    EXPECT_EQ(bunko.GetPaperSize(), (std::pair<int32_t, int32_t>{21000, 14800}));
    EXPECT_EQ(bunko.GetLineCount(), 34);
    EXPECT_EQ(bunko.GetCharCount(), 40);
    EXPECT_EQ(bunko.GetSize(TextSize), (SizePair{310, 20}));
    EXPECT_EQ(bunko.GetSize(RubySize), (SizePair{160, 20}));
    EXPECT_EQ(bunko.GetSize(NombreSize), (SizePair{300, 0}));
    EXPECT_EQ(bunko.GetSize(NoteSize), (SizePair{200, 20}));
    EXPECT_EQ(bunko.GetSize(RunningHeadsSize), (SizePair{300, 0}));
    EXPECT_EQ(bunko.GetBoxes(TextLayout),
              (CYbTxtLayout::BoxList{{11500, 1000, 20000, 13800, 17, 40},
                                     {1000, 1000, 9500, 13800, 17, 40}}));
    EXPECT_EQ(
        bunko.GetBoxes(NombreLayout),
        (CYbTxtLayout::BoxList{{1000, 300, 1900, 600, 17, 40}, {19242, 300, 20142, 600, 17, 40}}));
    EXPECT_EQ(bunko.GetBoxes(RunningHeadsLayout),
              (CYbTxtLayout::BoxList{{2500, 300, 10500, 600, 17, 40}}));
    EXPECT_EQ(bunko.GetBoxes(NoteLayout), (CYbTxtLayout::BoxList{{0, 1000, 1000, 13800, 4, 64}}));
    EXPECT_EQ(bunko.GetNombreFormat(0), u"%1!d!");
    EXPECT_EQ(bunko.GetNombreFormat(1), u"%1!d!");
    EXPECT_EQ(bunko.GetNumbreFormatType(), 0);
    EXPECT_EQ(bunko.GetTypeName(), u"BUNKO 1.0");
    EXPECT_EQ(bunko.GetBoxesPerPage(), 1);
    EXPECT_EQ(bunko.GetLinesPerPage(), 17);

    CYbCustomTxtLayout custom;
    EXPECT_EQ(custom.GetBoxes(TextLayout), bunko.GetBoxes(TextLayout));
    EXPECT_EQ(custom.GetTypeName(), u"Custom 1.0");
    custom.SetLayoutType(u"Mine 2.0");
    EXPECT_EQ(custom.GetTypeName(), u"Mine 2.0");

    CYbShinShoTate2TxtLayout shinsho;
    EXPECT_EQ(shinsho.GetTypeName(), u"SHINSHOTATE2 1.0");
    EXPECT_EQ(shinsho.GetPaperSize(), (std::pair<int32_t, int32_t>{20600, 18200}));
    EXPECT_EQ(shinsho.GetLineCount(), 68);
    EXPECT_EQ(shinsho.GetCharCount(), 20);
    EXPECT_EQ(shinsho.GetBoxes(TextLayout),
              (CYbTxtLayout::BoxList{{11100, 1500, 19600, 9100, 17, 20},
                                     {11100, 9600, 19600, 17200, 17, 20},
                                     {1000, 1500, 9500, 9100, 17, 20},
                                     {1000, 9600, 9500, 17200, 17, 20}}));
    EXPECT_EQ(shinsho.GetBoxes(NombreLayout)[1], (LayoutBox{18900, 300, 19800, 600, 17, 40}));
    EXPECT_EQ(shinsho.GetBoxes(RunningHeadsLayout)[0], (LayoutBox{2500, 300, 10300, 600, 17, 40}));
    EXPECT_EQ(shinsho.GetBoxes(NoteLayout)[0], (LayoutBox{0, 1500, 1000, 17200, 4, 64}));
    EXPECT_EQ(shinsho.GetBoxesPerPage(), 2);

    // SetDefault leaves the type alone and empties the lists before filling them.
    custom.AddBox(TextLayout, {1, 2, 3, 4, 5, 6});
    custom.SetDefault();
    EXPECT_EQ(custom.GetBoxes(TextLayout).size(), 2u);
    EXPECT_EQ(custom.GetTypeName(), u"Mine 2.0");
}

TEST(TxtLayout, SaveWritesRowsInOrderAndOpensIdentically) {
    Yomibon::Test::TempDir dir;
    CYbBunkoTxtLayout bunko;
    auto file = dir.path() / "sub" / "b.lay";  // a missing folder is created
    ASSERT_TRUE(bunko.Save(Path(file).c_str()));
    std::u16string text = CYbCSVText::Decode(Yomibon::Test::ReadFile(file));
    EXPECT_TRUE(text.starts_with(
        u"LayoutType,BUNKO 1.0\r\nLayoutName,\r\nPaperSize,21000,14800\r\n"
        u"PageCharCount,34,40\r\nTextSize,310,20\r\nRubySize,160,20\r\nNombreSize,300,0\r\n"
        u"NoteSize,200,20\r\nRunningHeadsSize,300,0\r\nNombre1Format,%1!d!\r\n"
        u"Nombre2Format,%1!d!\r\nNumbreFormatType,0\r\n"));
    EXPECT_NE(text.find(u"NumbreFormatType,0\r\nTextLayout,11500,1000,20000,13800,17,40\r\n"),
              std::u16string::npos);
    EXPECT_TRUE(
        text.ends_with(u"RunningHeadsLayout,2500,300,10500,600,17,40\r\n"
                       u"NoteLayout,0,1000,1000,13800,4,64\r\n"));

    CYbBunkoTxtLayout back;
    back.ClearBoxes();
    ASSERT_TRUE(back.Open(Path(file).c_str()));
    EXPECT_EQ(back.GetFileName(), Path(file));
    auto again = dir.path() / "again.lay";
    ASSERT_TRUE(back.Save(Path(again).c_str()));
    EXPECT_EQ(Yomibon::Test::ReadFile(again), Yomibon::Test::ReadFile(file));
    // A null path saves to the stored file name.
    ASSERT_TRUE(back.Save(nullptr));
    CYbBunkoTxtLayout fresh;
    EXPECT_FALSE(fresh.Save(nullptr));  // a built-in layout has no file
}

TEST(TxtLayout, LayoutNameWithCommaAndQuotesRoundTrips) {
    Yomibon::Test::TempDir dir;
    CYbShinShoTate2TxtLayout layout;
    layout.SetLayoutName(u"新書, \"二段\"");
    auto file = Path(dir.path() / "s.lay");
    ASSERT_TRUE(layout.Save(file.c_str()));
    EXPECT_NE(CYbCSVText::Decode(Yomibon::Test::ReadFile(dir.path() / "s.lay"))
                  .find(u"LayoutName,\"新書, \"\"二段\"\"\"\r\n"),
              std::u16string::npos);
    CYbShinShoTate2TxtLayout back;
    ASSERT_TRUE(back.Open(file.c_str()));
    EXPECT_EQ(back.GetLayoutName(), u"新書, \"二段\"");
    EXPECT_EQ(back.GetBoxes(TextLayout), layout.GetBoxes(TextLayout));
    EXPECT_EQ(back.GetLineCount(), 68);
}

TEST(TxtLayout, OpenReadsRowsByPrefixAndRecountsColumns) {
    Yomibon::Test::TempDir dir;
    auto file = WriteLay(dir.path() / "x.lay",
                         std::string(kThreeBoxes) +
                             "TextSizeX,400,30\r\nNombre1Format,p.%1!d!\r\nNumbreFormatType,2\r\n"
                             "NoteLayout,1,2,3\r\nUnknown,1,2\r\nRubySize\r\n"
                             "NombreLayoutExtra,5,6,7,8,-3,99999999\r\n");
    CYbCustomTxtLayout layout;
    ASSERT_TRUE(layout.Open(file.c_str()));
    EXPECT_EQ(layout.GetLineCount(), 34);  // PageCharCount's 99 is not the columns
    EXPECT_EQ(layout.GetCharCount(), 33);
    EXPECT_EQ(layout.GetPaperSize(), (std::pair<int32_t, int32_t>{20000, 15000}));
    EXPECT_EQ(layout.GetSize(TextSize), (SizePair{400, 30}));
    EXPECT_EQ(layout.GetSize(RubySize), (SizePair{160, 20}));  // too few fields
    EXPECT_EQ(layout.GetNombreFormat(0), u"p.%1!d!");
    EXPECT_EQ(layout.GetNombreFormat(1), u"%1!d!");
    EXPECT_EQ(layout.GetNumbreFormatType(), 2);
    EXPECT_EQ(layout.GetLayoutName(), u"three");
    EXPECT_EQ(layout.GetTypeName(), u"Custom 1.0");
    EXPECT_TRUE(layout.GetBoxes(NoteLayout).empty());
    EXPECT_TRUE(layout.GetBoxes(RunningHeadsLayout).empty());
    // Negative and huge counts are cut to what a box can hold.
    EXPECT_EQ(layout.GetBoxes(NombreLayout), (CYbTxtLayout::BoxList{{5, 6, 7, 8, 0, 10000}}));
}

TEST(TxtLayout, FilesWithoutTextColumnsFallBackToTheBuiltInLayout) {
    Yomibon::Test::TempDir dir;
    auto file = WriteLay(dir.path() / "zero.lay",
                         "LayoutType,BUNKO 1.0\r\nLayoutName,zero\r\nPaperSize,1,1\r\n"
                         "TextLayout,0,0,10,10,0,40\r\nTextLayout,0,0,10,10,0,40\r\n");
    CYbBunkoTxtLayout layout;
    layout.SetPaperSize(5, 5);
    EXPECT_FALSE(layout.Open(file.c_str()));
    EXPECT_EQ(layout.GetPaperSize(), (std::pair<int32_t, int32_t>{21000, 14800}));
    EXPECT_EQ(layout.GetLineCount(), 34);
    EXPECT_EQ(layout.GetBoxes(TextLayout).size(), 2u);
}

TEST(TxtLayout, OnlyTheRightKindOpensAFile) {
    Yomibon::Test::TempDir dir;
    auto bunkoFile = WriteLay(dir.path() / "b.lay",
                              "LayoutType,BUNKO 1.0 revised\r\nLayoutName,b\r\n"
                              "TextLayout,100,100,900,900,5,10\r\n");
    auto shinshoFile = WriteLay(dir.path() / "s.lay",
                                "LayoutName,s\r\nLayoutType,SHINSHOTATE2 1.0\r\n"
                                "TextLayout,100,100,900,900,5,10\r\n");
    auto untyped = WriteLay(dir.path() / "u.lay", "TextLayout,100,100,900,900,5,10\r\n");

    CYbBunkoTxtLayout bunko;
    EXPECT_TRUE(bunko.IsLayoutFile(bunkoFile.c_str()));
    ASSERT_TRUE(bunko.Open(bunkoFile.c_str()));  // "BUNKO 1.0" with trailing text
    EXPECT_EQ(bunko.GetLineCount(), 5);
    EXPECT_EQ(bunko.GetLayoutType(), u"BUNKO 1.0 revised");

    CYbShinShoTate2TxtLayout shinsho;
    EXPECT_FALSE(shinsho.IsLayoutFile(bunkoFile.c_str()));
    EXPECT_FALSE(shinsho.Open(bunkoFile.c_str()));
    EXPECT_EQ(shinsho.GetLineCount(), 68);  // unchanged
    EXPECT_TRUE(shinsho.GetFileName().empty());
    EXPECT_FALSE(bunko.Open(shinshoFile.c_str()));
    EXPECT_FALSE(bunko.Open(untyped.c_str()));
    EXPECT_FALSE(bunko.IsLayoutFile(Path(dir.path() / "absent.lay").c_str()));
    EXPECT_FALSE(bunko.Open(Path(dir.path() / "absent.lay").c_str()));

    CYbCustomTxtLayout custom;
    EXPECT_TRUE(custom.IsLayoutFile(u"anything"));
    ASSERT_TRUE(custom.Open(untyped.c_str()));
    EXPECT_EQ(custom.GetTypeName(), u"Custom 1.0");
    ASSERT_TRUE(custom.Open(shinshoFile.c_str()));
    EXPECT_EQ(custom.GetTypeName(), u"SHINSHOTATE2 1.0");
    EXPECT_EQ(custom.GetLayoutName(), u"s");
}

TEST(TxtLayout, ReloadCopyFromAndTheCurrentDirectory) {
    Yomibon::Test::TempDir dir;
    auto file = WriteLay(dir.path() / "x.lay", kThreeBoxes);
    auto before = std::filesystem::current_path();
    CYbCustomTxtLayout layout;
    ASSERT_TRUE(layout.Open(file.c_str()));
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_FALSE(layout.Open(nullptr));  // no Layout/Layout.lay in the data folder
    EXPECT_EQ(std::filesystem::current_path(), before);
    layout.AddBox(TextLayout, {0, 0, 1, 1, 1, 1});
    ASSERT_TRUE(layout.Reload());
    EXPECT_EQ(layout.GetBoxes(TextLayout).size(), 3u);

    CYbShinShoTate2TxtLayout shinsho;
    shinsho.SetLayoutName(u"kept");
    shinsho.CopyFrom(layout);
    EXPECT_EQ(shinsho.GetBoxes(TextLayout), layout.GetBoxes(TextLayout));
    EXPECT_EQ(shinsho.GetPaperSize(), layout.GetPaperSize());
    EXPECT_EQ(shinsho.GetLineCount(), 34);
    EXPECT_EQ(shinsho.GetLayoutName(), u"kept");  // texts are not copied
    EXPECT_TRUE(shinsho.GetFileName().empty());

    CYbBunkoTxtLayout builtIn;
    builtIn.SetPaperSize(1, 1);
    ASSERT_TRUE(builtIn.Reload());  // no file: the built-in layout
    EXPECT_EQ(builtIn.GetPaperSize(), (std::pair<int32_t, int32_t>{21000, 14800}));
}

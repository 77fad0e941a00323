#include "settings/txt_param.h"

#include <gtest/gtest.h>

#include "platform/utf16.h"
#include "settings/csv_text.h"
#include "settings/profile.h"
#include "support/test_support.h"

using Yomibon::CYbTxtParam;
using Yomibon::FontParam;

TEST(TxtParam, DefaultsOfEveryFamily) {
    CYbTxtParam p;
    EXPECT_EQ(CYbTxtParam::ListKeys().size(), 5u);
    EXPECT_EQ(CYbTxtParam::FontKeys().size(), 5u);
    EXPECT_EQ(CYbTxtParam::TextKeys().size(), 39u);   // CatalogueURL among them
    EXPECT_EQ(CYbTxtParam::PointKeys().size(), 25u);  // KinsokuMode among them

    EXPECT_EQ(p.GetText(u"CatalogueURL"),
              u"https://www.aozora.gr.jp/index_pages/list_person_all_extended_utf8.zip");
    EXPECT_EQ(p.GetListText(u"HangingChar"), u",.､｡、。，．");
    EXPECT_EQ(p.GetList(u"ConfListStart").size(), 50u);
    EXPECT_EQ(p.GetListText(u"ConfListEnd"), u"「『（｛〔［【([");
    EXPECT_EQ(p.GetList(u"ConfListSkip"), (std::vector<std::u16string>{u" ", u"\u3000"}));
    EXPECT_EQ(p.GetListText(u"SepNGChar"), u"…‥");

    EXPECT_EQ(p.GetFont(u"TextFont").face, u"@IPA明朝");
    EXPECT_EQ(p.GetFont(u"NoteFont").face, u"@IPA明朝");
    EXPECT_EQ(p.GetFont(u"RunningHeadsFont").face, u"IPA明朝");
    EXPECT_EQ(p.GetFont(u"NombreFont").color, 0u);
    EXPECT_FALSE(p.GetFont(u"RubyFont").centering);

    EXPECT_EQ(p.GetText(u"LayoutFile"), u"Layout/Bunko.lay");
    EXPECT_EQ(p.GetText(u"LayoutType"), u"BUNKO 1.0");
    EXPECT_EQ(p.GetText(u"BookMarkFolder"), u"./Bookmark");
    EXPECT_EQ(p.GetText(u"NoteFormat"), u"※%d");
    EXPECT_EQ(p.GetText(u"HistSearchWord9"), u"");
    EXPECT_EQ(p.GetText(u"ProxyServer").find(u":8080"), p.GetText(u"ProxyServer").size() - 5);
    EXPECT_EQ(p.GetText(u"NoProxyAddress").back(), u';');

    int32_t colors[4] = {};
    EXPECT_EQ(p.GetPoints(u"PageColor", 4, colors), 3);
    EXPECT_EQ(colors[0], 0xFFFFFF);
    EXPECT_EQ(colors[2], 0xD0D0D0);
    EXPECT_TRUE(p.GetPoints(u"WindowSize").empty());
    EXPECT_EQ(p.GetPoints(u"BookmarkPos"), (std::vector<int32_t>{0, -1, -1, -1, -1}));
    EXPECT_EQ(p.GetPoints(u"SkipHTMLImgSize"), (std::vector<int32_t>{100, 100}));
    EXPECT_EQ(p.GetPoints(u"LinkTextColor"), (std::vector<int32_t>{0xFF0000}));
    EXPECT_TRUE(p.GetBoolean(u"PageFlip"));
    EXPECT_FALSE(p.GetBoolean(u"ShowHScroll"));
    EXPECT_EQ(p.GetPoints(u"WhiteTransRate")[0], 20);

    EXPECT_EQ(p.GetOffset(u"゛"), (std::pair<int32_t, int32_t>{75, 0}));
    EXPECT_EQ(p.GetOffset(u"あ"), (std::pair<int32_t, int32_t>{0, 0}));
    EXPECT_EQ(p.GetCharClass(u"「"), 7);
    EXPECT_EQ(p.GetCharClass(u"\u2985"), 7);
    EXPECT_EQ(p.GetCharClass(u"。"), 14);
    EXPECT_EQ(p.GetCharClass(u"・"), 6);
    EXPECT_EQ(p.GetCharClass(u"あ"), 0);
}

TEST(TxtParam, SettersAndUnknownKeys) {
    CYbTxtParam p;
    EXPECT_TRUE(p.SetText(u"LastFile", u"a\r\nb\rc\nd"));
    EXPECT_EQ(p.GetText(u"LastFile"), u"a b c d");
    EXPECT_FALSE(p.SetText(u"NoSuchKey", u"x"));
    EXPECT_EQ(p.GetText(u"NoSuchKey"), u"");

    EXPECT_TRUE(p.SetBoolean(u"FullScreen", true));
    EXPECT_EQ(p.GetPoints(u"FullScreen"), (std::vector<int32_t>{1}));
    int32_t none[1] = {};
    EXPECT_TRUE(p.SetPoints(u"PageFlip", none, 0));
    EXPECT_FALSE(p.GetBoolean(u"PageFlip"));  // an empty list is off
    EXPECT_EQ(p.GetPoints(u"PageFlip", 1, none), 0);
    EXPECT_EQ(p.GetPoints(u"PageColor", 3, nullptr), 0);
    EXPECT_FALSE(p.SetPoints(u"PageColor", nullptr, 2));
    EXPECT_EQ(p.GetPoints(u"PageColor").size(), 3u);

    FontParam font{u"@" + std::u16string(70, u'字'), 0x123456, 1.5, true};
    ASSERT_TRUE(p.SetFont(u"TextFont", font));
    EXPECT_EQ(p.GetFont(u"TextFont").face.size(), 63u);
    EXPECT_EQ(p.GetFont(u"TextFont").color, 0x123456u);

    // A surrogate pair is one character of a list.
    ASSERT_TRUE(p.SetList(u"HangingChar", u"、𠀋。"));
    EXPECT_EQ(p.GetList(u"HangingChar").size(), 3u);
    EXPECT_EQ(p.GetList(u"HangingChar")[1], u"𠀋");
    EXPECT_EQ(p.FindListEntry(u"HangingChar", Yomibon::CYbStartsWithCompare(u"𠀋あ")), 1);
    EXPECT_EQ(p.FindListEntry(u"HangingChar", Yomibon::CYbStartsWithCompare(u"あ")), -1);
    EXPECT_EQ(p.FindListEntry(u"ConfListStart", Yomibon::CYbStartsWithCompare(u"っと")),
              int(p.GetList(u"ConfListStart").size()) - 2);
}

TEST(TxtParam, SaveAndLoadRestoreEveryFamily) {
    Yomibon::Test::TempDir dir;
    auto file = dir.path() / "Yomibon.ini";
    Yomibon::Test::WriteFile(file, "[Yomibon]\nUseApplicationData=0\n");
    CYbTxtParam p;
    p.SetList(u"ConfListSkip", u" 𠀋");
    p.SetList(u"SepNGChar", u"\"'");
    p.SetFont(u"RubyFont", FontParam{u"@Other Face", 0x0000FF, 0.25, true});
    p.SetText(u"LastFile", u" leading blank");
    p.SetText(u"HistFileTitle3", u"say \"hi\" ");
    p.SetText(u"RunningHeadsFormat", u"'%s'");
    p.SetText(u"HistSearchWord9", std::u16string(2000, u'x'));
    const int32_t window[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -11};
    p.SetPoints(u"WindowSize", window, 11);
    p.SetBoolean(u"SearchLoop", false);
    ASSERT_TRUE(p.Save(file));

    std::string saved = Yomibon::Test::ReadFile(file);
    EXPECT_NE(saved.find("UseApplicationData=0"), std::string::npos);  // kept
    EXPECT_NE(saved.find("LastFile=\" leading blank\""), std::string::npos);
    EXPECT_NE(saved.find("RubyFont=#0000FF"), std::string::npos);
    EXPECT_NE(saved.find("RubyFont=0.25"), std::string::npos);
    EXPECT_NE(saved.find("WindowSize=1,2,3,4,5,6,7,8,9,10,-11"), std::string::npos);
    EXPECT_NE(saved.find("PageColor=16777215,14737632,13684944"), std::string::npos);
    EXPECT_LT(saved.find("[text]"), saved.find("[font]"));
    EXPECT_LT(saved.find("[font_centering]"), saved.find("[points]"));

    CYbTxtParam q;
    ASSERT_TRUE(q.Load(file));
    for (auto key : CYbTxtParam::ListKeys())
        EXPECT_EQ(q.GetList(key), p.GetList(key));
    for (auto key : CYbTxtParam::FontKeys()) {
        EXPECT_EQ(q.GetFont(key).face, p.GetFont(key).face);
        EXPECT_EQ(q.GetFont(key).color, p.GetFont(key).color);
        EXPECT_EQ(q.GetFont(key).spacing, p.GetFont(key).spacing);
        EXPECT_EQ(q.GetFont(key).centering, p.GetFont(key).centering);
    }
    for (auto key : CYbTxtParam::TextKeys()) {
        if (key == u"HistSearchWord9") continue;
        EXPECT_EQ(q.GetText(key), p.GetText(key)) << Yomibon::ToUtf8(key);
    }
    EXPECT_EQ(q.GetText(u"HistSearchWord9"), std::u16string(1023, u'x'));  // cut to the buffer
    for (auto key : CYbTxtParam::PointKeys())
        EXPECT_EQ(q.GetPoints(key), p.GetPoints(key));

    // Saving what was loaded gives the same file: quotes do not pile up.
    ASSERT_TRUE(q.Save(file));
    CYbTxtParam r;
    r.Load(file);
    EXPECT_EQ(r.GetText(u"HistFileTitle3"), u"say \"hi\" ");
}

TEST(TxtParam, LoadKeepsDefaultsForMissingEmptyAndMalformedValues) {
    Yomibon::Test::TempDir dir;
    auto file = dir.path() / "Yomibon.ini";
    Yomibon::Test::WriteFile(file,
                             "garbage line\n[text]\nLayoutFile=\nHangingChar=\n=x\n"
                             "[font]\nTextFont=" +
                                 std::string(64, 'F') +
                                 "\nNoteFont=Short\n"
                                 "[color]\nTextFont=#0000FF\nNoteFont=\n"
                                 "[font_spacing]\nTextFont=abc\n[font_centering]\nTextFont=2\n"
                                 "[points]\nPageColor=1,2\nTateNakaNum=x,5\nAntiAlias=\n"
                                 "SkipHTMLImgSize=\"1\n");
    CYbTxtParam p;
    ASSERT_TRUE(p.Load(file));
    EXPECT_EQ(p.GetText(u"LayoutFile"), u"Layout/Bunko.lay");
    EXPECT_EQ(p.GetListText(u"HangingChar"), u",.､｡、。，．");
    EXPECT_EQ(p.GetFont(u"TextFont").face, u"@IPA明朝");  // 64 units is too long
    EXPECT_EQ(p.GetFont(u"NoteFont").face, u"Short");
    EXPECT_EQ(p.GetFont(u"TextFont").color, 0x0000FFu);  // red in 0x00BBGGRR
    EXPECT_EQ(p.GetFont(u"TextFont").spacing, 0.0);
    EXPECT_FALSE(p.GetFont(u"TextFont").centering);
    EXPECT_EQ(p.GetPoints(u"PageColor"), (std::vector<int32_t>{1, 2}));
    int32_t three[3] = {};
    EXPECT_EQ(p.GetPoints(u"PageColor", 3, three), 2);
    EXPECT_EQ(p.GetPoints(u"TateNakaNum"), (std::vector<int32_t>{0, 5}));
    EXPECT_EQ(p.GetPoints(u"AntiAlias"), (std::vector<int32_t>{1}));
    EXPECT_EQ(p.GetPoints(u"SkipHTMLImgSize"), (std::vector<int32_t>{1}));

    CYbTxtParam missing;
    EXPECT_FALSE(missing.Load(dir.path() / "absent.ini"));
    EXPECT_EQ(missing.GetText(u"LayoutType"), u"BUNKO 1.0");
}

TEST(TxtParam, EmptyValuesBringBackDefaultsAfterRestart) {
    Yomibon::Test::TempDir dir;
    auto file = dir.path() / "Yomibon.ini";
    CYbTxtParam p;
    p.SetText(u"BookMarkFolder", u"");
    p.SetList(u"SepNGChar", u"");
    p.SetPoints(u"TateNakaNum", nullptr, 0);
    ASSERT_TRUE(p.Save(file));
    CYbTxtParam q;
    ASSERT_TRUE(q.Load(file));
    EXPECT_EQ(q.GetText(u"BookMarkFolder"), u"./Bookmark");
    EXPECT_EQ(q.GetListText(u"SepNGChar"), u"…‥");
    EXPECT_EQ(q.GetPoints(u"TateNakaNum"), (std::vector<int32_t>{3}));
}

TEST(TxtParam, OffsetListRows) {
    Yomibon::Test::TempDir dir;
    Yomibon::CYbCSVText table;
    table.AppendRow({u"。", u"-30", u"40"});
    table.AppendRow({u"、", u"x", u"40"});  // not a number: ignored
    table.AppendRow({u"・", u"70000"});     // cut to 16 bits
    table.AppendRow({u"「", u"abc"});
    table.AppendRow({u"a", u"1", u"2", u"3"});  // other rows are ignored
    table.AppendRow({u"𠀋", u"12"});
    ASSERT_TRUE(table.Write(dir.path() / "offset.lis"));
    CYbTxtParam p;
    EXPECT_FALSE(p.Load(dir.path() / "Yomibon.ini"));  // no settings file, offsets still read
    EXPECT_EQ(p.GetOffset(u"。"), (std::pair<int32_t, int32_t>{-30, 40}));
    EXPECT_EQ(p.GetOffset(u"、"), (std::pair<int32_t, int32_t>{0, 0}));
    EXPECT_EQ(p.GetOffset(u"゛"), (std::pair<int32_t, int32_t>{75, 0}));
    EXPECT_EQ(p.GetCharClass(u"・"), uint16_t(70000));
    EXPECT_EQ(p.GetCharClass(u"「"), 7);
    EXPECT_EQ(p.GetCharClass(u"a"), 0);
    EXPECT_EQ(p.GetCharClass(u"𠀋"), 12);
}

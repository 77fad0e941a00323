// Hostile input carried all the way: notation garbage, damaged pictures and layout files of
// out-of-range values are opened, arranged, mapped and drawn, spread by spread. Under the
// asan preset this is where an overflow in arrangement, mapping or drawing shows.
#include <png.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "render/canvas_fixture.h"
#include "render/page_canvas.h"
#include "render/pict_test_files.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

namespace fs = std::filesystem;

// Draws every spread (at most `limit`); each lands on an even page inside the document and
// the bitmap keeps the canvas's size.
void DrawEverySpread(CYbTxtDocument& doc, CYbPageCanvas& canvas, int limit = 40) {
    const int count = doc.getPageCount();
    ASSERT_GE(count, 1);
    for (int page = 0, drawn = 0; page <= count && drawn < limit; page += 2, ++drawn) {
        int shown = canvas.drawPage(page);
        EXPECT_GE(shown, 0);
        EXPECT_LE(shown, count + 1);
        EXPECT_EQ(shown % 2, 0);
        EXPECT_EQ(canvas.bitmap().width(), 900);
        EXPECT_EQ(canvas.bitmap().height(), 600);
    }
}

// Runs the current directory back to where it was (pictures are found from it).
struct DirectoryGuard {
    fs::path saved = fs::current_path();
    ~DirectoryGuard() { fs::current_path(saved); }
};

TEST(HostileSpread, NotationGarbageIsDrawn) {
    const std::vector<std::u16string> tokens = {u"［＃",
                                                u"］",
                                                u"「",
                                                u"」",
                                                u"《",
                                                u"》",
                                                u"｜",
                                                u"※",
                                                u"\r\n",
                                                u"漢字",
                                                u"かな",
                                                u"ab",
                                                u"〔e'〕",
                                                u"傍点",
                                                u"終わり",
                                                u"ここから",
                                                u"字下げ",
                                                u"地付き",
                                                u"罫囲み",
                                                u"２字詰め",
                                                u"は縦中横",
                                                u"は上付き小文字",
                                                u"に傍点",
                                                u"改ページ",
                                                u"改丁",
                                                u"第3水準1-85-54",
                                                u"挿絵（",
                                                u"）入る",
                                                u"は大見出し",
                                                u"割り注",
                                                u"\U00020089",
                                                u"ここから１０００字下げ",
                                                u"天から-5字下げ",
                                                u"９９９９字詰め",
                                                u"――",
                                                u"底本："};
    std::mt19937 random(2024);
    for (int round = 0; round < 25; ++round) {
        std::u16string text = u"題\r\n著者\r\n\r\n";
        for (int i = 0; i < 400; ++i)
            text += tokens[random() % tokens.size()];
        Yomibon::Test::CanvasFixture f(text, 900, 600);
        DrawEverySpread(*f.doc, *f.canvas, 8);
    }
}

TEST(HostileSpread, DamagedAndHugePicturesAreDrawnAround) {
    Yomibon::Test::TempDir dir;
    DirectoryGuard guard;
    std::vector<uint8_t> rgb(8 * 8 * 3, 90);
    std::string png = Yomibon::Test::MakePng(8, 8, PNG_COLOR_TYPE_RGB, 8, rgb);
    std::string claimsHuge = png;
    // IHDR width and height: 100,000 x 100,000 in a file of a few dozen bytes.
    for (int at : {16, 20}) {
        claimsHuge[size_t(at)] = 0;
        claimsHuge[size_t(at) + 1] = 1;
        claimsHuge[size_t(at) + 2] = char(0x86);
        claimsHuge[size_t(at) + 3] = char(0xA0);
    }
    Yomibon::Test::WriteFile(dir.path() / "ok.png", png);
    Yomibon::Test::WriteFile(dir.path() / "cut.png", png.substr(0, png.size() / 2));
    Yomibon::Test::WriteFile(dir.path() / "huge.png", claimsHuge.substr(0, 60));
    Yomibon::Test::WriteFile(dir.path() / "garbage.jpg", std::string(300, char(0xFF)));
    Yomibon::Test::WriteFile(dir.path() / "empty.gif", "");
    fs::current_path(dir.path());
    std::u16string text = u"絵\r\n誰か\r\n\r\n";
    for (const char16_t* name : {u"ok.png", u"cut.png", u"huge.png", u"garbage.jpg", u"empty.gif",
                                 u"missing.bmp", u"../../../etc/passwd"}) {
        text += u"前の文［＃挿絵（" + std::u16string(name) + u"）入る］後の文\r\n";
        text += u"［＃「説明」のキャプション付きの図（" + std::u16string(name) +
                u"、横99999×縦-5）入る］\r\n";
    }
    Yomibon::Test::CanvasFixture f(text, 900, 600);
    DrawEverySpread(*f.doc, *f.canvas);
}

TEST(HostileSpread, LayoutFilesOfOutOfRangeValuesAreDrawn) {
    Yomibon::Test::TempDir dir;
    static const char* keys[] = {"PaperSize",          "PageCharCount", "TextSize",
                                 "TextLayout",         "NombreLayout",  "NoteLayout",
                                 "RunningHeadsLayout", "RubySize"};
    static const char* values[] = {"0",           "-1",          "1", "3", "40",     "2147483647",
                                   "-2147483648", "99999999999", "x", "",  "1000000"};
    std::mt19937 random(99);
    std::u16string text = u"題\r\n著者\r\n\r\n";
    for (int i = 0; i < 60; ++i)
        text += u"　吾輩《わがはい》は猫である。名前はまだ無い。［＃「無い」に傍点］\r\n";
    for (int round = 0; round < 30; ++round) {
        std::string lay = "LayoutType,Bunko\r\n";
        for (int row = 1 + int(random() % 6); row > 0; --row) {
            lay += keys[random() % std::size(keys)];
            for (int f = 1 + int(random() % 7); f > 0; --f)
                lay += std::string(",") + values[random() % std::size(values)];
            lay += "\r\n";
        }
        fs::path file = dir.path() / ("r" + std::to_string(round) + ".lay");
        Yomibon::Test::WriteFile(file, lay);
        Yomibon::Test::CanvasFixture f(text, 900, 600);
        f.param.SetText(u"LayoutFile", FromFsPath(file));
        f.doc->reloadLayout();
        f.canvas->setDocument(f.doc.get(), &f.arranger->layout());
        f.canvas->resize(900, 600);
        SCOPED_TRACE(lay);
        DrawEverySpread(*f.doc, *f.canvas, 4);
    }
}

}  // namespace
}  // namespace Yomibon

// A long text shows its first spread before the rest of it is arranged: the spread is the
// one the whole arrangement gives, the page count follows once known without moving the page,
// and turning pages (to the last one too) works while the rest is still being set.
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/command_table.h"
#include "app/main_window.h"
#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

// A text of a few hundred spreads, with headings so that the outline has pages to follow.
std::u16string WriteLongText(const QTemporaryDir& dir) {
    std::string text = "長い話\r\n作者某\r\n\r\n";
    for (int chapter = 1; chapter <= 20; ++chapter) {
        text += "［＃５字下げ］第" + std::to_string(chapter) + "章［＃「第" +
                std::to_string(chapter) + "章」は中見出し］\r\n";
        for (int i = 0; i < 300; ++i)
            text += "　これは試しの文章です。同じ行を何度も｜繰《く》り返します。\r\n";
    }
    std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / "long.txt";
    std::ofstream(path, std::ios::binary) << text;
    return FromFsPath(path);
}

std::vector<uint32_t> Pixels(CYbMainWindow& w) {
    const CYbBitmap& b = w.canvas().bitmap();
    std::vector<uint32_t> out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            out.push_back(b.pixel(x, y));
    return out;
}

// The text arranged whole, as a document opened without the window has it: the page count
// and the page of the last heading.
struct Whole {
    int pages = -1;
    int lastHeading = -1;
};

Whole ArrangedWhole(const std::u16string& path) {
    CYbTxtParam param;
    auto arranger = std::make_unique<CYbDocumentArranger>();
    CYbTxtDocument document(param, std::move(arranger));
    const auto cwd = std::filesystem::current_path();
    const bool opened = document.openFile(path);
    std::filesystem::current_path(cwd);
    if (!opened || document.outline().empty()) return {};
    return {document.getPageCount(), document.pointToPage(document.outline().back().begin)};
}

}  // namespace

class FirstSpreadTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CYbMainWindow> window_;
    std::unique_ptr<CYbTxtParam> param_;

    CYbMainWindow& make() { return Test::MakeTestWindow(window_, param_); }

  private slots:
    void cleanup() {
        window_.reset();
        param_.reset();
    }

    void firstSpreadShowsAtOnceAndTheCountFollows() {
        const std::u16string path = WriteLongText(dir_);
        const Whole arranged = ArrangedWhole(path);
        const int whole = arranged.pages;
        QVERIFY(whole > 200);
        CYbMainWindow& w = make();
        w.openWithHistory(path);
        // The open returns with the first spread drawn and the rest still to be set.
        QVERIFY(w.arranging());
        QCOMPARE(w.currentPage(), 0);
        QVERIFY(w.windowTitle().contains(QStringLiteral("(1/…)")));
        const std::vector<uint32_t> shown = Pixels(w);
        // The rest is set between events; the page stays where it is.
        QTRY_VERIFY_WITH_TIMEOUT(!w.arranging(), 20000);
        QCOMPARE(w.currentPage(), 0);
        QCOMPARE(w.pageCount(), whole);
        QVERIFY(w.windowTitle().contains(QStringLiteral("(1/%1)").arg(whole)));
        QVERIFY(Pixels(w) == shown);
        // Drawn again from the whole arrangement, the first spread is the same.
        w.gotoPage(2);
        w.gotoPage(0);
        QVERIFY(Pixels(w) == shown);
        // The headings' pages are those of the whole arrangement.
        const CYbTxtDocument& document = w.document();
        QVERIFY(document.outline().size() >= 20);
        QCOMPARE(document.pointToPage(document.outline().back().begin), arranged.lastHeading);
    }

    void pagesTurnWhileTheRestIsArranged() {
        const std::u16string path = WriteLongText(dir_);
        const int whole = ArrangedWhole(path).pages;
        CYbMainWindow& w = make();
        w.openWithHistory(path);
        QVERIFY(w.arranging());
        // Forward a few spreads, and to a page far beyond what the open set.
        for (int i = 0; i < 3; ++i)
            w.runCommand(CMD_NextPage);
        QCOMPARE(w.currentPage(), 6);
        w.gotoPage(101);
        QCOMPARE(w.currentPage(), 101);
        QVERIFY(w.arranging());
        const std::vector<uint32_t> far = Pixels(w);
        // To the last page: the whole text is set first.
        w.runCommand(CMD_EndPage);
        QVERIFY(!w.arranging());
        QCOMPARE(w.currentPage(), whole - 1);
        // The far spread drawn during the arrangement is the one the whole text gives.
        w.gotoPage(101);
        QVERIFY(Pixels(w) == far);
    }

    void aBookmarkedPositionOpensOnItsSpread() {
        const std::u16string path = WriteLongText(dir_);
        CYbMainWindow& w = make();
        w.openWithHistory(path);
        w.gotoPage(151);
        w.document().bookmarks().SetLastPosition(w.currentPage());
        const std::u16string siori = path + u".siori";
        QVERIFY(w.saveBookmarksAs(siori));
        // The page a document arranged whole opens the bookmark file at, and its spread.
        int start = -1;
        {
            CYbTxtParam param;
            CYbTxtDocument document(param, std::make_unique<CYbDocumentArranger>());
            const auto cwd = std::filesystem::current_path();
            QVERIFY(document.openFile(siori));
            std::filesystem::current_path(cwd);
            start = document.getStartPage();
        }
        QVERIFY(start >= 150);
        w.gotoPage(start);
        const std::vector<uint32_t> shown = Pixels(w);

        CYbMainWindow& again = make();
        again.openWithHistory(siori);
        QVERIFY(again.arranging());
        QCOMPARE(again.currentPage(), start);
        QVERIFY(Pixels(again) == shown);
        QTRY_VERIFY_WITH_TIMEOUT(!again.arranging(), 20000);
        QCOMPARE(again.currentPage(), start);
    }
};

QTEST_MAIN(FirstSpreadTest)
#include "first_spread_test.moc"

// The real window, driven offscreen: keys, wheel, clicks, history, recent files, title,
// closing and starting again, key binding files.
#include <QAction>
#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <fstream>

#include "app/application.h"
#include "app/main_window.h"
#include "app/page_view.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/key_bind.h"
#include "settings/txt_param.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

// A short second text, enough for a few spreads.
std::u16string WriteShortText(const QTemporaryDir& dir) {
    std::string text = "短い話\r\n作者某\r\n\r\n";
    for (int i = 0; i < 200; ++i)
        text += "　これは試しの文章です。同じ行を何度も繰り返します。\r\n";
    std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / "short.txt";
    std::ofstream(path, std::ios::binary) << text;
    return FromFsPath(path);
}

// keybind.ini as the program writes it: UTF-16LE with a byte-order mark.
void WriteKeyFile(const std::filesystem::path& path, const std::u16string& text) {
    std::ofstream out(path, std::ios::binary);
    out.put(char(0xFF)).put(char(0xFE));
    for (char16_t c : text)
        out.put(char(c & 0xFF)).put(char(c >> 8));
}

void SendWheel(QWidget* view, int delta) {
    QPointF at(view->width() / 2.0, view->height() / 2.0);
    QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CYbTxtParam> param_;
    std::unique_ptr<CYbMainWindow> window_;

    CYbMainWindow& make(const char16_t* keyText = nullptr) {
        std::filesystem::path keys = std::filesystem::path(dir_.path().toStdString()) / "k.ini";
        std::filesystem::remove(keys);
        if (keyText) WriteKeyFile(keys, keyText);
        Test::TestWindowOptions options;
        options.keyFile = keys;
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }

  private slots:
    void cleanup() {
        window_.reset();
        param_.reset();
    }

    void defaultKeysTurnPages() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        QVERIFY(w.pageCount() > 5);
        QWidget* view = &w.view();
        QCOMPARE(w.currentPage(), 0);
        QTest::keyClick(view, Qt::Key_Left);
        QCOMPARE(w.currentPage(), 2);
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(w.currentPage(), 4);
        QTest::keyClick(view, Qt::Key_PageDown);
        QCOMPARE(w.currentPage(), 6);
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(w.currentPage(), 4);
        QTest::keyClick(view, Qt::Key_Space, Qt::ShiftModifier);
        QCOMPARE(w.currentPage(), 2);
        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(w.currentPage(), w.pageCount() - 1);
        QTest::keyClick(view, Qt::Key_Down);  // at the last pair nothing more
        QCOMPARE(w.currentPage(), w.pageCount() - 1);
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(w.currentPage(), 0);
        QTest::keyClick(view, Qt::Key_Up);  // at page 0 nothing
        QCOMPARE(w.currentPage(), 0);
        QTest::keyClick(view, Qt::Key_X);  // unbound
        QCOMPARE(w.currentPage(), 0);
        // The title: program, title, author, page of count.
        QString title = w.windowTitle();
        QVERIFY2(title.startsWith(QStringLiteral("Yomibon 羅生門 - 芥川龍之介 (1/")),
                 qPrintable(title));
        QVERIFY(title.endsWith(QStringLiteral("/%1)").arg(w.pageCount())));
        // Scroll bars: the horizontal one runs right to left.
        w.gotoPage(4);
        QScrollBar* h = w.findChildren<QScrollBar*>().at(0);
        if (h->orientation() != Qt::Horizontal) h = w.findChildren<QScrollBar*>().at(1);
        QCOMPARE(h->value(), w.pageCount() - 4 - 1);
        w.horizontalScroll(QAbstractSlider::SliderToMinimum, 0);
        QCOMPARE(w.currentPage(), w.pageCount());
    }

    void aBookmarkFileThatCannotBeSavedIsNamedInAMessage() {
        std::vector<std::u16string> messages;
        Test::TestWindowOptions options;
        options.onMessage = [&](const std::u16string& m) { messages.push_back(m); };
        CYbMainWindow& w = Test::MakeTestWindow(window_, param_, std::move(options));
        QVERIFY(w.openPath(Sample()));
        std::filesystem::path root = dir_.path().toStdString();
        // A file where the folder should be.
        std::ofstream(root / "not-a-folder") << "x";
        std::u16string bad = FromFsPath(root / "not-a-folder" / "a.siori");
        QVERIFY(!w.saveBookmarksAs(bad));
        QCOMPARE(int(messages.size()), 1);
        QVERIFY(messages[0].find(bad) != std::u16string::npos);
        std::u16string good = FromFsPath(root / "a.siori");
        QVERIFY(w.saveBookmarksAs(good));
        QCOMPARE(int(messages.size()), 1);
        QVERIFY(std::filesystem::file_size(root / "a.siori") > 0);
    }

    void wheelThreshold() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        QWidget* view = &w.view();
        SendWheel(view, -19);
        QCOMPARE(w.currentPage(), 0);
        SendWheel(view, -120);
        QCOMPARE(w.currentPage(), 2);
        SendWheel(view, -20);
        QCOMPARE(w.currentPage(), 4);
        SendWheel(view, 19);
        QCOMPARE(w.currentPage(), 4);
        SendWheel(view, 120);
        QCOMPARE(w.currentPage(), 2);
    }

    void clickingHalvesTurnsPages() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        QWidget* view = &w.view();
        QPoint left(view->width() / 4, view->height() / 2);
        QPoint right(view->width() * 3 / 4, view->height() / 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, left);
        QCOMPARE(w.currentPage(), 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, left);
        QCOMPARE(w.currentPage(), 4);
        QTest::mouseClick(view, Qt::LeftButton, {}, right);
        QCOMPARE(w.currentPage(), 2);

        // Binding the left button takes the halves away.
        CYbMainWindow& bound = make(u"1=FirstPage\r\n");
        QVERIFY(bound.openPath(Sample()));
        QVERIFY(bound.leftButtonBound());
        QTest::mouseClick(&bound.view(), Qt::LeftButton, {}, left);
        QCOMPARE(bound.currentPage(), 0);
    }

    void historyThroughGotoPageAndOpens() {
        CYbMainWindow& w = make();
        std::u16string second = WriteShortText(dir_);
        w.openWithHistory(Sample());
        QCOMPARE(w.document().getFileName(), Sample());
        w.gotoEnteredPage(6);
        QCOMPARE(w.currentPage(), 6);
        // The history keeps positions: the move lands on the page that holds the first
        // character of the target, which is on the target's spread.
        w.gotoEnteredPage(-5);  // below 0: page 1
        QCOMPARE(w.currentPage() / 2, 0);
        w.gotoEnteredPage(100000);  // past the count: the last page
        QCOMPARE(w.currentPage() / 2, (w.pageCount() - 1) / 2);
        int last = w.currentPage();
        w.gotoPage(4);  // plain turns are not recorded
        w.openWithHistory(second);
        QCOMPARE(w.document().getFileName(), second);
        QCOMPARE(w.windowTitle().section(QLatin1Char(' '), 1, 1), QStringLiteral("短い話"));
        QTest::keyClick(&w.view(), Qt::Key_Backspace);  // BackPage: reopen, at the page left
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.currentPage(), 4);
        QTest::keyClick(&w.view(), Qt::Key_Backspace, Qt::ShiftModifier);  // ForwardPage
        QCOMPARE(w.document().getFileName(), second);
        QTest::keyClick(&w.view(), Qt::Key_Backspace);
        QTest::keyClick(&w.view(), Qt::Key_Backspace);  // undo the go-to of the last page
        QCOMPARE(w.document().getFileName(), Sample());
        QVERIFY(w.currentPage() < last);
        // Recorded opens: one entry per path, newest last, LastFile set.
        w.openWithHistory(second);
        w.openWithHistory(Sample());
        w.openWithHistory(second);
        QCOMPARE(int(w.recentFiles().entries().size()), 2);
        QCOMPARE(w.recentFiles().entries().back().path, second);
        QCOMPARE(w.param().GetText(u"LastFile"), second);
        QVERIFY(w.menuAction(40103)->isEnabled());
        w.openText(u"クリップボードの文章\r\n");
        QVERIFY(!w.menuAction(40103)->isEnabled());
    }

    void closingStoresStateAndNextStartRestoresIt() {
        std::filesystem::path ini = std::filesystem::path(dir_.path().toStdString()) / "Y.ini";
        {
            CYbMainWindow& w = make();
            w.setGeometry(50, 60, 900, 640);
            w.runCommand(CMD_ToggleHScrollBar);
            w.menuCommand(ID_SELECTION_MODE);
            w.openWithHistory(Sample());
            QVERIFY(w.close());
            std::vector<int32_t> placement = param_->GetPoints(u"WindowSize");
            QCOMPARE(int(placement.size()), 11);
            QCOMPARE(placement[0], 44);
            QCOMPARE(placement[9] - placement[7], 900);
            QCOMPARE(placement[10] - placement[8], 640);
            QVERIFY(param_->GetBoolean(u"ShowHScroll"));
            QVERIFY(param_->GetBoolean(u"SelectionMode"));
            QCOMPARE(param_->GetText(u"HistFile1"), Sample());
            QVERIFY(param_->Save(ini));
        }
        window_.reset();
        CYbApplication& app = CYbApplication::Instance();
        app.setSettingsFile(ini);
        std::unique_ptr<CYbMainWindow> again = app.createWindow(u"");
        QCOMPARE(again->width(), 900);
        QCOMPARE(again->height(), 640);
        QVERIFY(again->showHScroll());
        QVERIFY(again->selectionMode());
        QCOMPARE(int(again->recentFiles().entries().size()), 1);
        // LastFile is reopened once the window is up, without a history entry.
        QTRY_COMPARE(again->document().getFileName(), Sample());
        QCOMPARE(int(again->history().doneCount()), 0);
        QVERIFY(!app.param().GetBoolean(u"BookMarkAutoSave"));
        again.reset();

        // SaveWindowSize 0 stores 44 and ten zeros.
        CYbMainWindow& w = make();
        param_->SetBoolean(u"SaveWindowSize", false);
        w.storeState();
        std::vector<int32_t> zeros = param_->GetPoints(u"WindowSize");
        QCOMPARE(int(zeros.size()), 11);
        QCOMPARE(zeros[0], 44);
        QCOMPARE(zeros[10], 0);
    }

    void keyFileForms() {
        // C- and S- in either order bind the same key; the later of two lines wins.
        CYbMainWindow& w = make(u"C-S-24=EndPage\r\n25=FirstPage\r\n25=NextPage\r\n");
        QVERIFY(w.openPath(Sample()));
        QTest::keyClick(&w.view(), Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(w.currentPage(), w.pageCount() - 1);
        w.gotoPage(0);
        QTest::keyClick(&w.view(), Qt::Key_Left);
        QCOMPARE(w.currentPage(), 2);
        QTest::keyClick(&w.view(), Qt::Key_Space);  // not in this file
        QCOMPARE(w.currentPage(), 2);

        // Bare line feeds, as hand editing on Linux leaves them, keep every letter.
        CYbMainWindow& lf = make(u"25=NextPage\n24=EndPage\n");
        QVERIFY(lf.openPath(Sample()));
        QTest::keyClick(&lf.view(), Qt::Key_Left);
        QCOMPARE(lf.currentPage(), 2);
        QTest::keyClick(&lf.view(), Qt::Key_Home);
        QCOMPARE(lf.currentPage(), lf.pageCount() - 1);

        // An empty file: no key does anything, the mouse keeps its halves.
        CYbMainWindow& empty = make(u"");
        QVERIFY(empty.openPath(Sample()));
        QTest::keyClick(&empty.view(), Qt::Key_Left);
        QTest::keyClick(&empty.view(), Qt::Key_End);
        QCOMPARE(empty.currentPage(), 0);
        QTest::mouseClick(&empty.view(), Qt::LeftButton, {}, QPoint(10, empty.view().height() / 2));
        QCOMPARE(empty.currentPage(), 2);

        // A name that is no command: the key does nothing.
        CYbMainWindow& unknown = make(u"25=NoSuchCommand\r\n");
        QVERIFY(unknown.openPath(Sample()));
        QVERIFY(unknown.keyDown(KeyBind{0x25, false, false, false}));
        QCOMPARE(unknown.currentPage(), 0);
    }

    void selectionModeCopiesText() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.gotoPage(2);
        w.menuCommand(ID_SELECTION_MODE);
        QVERIFY(w.selectionMode());
        // Two characters of one column: press on the first, drag to the second.
        const CYbTxtMapper& mapper = w.canvas().mapper();
        std::vector<QPoint> centres;
        for (const auto& [point, e] : mapper.charMap()) {
            if (!mapper.inSpread(e.iColumn) || !mapper.isSelectable(point) || e.height <= 0)
                continue;
            centres.push_back(QPoint(e.x + e.size / 2, e.y + e.advance / 2));
            if (centres.size() == 4) break;
        }
        QCOMPARE(int(centres.size()), 4);
        QWidget* view = &w.view();
        QTest::mousePress(view, Qt::LeftButton, {}, centres[0]);
        QTest::mouseMove(view, centres[3]);
        QMouseEvent move(QEvent::MouseMove, QPointF(centres[3]),
                         view->mapToGlobal(QPointF(centres[3])), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, {}, centres[3]);
        QVERIFY(mapper.selShown);
        QCOMPARE(w.currentPage(), 2);  // selecting never turns the page
        QApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied.size(), 4);
        // Leaving selection mode clears the selection; Copy then does nothing.
        w.menuCommand(ID_SELECTION_MODE);
        QVERIFY(!mapper.selShown);
        QApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    void failedOpenIsReportedAndNotRecorded() {
        CYbMainWindow& w = make();
        w.openWithHistory(Sample());
        std::vector<std::u16string> shown;
        w.setMessageHook([&](const std::u16string& text) { shown.push_back(text); });
        std::u16string missing =
            FromFsPath(std::filesystem::path(dir_.path().toStdString()) / "gone.txt");
        w.openWithHistory(missing);
        QCOMPARE(int(shown.size()), 1);
        QVERIFY(shown[0].starts_with(u"ファイルが見つかりません。"));
        QVERIFY(shown[0].ends_with(missing));
        QCOMPARE(int(w.recentFiles().entries().size()), 1);
        QCOMPARE(w.param().GetText(u"LastFile"), Sample());
        QTest::keyClick(&w.view(), Qt::Key_Backspace);  // back to the text that opened
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(int(shown.size()), 1);
    }

    // A picture refused by the size limits is told once, after its spread is drawn, and the
    // reader goes on turning pages.
    void refusedPictureIsToldOnceAndReadingGoesOn() {
        CYbMainWindow& w = make();
        std::vector<std::u16string> shown;
        w.setMessageHook([&](const std::u16string& text) { shown.push_back(text); });
        const auto text = std::filesystem::path(YB_TEST_DATA) / "pictures" / "huge_picture.txt";
        QVERIFY(w.openPath(FromFsPath(text)));
        for (int round = 0; round < 2; ++round)
            for (int page = 0; page <= w.document().getPageCount(); page += 2)
                w.gotoPage(page);
        QTRY_COMPARE(int(shown.size()), 1);
        QVERIFY(shown[0].starts_with(u"画像「claims_100000x100000.png」は表示できません。"));
        w.gotoPage(0);
        QCOMPARE(w.currentPage(), 0);
        QTest::qWait(20);
        QCOMPARE(int(shown.size()), 1);
    }

    // Blocks nested far past the limit: the text opens, the reader is told once, and pages
    // turn.
    void deepNestingIsToldAndReadingGoesOn() {
        CYbMainWindow& w = make();
        std::vector<std::u16string> shown;
        w.setMessageHook([&](const std::u16string& text) { shown.push_back(text); });
        std::string text = "深い入れ子\r\n誰か\r\n\r\n";
        for (int i = 0; i < 25'000; ++i)
            text += "［＃ここから罫囲み］\r\n";
        for (int i = 0; i < 200; ++i)
            text += "　これは試しの文章です。同じ行を何度も繰り返します。\r\n";
        const auto path = std::filesystem::path(dir_.path().toStdString()) / "deep.txt";
        std::ofstream(path, std::ios::binary) << text;
        QVERIFY(w.openPath(FromFsPath(path)));
        QTRY_COMPARE(int(shown.size()), 1);
        QVERIFY(shown[0].find(u"入れ子が深すぎます") != std::u16string::npos);
        QVERIFY(w.document().getPageCount() > 2);
        w.gotoPage(2);
        QCOMPARE(w.currentPage(), 2);
        QTest::qWait(20);
        QCOMPARE(int(shown.size()), 1);
    }

    void missingArchiveKeepsDocument() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.gotoPage(4);
        std::u16string shown;
        w.setMessageHook([&](const std::u16string& text) { shown = text; });
        std::u16string missing =
            FromFsPath(std::filesystem::path(dir_.path().toStdString()) / "missing.zip");
        QVERIFY(!w.openPath(missing));
        QVERIFY(QString::fromStdU16String(shown).contains(QStringLiteral("見つかりませんでした")));
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.currentPage(), 4);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

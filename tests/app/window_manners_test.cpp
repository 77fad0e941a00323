// How the window behaves around the page: Esc in full screen, the focus after a menu, the
// selection mode shown, clipboard line ends, bookmark signs and items, the list windows'
// place and rows, Qt's dialogs in Japanese, the keys and mnemonics in the menus, the search
// word selected, and help without a PDF viewer.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>

#include "app/bookmark_dlg.h"
#include "app/bookmark_dlg_list.h"
#include "app/command_table.h"
#include "app/main_window.h"
#include "app/menu_labels.h"
#include "app/page_view.h"
#include "app/qt_translations.h"
#include "app/search_dlg.h"
#include "app/subtitle_dlg.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

// keybind.ini as the program writes it: UTF-16LE with a byte-order mark.
void WriteKeyFile(const std::filesystem::path& path, const std::u16string& text) {
    std::ofstream out(path, std::ios::binary);
    out.put(char(0xFF)).put(char(0xFE));
    for (char16_t c : text)
        out.put(char(c & 0xFF)).put(char(c >> 8));
}

QString Label(QAction* action) {
    return action->text().section(QLatin1Char('\t'), 0, 0);
}

QString KeyShown(QAction* action) {
    return action->text().section(QLatin1Char('\t'), 1);
}

}  // namespace

class WindowMannersTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CYbMainWindow> window_;
    std::unique_ptr<CYbTxtParam> param_;
    std::vector<std::u16string> messages_;

    CYbMainWindow& make(std::filesystem::path keyFile = {}) {
        messages_.clear();
        Test::TestWindowOptions options;
        options.keyFile = std::move(keyFile);
        options.onMessage = [this](const std::u16string& text) { messages_.push_back(text); };
        CYbMainWindow& w = Test::MakeTestWindow(window_, param_, std::move(options));
        w.activateWindow();
        [[maybe_unused]] bool active = QTest::qWaitForWindowActive(&w);
        return w;
    }

  private slots:
    void initTestCase() { QVERIFY(InstallQtTranslations(*QCoreApplication::instance())); }

    void cleanup() {
        window_.reset();
        param_.reset();
    }

    void escLeavesFullScreenBeforeQuitting() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.menuCommand(CYbMainWindow::kFullScreenId);
        QVERIFY(w.isFullScreen());
        QTest::keyClick(&w.view(), Qt::Key_Escape);
        QVERIFY(!w.isFullScreen());
        QVERIFY(w.isVisible());
        QVERIFY(!w.menuAction(CYbMainWindow::kFullScreenId)->isChecked());
        // Outside full screen Esc does what it is bound to: Exit.
        QTest::keyClick(&w.view(), Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    void focusReturnsToThePageAfterAMenu() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.view().setFocus();
        QMenu* file = w.menuBar()->actions().first()->menu();
        QVERIFY(file);
        // Opened from the keyboard, closed with Esc.
        QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() == file);
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        // The window's focus is the page again, not the menu bar. (The offscreen platform
        // leaves the closed menu as the active window; a window manager gives the activation
        // back, and with it the keys go to the window's focus widget.)
        QTRY_COMPARE(w.focusWidget(), static_cast<QWidget*>(&w.view()));
        // The keys reach the page at once.
        QTest::keyClick(w.focusWidget(), Qt::Key_End);
        QCOMPARE(w.currentPage() / 2, (w.pageCount() - 1) / 2);
        QTest::keyClick(w.focusWidget(), Qt::Key_Home);
        QCOMPARE(w.currentPage(), 0);
    }

    void selectionModeShowsInThePointer() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        QVERIFY(w.view().cursor().shape() != Qt::IBeamCursor);
        w.menuCommand(ID_SELECTION_MODE);
        QCOMPARE(w.view().cursor().shape(), Qt::IBeamCursor);
        QVERIFY(w.lastNotice().find(u"選択モード") != std::u16string::npos);
        // A page turn keeps it shown.
        w.runCommand(CMD_NextPage);
        QCOMPARE(w.view().cursor().shape(), Qt::IBeamCursor);
        w.menuCommand(ID_SELECTION_MODE);
        QVERIFY(w.view().cursor().shape() != Qt::IBeamCursor);
    }

    void copiedTextHasLinuxLineEnds() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        CYbTxtMapper& mapper = w.canvas().mapper();
        mapper.selStart = TextPoint{0, 0, 0};
        mapper.selEnd = TextPoint{2, 0, 0};
        mapper.selShown = true;
        w.runCommand(CMD_Copy);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.contains(QLatin1Char('\n')));
        QVERIFY(!copied.contains(QLatin1Char('\r')));
    }

    void bookmarksGiveASignAndOnlyExistingOnesCanBeGoneTo() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        for (int id = 40108; id <= 40117; ++id)
            QVERIFY(!w.menuAction(id)->isEnabled());
        w.gotoPage(4);
        QTest::keyClick(&w.view(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(w.document().bookmarks().EntryCount(), 1);
        QVERIFY(w.lastNotice().find(u"栞1 を追加しました") != std::u16string::npos);
        QVERIFY(w.menuAction(40109)->isEnabled());   // 栞1へ移動
        QVERIFY(!w.menuAction(40110)->isEnabled());  // 栞2へ移動
        QVERIFY(!w.menuAction(40108)->isEnabled());  // 栞10へ移動
        QTest::keyClick(&w.view(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(w.lastNotice(), std::u16string(u"このページには栞があります。"));

        // The list: the page column as wide as its numbers, the labels take the rest.
        w.runCommand(CMD_ShowBookmark);
        CYbTxtBookmarkDlg* list = w.bookmarkDlg();
        QVERIFY(list && list->isVisible());
        QHeaderView* header = list->list()->header();
        QVERIFY(header->sectionSize(0) < list->list()->viewport()->width() / 3);
        QVERIFY(header->sectionSize(1) > header->sectionSize(0));
    }

    void headingsWindowOpensBesideTheWindow() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        const QRect screenArea = w.screen()->availableGeometry();
        w.setGeometry(screenArea.left(), screenArea.top() + 20, screenArea.width() / 2,
                      screenArea.height() / 2);
        w.runCommand(CMD_ShowSubtitle);
        CYbTxtSubtitleDlg* headings = w.subtitleDlg();
        QVERIFY(headings && headings->isVisible());
        QVERIFY(headings->list()->uniformRowHeights());
        // Not over the main window's menu bar.
        const QRect menu(w.menuBar()->mapToGlobal(QPoint(0, 0)), w.menuBar()->size());
        QVERIFY(!headings->frameGeometry().intersects(menu));
        QCOMPARE(headings->frameGeometry().top(), w.frameGeometry().top());

        const QRect screen(0, 0, 1000, 800);
        QCOMPARE(BesidePosition(QRect(0, 0, 600, 400), QSize(200, 300), screen), QPoint(600, 0));
        // No room on the right: on the left.
        QCOMPARE(BesidePosition(QRect(400, 10, 600, 400), QSize(200, 300), screen),
                 QPoint(200, 10));
        // No room on either side: inside the right edge below the menu bar, on the screen.
        QCOMPARE(BesidePosition(QRect(0, 700, 1000, 400), QSize(200, 300), screen),
                 QPoint(800, 500));
        QCOMPARE(BesidePosition(QRect(0, 0, 1000, 600), QSize(200, 300), screen), QPoint(800, 100));
    }

    void qtDialogsSpeakJapanese() {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QColorDialog colors;
        colors.setOption(QColorDialog::DontUseNativeDialog);
        bool japanese = false;
        for (QPushButton* button : colors.findChildren<QPushButton*>())
            if (button->text().contains(QStringLiteral("キャンセル"))) japanese = true;
        QVERIFY(japanese);
    }

    void menusShowTheBoundKeysAndOwnMnemonics() {
        CYbMainWindow& w = make();
        QCOMPARE(KeyShown(w.menuAction(40121)), QStringLiteral("Ctrl+O"));
        QCOMPARE(KeyShown(w.menuAction(40118)), QStringLiteral("Ctrl+G"));
        QCOMPARE(Label(w.menuAction(40121)), QStringLiteral("開く(&O)"));
        // Every menu's items have distinct mnemonics.
        for (QAction* title : w.menuBar()->actions()) {
            QSet<QChar> seen;
            for (QAction* item : title->menu()->actions()) {
                if (item->isSeparator()) continue;
                const QString label = Label(item);
                const qsizetype at = label.indexOf(QLatin1Char('&'));
                QVERIFY2(at >= 0, qPrintable(label));
                const QChar letter = label[at + 1].toUpper();
                QVERIFY2(!seen.contains(letter), qPrintable(label));
                seen.insert(letter);
            }
        }
        // The user's key file decides what is shown.
        const std::filesystem::path keys =
            std::filesystem::path(dir_.path().toStdString()) / "k.ini";
        WriteKeyFile(keys, u"C-50=ReadFile\r\n22=NextPage\r\n");
        CYbMainWindow& mine = make(keys);
        QCOMPARE(KeyShown(mine.menuAction(40121)), QStringLiteral("Ctrl+P"));
        QCOMPARE(KeyShown(mine.menuAction(40120)), QStringLiteral("Page Down"));
        QVERIFY(KeyShown(mine.menuAction(40118)).isEmpty());

        QCOMPARE(AssignMnemonics({QStringLiteral("前のページへ(&P)"),
                                  QStringLiteral("プロパティ(&P)"), QStringLiteral("全画面表示")}),
                 (QStringList{QStringLiteral("前のページへ(&P)"), QStringLiteral("プロパティ(&A)"),
                              QStringLiteral("全画面表示(&B)")}));
        QCOMPARE(MenuKeyText(KeyBind{0x2D, false, true, false}), QStringLiteral("Ctrl+Insert"));
    }

    void searchFieldOffersTheLastWordSelected() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.param().SetText(u"HistSearchWord1", u"下人");
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = dynamic_cast<CYbTxtSearchDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            ran = true;
            QLineEdit* edit = dlg->wordBox()->lineEdit();
            QCOMPARE(edit->text(), QStringLiteral("下人"));
            QCOMPARE(edit->selectedText(), QStringLiteral("下人"));
            dlg->reject();
        });
        w.runCommand(CMD_Search);
        QVERIFY(ran);
    }

    void helpWithoutAViewerSaysWhereTheFileIs() {
        CYbMainWindow& w = make();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir_.path().toLocal8Bit());  // no xdg-mime, no viewer
        w.runCommand(CMD_Help);
        qputenv("PATH", path);
        QCOMPARE(int(messages_.size()), 1);
        const std::u16string help = FromFsPath(ProgramFolder() / "Yomibon.pdf");
        QVERIFY(messages_[0].find(help) != std::u16string::npos);
        if (std::filesystem::exists(ProgramFolder() / "Yomibon.pdf"))
            QVERIFY(messages_[0].find(u"PDF を表示するアプリケーションが見つかりませんでした") !=
                    std::u16string::npos);
    }
};

QTEST_MAIN(WindowMannersTest)
#include "window_manners_test.moc"

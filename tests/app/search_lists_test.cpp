// The window's search commands, its bookmark and outline windows, and the page-flip timer,
// driven offscreen on the real window.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/bookmark_dlg.h"
#include "app/command_table.h"
#include "app/main_window.h"
#include "app/page_view.h"
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

// Two chapters with level-1 headings, each long enough for several spreads.
std::u16string ChapteredText() {
    std::u16string text = u"章のある話\r\n作者某\r\n\r\n";
    for (const char16_t* chapter : {u"第一章", u"第二章"}) {
        text += std::u16string(chapter) + u"［＃「" + chapter + u"」は大見出し］\r\n";
        for (int i = 0; i < 120; ++i)
            text += u"　これは試しの文章です。同じ行を何度も繰り返します。\r\n";
        text += u"［＃改ページ］\r\n";
    }
    return text;
}

}  // namespace

class SearchListsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<CYbTxtParam> param_;
    std::unique_ptr<CYbMainWindow> window_;
    std::vector<std::u16string> messages_;

    CYbMainWindow& make(std::unique_ptr<CYbTxtParam> param = nullptr) {
        messages_.clear();
        Test::TestWindowOptions options;
        options.param = std::move(param);
        options.onMessage = [this](const std::u16string& text) { messages_.push_back(text); };
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }

    static QString Selected(CYbMainWindow& w) {
        QApplication::clipboard()->clear();
        w.runCommand(CMD_Copy);
        return QApplication::clipboard()->text();
    }

  private slots:
    void cleanup() {
        window_.reset();
        param_.reset();
    }

    void searchAgainMovesToHitAndSelectsIt() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        // Before any dialog search, repeating finds nothing.
        w.runCommand(CMD_SearchNext);
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(QString::fromStdU16String(messages_[0]),
                 QStringLiteral("文字列が見つかりません。"));
        QCOMPARE(w.currentPage(), 0);

        w.search().StartSearch({0, 0, 0}, true, u"下人の行方", false);
        w.runCommand(CMD_SearchNext);
        int hitPage = w.currentPage();
        QVERIFY2(hitPage > w.pageCount() / 2, "the phrase stands near the end");
        QVERIFY(w.canvas().mapper().selShown);
        QCOMPARE(Selected(w), QStringLiteral("下人の行方"));
        // A hit on another spread is a history step: Back returns to where the search began.
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.currentPage(), 0);
        w.runCommand(CMD_ForwardPage);
        QCOMPARE(w.currentPage(), hitPage);

        // Without wrap the only hit is not found again; the view stays.
        w.runCommand(CMD_SearchNext);
        QCOMPARE(int(messages_.size()), 2);
        QCOMPARE(w.currentPage(), hitPage);

        // With wrap, searching on from the hit comes round to it again.
        w.gotoPage(0);
        w.search().StartSearch({0, 0, 0}, true, u"下人の行方", true);
        w.runCommand(CMD_SearchNext);
        w.runCommand(CMD_SearchNext);
        QCOMPARE(int(messages_.size()), 2);
        QCOMPARE(w.currentPage(), hitPage);
        w.gotoPage(0);
        w.runCommand(CMD_SearchPrev);  // backwards from the hit, wrapping from the end
        QCOMPARE(w.currentPage(), hitPage);
        QCOMPARE(Selected(w), QStringLiteral("下人の行方"));

        // The dialog: a hit closes it and the window shows the hit.
        w.gotoPage(0);
        bool searched = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = dynamic_cast<CYbTxtSearchDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            dlg->wordBox()->setEditText(QStringLiteral("羅生門の下"));
            searched = dlg->search(true);
        });
        w.runCommand(CMD_Search);
        QVERIFY(searched);
        QVERIFY(w.currentPage() < hitPage);
        QCOMPARE(Selected(w), QStringLiteral("羅生門の下"));
    }

    void bookmarkListTogglesJumpsAndIsRemembered() {
        auto param = std::make_unique<CYbTxtParam>();
        param->SetBoolean(u"PageFlip", false);
        param->SetBoolean(u"SaveWindowSize", true);
        CYbMainWindow& w = make(std::move(param));
        QVERIFY(w.openPath(Sample()));
        QVERIFY(!w.bookmarkDlg());
        w.menuCommand(40101);
        QVERIFY(w.bookmarkDlg() && w.bookmarkDlg()->isVisible());
        QVERIFY(w.menuAction(40101)->isChecked());
        w.bookmarkDlg()->close();  // the close box only hides it
        QVERIFY(w.bookmarkDlg());
        QVERIFY(!w.menuAction(40101)->isChecked());
        w.menuCommand(40101);
        QVERIFY(w.menuAction(40101)->isChecked());

        w.gotoPage(6);
        w.runCommand(CMD_AddBookmark);
        QCOMPARE(w.bookmarkDlg()->list()->topLevelItemCount(), 1);
        w.gotoPage(0);
        w.bookmarkDlg()->list()->topLevelItem(0)->setSelected(true);
        w.bookmarkDlg()->goSelected();
        QCOMPARE(w.currentPage(), 6);
        w.runCommand(CMD_BackPage);  // jumps from the list are history steps
        QCOMPARE(w.currentPage(), 0);

        // Closing remembers the open list window; the next start shows it again.
        w.storeState();
        QCOMPARE(param_->GetPoints(u"BookmarkPos").at(0), 1);
        QVERIFY(param_->GetPoints(u"SubtitlePos").empty() ||
                param_->GetPoints(u"SubtitlePos").at(0) == 0);
        auto again = std::make_unique<CYbTxtParam>(*param_);
        CYbMainWindow& next = make(std::move(again));
        QVERIFY(next.bookmarkDlg() && next.bookmarkDlg()->isVisible());
        QVERIFY(next.menuAction(40101)->isChecked());
        QVERIFY(!next.subtitleDlg() || !next.subtitleDlg()->isVisible());
    }

    void outlineFollowsOpensAndJumps() {
        CYbMainWindow& w = make();
        w.menuCommand(40133);
        QVERIFY(w.subtitleDlg() && w.subtitleDlg()->isVisible());
        w.openText(ChapteredText());
        QTreeWidget* list = w.subtitleDlg()->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("第二章"));
        list->topLevelItem(1)->setSelected(true);
        w.subtitleDlg()->goSelected();
        int second = w.currentPage();
        QVERIFY(second > 2);
        QCOMPARE(list->topLevelItem(1)->text(0).toInt() / 2, second / 2);  // on the spread
        w.openPath(Sample());  // rashomon has no headings
        QCOMPARE(list->topLevelItemCount(), 0);
        w.menuCommand(40133);
        QVERIFY(!w.subtitleDlg()->isVisible());
        QVERIFY(!w.menuAction(40133)->isChecked());
    }

    void pageFlipRunsOnTheTimerOnlyForOneSpread() {
        auto param = std::make_unique<CYbTxtParam>();
        param->SetBoolean(u"PageFlip", true);
        int32_t interval = 5;
        param->SetPoints(u"PageFlipInterval", &interval, 1);
        CYbMainWindow& w = make(std::move(param));
        QVERIFY(w.openPath(Sample()));
        QCOMPARE(w.flipInterval(), 5);
        QImage before = w.view().grab().toImage();
        w.runCommand(CMD_NextPage);
        QCOMPARE(w.currentPage(), 2);
        QVERIFY(w.canvas().flipping());
        QVERIFY(w.flipTimer()->isActive());
        // The window shows the turning leaf, neither the old nor the new spread.
        QImage turning = w.view().grab().toImage();
        QTRY_VERIFY_WITH_TIMEOUT(!w.flipTimer()->isActive(), 10000);
        QVERIFY(!w.canvas().flipping());
        QImage after = w.view().grab().toImage();
        QVERIFY(turning != before);
        QVERIFY(turning != after);
        QVERIFY(after != before);

        w.gotoPage(10);  // more than one spread: no animation
        QVERIFY(!w.canvas().flipping());
        QVERIFY(!w.flipTimer()->isActive());

        // An interval of 0 turns pages at once.
        interval = 0;
        param_->SetPoints(u"PageFlipInterval", &interval, 1);
        w.menuCommand(ID_SettingsChanged);
        w.runCommand(CMD_NextPage);
        QVERIFY(!w.canvas().flipping());
        QVERIFY(!w.flipTimer()->isActive());
    }
};

QTEST_MAIN(SearchListsTest)
#include "search_lists_test.moc"

#include "app/search_dlg.h"

#include "../text/txt_document_test_support.h"
#include "app/bookmark_dlg.h"
#include "app/subtitle_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "settings/txt_param.h"
#include "text/aozora_parser.h"
#include "text/txt_search_history.h"

using namespace Yomibon;

class SearchDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void findsAndReportsAHit();
    void bookmarkAddedIsListedAndJumpedTo();
    void outlineReportsAHeadingsPage();
};

void SearchDlgTest::findsAndReportsAHit() {
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(std::u16string_view(u"\nアメが降る\n雨《あめ》の日\nけさはあめです"), buffer);
    CYbTxtParam param;
    param.SetText(SearchHistoryKey(1), u"猫");
    param.SetBoolean(u"SearchLoop", false);
    CYbTxtSearch search;
    CYbTxtSearchDlg dlg(param, search, buffer, TextPoint{0, 0, 0});
    QCOMPARE(dlg.wordBox()->count(), 1);
    QCOMPARE(dlg.wordBox()->currentText(), QStringLiteral("猫"));
    QVERIFY(!dlg.wrapBox()->isChecked());

    QStringList messages;
    dlg.setMessageFunc([&](const QString& text) { messages << text; });
    TextPoint hit, end;
    int hits = 0;
    dlg.setHitFunc([&](const TextPoint& h, const TextPoint& e) { hit = h, end = e, ++hits; });

    QVERIFY(!dlg.search(true));
    QCOMPARE(messages, QStringList{QStringLiteral("文字列が見つかりません。")});

    dlg.wordBox()->setEditText(QStringLiteral("あめ"));
    QVERIFY(dlg.search(true));
    QCOMPARE(hits, 1);
    QCOMPARE(buffer.charAt(hit), char32_t(U'あ'));
    QCOMPARE(buffer.charAt(end), char32_t(U'め'));
    QCOMPARE(hit.iLine, buffer.lineCount() - 1);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    // The word went to the top of the history; the older one moved down.
    QCOMPARE(param.GetText(SearchHistoryKey(1)), std::u16string(u"あめ"));
    QCOMPARE(param.GetText(SearchHistoryKey(2)), std::u16string(u"猫"));
    QCOMPARE(dlg.wordBox()->itemText(0), QStringLiteral("あめ"));
    // A repeat keeps the dialog's flags: no wrap, so nothing after the only hit.
    TextPoint again;
    QVERIFY(!search.Find(again, true));
}

namespace {

// A document of twelve lines, two per page, with a heading on line 9 (page 4).
std::unique_ptr<CYbTxtDocument> MakeDocument(CYbTxtParam& param) {
    auto doc = std::make_unique<CYbTxtDocument>(
        param, std::make_unique<Yomibon::Test::OneColumnPerLineLayout>());
    std::u16string text = u"題\r\n著者\r\n";
    for (int i = 2; i < 12; ++i)
        text += i == 9 ? u"見出し［＃「見出し」は大見出し］\r\n" : u"本文の行\r\n";
    doc->openText(text);
    return doc;
}

void DoubleClick(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    list->setCurrentItem(item);
    item->setSelected(true);
    emit list->itemDoubleClicked(item, 0);
}

}  // namespace

void SearchDlgTest::bookmarkAddedIsListedAndJumpedTo() {
    CYbTxtParam param;
    auto doc = MakeDocument(param);
    QVERIFY(doc->getPageCount() >= 5);
    CYbTxtBookmarkDlg dlg(*doc, param);
    QCOMPARE(dlg.list()->topLevelItemCount(), 0);
    int syncs = 0;
    dlg.setSyncFunc([&] { ++syncs; });
    dlg.setAddFunc([&] { doc->bookmarks().AddEntry(3); });
    std::vector<int32_t> jumps;
    dlg.setJumpFunc([&](int32_t page) { jumps.push_back(page); });
    dlg.show();
    QCOMPARE(syncs, 1);

    doc->bookmarks().AddEntry(1);
    dlg.refresh();
    // The tool bar's add action goes through the main window's callback.
    QList<QAction*> actions = dlg.findChild<QToolBar*>()->actions();
    QCOMPARE(actions.size(), 3);
    actions[1]->trigger();
    QCOMPARE(dlg.list()->topLevelItemCount(), 2);
    // Rows are in page order; a double-click reports the row's page.
    const int32_t second = doc->bookmarks().GetEntryPage(1);
    QVERIFY(second > doc->bookmarks().GetEntryPage(0));
    QCOMPARE(dlg.list()->topLevelItem(1)->text(0), QString::number(second));
    DoubleClick(dlg.list(), 1);
    QCOMPARE(jumps, std::vector<int32_t>{second});

    // Delete the selected bookmark: one is left and a row stays selected.
    actions[2]->trigger();
    QCOMPARE(doc->bookmarks().EntryCount(), 1);
    QCOMPARE(dlg.list()->topLevelItemCount(), 1);
    QCOMPARE(dlg.list()->selectedItems().size(), 1);
    actions[0]->trigger();
    QCOMPARE(jumps.back(), doc->bookmarks().GetEntryPage(0));

    // The close box only hides.
    dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(syncs, 2);
}

void SearchDlgTest::outlineReportsAHeadingsPage() {
    CYbTxtParam param;
    auto doc = MakeDocument(param);
    QVERIFY(!doc->outline().empty());
    std::vector<int32_t> jumps;
    {
        CYbTxtSubtitleDlg dlg(*doc, param);
        dlg.setJumpFunc([&](int32_t page) { jumps.push_back(page); });
        QCOMPARE(dlg.list()->topLevelItemCount(), int(doc->outline().size()));
        QVERIFY(dlg.list()->topLevelItem(0)->text(1).contains(QStringLiteral("見出し")));
        DoubleClick(dlg.list(), 0);
        dlg.setGeometry(40, 50, 300, 200);
    }
    QCOMPARE(jumps.size(), size_t(1));
    QCOMPARE(jumps[0], doc->pointToPage(doc->outline()[0].begin));
    QVERIFY(jumps[0] > 0);
    // The rectangle was kept for the next start.
    const std::vector<int32_t>& pos = param.GetPoints(u"SubtitlePos");
    QVERIFY(pos.size() >= 5);
    QCOMPARE(pos[3], 300);
    QCOMPARE(pos[4], 200);
}

QTEST_MAIN(SearchDlgTest)
#include "search_dlg_test.moc"

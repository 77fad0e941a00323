// The window and the desktop around it, offscreen: dropped files, links and text, the
// clipboard item, full screen and its placement, the recent-files menu, link files.
#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <fstream>

#include "app/application.h"
#include "app/command_table.h"
#include "app/internet_shortcut.h"
#include "app/main_window.h"
#include "app/page_view.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "support/http_test_server.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

// A text of a few spreads with a title and an author.
std::string ShortText(const std::string& title) {
    std::string text = title + "\r\n作者某\r\n\r\n";
    for (int i = 0; i < 120; ++i)
        text += "　これは試しの文章です。同じ行を何度も繰り返します。\r\n";
    return text;
}

std::u16string WriteFile(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return FromFsPath(path);
}

std::u16string U(const std::string& s) {
    return FromUtf8(s);
}

// A small HTML page titled with its heading.
std::string Page(const std::string& title) {
    return "<html><head><meta charset=\"utf-8\"/></head><body><h1 class=\"title\">" + title +
           "</h1><p>本文の一行目です。</p></body></html>";
}

QUrl FileUrl(const std::u16string& path) {
    return QUrl::fromLocalFile(ToQString(path));
}

struct DropResult {
    bool entered = false;
    bool dropped = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Drags the data over the middle of the window and drops it there.
DropResult Drop(QWidget& window, const QMimeData& data) {
    QPoint at(window.width() / 2, window.height() / 2);
    DropResult result;
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    result.entered = enter.isAccepted();
    if (!result.entered) return result;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    result.dropped = drop.isAccepted();
    result.action = drop.dropAction();
    return result;
}

void MoveTo(QWidget& view, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

// The bar shown over the page in full screen (not the window's own menu bar).
QMenuBar* FullScreenMenu(CYbMainWindow& w) {
    for (QMenuBar* bar : w.findChildren<QMenuBar*>())
        if (bar != w.menuBar()) return bar;
    return nullptr;
}

QScrollBar* Bar(CYbMainWindow& w, Qt::Orientation orientation) {
    for (QScrollBar* bar : w.findChildren<QScrollBar*>())
        if (bar->orientation() == orientation) return bar;
    return nullptr;
}

QMenu* RecentMenu(CYbMainWindow& w) {
    for (QMenu* menu : w.findChildren<QMenu*>())
        if (menu->title() == QStringLiteral("最近使ったファイル(&F)")) return menu;
    return nullptr;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CYbTxtParam> param_;
    std::unique_ptr<CYbMainWindow> window_;

    CYbMainWindow& make() {
        std::filesystem::path keys = std::filesystem::path(dir_.path().toStdString()) / "k.ini";
        Test::TestWindowOptions options;
        options.keyFile = keys;
        options.geometry = QRect(40, 30, 700, 500);
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }

  private slots:
    void cleanup() {
        window_.reset();
        param_.reset();
    }

    void linkFilesGiveTheirUrl() {
        // An Internet shortcut with a byte-order mark, CR LF and other letter cases.
        QCOMPARE(LinkFileUrl("\xEF\xBB\xBF[internetshortcut]\r\nurl = http://example.invalid/a.html"
                             "\r\nIconIndex=0\r\n"),
                 u"http://example.invalid/a.html");
        QCOMPARE(LinkFileUrl("[DEFAULT]\nBASEURL=http://b.invalid/\n[InternetShortcut]\rURL=ftp://"
                             "c.invalid/d.txt\r"),
                 u"ftp://c.invalid/d.txt");
        // The key must lie in its section.
        QCOMPARE(LinkFileUrl("[Other]\r\nURL=http://x.invalid/\r\n"), u"");
        // UTF-16 with its mark.
        std::string wide("\xFF\xFE", 2);
        for (char c : std::string("[InternetShortcut]\r\nURL=https://w.invalid/\r\n"))
            wide += std::string{c, '\0'};
        QCOMPARE(LinkFileUrl(wide), u"https://w.invalid/");
        // A desktop entry counts only as a link.
        QCOMPARE(LinkFileUrl("[Desktop Entry]\nName=本\nType=Link\nURL=https://e.invalid/a\\sb\n"),
                 u"https://e.invalid/a b");
        QCOMPARE(LinkFileUrl("[desktop entry]\nurl=https://e.invalid/\ntype=link\n"),
                 u"https://e.invalid/");
        QCOMPARE(LinkFileUrl("[Desktop Entry]\nType=Application\nURL=https://e.invalid/\n"), u"");
        QCOMPARE(LinkFileUrl(ShortText("題")), u"");
        QVERIFY(IsLinkFileName(u"/tmp/Book.URL"));
        QVERIFY(IsLinkFileName(u"a.desktop"));
        QVERIFY(!IsLinkFileName(u"a.txt"));
        QVERIFY(!IsLinkFileName(u".url"));
    }

    void droppedTextFileOpensAfterTheDrop() {
        CYbMainWindow& w = make();
        std::u16string path = WriteFile(dir_, "dropped.txt", ShortText("落とした話"));
        QMimeData data;
        data.setUrls({FileUrl(path)});
        DropResult r = Drop(w, data);
        QVERIFY(r.entered);
        QVERIFY(r.dropped);
        QCOMPARE(r.action, Qt::CopyAction);
        // Posted: the drop returns before the text is read.
        QVERIFY(w.document().getFileName().empty());
        QTRY_COMPARE(w.document().getFileName(), path);
        QVERIFY(w.pageCount() > 2);
        QVERIFY2(w.windowTitle().startsWith(QStringLiteral("Yomibon 落とした話 - 作者某 (1/")),
                 qPrintable(w.windowTitle()));
        // Opened through the history and recorded, as the command line's path is; being the
        // first text, there is nothing for Back to return to.
        QCOMPARE(int(w.history().doneCount()), 0);
        QCOMPARE(w.recentFiles().entries().back().path, path);
        QCOMPARE(w.param().GetText(u"LastFile"), path);
    }

    void droppedShortcutOpensItsUrl() {
        CYbMainWindow& w = make();
        Test::HttpTestServer server;
        server.route("/books/rashomon.html", {200, "text/html", Page("羅生門"), {}});
        server.route("/d.html", {200, "text/html", Page("リンクの本"), {}});
        const std::u16string url = U(server.url("/books/rashomon.html"));
        std::u16string shortcut = WriteFile(
            dir_, "book.url",
            "\xEF\xBB\xBF[InternetShortcut]\r\nURL=" + server.url("/books/rashomon.html") + "\r\n");
        QMimeData data;
        data.setUrls({FileUrl(shortcut)});
        std::vector<std::u16string> shown;
        w.setMessageHook([&](const std::u16string& text) { shown.push_back(text); });
        QVERIFY(Drop(w, data).dropped);
        // The URL is what gets opened and recorded, not the file.
        QTRY_COMPARE(w.document().getFileName(), url);
        QVERIFY(shown.empty());
        QCOMPARE(w.recentFiles().entries().back().path, url);

        // A shortcut to a page that is not there: the failure names the URL, the book stays
        // and nothing is recorded.
        std::u16string gone =
            WriteFile(dir_, "gone.url", "[InternetShortcut]\r\nURL=" + server.url("/gone.html"));
        data.setUrls({FileUrl(gone)});
        QVERIFY(Drop(w, data).dropped);
        QTRY_COMPARE(int(shown.size()), 1);
        QVERIFY(shown[0].find(U(server.url("/gone.html"))) != std::u16string::npos);
        QCOMPARE(w.document().getFileName(), url);
        QCOMPARE(int(w.recentFiles().entries().size()), 1);

        // A desktop link likewise; a .url file without a URL is opened as itself.
        std::u16string desktop =
            WriteFile(dir_, "book.desktop",
                      "[Desktop Entry]\nType=Link\nURL=" + server.url("/d.html") + "\n");
        data.setUrls({FileUrl(desktop)});
        QVERIFY(Drop(w, data).dropped);
        QTRY_COMPARE(w.document().getFileName(), U(server.url("/d.html")));
        std::u16string plain = WriteFile(dir_, "plain.url", ShortText("名前だけの話"));
        data.setUrls({FileUrl(plain)});
        QVERIFY(Drop(w, data).dropped);
        QTRY_COMPARE(w.document().getFileName(), plain);
        QVERIFY(w.windowTitle().contains(QStringLiteral("名前だけの話")));
    }

    void droppedUrlsAreOpened() {
        CYbMainWindow& w = make();
        Test::HttpTestServer server;
        for (const char* path : {"/list.html", "/moz.html", "/locator.html"})
            server.route(path, {200, "text/html", Page(path), {}});
        QMimeData list;
        list.setUrls({QUrl(QString::fromStdString(server.url("/list.html")))});
        QVERIFY(Drop(w, list).dropped);
        QTRY_COMPARE(w.document().getFileName(), U(server.url("/list.html")));

        // Firefox's own format: UTF-16, the URL on the first line and the title on the next.
        QString moz = QString::fromStdString(server.url("/moz.html")) + QStringLiteral("\n題");
        QMimeData mozData;
        mozData.setData(QStringLiteral("text/x-moz-url"),
                        QByteArray(reinterpret_cast<const char*>(moz.utf16()),
                                   moz.size() * qsizetype(sizeof(char16_t))));
        QVERIFY(Drop(w, mozData).dropped);
        QTRY_COMPARE(w.document().getFileName(), U(server.url("/moz.html")));

        // The other desktop's narrow link format, ended by a zero byte.
        QMimeData locator;
        std::string narrow = server.url("/locator.html");
        locator.setData(QStringLiteral("UniformResourceLocator"),
                        QByteArray(narrow.c_str(), qsizetype(narrow.size() + 1)));
        QVERIFY(Drop(w, locator).entered);
        QTRY_COMPARE(w.document().getFileName(), U(server.url("/locator.html")));
        // Each drop after the first is a step Back returns from.
        QCOMPARE(int(w.history().doneCount()), 2);
    }

    void droppedTextIsOpenedAsText() {
        CYbMainWindow& w = make();
        std::u16string path = WriteFile(dir_, "before.txt", ShortText("前の話"));
        w.openWithHistory(path);
        QVERIFY(w.menuAction(40103)->isEnabled());
        QMimeData data;
        data.setText(QStringLiteral("貼った話\n誰か\n\n　本文の一行目です。\n　二行目です。\n"));
        DropResult r = Drop(w, data);
        QVERIFY(r.dropped);
        QTRY_VERIFY(w.document().getFileName().empty());
        QVERIFY2(w.windowTitle().startsWith(QStringLiteral("Yomibon 貼った話 - 誰か")),
                 qPrintable(w.windowTitle()));
        QVERIFY(!w.menuAction(40103)->isEnabled());
        // Text is not a recent file.
        QCOMPARE(w.recentFiles().entries().back().path, path);
    }

    void dropsRefused() {
        CYbMainWindow& w = make();
        std::u16string path = WriteFile(dir_, "kept.txt", ShortText("残る話"));
        w.openWithHistory(path);
        QMimeData text;
        text.setText(QStringLiteral("落とされない文章"));
        // A disabled window takes nothing.
        static_cast<QWidget&>(w).setEnabled(false);
        QVERIFY(!Drop(w, text).entered);
        static_cast<QWidget&>(w).setEnabled(true);
        QVERIFY(Drop(w, text).entered);
        QTRY_VERIFY(w.document().getFileName().empty());
        w.openWithHistory(path);

        // Data offering none of the formats.
        QMimeData other;
        other.setData(QStringLiteral("application/x-something"), "abc");
        QVERIFY(!Drop(w, other).entered);
        // Offered but unreadable: an empty text is ignored.
        QMimeData empty;
        empty.setData(QStringLiteral("text/plain"), QByteArray());
        DropResult r = Drop(w, empty);
        QVERIFY(r.entered);
        QVERIFY(!r.dropped);
        // A URL of another scheme is not a link to open.
        QMimeData mail;
        mail.setUrls({QUrl(QStringLiteral("mailto:someone@example.invalid"))});
        QVERIFY(!Drop(w, mail).dropped);
        QTest::qWait(20);
        QCOMPARE(w.document().getFileName(), path);
    }

    void clipboardItemFollowsTheClipboard() {
        CYbMainWindow& w = make();
        QClipboard* clipboard = QGuiApplication::clipboard();
        QAction* item = w.menuAction(40122);
        QVERIFY(item);
        clipboard->setText(QStringLiteral("クリップボードの文章"));
        QTRY_VERIFY(item->isEnabled());
        clipboard->clear();
        QTRY_VERIFY(!item->isEnabled());
        clipboard->setText(QStringLiteral("もう一度"));
        QTRY_VERIFY(item->isEnabled());
        // Data without text leaves it off.
        auto* picture = new QMimeData;
        picture->setData(QStringLiteral("image/x-something"), "abc");
        clipboard->setMimeData(picture);
        QTRY_VERIFY(!item->isEnabled());
    }

    void fullScreenAndBack() {
        CYbMainWindow& w = make();
        w.openPath(WriteFile(dir_, "screen.txt", ShortText("画面の話")));
        QRect before = w.geometry();
        QAction* check = w.menuAction(CYbMainWindow::kFullScreenId);
        QVERIFY(!check->isChecked());
        w.runCommand(CMD_ShowHScrollBar);
        w.runCommand(CMD_ShowVScrollBar);
        QScrollBar* h = Bar(w, Qt::Horizontal);
        QScrollBar* v = Bar(w, Qt::Vertical);
        QVERIFY(h->isVisible() && v->isVisible());

        w.runCommand(CMD_FullScreen);
        QVERIFY(w.isFullScreen());
        QVERIFY(check->isChecked());
        QVERIFY(!w.menuBar()->isVisible());
        QVERIFY(!h->isVisible() && !v->isVisible());
        QTRY_COMPARE(w.geometry(), w.screen()->geometry());

        // Closing now saves the placement from before full screen.
        w.storeState();
        std::vector<int32_t> placement = w.param().GetPoints(u"WindowSize");
        QCOMPARE(int(placement.size()), 11);
        QCOMPARE(placement[2], 1);
        QCOMPARE(QRect(QPoint(placement[7], placement[8]), QPoint(placement[9], placement[10])),
                 before.adjusted(0, 0, 1, 1));
        QVERIFY(w.param().GetBoolean(u"FullScreen"));

        // The menu comes over the page within its height of the top, and goes again.
        QWidget& view = w.view();
        QTRY_COMPARE(view.height(), w.height());
        int menuHeight = w.menuBar()->sizeHint().height();
        QVERIFY(menuHeight > 0);
        MoveTo(view, QPoint(view.width() / 2, menuHeight - 1));
        QMenuBar* overlay = FullScreenMenu(w);
        QVERIFY(overlay && overlay->isVisible());
        QCOMPARE(overlay->geometry().top(), 0);
        QCOMPARE(overlay->actions().size(), w.menuBar()->actions().size());
        QVERIFY(!h->isVisible() && !v->isVisible());
        // The page under it neither moves nor shrinks.
        QTest::qWait(20);
        QCOMPARE(view.geometry(), QRect(QPoint(0, 0), w.size()));
        MoveTo(view, QPoint(view.width() / 2, menuHeight + 5));
        QVERIFY(!overlay->isVisible());

        // The switched-on bars come at the bottom and right edges.
        MoveTo(view, QPoint(view.width() / 2, view.height() - 2));
        QVERIFY(h->isVisible());
        QVERIFY(!v->isVisible());
        // Turning pages leaves a revealed bar where it is.
        w.runCommand(CMD_NextPage);
        QVERIFY(h->isVisible());
        QTRY_COMPARE(view.height(), w.height() - h->height());
        MoveTo(view, QPoint(view.width() / 2, view.height() / 2));
        QVERIFY(!h->isVisible());
        MoveTo(view, QPoint(view.width() - 2, view.height() / 2));
        QVERIFY(v->isVisible());
        QVERIFY(!h->isVisible());
        QTRY_COMPARE(view.width(), w.width() - v->width());
        MoveTo(view, QPoint(view.width() / 2, view.height() / 2));
        QVERIFY(!v->isVisible());
        // A bar switched off stays hidden at its edge.
        w.runCommand(CMD_HideHScrollBar);
        QTRY_COMPARE(view.height(), w.height());
        MoveTo(view, QPoint(view.width() / 2, view.height() - 2));
        QVERIFY(!h->isVisible());

        w.runCommand(CMD_FullScreen);
        QVERIFY(!w.isFullScreen());
        QVERIFY(!check->isChecked());
        QVERIFY(w.menuBar()->isVisible());
        QVERIFY(!overlay->isVisible());
        QTRY_COMPARE(w.geometry(), before);
        QVERIFY(v->isVisible());
        QVERIFY(!h->isVisible());
        // Outside full screen the edges reveal nothing.
        w.runCommand(CMD_HideVScrollBar);
        MoveTo(view, QPoint(view.width() - 2, 2));
        QVERIFY(!v->isVisible());
        QVERIFY(!overlay->isVisible());
        w.storeState();
        QVERIFY(!w.param().GetBoolean(u"FullScreen"));
    }

    void startingInFullScreen() {
        std::filesystem::path ini = std::filesystem::path(dir_.path().toStdString()) / "Full.ini";
        {
            CYbTxtParam settings;
            settings.SetBoolean(u"BookMarkAutoSave", false);
            settings.SetBoolean(u"PageFlip", false);
            settings.SetBoolean(u"FullScreen", true);
            const int32_t placement[11] = {44, 0, 1, 0, 0, 0, 0, 50, 60, 550, 460};
            settings.SetPoints(u"WindowSize", placement, 11);
            settings.SetText(u"LastFile", WriteFile(dir_, "last.txt", ShortText("前回の話")));
            QVERIFY(settings.Save(ini));
        }
        CYbApplication& app = CYbApplication::Instance();
        app.setSettingsFile(ini);
        std::unique_ptr<CYbMainWindow> w = app.createWindow(u"");
        QVERIFY(w->isFullScreen());
        QVERIFY(w->isVisible());
        QVERIFY(w->menuAction(CYbMainWindow::kFullScreenId)->isChecked());
        QVERIFY(!w->menuBar()->isVisible());
        QTRY_VERIFY(w->pageCount() > 2);
        QRect work = w->screen()->availableGeometry();
        QRect expected(work.left() + 50, work.top() + 60, 500, 400);
        // Saved while still in full screen: the placement it started from.
        w->storeState();
        std::vector<int32_t> stored = app.param().GetPoints(u"WindowSize");
        QCOMPARE(stored[9] - stored[7], 500);
        QCOMPARE(stored[10] - stored[8], 400);
        QVERIFY(app.param().GetBoolean(u"FullScreen"));
        w->runCommand(CMD_FullScreen);
        QVERIFY(!w->isFullScreen());
        QTRY_COMPARE(w->geometry(), expected);
        QVERIFY(w->menuBar()->isVisible());
    }

    void recentMenuItems() {
        CYbMainWindow& w = make();
        QMenu* menu = RecentMenu(w);
        QVERIFY(menu);
        QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0]->text(), QStringLiteral("なし"));
        QCOMPARE(items[0]->data().toInt(), 204);
        items[0]->trigger();  // inert
        QVERIFY(w.document().getFileName().empty());

        std::vector<std::u16string> paths;
        for (int i = 1; i <= 12; ++i) {
            std::string name = "recent" + std::to_string(i) + ".txt";
            paths.push_back(WriteFile(dir_, name.c_str(),
                                      "題" + std::to_string(i) + "\r\n著者\r\n\r\n　本文。\r\n"));
        }
        w.openWithHistory(paths[0]);
        items = menu->actions();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0]->text(), QStringLiteral("&1: 題1:著者"));
        QCOMPARE(items[0]->data().toInt(), 205);

        for (size_t i = 1; i < paths.size(); ++i)
            w.openWithHistory(paths[i]);
        // An entry without a label shows its path.
        w.recentFiles().record(u"/no/label.txt", u"", u"");
        w.openWithHistory(paths[11]);
        items = menu->actions();
        QCOMPARE(items.size(), 10);
        // Newest first, numbered 1..9 and 0, IDs 205..214.
        QCOMPARE(items[0]->text(), QStringLiteral("&1: 題12:著者"));
        QCOMPARE(items[1]->text(), QStringLiteral("&2: /no/label.txt"));
        QCOMPARE(items[2]->text(), QStringLiteral("&3: 題11:著者"));
        QCOMPARE(items[9]->text(), QStringLiteral("&0: 題4:著者"));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(items[i]->data().toInt(), 205 + i);
        // The tenth item opens its entry.
        items[9]->trigger();
        QCOMPARE(w.document().getFileName(), paths[3]);
        QCOMPARE(RecentMenu(w)->actions().first()->text(), QStringLiteral("&1: 題4:著者"));
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"

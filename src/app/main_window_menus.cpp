// The main menu, the context menu and the recent-files pop-up.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/main_window.h"
#include "app/menu_labels.h"
#include "app/page_view.h"
#include "app/window_clipboard.h"

namespace Yomibon {
namespace {

constexpr int kSeparator = -1;
// The item's label without the key shown beside it.
constexpr const char* kLabelProperty = "ybLabel";
constexpr int kRecentMenu = 203;

}  // namespace

QMenu* CYbMainWindow::addMenu(const QString& title,
                              std::initializer_list<std::pair<const char*, int>> items) {
    QMenu* menu = menuBar()->addMenu(title);
    for (const auto& [label, id] : items) {
        if (id == kSeparator) {
            menu->addSeparator();
        } else if (id == kRecentMenu) {
            recentMenu_ = menu->addMenu(QString::fromUtf8(label));
        } else {
            QAction* action = menu->addAction(QString::fromUtf8(label));
            int commandId = id;
            connect(action, &QAction::triggered, this,
                    [this, commandId] { menuCommand(commandId); });
            actions_[id] = action;
        }
    }
    return menu;
}

void CYbMainWindow::buildMenus() {
    addMenu(QStringLiteral("ファイル(&F)"), {{"開く(&O)", 40121},
                                             {"URLから開く(&U)", 40004},
                                             {"青空文庫から開く(&A)…", 40006},
                                             {"クリップボードから開く(&L)", 40122},
                                             {"読み直し", 202},
                                             {"", kSeparator},
                                             {"保存(&S)", 40148},
                                             {"PDFに書き出し(&E)…", 40149},
                                             {"", kSeparator},
                                             {"文章情報(&I)", 40001},
                                             {"", kSeparator},
                                             {"名前を付けて栞を保存", 40103},
                                             {"栞の自動保存", 40102},
                                             {"", kSeparator},
                                             {"最近使ったファイル(&F)", kRecentMenu},
                                             {"", kSeparator},
                                             {"終了(&X)", 8}});
    addMenu(QStringLiteral("編集(&E)"), {{"コピー(&C)", 40105}});
    addMenu(QStringLiteral("表示(&V)"), {{"水平スクロールバーの表示(&H)", 40131},
                                         {"垂直スクロールバーの表示(&V)", 40132},
                                         {"", kSeparator},
                                         {"見出し一覧(&L)", 40133},
                                         {"", kSeparator},
                                         {"全画面表示", 40134},
                                         {"", kSeparator},
                                         {"次のページへ(&N)", 40120},
                                         {"前のページへ(&P)", 40123},
                                         {"先頭ページへ(&T)", 40128},
                                         {"最終ページへ(&E)", 40107},
                                         {"ページを指定して移動(&M)", 40118},
                                         {"", kSeparator},
                                         {"(履歴)前のページへ戻る", 40002},
                                         {"(履歴)次のページへ進む", 40003},
                                         {"", kSeparator},
                                         {"選択モード", 40005},
                                         {"", kSeparator},
                                         {"プロパティ(&P)", 40000}});
    addMenu(QStringLiteral("検索(&S)"),
            {{"検索(&F)", 40125}, {"次を検索(&N)", 40126}, {"前を検索(&P)", 40127}});
    QMenu* bookmarks = addMenu(QStringLiteral("栞(&B)"), {{"栞の一覧(&L)", 40101},
                                                          {"", kSeparator},
                                                          {"栞の追加(&A)", 40100},
                                                          {"", kSeparator},
                                                          {"栞1へ移動(&1)", 40109},
                                                          {"栞2へ移動(&2)", 40110},
                                                          {"栞3へ移動(&3)", 40111},
                                                          {"栞4へ移動(&4)", 40112},
                                                          {"栞5へ移動(&5)", 40113},
                                                          {"栞6へ移動(&6)", 40114},
                                                          {"栞7へ移動(&7)", 40115},
                                                          {"栞8へ移動(&8)", 40116},
                                                          {"栞9へ移動(&9)", 40117},
                                                          {"栞10へ移動(&0)", 40108}});
    addMenu(QStringLiteral("ツール(&T)"), {{"キーの割り当て", 40119},
                                           {"", kSeparator},
                                           {"設定(&S)", 40104},
                                           {"レイアウト設定", 40136}});
    addMenu(QStringLiteral("ヘルプ(&H)"),
            {{"ヘルプ(&H)", 40129}, {"", kSeparator}, {"Yomibonについて", 40130}});
    // Only the bookmarks that exist can be gone to (the list window may have deleted some).
    connect(bookmarks, &QMenu::aboutToShow, this, [this] { updateBookmarkItems(); });
    finishMenus();
    for (int id : {40131, 40132, 40133, 40134, 40005, 40102, 40101})
        if (QAction* a = menuAction(id)) a->setCheckable(true);
    setEnabled(40148, false);
    // The clipboard item follows the clipboard's content.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this,
                [this] { setEnabled(40122, CYbWindowClipboard::hasText()); });
    setEnabled(40122, CYbWindowClipboard::hasText());
}

void CYbMainWindow::finishMenus() {
    QList<QAction*> titles = menuBar()->actions();
    QStringList titleTexts;
    for (QAction* title : titles)
        titleTexts.append(title->text());
    titleTexts = AssignMnemonics(titleTexts);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        titles[i]->setText(titleTexts[i]);
        QMenu* menu = titles[i]->menu();
        if (!menu) continue;
        QList<QAction*> items;
        QStringList labels;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            items.append(item);
            labels.append(item->text());
        }
        labels = AssignMnemonics(labels);
        for (qsizetype n = 0; n < items.size(); ++n) {
            items[n]->setText(labels[n]);
            items[n]->setProperty(kLabelProperty, labels[n]);
        }
        // A menu closed with Esc leaves the menu bar holding the keys; the page should have
        // them back, as it had before the menu opened.
        connect(menu, &QMenu::aboutToHide, this,
                [this] { QTimer::singleShot(0, this, [this] { returnFocusToPage(); }); });
    }
}

void CYbMainWindow::returnFocusToPage() {
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return;
    if (!isActiveWindow() && QApplication::activeWindow()) return;
    QWidget* focus = QApplication::focusWidget();
    if (focus == view_) return;
    if (focus && focus != menuBar() && focus != fullScreenMenu_ && focus->window() == this) return;
    view_->setFocus(Qt::OtherFocusReason);
}

void CYbMainWindow::showMenuKeys() {
    // Each command's first key (the plainest, as the key map is ordered) from the bindings
    // in use, so that the menus follow the user's key file.
    std::map<int, QString> keys;
    for (const auto& [key, index] : keyMap_) {
        if (index < 0 || keys.count(index)) continue;
        QString text = MenuKeyText(key);
        if (!text.isEmpty()) keys[index] = text;
    }
    for (const auto& [id, action] : actions_) {
        const QString label = action->property(kLabelProperty).toString();
        if (label.isEmpty()) continue;
        auto it = keys.find(FindMenuCommand(id));
        action->setText(it == keys.end() ? label : label + QLatin1Char('\t') + it->second);
    }
}

QAction* CYbMainWindow::menuAction(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CYbMainWindow::setChecked(int id, bool on) {
    if (QAction* a = menuAction(id)) a->setChecked(on);
}

void CYbMainWindow::setEnabled(int id, bool on) {
    if (QAction* a = menuAction(id)) a->setEnabled(on);
}

void CYbMainWindow::buildRecentMenu() {
    if (!recentMenu_) return;
    // The item being chosen may be the one that rebuilds the menu: delete it afterwards.
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->deleteLater();
    }
    // Each item carries its command ID: 205 the newest .. 214, or 204 for the inert "なし".
    auto add = [this](const QString& text, int id) {
        QAction* a = recentMenu_->addAction(text);
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { menuCommand(id); });
    };
    std::vector<std::u16string> texts = recent_.menuTexts();
    if (texts.empty()) add(QStringLiteral("なし"), ID_RECENT_NONE);
    for (size_t i = 0; i < texts.size(); ++i)
        add(ToQString(texts[i]), ID_RECENT_NONE + int(i) + 1);
}

void CYbMainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard)
        return showContextMenu(view_->mapToGlobal(QPoint(0, 0)));
    if (!view_->rect().contains(view_->mapFromGlobal(event->globalPos())))
        return QMainWindow::contextMenuEvent(event);
    showContextMenu(event->globalPos());
}

void CYbMainWindow::showContextMenu(const QPoint& at) {
    QMenu menu(this);
    auto add = [&](const char* label, int id) {
        QAction* a = menu.addAction(QString::fromUtf8(label));
        connect(a, &QAction::triggered, this, [this, id] { menuCommand(id); });
        return a;
    };
    add("コピー(&C)", 40105);
    QAction* selection = add("選択モード", ID_SELECTION_MODE);
    selection->setCheckable(true);
    selection->setChecked(selectionMode_);
    menu.addSeparator();
    add("次のページへ(&N)", 40120);
    add("前のページへ(&P)", 40123);
    menu.addSeparator();
    add("見出し一覧(&L)", 40133);
    add("栞の一覧(&L)", 40101);
    add("栞の追加(&A)", 40100);
    menu.addSeparator();
    add("文章情報(&I)", 40001);
    add("プロパティ(&P)", 40000);
    menu.addSeparator();
    menu.addAction(QStringLiteral("キャンセル"));
    QList<QAction*> items;
    QStringList labels;
    for (QAction* item : menu.actions())
        if (!item->isSeparator()) items.append(item), labels.append(item->text());
    labels = AssignMnemonics(labels);
    for (qsizetype n = 0; n < items.size(); ++n)
        items[n]->setText(labels[n]);
    menu.exec(at);
}

}  // namespace Yomibon

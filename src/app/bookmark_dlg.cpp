#include "app/bookmark_dlg.h"

#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "text/txt_document.h"

namespace Yomibon {

CYbTxtBookmarkDlg::CYbTxtBookmarkDlg(CYbTxtDocument& document, CYbTxtParam& param, QWidget* parent)
    : CYbTxtPageListDlg(param, u"BookmarkPos", parent), document_(document) {
    setWindowTitle(QStringLiteral("栞の一覧"));
    auto* tools = new QToolBar(this);
    tools->addAction(QStringLiteral("移動"), this, [this] { goSelected(); });
    tools->addAction(QStringLiteral("追加"), this, [this] {
        if (onAdd_) onAdd_();
        refresh();
    });
    tools->addAction(QStringLiteral("削除"), this, [this] { deleteSelected(); });
    layout_->insertWidget(0, tools);
    refresh();
}

void CYbTxtBookmarkDlg::refresh() {
    std::vector<Entry> entries;
    for (const BookmarkEntry& e : document_.bookmarks().Entries())
        entries.push_back({e.page, e.label});
    setEntries(entries);
}

void CYbTxtBookmarkDlg::deleteSelected() {
    int entry = selectedEntry();
    if (entry < 0 || entry >= document_.bookmarks().EntryCount()) return;
    document_.bookmarks().DeleteEntry(entry);
    refresh();
    // Keep a selection visible where the deleted row was.
    int count = list()->topLevelItemCount();
    if (count > 0 && list()->selectedItems().isEmpty())
        list()->topLevelItem(std::min(entry, count - 1))->setSelected(true);
}

}  // namespace Yomibon

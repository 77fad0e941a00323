#include "app/bookmark_dlg_list.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/txt_param.h"

namespace Yomibon {

namespace {

constexpr int kEntryRole = Qt::UserRole;

QString ToQ(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

// Sorts by page, then by label, whichever column was clicked first.
class PageItem : public QTreeWidgetItem {
  public:
    PageItem(int32_t page, const QString& label, int entry) : page_(page) {
        setText(0, QString::number(page));
        setText(1, label);
        setData(0, kEntryRole, entry);
    }
    bool operator<(const QTreeWidgetItem& other) const override {
        const auto& o = static_cast<const PageItem&>(other);
        int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == 1 && text(1) != o.text(1)) return text(1) < o.text(1);
        if (page_ != o.page_) return page_ < o.page_;
        return text(1) < o.text(1);
    }

  private:
    int32_t page_;
};

}  // namespace

CYbTxtPageListDlg::CYbTxtPageListDlg(CYbTxtParam& param, std::u16string posKey, QWidget* parent)
    : QDialog(parent), param_(param), posKey_(std::move(posKey)) {
    setModal(false);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("ページ"), QStringLiteral("ラベル")});
    list_->setRootIsDecorated(false);
    // One line a row, and the page column as narrow as its numbers: the labels get the rest.
    list_->setUniformRowHeights(true);
    list_->setWordWrap(false);
    list_->setTextElideMode(Qt::ElideRight);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::AscendingOrder);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->addWidget(list_);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { goSelected(); });
    resize(260, 320);
    restorePosition();
}

CYbTxtPageListDlg::~CYbTxtPageListDlg() {
    if (param_.GetPoints(u"SaveWindowSize").empty() || param_.GetPoints(u"SaveWindowSize")[0] != 1)
        return;
    std::vector<int32_t> values = param_.GetPoints(posKey_);
    values.resize(std::max<size_t>(values.size(), 5), -1);
    QRect r = geometry();
    values[1] = r.left(), values[2] = r.top(), values[3] = r.width(), values[4] = r.height();
    param_.SetPoints(posKey_, values.data(), int(values.size()));
}

void CYbTxtPageListDlg::restorePosition() {
    const std::vector<int32_t>& v = param_.GetPoints(posKey_);
    if (v.size() < 5 || v[3] <= 0 || v[4] <= 0) return;
    setGeometry(v[1], v[2], v[3], v[4]);
    placed_ = true;
}

void CYbTxtPageListDlg::placeBeside(const QRect& ownerFrame, const QRect& screen) {
    if (placed_) return;
    placed_ = true;
    move(BesidePosition(ownerFrame, size(), screen));
}

QPoint BesidePosition(const QRect& owner, const QSize& size, const QRect& screen) {
    int x = owner.right() + 1;
    int y = owner.top();
    if (x + size.width() > screen.right() + 1) x = owner.left() - size.width();
    if (x < screen.left()) {
        // Over the owner after all: low enough to leave its title and menu bar free.
        x = owner.right() + 1 - size.width();
        y = owner.top() + std::max(80, owner.height() / 6);
    }
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
    y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

void CYbTxtPageListDlg::setEntries(const std::vector<Entry>& entries) {
    int selected = selectedEntry();
    entries_ = entries;
    list_->setSortingEnabled(false);
    list_->clear();
    for (size_t i = 0; i < entries_.size(); ++i) {
        auto* item = new PageItem(entries_[i].page, ToQ(entries_[i].label), int(i));
        list_->addTopLevelItem(item);
        if (int(i) == selected) item->setSelected(true);
    }
    list_->setSortingEnabled(true);
}

int CYbTxtPageListDlg::selectedEntry() const {
    QList<QTreeWidgetItem*> items = list_->selectedItems();
    return items.isEmpty() ? -1 : items.front()->data(0, kEntryRole).toInt();
}

void CYbTxtPageListDlg::goSelected() {
    int entry = selectedEntry();
    if (entry < 0 || size_t(entry) >= entries_.size()) return;
    if (onJump_) onJump_(entries_[size_t(entry)].page);
}

void CYbTxtPageListDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (onSync_) onSync_();
}

void CYbTxtPageListDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (onSync_) onSync_();
}

}  // namespace Yomibon

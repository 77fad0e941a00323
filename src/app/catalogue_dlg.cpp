#include "app/catalogue_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/catalogue_model.h"
#include "library/catalogue_index.h"
#include "library/catalogue_store.h"
#include "library/work_fetch.h"
#include "platform/download_cache.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "text/net_options.h"

namespace Yomibon {

CYbCatalogueDlg::CYbCatalogueDlg(QWidget* parent, const CYbTxtParam& param,
                                 CYbCatalogueIndex& index, std::filesystem::path dataFolder)
    : QDialog(parent), param_(param), index_(index), dataFolder_(std::move(dataFolder)) {
    setWindowTitle(QStringLiteral("青空文庫から開く"));
    auto* layout = new QVBoxLayout(this);
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("作品名・著者名・読み（ひらがな・カタカナ）で検索"));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);
    model_ = new CYbCatalogueModel(index_, this);
    view_ = new QTreeView(this);
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);  // 17,000 rows scroll without measuring each
    view_->setAllColumnsShowFocus(true);
    view_->setSortingEnabled(true);
    view_->sortByColumn(CYbCatalogueModel::TITLE, Qt::AscendingOrder);
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(CYbCatalogueModel::TITLE, QHeaderView::Stretch);
    view_->setColumnWidth(CYbCatalogueModel::AUTHOR, 200);
    view_->setColumnWidth(CYbCatalogueModel::KANA_STYLE, 100);
    view_->setColumnWidth(CYbCatalogueModel::YEAR, 60);
    layout->addWidget(view_, 1);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->hide();
    buttons->addWidget(progress_, 1);
    buttons->addStretch();
    open_ = new QPushButton(QStringLiteral("開く"), this);
    update_ = new QPushButton(QStringLiteral("更新"), this);
    stop_ = new QPushButton(QStringLiteral("中止"), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    stop_->hide();
    // Enter in the search field or the list opens the work shown first or chosen.
    open_->setDefault(true);
    for (QPushButton* b : {update_, stop_, close})
        b->setAutoDefault(false);
    for (QPushButton* b : {open_, update_, stop_, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(search_, &QLineEdit::textChanged, this, &CYbCatalogueDlg::filter);
    connect(view_, &QTreeView::doubleClicked, this, [this] { openSelected(); });
    connect(open_, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(update_, &QPushButton::clicked, this, [this] { updateCatalogue(); });
    connect(stop_, &QPushButton::clicked, this, &CYbCatalogueDlg::cancel);
    connect(close, &QPushButton::clicked, this, &CYbCatalogueDlg::reject);
    resize(820, 560);
    showCount();
}

CYbCatalogueDlg::~CYbCatalogueDlg() = default;

void CYbCatalogueDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    search_->setFocus();
    // The first showing reads (or fetches) the catalogue once the window is on screen.
    if (!started_ && index_.empty()) QTimer::singleShot(0, this, [this] { loadCatalogue(); });
    started_ = true;
}

void CYbCatalogueDlg::reject() {
    // A running transfer is stopped first; the dialog closes once it has.
    if (busy_) return cancel();
    QDialog::reject();
}

void CYbCatalogueDlg::filter(const QString& text) {
    model_->setQuery(text);
    if (model_->rowCount() > 0) view_->setCurrentIndex(model_->index(0, 0));
    showCount();
}

void CYbCatalogueDlg::showCount() {
    if (index_.empty()) {
        status_->setText(QStringLiteral("作品目録がまだありません。「更新」で取得します。"));
        return;
    }
    status_->setStyleSheet({});
    status_->setText(QStringLiteral("%1 作品中 %2 作品")
                         .arg(index_.works().size())
                         .arg(index_.results().size()));
}

void CYbCatalogueDlg::showProblem(const std::u16string& text) {
    status_->setStyleSheet(QStringLiteral("color: #b00000"));
    status_->setText(QString::fromStdU16String(text));
}

void CYbCatalogueDlg::setBusy(bool busy, const QString& what) {
    busy_ = busy;
    cancelled_ = false;
    for (QWidget* w : std::initializer_list<QWidget*>{search_, view_, open_, update_})
        w->setEnabled(!busy);
    progress_->setVisible(busy);
    stop_->setVisible(busy);
    open_->setVisible(!busy);
    if (!busy) search_->setFocus();
    if (busy) {
        progress_->setRange(0, 0);
        status_->setStyleSheet({});
        status_->setText(what);
    }
}

bool CYbCatalogueDlg::onNetProgress(const NetProgress& progress) {
    if (progress.total > 0) {
        progress_->setRange(0, 1000);
        progress_->setValue(int(progress.received * 1000 / progress.total));
    }
    // The dialog is repainted and 中止 answered between two waits.
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    return !cancelled_;
}

bool CYbCatalogueDlg::take(bool ok, std::vector<CatalogueWork>& works, bool fetched,
                           const std::u16string& message) {
    if (ok) {
        index_.assign(std::move(works));
        model_->reload();
        filter(search_->text());
    }
    if (!message.empty())
        showProblem(message);
    else if (ok && fetched)
        status_->setText(status_->text() + QStringLiteral("（目録を取得しました）"));
    return ok;
}

bool CYbCatalogueDlg::loadCatalogue() {
    CYbCatalogueStore store(dataFolder_, ToUtf8(param_.GetText(u"CatalogueURL")));
    setBusy(true, store.cached() ? QStringLiteral("作品目録を読んでいます…")
                                 : QStringLiteral("作品目録を取得しています…"));
    std::vector<CatalogueWork> works;
    CatalogueLoad load = store.load(works, ProxySettingsFrom(param_), this);
    setBusy(false);
    showCount();
    return take(load.ok, works, load.fetched, load.message);
}

bool CYbCatalogueDlg::updateCatalogue() {
    CYbCatalogueStore store(dataFolder_, ToUtf8(param_.GetText(u"CatalogueURL")));
    setBusy(true, QStringLiteral("作品目録を取得しています…"));
    std::vector<CatalogueWork> works;
    CatalogueLoad load = store.update(works, ProxySettingsFrom(param_), this);
    setBusy(false);
    showCount();
    return take(load.ok, works, load.fetched, load.message);
}

bool CYbCatalogueDlg::openSelected() {
    if (busy_) return false;
    int row = view_->currentIndex().isValid() ? view_->currentIndex().row() : 0;
    const CatalogueWork* work = model_->work(row);
    if (!work) return false;
    CYbDownloadCache cache(CYbDownloadCache::FolderUnder(dataFolder_));
    setBusy(true, QStringLiteral("「%1」をダウンロードしています…")
                      .arg(QString::fromStdU16String(work->title)));
    WorkFetch fetch = FetchWorkText(*work, cache, ProxySettingsFrom(param_), this);
    setBusy(false);
    if (!fetch.ok()) {
        if (fetch.status == WorkFetch::CANCELLED)
            showProblem(u"ダウンロードを中止しました。");
        else
            showProblem(fetch.message);
        return false;
    }
    chosenFile_ = fetch.file;
    accept();
    return true;
}

}  // namespace Yomibon

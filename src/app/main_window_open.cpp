// Opening texts: with and without history, archives, the clipboard, reloading.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMenuBar>
#include <QTimer>
#include <QToolTip>

#include "app/main_window.h"
#include "app/open_filters.h"
#include "app/open_url_dlg.h"
#include "app/page_view.h"
#include "app/startup_timing.h"
#include "app/string_table.h"
#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/file_kind.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// Shows the wait cursor for the life of the object.
class CYbWaitCursor {
  public:
    CYbWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CYbWaitCursor() { QApplication::restoreOverrideCursor(); }
    CYbWaitCursor(const CYbWaitCursor&) = delete;
    CYbWaitCursor& operator=(const CYbWaitCursor&) = delete;
};

// http and https addresses: loads that wait on the network.
bool IsWebAddress(std::u16string_view path) {
    if (!IsUrlName(path)) return false;
    std::u16string scheme(path.substr(0, path.find(u':')));
    for (char16_t& c : scheme)
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    return scheme == u"http" || scheme == u"https";
}

// For the life of a load from the network: the open-URL dialog in progress mode tells the
// transfer whether to go on, and the main window takes no input meanwhile.
class CYbUrlProgress {
  public:
    CYbUrlProgress(QMainWindow& window, CYbTxtDocument& document, const std::u16string& path)
        : window_(window), document_(document) {
        if (!IsWebAddress(path)) return;
        dialog_ = std::make_unique<CYbOpenURLDlg>(&window, path);
        dialog_->setWindowModality(Qt::ApplicationModal);
        window_.centralWidget()->setEnabled(false);
        window_.menuBar()->setEnabled(false);
        dialog_->startProgress(path);
        document_.setNetObserver(dialog_.get());
    }
    ~CYbUrlProgress() {
        if (!dialog_) return;
        document_.setNetObserver(nullptr);
        dialog_->hide();
        window_.centralWidget()->setEnabled(true);
        window_.menuBar()->setEnabled(true);
    }
    CYbUrlProgress(const CYbUrlProgress&) = delete;
    CYbUrlProgress& operator=(const CYbUrlProgress&) = delete;

  private:
    QMainWindow& window_;
    CYbTxtDocument& document_;
    std::unique_ptr<CYbOpenURLDlg> dialog_;
};

}  // namespace

void CYbMainWindow::openWithHistory(const std::u16string& path, bool record) {
    if (path.empty()) return;
    bool ok = history_.open(path);
    // A path that failed to open is not offered again as a recent or last file.
    if (record && ok) recordOpen();
}

void CYbMainWindow::recordOpen() {
    const CYbTxtBuffer& buffer = document_->buffer();
    if (!recent_.recordOpened(param_, currentPath(), buffer.getTitle(), buffer.getAuthor())) return;
    setEnabled(40103, true);
    buildRecentMenu();
}

void CYbMainWindow::autoSaveBookmarks() {
    // The saved position's page is one of the whole arrangement.
    if (autoSave_.enabled()) finishArrangement();
    autoSave_.save(*document_, page_);
}

bool CYbMainWindow::openPath(const std::u16string& path) {
    QToolTip::hideText();
    autoSaveBookmarks();
    CYbUrlProgress progress(*this, *document_, path);
    CYbWaitCursor wait;
    CYbStartupTiming::Instance().mark(CYbStartupTiming::OPEN_BEGIN);
    // A text read from a file shows its first spread before the rest is read and arranged.
    arranger_->deferNextArrangement();
    bool opened = opener_->open(path, true) == CYbDocumentOpener::OPENED;
    arranger_->deferNextArrangement(false);
    return opened;
}

bool CYbMainWindow::chooseFile(const std::u16string& folder, std::u16string& chosen) {
    QString file =
        QFileDialog::getOpenFileName(this, ToQString(LoadString(IDS_OPEN_FILE)), ToQString(folder),
                                     OpenFileFilters().join(QStringLiteral(";;")));
    if (file.isEmpty()) return false;
    chosen = NormalizePath(FromQString(file));
    return true;
}

void CYbMainWindow::afterOpen(int page) {
    if (arrangeTimer_) arrangeTimer_->stop();
    textNoticeShown_ = false;
    auto& timing = CYbStartupTiming::Instance();
    timing.loaded(document_->loadTimes());
    timing.mark(CYbStartupTiming::OPEN_END);
    pageCount_ = document_->getPageCount();
    canvas_->setDocument(document_.get(), &arranger_->layout());
    canvas_->resize(view_->width(), view_->height());
    page_ = 0;
    gotoPage(page);
    timing.mark(CYbStartupTiming::DRAWN);
    updateTitle();
    // A search word stays for the next text; its position starts over.
    search_.setCurrent(TextPoint{0, 0, 0});
    refreshListWindows();
    showTextNotice();
    arrangeRestLater();
}

void CYbMainWindow::showTextNotice() {
    // What the text as read has to tell (markup past a limit) follows its first spread, once;
    // of a text shown from its head, once the whole is read.
    const std::u16string& notice = document_->buffer().getNotice();
    if (textNoticeShown_ || notice.empty() || document_->readingRest()) return;
    textNoticeShown_ = true;
    QTimer::singleShot(0, this, [this, notice] { showMessage(notice); });
}

void CYbMainWindow::openText(const std::u16string& text) {
    autoSaveBookmarks();
    document_->openText(text);
    history_.textWithoutFile();
    afterOpen(1);
    setEnabled(40103, false);
}

void CYbMainWindow::cmdReadClipboard() {
    autoSaveBookmarks();
    document_->openClipboard();
    history_.textWithoutFile();
    afterOpen(1);
    setEnabled(40103, false);
}

void CYbMainWindow::cmdReadFile() {
    std::u16string chosen;
    if (chooseFile(FromQString(QDir::currentPath()), chosen)) openWithHistory(chosen);
}

void CYbMainWindow::reload() {
    CYbWaitCursor wait;
    int previous = page_;
    // A copy: opening clears the name it would otherwise be reading.
    std::u16string path = document_->getFileName();
    if (!path.empty()) {
        autoSaveBookmarks();
        CYbUrlProgress progress(*this, *document_, path);
        // A text that cannot be read again stays shown as it was.
        if (!document_->openFile(path)) {
            if (!document_->lastLoadCancelled() && !document_->lastError().empty())
                showMessage(document_->lastError());
            return;
        }
    } else {
        document_->reloadLayout();
    }
    afterOpen(std::min(previous, document_->getPageCount()));
}

}  // namespace Yomibon

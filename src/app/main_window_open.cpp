// Opening texts: with and without history, archives, the clipboard, reloading.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QToolTip>

#include "app/main_window.h"
#include "app/page_view.h"
#include "app/string_table.h"
#include "archive/archive_open.h"
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

}  // namespace

void CYbMainWindow::openWithHistory(const std::u16string& path, bool record) {
    if (path.empty()) return;
    bool ok = history_.execute(
        std::make_unique<CYbOpenFileCommand>(*this, NormalizePath(document_->getFileName()), path));
    // A path that failed to open is not offered again as a recent or last file.
    if (record && ok) recordOpen();
}

void CYbMainWindow::recordOpen() {
    std::u16string path = NormalizePath(document_->getFileName());
    if (path.empty()) return;
    param_.SetText(u"LastFolder", path);
    param_.SetText(u"LastFile", path);
    const CYbTxtBuffer& buffer = document_->buffer();
    recent_.record(path, buffer.getTitle(), buffer.getAuthor());
    setEnabled(40103, true);
    buildRecentMenu();
}

void CYbMainWindow::autoSaveBookmarks() {
    if (!autoSave_ || document_->getFileName().empty() || document_->buffer().lineCount() == 0)
        return;
    CYbTxtBookmark& marks = document_->bookmarks();
    marks.SetLastPosition(page_);
    if (!document_->isOpenedFromBookmark())
        marks.SetTextPath(NormalizePath(document_->getFileName()));
    marks.Save();
}

bool CYbMainWindow::openPath(const std::u16string& path) {
    QToolTip::hideText();
    autoSaveBookmarks();
    CYbWaitCursor wait;
    if (document_->getFileKind(path) == FK_ARCHIVE) return openArchive(path);
    // A shortcut that cannot be resolved is opened as it stands, like any other path.
    bool ok = document_->openFile(path);
    afterOpen(document_->getStartPage());
    // An empty page alone would not tell the reader what went wrong.
    if (!ok) showMessage(std::u16string(LoadString(IDS_CANNOT_OPEN)) + u"\n" + path);
    return ok;
}

bool CYbMainWindow::openArchive(const std::u16string& path) {
    ArchiveOpening opening = OpenArchive(path, DataFolder());
    std::u16string text = opening.textPath;
    if (opening.action == ArchiveOpening::SHOW_MESSAGE) {
        // The document stays as it was.
        showMessage(opening.message);
        return false;
    }
    // The extraction folder stays current, so that the next file dialog starts there too.
    std::error_code ec;
    std::filesystem::current_path(ToFsPath(opening.folder), ec);
    if (opening.action == ArchiveOpening::CHOOSE_TEXT && !chooseFile(opening.folder, text))
        return false;
    bool ok = document_->openFile(text);
    afterOpen(document_->getStartPage());
    return ok;
}

bool CYbMainWindow::chooseFile(const std::u16string& folder, std::u16string& chosen) {
    QString filter = ToQString(LoadString(IDS_TEXT_FILES)) + QStringLiteral("(*.txt)");
    QString file = QFileDialog::getOpenFileName(this, ToQString(LoadString(IDS_OPEN_FILE)),
                                                ToQString(folder), filter);
    if (file.isEmpty()) return false;
    chosen = NormalizePath(FromQString(file));
    return true;
}

void CYbMainWindow::afterOpen(int page) {
    pageCount_ = document_->getPageCount();
    canvas_->setDocument(document_.get(), &arranger_->layout());
    canvas_->resize(view_->width(), view_->height());
    page_ = 0;
    gotoPage(page);
    updateTitle();
    // A search word stays for the next text; its position starts over.
    search_.setCurrent(TextPoint{0, 0, 0});
    refreshListWindows();
}

void CYbMainWindow::openText(const std::u16string& text) {
    autoSaveBookmarks();
    document_->openText(text);
    afterOpen(1);
    setEnabled(40103, false);
}

void CYbMainWindow::cmdReadClipboard() {
    autoSaveBookmarks();
    document_->openClipboard();
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
        document_->openFile(path);
    } else {
        document_->reloadLayout();
    }
    afterOpen(std::min(previous, document_->getPageCount()));
}

}  // namespace Yomibon

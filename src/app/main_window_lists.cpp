// Search and the two modeless list windows (bookmarks, outline) of the main window.
#include <QScreen>

#include "app/bookmark_dlg.h"
#include "app/main_window.h"
#include "app/page_view.h"
#include "app/search_dlg.h"
#include "app/string_table.h"
#include "app/subtitle_dlg.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {

void CYbMainWindow::cmdSearch() {
    CYbTxtSearchDlg dlg(param_, search_, document_->buffer(), pagePoint(page_), this);
    dlg.setHitFunc([this](const TextPoint& hit, const TextPoint& end) { showHit(hit, end); });
    if (messageHook_)
        dlg.setMessageFunc([this](const QString& text) { messageHook_(FromQString(text)); });
    dlg.exec();
}

bool CYbMainWindow::searchAgain(bool forward) {
    TextPoint hit;
    if (!search_.started() || !search_.Find(hit, forward)) {
        showMessage(std::u16string(LoadString(IDS_NOT_FOUND)));
        return false;
    }
    showHit(hit, SearchHitEnd(document_->buffer(), hit, search_.length()));
    return true;
}

void CYbMainWindow::showHit(const TextPoint& hit, const TextPoint& end) {
    // The page of a position anywhere in the text needs the whole arrangement.
    finishArrangement();
    // A hit on another spread is a jump Back should return from.
    gotoPageWithHistory(document_->pointToPage(hit));
    CYbTxtMapper& mapper = canvas_->mapper();
    mapper.selStart = hit;
    mapper.selEnd = end;
    mapper.selShown = true;
    redraw();
}

void CYbMainWindow::jumpToPage(int32_t page) {
    // The lists give pages of the whole arrangement.
    finishArrangement();
    gotoPageWithHistory(page);
    activateWindow();
    view_->setFocus();
}

void CYbMainWindow::syncMenuChecks() {
    setChecked(40101, bookmarkDlg_ && bookmarkDlg_->isVisible());
    setChecked(40133, subtitleDlg_ && subtitleDlg_->isVisible());
    setChecked(kFullScreenId, isFullScreen());
}

void CYbMainWindow::createListWindows() {
    if (!bookmarkDlg_) {
        bookmarkDlg_ = std::make_unique<CYbTxtBookmarkDlg>(*document_, param_, this);
        bookmarkDlg_->setJumpFunc([this](int32_t page) { jumpToPage(page); });
        bookmarkDlg_->setAddFunc([this] { cmdAddBookmark(); });
        bookmarkDlg_->setSyncFunc([this] { syncMenuChecks(); });
    }
    if (!subtitleDlg_) {
        subtitleDlg_ = std::make_unique<CYbTxtSubtitleDlg>(*document_, param_, this);
        subtitleDlg_->setJumpFunc([this](int32_t page) { jumpToPage(page); });
        subtitleDlg_->setSyncFunc([this] { syncMenuChecks(); });
    }
}

// Both windows toggle the same way: shown when absent or hidden, else hidden.
template <class Dialog>
static void ToggleListWindow(Dialog& dlg, const QWidget& owner) {
    if (dlg.isVisible()) {
        dlg.hide();
    } else {
        dlg.refresh();
        const QScreen* screen = owner.screen();
        dlg.placeBeside(owner.frameGeometry(),
                        screen ? screen->availableGeometry() : owner.frameGeometry());
        dlg.show();
        dlg.raise();
    }
}

void CYbMainWindow::cmdShowBookmark() {
    createListWindows();
    ToggleListWindow(*bookmarkDlg_, *this);
    syncMenuChecks();
}

void CYbMainWindow::cmdShowSubtitle() {
    createListWindows();
    ToggleListWindow(*subtitleDlg_, *this);
    syncMenuChecks();
}

void CYbMainWindow::refreshListWindows() {
    if (bookmarkDlg_) bookmarkDlg_->refresh();
    if (subtitleDlg_) subtitleDlg_->refresh();
    updateBookmarkItems();
}

void CYbMainWindow::updateBookmarkItems() {
    // 栞1 .. 栞10 へ移動: only the bookmarks that exist can be gone to.
    const int count = document_->bookmarks().EntryCount();
    for (int n = 1; n <= 10; ++n) {
        const int index = CMD_GotoBookmark1 + n - 1;
        setEnabled(CommandTable()[size_t(index)].menuId, n <= count);
    }
}

void CYbMainWindow::destroyListWindows() {
    // Their rectangles go into the settings as they are destroyed.
    bookmarkDlg_.reset();
    subtitleDlg_.reset();
}

}  // namespace Yomibon

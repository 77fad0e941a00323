// The arrangement of a long text in steps: the first spread is shown from the lines that
// fill it, and the rest is set in slices between the window's events. Page moves set what
// they need first; every other command waits for the whole arrangement.
#include <QTimer>

#include "app/main_window.h"
#include "app/startup_timing.h"
#include "layout/document_arranger.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// Short enough that input and painting between the slices stay prompt.
constexpr std::chrono::microseconds kArrangeSlice{4000};

}  // namespace

void CYbMainWindow::arrangeRestLater() {
    if (!arranger_->arranging()) {
        CYbStartupTiming::Instance().arrangedAll();
        return;
    }
    if (!arrangeTimer_) {
        arrangeTimer_ = new QTimer(this);
        arrangeTimer_->setInterval(0);
        connect(arrangeTimer_, &QTimer::timeout, this, [this] { arrangeSlice(); });
    }
    arrangeTimer_->start();
}

void CYbMainWindow::arrangeSlice() {
    if (arranger_->arrangeSome(*document_, kArrangeSlice)) arrangementCompleted();
}

void CYbMainWindow::finishArrangement() {
    if (!arranger_->arranging()) return;
    arranger_->finishArrangement(*document_);
    arrangementCompleted();
}

void CYbMainWindow::arrangeThroughPage(int page) {
    if (!arranger_->arranging()) return;
    arranger_->arrangeThroughPage(*document_, page);
    pageCount_ = document_->getPageCount();
    if (!arranger_->arranging()) arrangementCompleted();
}

bool CYbMainWindow::arranging() const {
    return arranger_->arranging();
}

void CYbMainWindow::arrangementCompleted() {
    if (arrangeTimer_) arrangeTimer_->stop();
    // The page shown stays; only the count and what depends on it follow.
    pageCount_ = document_->getPageCount();
    updateScrollBars();
    updateTitle();
    refreshListWindows();
    CYbStartupTiming::Instance().arrangedAll();
}

}  // namespace Yomibon

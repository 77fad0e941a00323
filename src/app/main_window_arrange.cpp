// The arrangement of a long text in steps: the first spread is shown from the lines that
// fill it (from the head of the text while the rest is read on a second thread), and the
// rest is set in slices between the window's events. Page moves set what they need first;
// every other command waits for the whole text and its whole arrangement.
#include <QTimer>

#include "app/main_window.h"
#include "app/page_view.h"
#include "app/startup_timing.h"
#include "layout/document_arranger.h"
#include "render/page_canvas.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// Short enough that input and painting between the slices stay prompt.
constexpr std::chrono::microseconds kArrangeSlice{4000};
// Spreads kept between a page asked for and the end of a head: its last spread may lack
// lines the rest of the text adds.
constexpr int kHeadMarginPages = 4;

}  // namespace

void CYbMainWindow::arrangeRestLater() {
    // The rest of a text shown from its head is arranged once it is read (restRead).
    if (document_->readingRest()) return;
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
    const bool reading = document_->readingRest();
    if (reading) adoptRest(true);
    if (arranger_->arranging())
        arranger_->finishArrangement(*document_);
    else if (!reading)
        return;
    arrangementCompleted();
}

void CYbMainWindow::restRead() {
    if (document_->readingRest()) adoptRest(false);
}

void CYbMainWindow::adoptRest(bool wait) {
    // The whole text is arranged in slices like a text just opened.
    arranger_->deferNextArrangement();
    const bool adopted = document_->adoptRest(wait);
    arranger_->deferNextArrangement(false);
    if (document_->readingRest()) return;
    if (adopted) {
        // The same lines in other storage: the spread is drawn again from them, where it was.
        arranger_->arrangeThroughPage(*document_, page_);
        canvas_->setDocument(document_.get(), &arranger_->layout());
        canvas_->drawPage(page_);
        view_->update();
    }
    pageCount_ = document_->getPageCount();
    updateScrollBars();
    updateTitle();
    refreshListWindows();
    showTextNotice();
    arrangeRestLater();
}

void CYbMainWindow::arrangeThroughPage(int page) {
    // A page near the end of a head waits for the whole text.
    if (document_->readingRest() && page + kHeadMarginPages > document_->getPageCount())
        adoptRest(true);
    if (!arranger_->arranging()) return;
    arranger_->arrangeThroughPage(*document_, page);
    pageCount_ = document_->getPageCount();
    if (!arranger_->arranging()) arrangementCompleted();
}

bool CYbMainWindow::arranging() const {
    return arranger_->arranging() || document_->readingRest();
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

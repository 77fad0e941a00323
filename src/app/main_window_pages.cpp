// Page moves: the one page-move step, scroll bars, title and page history.
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include "app/main_window.h"
#include "app/page_move.h"
#include "app/page_view.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "text/txt_document.h"

namespace Yomibon {

void CYbMainWindow::gotoPage(int requested) {
    arrangeThroughPage(requested);
    page_ = ClampPage(requested, pageCount_);
    updateScrollBars();
    flipTimer_->stop();
    if (flipInterval_ < 1) {
        canvas_->drawPage(page_);
    } else {
        // The flip may settle on another page; that becomes the current one.
        page_ = canvas_->showPage(page_);
        updateScrollBars();
        if (canvas_->flipping()) flipTimer_->start(flipInterval_);
    }
    clearSelection();
    link_ = -1;
    QToolTip::hideText();
    updatePointer();
    view_->update();
    updateTitle();
    // What drawing the spread has to tell (a picture refused by the size limits) is shown
    // once the spread is on screen, so that a message box never holds up the drawing.
    std::u16string notices;
    for (const std::u16string& notice : canvas_->renderers().takeNotices())
        notices += (notices.empty() ? u"" : u"\n\n") + notice;
    if (!notices.empty()) QTimer::singleShot(0, this, [this, notices] { showMessage(notices); });
}

void CYbMainWindow::flipTick() {
    // The tick producing the last frame ends the flip; its repaint shows the new spread.
    if (!canvas_->flipStep()) return;
    view_->repaint();
    flipTimer_->start(flipInterval_);
}

void CYbMainWindow::cmdNextPage() {
    if (pageCount_ >= page_ + 2) gotoPage(page_ + 2);
}

void CYbMainWindow::cmdPrevPage() {
    if (page_ > 1) gotoPage(page_ - 2);
}

std::u16string CYbMainWindow::currentPath() const {
    return NormalizePath(document_->getFileName());
}

TextPoint CYbMainWindow::pagePoint(int page) const {
    TextPoint point{0, 0, 0};
    document_->pageToPoint(page, point);
    return point;
}

void CYbMainWindow::gotoPageWithHistory(int page) {
    // A jump to the page already shown is no step to come back from.
    if (ClampPage(page, pageCount_) == page_) return gotoPage(page);
    history_.gotoPage(page);
}

void CYbMainWindow::gotoEnteredPage(int entered) {
    int target = entered < 0 ? 1 : entered > pageCount_ ? pageCount_ - 1 : entered;
    gotoPageWithHistory(target);
}

int CYbMainWindow::pointToPage(const TextPoint& point) const {
    return document_->pointToPage(point);
}

void CYbMainWindow::updateScrollBars() {
    int max = ScrollMaximum(pageCount_);
    // Qt's maximum is the last thumb position: the Win32 range less the page size.
    for (QScrollBar* bar : {hbar_, vbar_}) {
        QSignalBlocker block(bar);
        bar->setRange(0, std::max(0, max + 1 - 2));
        bar->setPageStep(2);
        bar->setSingleStep(1);
    }
    {
        QSignalBlocker block(hbar_);
        hbar_->setValue(HorizontalScrollPos(page_, pageCount_));
        hbar_->setInvertedAppearance(false);
    }
    {
        QSignalBlocker block(vbar_);
        vbar_->setValue(VerticalScrollPos(page_));
    }
    // In full screen a bar shows only while the pointer has revealed it at its edge.
    bool full = isFullScreen();
    hbar_->setVisible(showH_ && (!full || hEdge_ > 0));
    vbar_->setVisible(showV_ && (!full || vEdge_ > 0));
}

static ScrollRequest RequestOf(int action, bool& known) {
    known = true;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
        case QAbstractSlider::SliderPageStepSub:
            return ScrollRequest::TowardsStart;
        case QAbstractSlider::SliderSingleStepAdd:
        case QAbstractSlider::SliderPageStepAdd:
            return ScrollRequest::TowardsEnd;
        case QAbstractSlider::SliderMove:
            return ScrollRequest::Position;
        case QAbstractSlider::SliderToMinimum:
            return ScrollRequest::Start;
        case QAbstractSlider::SliderToMaximum:
            return ScrollRequest::End;
        default:
            known = false;
            return ScrollRequest::Position;
    }
}

void CYbMainWindow::horizontalScroll(int action, int position) {
    bool known = false;
    ScrollRequest request = RequestOf(action, known);
    if (known) gotoPage(HorizontalScrollTarget(request, page_, pageCount_, position));
}

void CYbMainWindow::verticalScroll(int action, int position) {
    bool known = false;
    ScrollRequest request = RequestOf(action, known);
    if (known) gotoPage(VerticalScrollTarget(request, page_, pageCount_, position));
}

void CYbMainWindow::updateTitle() {
    const CYbTxtBuffer& buffer = document_->buffer();
    bool hasPages = buffer.lineCount() > 0;
    const int count = arranging() ? 0 : pageCount_;
    setWindowTitle(
        ToQString(WindowTitle(buffer.getTitle(), buffer.getAuthor(), page_, count, hasPages)));
}

void CYbMainWindow::redraw() {
    view_->update();
}

void CYbMainWindow::clearSelection() {
    canvas_->mapper().selShown = false;
    selecting_ = false;
}

}  // namespace Yomibon

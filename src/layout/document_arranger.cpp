#include "layout/document_arranger.h"

#include <algorithm>
#include <string>

#include "layout/arrange.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// Text (UTF-16 units) below which the rest of an arrangement is not left for later.
constexpr size_t kDeferredUnits = 60000;

}  // namespace

void CYbDocumentArranger::loadLayout(std::u16string_view layoutFile) {
    if (layoutFile.empty()) {
        layout_.SetDefault();
        return;
    }
    std::u16string file(layoutFile);
    layout_.Open(file.c_str());
}

void CYbDocumentArranger::arrange(CYbTxtDocument& document) {
    // Steps left from a text or layout before are void: the buffer has been filled anew.
    steps_.reset();
    if (!deferNext_) {
        lastPage_ = ArrangeDocument(document.buffer(), layout_, document.param());
        return;
    }
    deferNext_ = false;
    steps_ = std::make_unique<CYbArrangeSteps>(document.buffer(), layout_, document.param());
    // The first spread and the next one; the document takes up the page count itself.
    steps_->throughColumn(2 * steps_->columnsPerSpread());
    // A rest that is set in a few milliseconds is set at once: the page count is known
    // from the start then.
    if (steps_->unitsLeft(kDeferredUnits) < kDeferredUnits) steps_->finish();
    lastPage_ = steps_->lastPage();
    if (steps_->done()) steps_.reset();
}

void CYbDocumentArranger::arrangeThroughPage(CYbTxtDocument& document, int page) {
    if (!steps_) return;
    // A page past the columns set so far may still be a picture page, so the spread after
    // it is set too before the page is drawn.
    const int spread = std::max(page, 0) / 2;
    const int before = steps_->nextLine();
    steps_->throughColumn((spread + 2) * steps_->columnsPerSpread());
    if (steps_->nextLine() != before) stepTaken(document);
}

int CYbDocumentArranger::arrangeForStart(CYbTxtDocument& document) {
    // A last read position past the head of a text needs the whole text.
    const TextPoint last = document.bookmarks().LastPosition().point;
    if (document.readingRest() && last.iLine + 1 >= document.buffer().lineCount()) {
        deferNext_ = true;
        document.adoptRest(true);
        deferNext_ = false;
    }
    if (steps_) {
        steps_->throughLine(document.bookmarks().LastPosition().point.iLine);
        stepTaken(document);
        arrangeThroughPage(document, document.getStartPage());
    }
    return document.getStartPage();
}

bool CYbDocumentArranger::arrangeSome(CYbTxtDocument& document, std::chrono::microseconds budget) {
    if (!steps_) return true;
    steps_->forAbout(budget);
    stepTaken(document);
    return !steps_;
}

void CYbDocumentArranger::finishArrangement(CYbTxtDocument& document) {
    if (!steps_) return;
    steps_->finish();
    stepTaken(document);
}

void CYbDocumentArranger::stepTaken(CYbTxtDocument& document) {
    lastPage_ = steps_->lastPage();
    if (steps_->done()) steps_.reset();
    document.arrangementExtended();
}

}  // namespace Yomibon

// The document's layout and line arrangement: the typesetting layer's side of the
// document's layout interface.
#pragma once

#include <chrono>
#include <memory>
#include <string_view>

#include "layout/arrange_steps.h"
#include "layout/custom_txt_layout.h"
#include "text/txt_document_layout.h"

namespace Yomibon {

class CYbDocumentArranger : public CYbTxtDocumentLayout {
  public:
    CYbDocumentArranger() = default;

    // An empty name installs the built-in layout; a file that cannot be opened leaves the
    // layout as it was (or built in, when the file had no text columns).
    void loadLayout(std::u16string_view layoutFile) override;
    int lineCount() const override { return layout_.GetLineCount(); }
    int textBoxCount() const override { return int(layout_.GetBoxes(TextLayout).size()); }
    void arrange(CYbTxtDocument& document) override;

    // The page renderer and the mapper read the rectangles and sizes from here.
    CYbCustomTxtLayout& layout() { return layout_; }
    const CYbCustomTxtLayout& layout() const { return layout_; }
    // The last page the arranger worked out in its last run (so far, while arranging).
    int lastPage() const { return lastPage_; }

    // The next arrange() sets only the lines of the first spread and leaves the rest to the
    // calls below, so that a long text shows its first spread at once. Any later arrange()
    // starts over. Each call that sets lines tells the document (its page count and the
    // pages of its bookmarks follow what is set).
    void deferNextArrangement(bool on = true) { deferNext_ = on; }
    // True while lines are left to set.
    bool arranging() const { return steps_ != nullptr; }
    // Sets lines until the spread of `page` and the one after it are set.
    void arrangeThroughPage(CYbTxtDocument& document, int page);
    // Sets lines until the last read position and its spread are set; its page. A position
    // past the head of a text still being read waits for the whole text.
    int arrangeForStart(CYbTxtDocument& document);
    // Sets lines for about `budget`; true once the whole text is set.
    bool arrangeSome(CYbTxtDocument& document, std::chrono::microseconds budget);
    void finishArrangement(CYbTxtDocument& document);

  private:
    // Ends the steps once every line is set, and tells the document.
    void stepTaken(CYbTxtDocument& document);

    CYbCustomTxtLayout layout_;
    int lastPage_ = 1;
    bool deferNext_ = false;
    std::unique_ptr<CYbArrangeSteps> steps_;
};

}  // namespace Yomibon

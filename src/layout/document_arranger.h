// The document's layout and line arrangement: the typesetting layer's side of the
// document's layout interface.
#pragma once

#include <string_view>

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
    // The last page the arranger worked out in its last run.
    int lastPage() const { return lastPage_; }

  private:
    CYbCustomTxtLayout layout_;
    int lastPage_ = 1;
};

}  // namespace Yomibon

// What the document needs of its page layout and of line arrangement. The layout and the
// arranger live in the typesetting layer above this one, so the document holds them
// through this interface; the typesetting layer supplies the implementation.
#pragma once

#include <string_view>

namespace Yomibon {

class CYbTxtDocument;

class CYbTxtDocumentLayout {
  public:
    virtual ~CYbTxtDocumentLayout() = default;

    // Loads the layout file named by the layout-file setting; an empty name installs the
    // built-in layout. A file that cannot be used leaves the layout as the loader decides.
    virtual void loadLayout(std::u16string_view layoutFile) = 0;
    // Columns per spread (L) and the number of body text boxes (B).
    virtual int lineCount() const = 0;
    virtual int textBoxCount() const = 0;
    // Arranges every line of the document's buffer into columns: turn lists, start and
    // next columns, narrow marks and the picture box map.
    virtual void arrange(CYbTxtDocument& document) = 0;
};

// The built-in paperback figures with no arrangement at all: every line keeps column 0,
// so the document has one spread. Used when no typesetting layer is linked in.
class CYbEmptyDocumentLayout final : public CYbTxtDocumentLayout {
  public:
    void loadLayout(std::u16string_view) override {}
    int lineCount() const override { return kBunkoColumns; }
    int textBoxCount() const override { return kBunkoBoxes; }
    void arrange(CYbTxtDocument& document) override;

  private:
    static constexpr int kBunkoColumns = 34;
    static constexpr int kBunkoBoxes = 2;
};

}  // namespace Yomibon

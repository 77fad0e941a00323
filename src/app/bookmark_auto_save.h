// The automatic save of the open text's bookmarks (last page read) whenever the reader
// leaves it: opening another text, reloading, closing.
#pragma once

namespace Yomibon {

class CYbTxtDocument;
class CYbTxtParam;

class CYbBookmarkAutoSave {
  public:
    enum Result { SAVED, NOTHING_TO_SAVE, FAILED };

    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    // Flips the menu's switch; the new state.
    bool toggle() { return enabled_ = !enabled_; }
    void load(const CYbTxtParam& param);
    void store(CYbTxtParam& param) const;

    // Records the page in the document's bookmarks and saves them, unless switched off or
    // there is no file with text to keep them for.
    Result save(CYbTxtDocument& document, int page) const;

  private:
    bool enabled_ = true;
};

}  // namespace Yomibon

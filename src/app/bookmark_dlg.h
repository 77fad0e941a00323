// The bookmark list window: the document's bookmarks with a go / add / delete tool bar.
#pragma once

#include "app/bookmark_dlg_list.h"

namespace Yomibon {

class CYbTxtDocument;

class CYbTxtBookmarkDlg : public CYbTxtPageListDlg {
  public:
    static constexpr int kResourceId = 110;
    // Adding goes through the main window (AddBookmark), which knows the page shown.
    using AddFunc = std::function<void()>;

    CYbTxtBookmarkDlg(CYbTxtDocument& document, CYbTxtParam& param, QWidget* parent = nullptr);

    void setAddFunc(AddFunc func) { onAdd_ = std::move(func); }
    // Rereads the bookmarks (after every open, re-layout, add or delete).
    void refresh();
    // Deletes the selected bookmark; the row at its place stays selected.
    void deleteSelected();

  private:
    CYbTxtDocument& document_;
    AddFunc onAdd_;
};

}  // namespace Yomibon

// The outline window: the document's headings with their pages.
#pragma once

#include "app/bookmark_dlg_list.h"

namespace Yomibon {

class CYbTxtDocument;

class CYbTxtSubtitleDlg : public CYbTxtPageListDlg {
  public:
    static constexpr int kResourceId = 117;

    CYbTxtSubtitleDlg(CYbTxtDocument& document, CYbTxtParam& param, QWidget* parent = nullptr);

    // Rereads the headings and their pages (after every open and re-layout).
    void refresh();

  private:
    CYbTxtDocument& document_;
};

}  // namespace Yomibon

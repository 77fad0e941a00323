#include "app/subtitle_dlg.h"

#include "text/txt_document.h"

namespace Yomibon {

CYbTxtSubtitleDlg::CYbTxtSubtitleDlg(CYbTxtDocument& document, CYbTxtParam& param, QWidget* parent)
    : CYbTxtPageListDlg(param, u"SubtitlePos", parent), document_(document) {
    setWindowTitle(QStringLiteral("見出し一覧"));
    refresh();
}

void CYbTxtSubtitleDlg::refresh() {
    std::vector<Entry> entries;
    for (const OutlineEntry& e : document_.outline()) {
        // Deeper headings are indented so the list reads as an outline.
        std::u16string label(size_t(std::max(e.level - 1, 0)) * 2, u' ');
        entries.push_back({document_.pointToPage(e.begin), label + e.text});
    }
    setEntries(entries);
}

}  // namespace Yomibon

#include "layout/document_arranger.h"

#include <string>

#include "layout/arrange.h"
#include "text/txt_document.h"

namespace Yomibon {

void CYbDocumentArranger::loadLayout(std::u16string_view layoutFile) {
    if (layoutFile.empty()) {
        layout_.SetDefault();
        return;
    }
    std::u16string file(layoutFile);
    layout_.Open(file.c_str());
}

void CYbDocumentArranger::arrange(CYbTxtDocument& document) {
    lastPage_ = ArrangeDocument(document.buffer(), layout_, document.param());
}

}  // namespace Yomibon

#include "app/bookmark_auto_save.h"

#include "platform/paths.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {

void CYbBookmarkAutoSave::load(const CYbTxtParam& param) {
    enabled_ = param.GetBoolean(u"BookMarkAutoSave");
}

void CYbBookmarkAutoSave::store(CYbTxtParam& param) const {
    param.SetBoolean(u"BookMarkAutoSave", enabled_);
}

CYbBookmarkAutoSave::Result CYbBookmarkAutoSave::save(CYbTxtDocument& document, int page) const {
    if (!enabled_ || document.getFileName().empty() || document.buffer().lineCount() == 0)
        return NOTHING_TO_SAVE;
    CYbTxtBookmark& marks = document.bookmarks();
    marks.SetLastPosition(page);
    // A bookmark file names its own text; only a text opened directly is named here.
    if (!document.isOpenedFromBookmark()) marks.SetTextPath(NormalizePath(document.getFileName()));
    return marks.Save() ? SAVED : FAILED;
}

}  // namespace Yomibon

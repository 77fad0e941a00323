#include "layout/kinsoku.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"

namespace Yomibon {

MapOptions MapOptions::FromParam(const CYbTxtParam& param) {
    MapOptions options;
    options.noteFormat = param.GetText(u"NoteFormat");
    options.startList = param.GetListText(u"ConfListStart");
    options.skipList = param.GetListText(u"ConfListSkip");
    options.strict = CYbKinsoku::ModeOf(param) == CYbKinsoku::kStrict;
    return options;
}

}  // namespace Yomibon

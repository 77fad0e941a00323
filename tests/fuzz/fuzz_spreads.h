// Arranges a parsed text in a layout and maps its first and last spread: the part every
// reader of text shares after parsing.
#pragma once

#include "layout/arrange.h"
#include "layout/txt_layout.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/text_buffer.h"

namespace Yomibon::Fuzz {

inline void ArrangeAndMap(CYbTxtBuffer& buffer, const CYbTxtLayout& layout) {
    CYbTxtParam param;
    const int last = ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    const int perSpread = mapper.geometry().columnsPerSpread;
    if (perSpread <= 0) return;
    mapper.Build({}, buffer, 0, {0, 0, 800, 600});
    mapper.Build({}, buffer, last / 2 * perSpread, {0, 0, 800, 600});
}

}  // namespace Yomibon::Fuzz

// Notation bytes: code page, parse, arrange in both built-in layouts, map the first and the
// last spread.
#include "fuzz_support.h"
#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace {

void MapSpreads(const Yomibon::CYbTxtLayout& layout, const std::u16string& text) {
    using namespace Yomibon;
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(std::u16string_view(text), buffer);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    const std::u16string text =
        CYbAozoraTxtParser::DecodeText(reinterpret_cast<const char*>(data), size);
    MapSpreads(CYbBunkoTxtLayout(), text);
    MapSpreads(CYbShinShoTate2TxtLayout(), text);
    return 0;
}

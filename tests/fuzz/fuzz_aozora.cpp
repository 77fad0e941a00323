// Notation bytes: code page, parse, arrange in both built-in layouts, map the first and the
// last spread.
#include "fuzz_spreads.h"
#include "fuzz_support.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "text/aozora_parser.h"

namespace {

void MapSpreads(const Yomibon::CYbTxtLayout& layout, const std::u16string& text) {
    Yomibon::CYbTxtBuffer buffer;
    Yomibon::CYbAozoraTxtParser parser;
    parser.parseText(std::u16string_view(text), buffer);
    Yomibon::Fuzz::ArrangeAndMap(buffer, layout);
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

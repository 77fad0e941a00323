// Layout files (.lay): read, then a small text arranged and mapped in the layout.
#include "fuzz_support.h"
#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    const auto path = Fuzz::WriteScratchFile("layout.lay", data, size);
    CYbBunkoTxtLayout layout;
    layout.Open(FromUtf8(path.string()).c_str());
    static const std::u16string text =
        u"羅生門［＃「羅生門」は大見出し］\n"
        u"［＃ここから２字下げ］\n"
        u"　ある日の暮方《くれがた》の事である。一人の下人《げにん》が、羅生門の下で雨やみを"
        u"待っていた。［＃「待っていた」に傍点］ＡＢＣ１２３ abc\n"
        u"［＃ここで字下げ終わり］\n";
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(std::u16string_view(text), buffer);
    CYbTxtParam param;
    ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    if (mapper.geometry().columnsPerSpread > 0) mapper.Build({}, buffer, 0, {0, 0, 1024, 768});
    return 0;
}

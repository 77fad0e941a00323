// HTML bytes: encoding detection, the HTML reader, arrange in both built-in layouts, map the
// first and the last spread. Linked style sheets and pictures are refused, so nothing outside
// the input is read.
#include "fuzz_spreads.h"
#include "fuzz_support.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "text/html_parser.h"

namespace {

class CNoLinkedFiles : public Yomibon::CYbHtmlResourceLoader {
  public:
    bool loadDocument(const std::string&, Yomibon::HtmlResource&) override { return false; }
    bool loadLinked(const std::string&, Yomibon::HtmlResource&) override { return false; }
    std::u16string message() const override { return u"読み込みません。"; }
};

void MapSpreads(const Yomibon::CYbTxtLayout& layout, std::string_view bytes) {
    using namespace Yomibon;
    CNoLinkedFiles loader;
    CYbHTMLTxtParser parser;
    parser.setLoader(&loader);
    CYbTxtBuffer buffer;
    const HtmlResource resource{
        std::string(bytes), "", "file:///fuzz/cards/000001/files/1_1.html", {}};
    if (!parser.parseResource(resource, buffer)) return;
    Fuzz::ArrangeAndMap(buffer, layout);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    const std::string_view bytes = Fuzz::Bytes(data, size);
    MapSpreads(CYbBunkoTxtLayout(), bytes);
    MapSpreads(CYbShinShoTate2TxtLayout(), bytes);
    return 0;
}

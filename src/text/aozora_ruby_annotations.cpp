// Ruby written as annotations: on the left of the column ("［＃「X」の左に「Y」のルビ］",
// "［＃左にルビ付き］X［＃左に「Y」のルビ付き終わり］") or on the right
// ("［＃「X」に「Y」のルビ］").
#include "platform/utf16.h"
#include "text/aozora_parser.h"

namespace Yomibon {

void CYbAozoraTxtParser::actAnnotatedRuby(std::u16string_view x) {
    RangeSlot& slot = slots_[TT_LEFT_RUBY];
    if (matchedOpen_ == u"［＃左にルビ付き") {
        // The base is the text from here to the closing annotation.
        slot.count = 1;
        slot.start = {int32_t(runs_.size()), 0};
        return;
    }
    if (matchedOpen_ == u"［＃左に「") {
        if (slot.count == 0) return;  // no block to close
        slot.count = 0;
        int32_t index, pos;
        if (x.empty() || !lastPlain(index, pos) || index < slot.start.iIndex) return;
        return appendRun(TT_LEFT_RUBY, std::u16string(x), 0xFFFF, slot.start, {index, pos});
    }
    constexpr std::u16string_view kLeft = u"」の左に「", kRight = u"」に「";
    size_t sep = x.find(kLeft);
    int type = TT_LEFT_RUBY;
    size_t sepSize = kLeft.size();
    if (sep == std::u16string_view::npos) {
        sep = x.find(kRight);
        type = TT_RUBY;
        sepSize = kRight.size();
    }
    if (sep == std::u16string_view::npos || sep + sepSize >= x.size()) return;
    RunPoint first, last;
    if (searchBack(x.substr(0, sep), first, last))
        appendRun(type, std::u16string(x.substr(sep + sepSize)), 0xFFFF, first, last);
}

}  // namespace Yomibon

#include "text/ruby_text.h"

#include <algorithm>

#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon {

std::u16string RubyText(std::u16string_view reading) {
    // Most readings are plain kana: nothing to compose or replace.
    if (std::none_of(reading.begin(), reading.end(),
                     [](char16_t c) { return c == u'／' || c == u'゛' || c == u'゜'; }))
        return std::u16string(reading);
    std::u16string out;
    out.reserve(reading.size());
    for (size_t i = 0; i < reading.size();) {
        if (reading.substr(i).starts_with(u"／″＼")) {
            out += u"〴〵";
            i += 3;
            continue;
        }
        if (reading.substr(i).starts_with(u"／＼")) {
            out += u"〳〵";
            i += 2;
            continue;
        }
        const char32_t c = CodePointAt(reading, i);
        const size_t units = UnitsAt(reading, i);
        if ((c == U'゛' || c == U'゜') && !out.empty()) {
            size_t last = out.size() - 1;
            if (last > 0 && IsLowSurrogate(out[last]) && IsHighSurrogate(out[last - 1])) --last;
            if (char32_t composed = ComposeSoundMark(CodePointAt(out, last), c)) {
                out.resize(last);
                AppendCodePoint(out, composed);
                i += units;
                continue;
            }
        }
        out.append(reading.substr(i, units));
        i += units;
    }
    return out;
}

}  // namespace Yomibon

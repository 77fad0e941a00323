#include "layout/kinsoku.h"

#include <bit>
#include <string_view>

#include "platform/utf16.h"
#include "settings/txt_param.h"

namespace Yomibon {

CYbKinsoku::CYbKinsoku() : flags_(0x10000, 0), codes_(0x10000, 0) {}

CYbKinsoku::CYbKinsoku(const CYbTxtParam& param) : CYbKinsoku() {
    param_ = &param;
    addList(kStart, param.GetList(u"ConfListStart"));
    addList(kEnd, param.GetList(u"ConfListEnd"));
    addList(kSkip, param.GetList(u"ConfListSkip"));
    addList(kSepNG, param.GetList(u"SepNGChar"));
    addList(kHang, param.GetList(u"HangingChar"));
    if (ModeOf(param) == kStrict) addStrictClasses();
}

CYbKinsoku::Mode CYbKinsoku::ModeOf(const CYbTxtParam& param) {
    int32_t mode = 0;
    return param.GetPoints(u"KinsokuMode", 1, &mode) == 1 && mode == 1 ? kStrict : kStandard;
}

void CYbKinsoku::addStrictClasses() {
    // JLReq character classes (Appendix A): cl-01 may not end a line; cl-02 to cl-11 may
    // not begin one.
    static constexpr std::u16string_view kOpening = u"‘“（〔［｛〈《「『【⦅〘〖«〝([{｟";
    static constexpr std::u16string_view kNoStart =
        u"’”）〕］｝〉》」』】⦆〙〗»〟)]}｠"  // cl-02 closing brackets
        u"‐〜゠–"                             // cl-03 hyphens
        u"？！‼⁇⁈⁉?!"                         // cl-04 dividing punctuation
        u"・：；:;"                           // cl-05 middle dots
        u"。．."                              // cl-06 full stops
        u"、，,"                              // cl-07 commas
        u"—…‥〳〴〵"                          // cl-08 inseparable characters
        u"ヽヾゝゞ々〻"                       // cl-09 iteration marks
        u"ー"                                 // cl-10 prolonged sound mark
        u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ";  // cl-11
    for (char16_t c : kOpening)
        flags_[c] |= kEnd;
    for (char16_t c : kNoStart)
        flags_[c] |= kStart;
    strict_ = true;
}

void CYbKinsoku::addList(ListFlag flag, const std::vector<std::u16string>& entries) {
    for (const std::u16string& entry : entries) {
        if (entry.empty()) continue;
        char32_t c = CodePointAt(entry, 0);
        if (c < 0x10000)
            flags_[c] |= flag;
        else
            astralFlags_[c] |= flag;
    }
}

void CYbKinsoku::setCode(char32_t c, uint8_t code) {
    uint8_t v = uint8_t(kKnown | (code & 0xF));
    if (c < 0x10000)
        codes_[c] = v;
    else
        astralCodes_[c] = v;
}

uint8_t CYbKinsoku::lookUp(char32_t c) const {
    if (c >= 0x10000) {
        auto it = astralCodes_.find(c);
        if (it != astralCodes_.end()) return it->second & 0xF;
    }
    uint8_t code = 0;
    if (param_) {
        std::u16string key;
        AppendCodePoint(key, c);
        code = uint8_t(param_->GetCharClass(key) & 0xF);
    }
    if (c < 0x10000)
        codes_[c] = uint8_t(kKnown | code);
    else
        astralCodes_[c] = uint8_t(kKnown | code);
    return code;
}

int CYbKinsoku::SetBits(uint8_t code) {
    return std::popcount(unsigned(code & 0xF));
}

int CYbKinsoku::Shift(uint8_t code) {
    int shift = 0;
    for (int bit = 3; bit >= 0 && !(code & (1u << bit)); --bit)
        ++shift;
    return shift;
}

}  // namespace Yomibon

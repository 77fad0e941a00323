// The line-breaking character lists and the punctuation occupancy codes of the settings,
// turned into per-character lookups that cost one table read at every column end.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Yomibon {

class CYbTxtParam;

class CYbKinsoku {
  public:
    enum ListFlag : uint8_t {
        kStart = 1,  // may not begin a column
        kEnd = 2,    // may not end a column
        kSkip = 4,   // dropped at a column end
        kSepNG = 8,  // two equal ones are not separated
        kHang = 16,  // may hang below a column end (strict mode)
    };
    // KinsokuMode: the user's lists only, or the user's lists joined by the classes of the
    // Japanese layout requirements with hanging limited to the hanging list.
    enum Mode { kStandard = 0, kStrict = 1 };

    // Empty lists and no occupancy codes.
    CYbKinsoku();
    // The lists ConfListStart, ConfListEnd, ConfListSkip and SepNGChar and the class map of
    // the settings; the class map is asked once per distinct character.
    explicit CYbKinsoku(const CYbTxtParam& param);
    // The mode the settings ask for.
    static Mode ModeOf(const CYbTxtParam& param);

    // Adds the strict classes: opening brackets (cl-01) to the end list; closing brackets,
    // hyphens, dividing punctuation, middle dots, full stops, commas, inseparable marks,
    // iteration marks, the prolonged sound mark and small kana (cl-02 to cl-11) to the
    // start list.
    void addStrictClasses();
    bool strict() const { return strict_; }

    // Adds every entry (one character each, a surrogate pair being one) to a list.
    void addList(ListFlag flag, const std::vector<std::u16string>& entries);
    // Sets an occupancy code directly (the settings' class map is not asked for it then).
    void setCode(char32_t c, uint8_t code);

    bool isStart(char32_t c) const { return (flags(c) & kStart) != 0; }
    bool isEnd(char32_t c) const { return (flags(c) & kEnd) != 0; }
    bool isSkip(char32_t c) const { return (flags(c) & kSkip) != 0; }
    bool isSepNG(char32_t c) const { return (flags(c) & kSepNG) != 0; }
    bool isHanging(char32_t c) const { return (flags(c) & kHang) != 0; }

    // Occupancy code of a punctuation mark: bit 3 the top quarter of the cell ... bit 0 the
    // bottom quarter, a set bit meaning ink; 0 for characters without a code.
    uint8_t code(char32_t c) const {
        if (c < 0x10000) {
            uint8_t v = codes_[c];
            return (v & kKnown) ? uint8_t(v & 0xF) : lookUp(c);
        }
        return lookUp(c);
    }
    // Quarters a mark with this code advances when narrowed.
    static int SetBits(uint8_t code);
    // Empty quarters above the first inked quarter.
    static int Shift(uint8_t code);

  private:
    static constexpr uint8_t kKnown = 0x80;
    uint8_t flags(char32_t c) const {
        if (c < 0x10000) return flags_[c];
        auto it = astralFlags_.find(c);
        return it == astralFlags_.end() ? 0 : it->second;
    }
    uint8_t lookUp(char32_t c) const;

    std::vector<uint8_t> flags_;
    std::unordered_map<char32_t, uint8_t> astralFlags_;
    mutable std::vector<uint8_t> codes_;
    mutable std::unordered_map<char32_t, uint8_t> astralCodes_;
    const CYbTxtParam* param_ = nullptr;
    bool strict_ = false;
};

}  // namespace Yomibon

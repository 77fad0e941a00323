#include "text/char_sizes.h"

#include <algorithm>
#include <climits>

namespace Yomibon {

namespace {

// Sets one size on each visited plain character.
class SizeSet : public CYbTxtBuffer::CYbCharFunc {
  public:
    SizeSet(CYbTxtBuffer& buffer, int size) : buffer_(buffer), size_(size) {}
    bool isValid(int textType) override { return textType == TT_TEXT; }
    bool setChar(const TextPoint& point) override {
        if (size_ == kBodySize16)
            buffer_.sizes().erase(point);
        else
            buffer_.sizes()[point] = uint8_t(size_);
        return true;
    }

  private:
    CYbTxtBuffer& buffer_;
    int size_;
};

class SizeType : public CYbTxtBuffer::CYbTypeFunc {
  public:
    explicit SizeType(CYbTxtBuffer& buffer) : buffer_(buffer) {}
    bool isValid(int textType) override {
        return (textType >= TT_HEADING_LARGE && textType <= TT_HEADING_SMALL) ||
               textType == TT_LARGER_TEXT || textType == TT_SMALLER_TEXT;
    }
    bool setType(const TextPoint& point, TextInfo& run) override {
        // iPos -1 closes the range at the end of its run.
        int32_t endPos = run.tpEnd.iPos < 0 ? INT32_MAX : run.tpEnd.iPos;
        SizeSet set(buffer_, SizeOfRun(run.textType, run.chrType));
        buffer_.forEach({point.iLine, run.tpBegin.iIndex, run.tpBegin.iPos},
                        {point.iLine, run.tpEnd.iIndex, endPos}, set);
        return true;
    }

  private:
    CYbTxtBuffer& buffer_;
};

}  // namespace

int SizeOfRun(int textType, int steps) {
    // CSS: 大見出し 125 %, 中見出し large; large, x-large, xx-large and small, x-small,
    // xx-small for one, two and three or more steps.
    static constexpr int kLarger[] = {18, 24, 32};
    static constexpr int kSmaller[] = {13, 10, 9};
    const size_t step = size_t(std::clamp(steps, 1, 3) - 1);
    switch (textType) {
        case TT_HEADING_LARGE:
            return 20;
        case TT_HEADING_MEDIUM:
            return 18;
        case TT_LARGER_TEXT:
            return kLarger[step];
        case TT_SMALLER_TEXT:
            return kSmaller[step];
        default:
            return kBodySize16;
    }
}

void MarkSizes(CYbTxtBuffer& buffer) {
    buffer.sizes().clear();
    SizeType func(buffer);
    buffer.forEachAll(func);
}

}  // namespace Yomibon

// Document information drawn from the buffer after parsing: title and author from the
// head lines, the explanatory comment block, and the bibliographic tail.
#pragma once

#include <string>

#include "text/text_buffer.h"

namespace Yomibon {

// Finds the head block (the non-blank lines at the top), takes title and author from it,
// marks the title bold, gathers the information text and puts a page break after the
// head and the comment block. The work is done when the visitor is destroyed.
class TitleType : public CYbTxtBuffer::CYbTypeFunc {
  public:
    TitleType(CYbTxtBuffer& buffer, std::u16string& title, std::u16string& author,
              std::u16string& info)
        : buffer_(buffer), title_(title), author_(author), info_(info) {}
    ~TitleType();
    bool isValid(int textType) override;
    bool setType(const TextPoint& point, TextInfo& run) override;

  private:
    int32_t headEnd() const;
    CYbTxtBuffer& buffer_;
    std::u16string& title_;
    std::u16string& author_;
    std::u16string& info_;
    TextPoint last_{-1, 0, 0};
};

// Adds the text after the end-of-body mark (the bibliography) to the information.
class InfoType : public CYbTxtBuffer::CYbTypeFunc {
  public:
    InfoType(CYbTxtBuffer& buffer, std::u16string& info) : buffer_(buffer), info_(info) {}
    ~InfoType();
    bool isValid(int textType) override { return textType == TT_END_OF_BODY; }
    bool setType(const TextPoint& point, TextInfo& run) override;

  private:
    CYbTxtBuffer& buffer_;
    std::u16string& info_;
    TextPoint mark_{-1, 0, 0};
};

// The point after every character of a line (for walks through the line's end).
inline TextPoint LineEnd(int32_t line) {
    return {line, INT32_MAX, INT32_MAX};
}

}  // namespace Yomibon

// The outline of a document: dot headings of memo texts and annotated headings.
#pragma once

#include <string>
#include <vector>

#include "text/text_buffer.h"

namespace Yomibon {

// One heading in the document's outline list.
struct OutlineEntry {
    TextPoint begin;
    TextPoint end;
    std::u16string text;
    int32_t level = 1;
};

// Headings written as lines starting with "." (one per level) outside the comment
// block; the dots are removed from the text when the visitor is destroyed.
class CYbTxtOutLinerFunc : public CYbTxtBuffer::CYbTypeFunc {
  public:
    CYbTxtOutLinerFunc(CYbTxtBuffer& buffer, std::vector<OutlineEntry>& outline)
        : buffer_(buffer), outline_(outline), first_(outline.size()) {}
    ~CYbTxtOutLinerFunc();
    bool isValid(int textType) override;
    bool setType(const TextPoint& point, TextInfo& run) override;

  private:
    void clean(OutlineEntry& entry);
    CYbTxtBuffer& buffer_;
    std::vector<OutlineEntry>& outline_;
    size_t first_;
    bool inComment_ = false;
};

// Headings from the heading annotations (large, medium, small).
class CYbTxtSubtileFunc : public CYbTxtBuffer::CYbTypeFunc {
  public:
    CYbTxtSubtileFunc(CYbTxtBuffer& buffer, std::vector<OutlineEntry>& outline)
        : buffer_(buffer), outline_(outline) {}
    bool isValid(int textType) override;
    bool setType(const TextPoint& point, TextInfo& run) override;

  private:
    CYbTxtBuffer& buffer_;
    std::vector<OutlineEntry>& outline_;
};

}  // namespace Yomibon

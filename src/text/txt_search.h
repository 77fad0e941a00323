// Finding a string in the text buffer, forwards or backwards, with wrap-around.
#pragma once

#include <cstdint>
#include <string>

#include "text/text_buffer.h"

namespace Yomibon {

// Holds the search string and the position of the last hit. A hit starts inside a plain
// run of the string's first-character class and may run on into the following plain runs
// of its line, never into the next line.
class CYbTxtSearch {
  public:
    CYbTxtSearch() = default;
    explicit CYbTxtSearch(const CYbTxtBuffer* buffer) : buffer_(buffer) {}
    virtual ~CYbTxtSearch() = default;

    void setBuffer(const CYbTxtBuffer* buffer) { buffer_ = buffer; }

    // Sets the string and flags; the current position becomes `start` moved one character
    // in the search direction.
    void StartSearch(const TextPoint& start, bool forward, std::u16string_view text, bool wrap);
    // Directional searches from the current position; a hit becomes the current position.
    bool FindForward(TextPoint& out);
    bool FindBackward(TextPoint& out);
    // The directional search, restarting once from the far end when wrap is set.
    bool Find(TextPoint& out, bool forward);

    const std::u16string& text() const { return text_; }
    // The search string's length in characters (a surrogate pair is one).
    int32_t length() const { return length_; }
    uint16_t firstClass() const { return firstClass_; }
    bool wrap() const { return wrap_; }
    bool forward() const { return forward_; }
    const TextPoint& current() const { return current_; }
    void setCurrent(const TextPoint& point) { current_ = point; }
    // False before any search was started (repeats then find nothing).
    bool started() const { return !text_.empty(); }

  private:
    bool ready() const;
    bool candidate(const TextInfo& run) const;
    bool matchAt(int32_t line, int32_t run, size_t unit) const;
    bool forwardInRun(int32_t line, int32_t run, int32_t fromPos, TextPoint& out) const;
    bool backwardInRun(int32_t line, int32_t run, int32_t fromPos, TextPoint& out) const;
    TextPoint endPoint() const;
    TextPoint stepBack(const TextPoint& point) const;

    const CYbTxtBuffer* buffer_ = nullptr;
    std::u16string text_;
    char32_t first_ = 0;
    TextPoint current_{0, 0, 0};
    uint16_t firstClass_ = 0;
    int32_t length_ = 0;
    bool wrap_ = false;
    bool forward_ = true;
    // The next forward search may hit at the current position itself.
    bool includeCurrent_ = false;
};

// The last character of a hit of `length` characters: the plain character (length - 1)
// further on, never past the hit's line.
TextPoint SearchHitEnd(const CYbTxtBuffer& buffer, const TextPoint& hit, int32_t length);

}  // namespace Yomibon

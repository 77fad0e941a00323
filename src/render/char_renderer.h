// Glyph renderers: draw one character (or one named external glyph) into a page bitmap
// with their own anti-aliasing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/font.h"
#include "render/bitmap.h"

namespace Yomibon {

class CYbCharRenderer {
  public:
    virtual ~CYbCharRenderer() = default;
    // Draws the glyph of text[0, length) with its top-left at (x, y). A length below 1
    // makes the whole zero-terminated text one external glyph name. False when nothing
    // was drawn; the target is then untouched.
    virtual bool drawText(CYbBitmap& target, int x, int y, const char16_t* text, int length) = 0;
    // As drawText, repeating the glyph downwards to fill `height` rows.
    virtual bool drawTextRect(CYbBitmap& target, int x, int y, int width, int height,
                              const char16_t* text, int length) = 0;
    virtual bool setFont(const LogFont& font) = 0;
    // The font handle (null before setFont) and, when asked, its record.
    virtual const CYbFont* getFont(LogFont* font) const = 0;
    virtual void setColor(uint32_t colorref) = 0;
    virtual uint32_t getColor() const = 0;
    virtual void retainGlyphs(std::u16string_view) {}
    virtual std::u16string getClassName() const = 0;
    virtual bool setProperty(std::u16string_view, std::u16string_view) { return false; }
    virtual bool getProperty(std::u16string_view, std::u16string&) const { return false; }

    // Conveniences for callers holding a string.
    bool drawString(CYbBitmap& target, int x, int y, std::u16string_view text) {
        return !text.empty() && drawText(target, x, y, text.data(), int(text.size()));
    }
    bool drawGlyph(CYbBitmap& target, int x, int y, const std::u16string& name) {
        return drawText(target, x, y, name.c_str(), 0);
    }
};

}  // namespace Yomibon

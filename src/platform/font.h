// Fonts and text output: a LOGFONT-like record, the face it resolves to, and drawing
// characters as one-bit ink the way a vertical ("@") face sets them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ink_raster.h"

struct FT_FaceRec_;

namespace Yomibon {

enum : uint8_t {
    SHIFTJIS_CHARSET = 128,
    OUT_STRING_PRECIS = 1,
    CLIP_STROKE_PRECIS = 2,
    CLIP_LH_ANGLES = 16,
    DRAFT_QUALITY = 1,
    FIXED_PITCH = 1,
};
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };

// The font record. A vertical face has "@" before its family name and is drawn with
// escapement and orientation 2700 (tenths of a degree: the text runs downwards).
struct LogFont {
    int lfHeight = 0;  // pixels; the sign is ignored: |lfHeight| is the em square
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = SHIFTJIS_CHARSET;
    uint8_t lfOutPrecision = OUT_STRING_PRECIS;
    uint8_t lfClipPrecision = CLIP_STROKE_PRECIS | CLIP_LH_ANGLES;
    uint8_t lfQuality = DRAFT_QUALITY;
    uint8_t lfPitchAndFamily = FIXED_PITCH;
    std::u16string lfFaceName;

    bool operator==(const LogFont&) const = default;
};

// True when the record asks for vertical setting (escapement 2700).
bool IsVerticalEscapement(const LogFont& font);
// True when the face name asks for the vertical forms ("@" before the family).
bool IsVerticalFace(const LogFont& font);
// The family name without the "@".
std::u16string FamilyName(const LogFont& font);

struct TextExtent {
    int cx = 0;  // along the writing direction
    int cy = 0;  // across it (the em)
};

// One glyph as a font sets it, for vector output: the FreeType face it comes from (the
// font's own or a fallback face), its glyph id and where its em square goes.
struct FontGlyph {
    FT_FaceRec_* face = nullptr;
    unsigned id = 0;
    // Maps the em square (one unit per em, y pointing down, the glyph origin on the
    // baseline at 0) to pixels: px = xx * u + xy * v + x0, py = yx * u + yy * v + y0.
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;
    size_t cluster = 0;  // the first code unit of the character the glyph sets
};

// A font made from a record. Drawing at (x, y) puts the em square of the first character
// with its top-left corner at (x, y); the next character follows to the right
// (horizontal) or below (vertical). In a vertical face, upright characters take their
// vertical forms and are centred across the em square; characters that Unicode sets
// rotated (Latin letters, half-width forms) are turned 90 degrees clockwise.
class CYbFont {
  public:
    virtual ~CYbFont() = default;
    virtual const LogFont& logFont() const = 0;
    // The file the face came from and its family name.
    virtual std::string filePath() const = 0;
    virtual std::u16string familyName() const = 0;
    // Pixels from the top of the em square to the baseline and from there to its bottom
    // (outline metrics).
    virtual double ascent() const = 0;
    virtual double descent() const = 0;
    virtual TextExtent measure(std::u16string_view text) const = 0;
    // Sets the ink of the text's glyphs (clipped to the mask); false when nothing of the
    // text has a glyph.
    virtual bool draw(const InkMask& mask, double x, double y, std::u16string_view text) const = 0;
    // True when the face (or a fallback face) has a glyph for the code point.
    virtual bool hasGlyph(char32_t c) const = 0;
    // The glyphs draw() would set for the text at (x, y), in text order.
    virtual std::vector<FontGlyph> glyphs(double x, double y, std::u16string_view text) const = 0;
    // True when the strokes are widened because the face has no bold of its own.
    virtual bool syntheticBold() const = 0;
};

// Resolves the face through the font configuration; a family that is not installed
// falls back to the best Japanese serif face. Null only when no font can be loaded.
std::unique_ptr<CYbFont> CreateFont(const LogFont& font);

}  // namespace Yomibon

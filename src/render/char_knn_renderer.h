// The oversampling glyph renderer: draws each glyph K times larger as one-bit ink and
// reduces K x K blocks to coverage; subclasses do the reduction.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/char_renderer.h"

namespace Yomibon {

class CYbCharKNNRenderer : public CYbCharRenderer {
  public:
    explicit CYbCharKNNRenderer(int k);
    ~CYbCharKNNRenderer() override;

    bool drawText(CYbBitmap& target, int x, int y, const char16_t* text, int length) override = 0;
    bool drawTextRect(CYbBitmap&, int, int, int, int, const char16_t*, int) override {
        return false;
    }
    bool setFont(const LogFont& font) override;
    const CYbFont* getFont(LogFont* font) const override;
    void setColor(uint32_t colorref) override;
    uint32_t getColor() const override { return color_; }
    void retainGlyphs(std::u16string_view text) override;
    std::u16string getClassName() const override { return u"CYbCharKNNRenderer"; }
    bool setProperty(std::u16string_view key, std::u16string_view value) override;
    bool getProperty(std::u16string_view key, std::u16string& value) const override;
    virtual void buildCoverageTable() {}

    int oversampling() const { return k_; }
    int glyphBoxWidth() const { return boxWidth_; }
    int spacingMargin() const { return margin_; }
    const LogFont& oversampledFont() const { return bigLogFont_; }
    const std::vector<uint8_t>& coverageTable() const { return coverage_; }
    size_t cachedGlyphCount() const { return cache_.size(); }
    // The text's mask as drawText would reduce it (null when it cannot be produced).
    const CYbMonoBitmap* glyphMask(const char16_t* text, int length) {
        return produceMask(text, length);
    }
    // Glyphs kept reduced beyond the retained ones.
    size_t recentGlyphCount() const { return recent_.size(); }

  protected:
    // The area of the target a glyph box at (x, y) covers: first target column and row,
    // the count of each, and the glyph column and row they start from.
    struct Clip {
        int x, y, columns, rows, glyphX, glyphY;
    };
    // A glyph's inked pixels with their counts of set sub-pixels, row by row, made once
    // from the mask so that drawing it again only blends those pixels.
    struct GlyphCover {
        // Per inked pixel: its column in the glyph box << 16 | its count (LCD: red, green
        // and blue counts in five bits each, red lowest).
        std::vector<uint32_t> pixels;
        std::vector<uint32_t> rowStart;  // per row, and one past the last: index into pixels
        std::vector<int> ink;            // per row: set sub-pixels of the pixels' own windows
        bool empty() const { return rowStart.empty(); }
        size_t bytes() const {
            return (pixels.size() + rowStart.size()) * sizeof(uint32_t) + ink.size() * sizeof(int);
        }
    };
    bool clipGlyph(const CYbBitmap& target, int x, int y, int width, int height, Clip& clip) const;
    // Produces the mask of a text (or a glyph name when length < 1); null on failure.
    const CYbMonoBitmap* produceMask(const char16_t* text, int length);
    // The reduced glyph of a text, from the caches or made now; null on failure.
    const GlyphCover* produceCover(const char16_t* text, int length);
    // Counts per pixel (one per colour channel), and those of glyph row g of the mask
    // written into `counts` (zeroed by the caller, channels interleaved).
    virtual int coverChannels() const { return 1; }
    virtual void countRow(const CYbMonoBitmap&, int /*g*/, uint8_t* /*counts*/) const {}
    // Extra mask pixels a reduction reads beyond the glyph box (LCD windows).
    virtual int maskExtraColumns() const { return 0; }
    // Glyph row for output row i of a tiled rectangle: the rows as they are up to the end
    // of the repeated part, then the repeated part over and over.
    int tiledRow(int i) const;
    // Clips `rows` rows of the glyph box at (x, y), produces the reduced glyph and has
    // the subclass paint it; rows past the glyph's height repeat it (tiled).
    bool drawMasked(CYbBitmap& target, int x, int y, int rows, const char16_t* text, int length,
                    bool tiled);
    // Writes the clipped area from the cover; glyph row of output row i is
    // tiled ? tiledRow(i) : i. The greyscale blend; LCD paints channel by channel.
    virtual void paint(CYbBitmap& target, const Clip& clip, const GlyphCover& cover, bool tiled);
    // Calls fn(pixel, entry) for every inked cover entry inside the clip: the walk both
    // paints share, inlined into each.
    template <class Fn>
    void forEachCovered(CYbBitmap& target, const Clip& clip, const GlyphCover& cover, bool tiled,
                        Fn&& fn) const {
        const unsigned first = unsigned(clip.glyphX), columns = unsigned(clip.columns);
        for (int r = 0; r < clip.rows; ++r) {
            int i = clip.glyphY + r;
            size_t g = size_t(tiled ? tiledRow(i) : i);
            uint32_t* out = target.row(clip.y + r) + clip.x;
            for (uint32_t k = cover.rowStart[g], e = cover.rowStart[g + 1]; k < e; ++k) {
                const uint32_t n = cover.pixels[k];
                unsigned c = (n >> 16) - first;  // wraps for columns left of the clip
                if (c < columns) fn(out[c], n);
            }
        }
    }
    // One pixel blended with the text colour at transparency t (0 = colour, 255 = as is).
    void blend(uint32_t& p, unsigned t) const {
        if (t >= 255) return;
        if (t == 0) {
            p = pixel_;
            return;
        }
        p = (((t * (p & 0x00FF00FF) + tableRB_[t]) >> 8) & 0x00FF00FF) |
            (((t * (p & 0x0000FF00) + tableG_[t]) >> 8) & 0x0000FF00);
    }

    int k_;
    int boxWidth_ = 0;
    int fontHeight_ = 0;  // |height| of the wanted font
    int tileStart_ = 1;   // the repeated rows of a tiled glyph: [tileStart_, tileEnd_)
    int tileEnd_ = 0;
    uint32_t color_ = 0;
    uint32_t pixel_ = 0;
    uint32_t tableRB_[256] = {};
    uint32_t tableG_[256] = {};
    std::vector<uint8_t> coverage_;

  private:
    bool renderInto(CYbMonoBitmap& mask, const char16_t* text, int length);
    bool renderName(CYbMonoBitmap& mask, std::u16string_view name);
    // True when the mask was (re)made, and so is clear.
    bool sizeMask(CYbMonoBitmap& mask) const;
    void setTiling(const GlyphCover& cover, bool text);
    void makeCover(const CYbMonoBitmap& mask, GlyphCover& cover);
    void forgetRecent();

    LogFont logFont_;
    LogFont bigLogFont_;
    std::unique_ptr<CYbFont> font_;
    std::unique_ptr<CYbFont> bigFont_;
    double fontSpacing_ = 0;
    int margin_ = 0;
    bool fontCentering_ = false;
    CYbMonoBitmap scratch_;
    std::vector<uint8_t> rowCounts_;     // makeCover's counts of one row
    std::vector<uint32_t> coverPixels_;  // makeCover's inked pixels
    // Recently drawn glyphs beyond the retained ones, reduced, so that turning pages does
    // not rasterise the same characters again. Only the inked pixels' counts are kept (a
    // few per cent of a mask), so a long novel's few thousand characters fit; emptied
    // whole at the bound.
    std::unordered_map<std::u16string, GlyphCover> recent_;
    size_t recentBytes_ = 0;
    static constexpr size_t kMaxRecentBytes = size_t(16) << 20;
    struct Retained {
        CYbMonoBitmap mask;
        GlyphCover cover;
    };
    std::map<std::u16string, Retained> cache_;
};

}  // namespace Yomibon

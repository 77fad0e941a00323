// Sub-pixel glyph renderer for LCD screens: 4 x 4 blocks, with the green and blue
// windows shifted right by one and two sub-pixel columns.
#pragma once

#include "render/char_knn_renderer.h"
#include "render/char_renderer_tables.h"

namespace Yomibon {

class CYbCharLCDRenderer : public CYbCharKNNRenderer {
  public:
    CYbCharLCDRenderer() : CYbCharKNNRenderer(4) {}
    bool drawText(CYbBitmap& target, int x, int y, const char16_t* text, int length) override {
        return drawMasked(target, x, y, fontHeight_, text, length, false);
    }
    bool drawTextRect(CYbBitmap& target, int x, int y, int, int height, const char16_t* text,
                      int length) override {
        return drawMasked(target, x, y, height, text, length, true);
    }
    void setColor(uint32_t colorref) override;
    std::u16string getClassName() const override { return u"CYbCharLCDRenderer"; }
    void buildCoverageTable() override { coverage_ = BuildCoverageTable(4); }

  protected:
    int maskExtraColumns() const override { return 2; }
    int coverChannels() const override { return 3; }
    void countRow(const CYbMonoBitmap& mask, int g, uint8_t* counts) const override;
    void paint(CYbBitmap& target, const Clip& clip, const GlyphCover& cover, bool tiled) override;

  private:
    uint32_t tableR_[256] = {};
    uint32_t tableGreen_[256] = {};
    uint32_t tableB_[256] = {};
};

}  // namespace Yomibon

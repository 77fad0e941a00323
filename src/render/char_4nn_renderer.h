// Greyscale glyph renderer reducing 4 x 4 blocks of the oversampled mask.
#pragma once

#include "render/char_knn_renderer.h"
#include "render/char_renderer_tables.h"

namespace Yomibon {

class CYbChar4NNRenderer : public CYbCharKNNRenderer {
  public:
    CYbChar4NNRenderer() : CYbCharKNNRenderer(4) {}
    bool drawText(CYbBitmap& target, int x, int y, const char16_t* text, int length) override {
        return drawMasked(target, x, y, fontHeight_, text, length, false);
    }
    bool drawTextRect(CYbBitmap& target, int x, int y, int, int height, const char16_t* text,
                      int length) override {
        return drawMasked(target, x, y, height, text, length, true);
    }
    std::u16string getClassName() const override { return u"CYbChar4NNRenderer"; }
    void buildCoverageTable() override { coverage_ = BuildCoverageTable(4); }

  protected:
    void countRow(const CYbMonoBitmap& mask, int g, uint8_t* counts) const override;
};

}  // namespace Yomibon

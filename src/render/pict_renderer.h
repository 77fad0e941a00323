// Picture renderers: the loaders that the renderer manager asks, in turn, whether they can
// read a picture file, and then has load it scaled into a 32-bit bitmap with alpha.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/bitmap.h"

namespace Yomibon {

// (pattern, description), e.g. ("*.png", "PNG File").
using PictFileFilter = std::pair<std::u16string, std::u16string>;

class CYbPictRenderer {
  public:
    virtual ~CYbPictRenderer() = default;
    virtual bool canLoad(std::u16string_view file) = 0;
    // Writes the picture at (x, y) of target scaled by s = min(width / picture width,
    // height / picture height), also upwards. An empty target is first made exactly
    // (picture width * s) by (picture height * s).
    virtual bool loadFitted(CYbBitmap& target, int x, int y, int width, int height,
                            std::u16string_view file) = 0;
    // Draws the picture unscaled over target, centred in the box, with its transparency.
    virtual bool drawToDC(CYbBitmap& target, int x, int y, int width, int height,
                          std::u16string_view file) = 0;
    // Writes the picture at (x, y) of the existing target scaled to exactly width by height.
    virtual bool loadStretched(CYbBitmap& target, int x, int y, int width, int height,
                               std::u16string_view file) = 0;
    virtual void unload() {}
    virtual std::u16string_view getClassName() const = 0;
    virtual void getFileFilters(std::vector<PictFileFilter>& filters) = 0;
    virtual bool setProperty(std::u16string_view /*key*/, std::u16string_view /*value*/) {
        return false;
    }
    virtual bool getProperty(std::u16string_view /*key*/, std::u16string& /*value*/) {
        return false;
    }

  protected:
    // The shared tail of loadFitted and loadStretched once the picture is decoded.
    static bool PlaceFitted(CYbBitmap& target, int x, int y, int width, int height,
                            const CYbBitmap& picture);
    static bool PlaceStretched(CYbBitmap& target, int x, int y, int width, int height,
                               const CYbBitmap& picture);
    static bool DrawCentred(CYbBitmap& target, int x, int y, int width, int height,
                            const CYbBitmap& picture);
    // file made absolute against directory (the process's current one when empty).
    static std::u16string ResolvePath(std::u16string_view directory, std::u16string_view file);
    static std::u16string CurrentDirectory();
};

// A renderer that decodes the whole picture into a bitmap and then places it: the three
// ways of placing are the same for every such renderer.
class CYbDecodingPictRenderer : public CYbPictRenderer {
  public:
    bool loadFitted(CYbBitmap& target, int x, int y, int width, int height,
                    std::u16string_view file) override;
    bool drawToDC(CYbBitmap& target, int x, int y, int width, int height,
                  std::u16string_view file) override;
    bool loadStretched(CYbBitmap& target, int x, int y, int width, int height,
                       std::u16string_view file) override;

  protected:
    virtual bool loadPicture(std::u16string_view file, CYbBitmap& picture) = 0;
};

namespace PictPlacement {
// Copies source into target with its top-left at (x, y), at most width by height pixels,
// clipped to the target.
void CopyClipped(CYbBitmap& target, int x, int y, int width, int height, const CYbBitmap& source);
// Blends source over target at (x, y) by the source's alpha, clipped; the target keeps its
// fourth byte.
void BlendClipped(CYbBitmap& target, int x, int y, const CYbBitmap& source);
}  // namespace PictPlacement

}  // namespace Yomibon

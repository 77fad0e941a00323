// The twelve glyph renderers of a page (one per font role), the picture renderers with
// their cache, and the box lines.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "render/bitmap.h"
#include "render/char_renderer.h"
#include "render/pict_renderer.h"
#include "settings/txt_param.h"

namespace Yomibon {

// The renderer slots and what each draws.
enum RendererSlot : int {
    SLOT_TEXT = 0,
    SLOT_HALF = 1,
    SLOT_HORIZONTAL = 2,
    SLOT_HALF_HORIZONTAL = 3,
    SLOT_BOLD = 4,
    SLOT_BOLD_HALF = 5,
    SLOT_BOLD_HORIZONTAL = 6,
    SLOT_BOLD_HALF_HORIZONTAL = 7,
    SLOT_RUBY = 8,
    SLOT_NOTE = 9,
    SLOT_NOMBRE = 10,
    SLOT_RUNNING_HEAD = 11,
    SLOT_COUNT = 12,
};

// Font sizes of a spread in pixels.
struct FontSizes {
    int text = 0;
    int ruby = 0;
    int note = 0;
    int nombre = 0;
    int runningHead = 0;
};

// The font of a renderer slot at its size in pixels, with the setting it comes from
// (colour, spacing, centring).
struct SlotFont {
    LogFont logFont;
    FontParam setting;
    bool vertical = false;
};
SlotFont SlotFontFor(const CYbTxtParam& param, int slot, const FontSizes& sizes);

// The renderer class for an anti-aliasing mode (2 = LCD) and a font size in pixels.
std::u16string_view ChooseRendererClass(int antiAlias, int size);

// A scaled picture kept for its file.
struct PictureCacheEntry {
    CYbBitmap bitmap;
    int width = 0;
    int height = 0;
    int uses = 0;
};
using PictureCache = std::map<std::u16string, PictureCacheEntry>;

// Drops the least used entries until at most `keep` remain.
void EvictLeastUsed(PictureCache& cache, size_t keep);

// The whiteness table: index R + G + B, value the alpha that white transparency allows.
std::array<uint8_t, 768> MakeWhitenessTable(int rate);

class CYbTxtRendererMgr {
  public:
    explicit CYbTxtRendererMgr(const CYbTxtParam& param);
    virtual ~CYbTxtRendererMgr();
    CYbTxtRendererMgr(const CYbTxtRendererMgr&) = delete;
    CYbTxtRendererMgr& operator=(const CYbTxtRendererMgr&) = delete;

    void setAntiAlias(int mode) { antiAlias_ = mode; }
    int antiAlias() const { return antiAlias_; }

    // Creates (or reuses) the twelve renderers for the sizes; only the body renderer keeps
    // the frequent characters' glyphs.
    void setFonts(std::u16string_view currentDirectory, std::u16string_view frequentChars,
                  const FontSizes& sizes);
    // Replaces the picture renderers and empties the cache.
    void setPictureRenderers(std::u16string_view currentDirectory,
                             std::u16string_view dataDirectory);
    void setTextColor(uint32_t colorref);
    // White transparency of pictures (the WhiteTrans and WhiteTransRate settings).
    void setWhiteTransparency(bool on, int rate);

    CYbCharRenderer* renderer(int slot) const;
    // The slot's renderer at a size in sixteenths of the slot's size (16: the slot's own),
    // made on first use and kept until the fonts change.
    CYbCharRenderer* scaledRenderer(int slot, int size16);
    CYbPictRenderer* pictRenderer(int slot) const;
    const PictureCache& pictureCache() const { return cache_; }

    // The background: stretched to exactly the box.
    bool drawPicture(CYbBitmap& target, std::u16string_view file, int x, int y, int width,
                     int height);
    // A picture in the text: fitted into the box, centred, aspect ratio kept.
    bool drawPictureTransparent(CYbBitmap& target, std::u16string_view file, int x, int y,
                                int width, int height);
    // Messages for the reader gathered while drawing (a picture refused by the size limits,
    // once per file), oldest first; they are forgotten once taken.
    std::vector<std::u16string> takeNotices();
    // One-pixel lines in the body colour; sides: top, left, bottom, right.
    bool drawBoxLines(CYbBitmap& target, int left, int top, int width, int height,
                      const std::array<bool, 4>& sides) const;

  private:
    bool drawCachedPicture(CYbBitmap& target, std::u16string_view file, int x, int y, int width,
                           int height, bool stretched);
    CYbPictRenderer* findPictRenderer(const std::u16string& file);
    void noteRefusal(const std::u16string& file);
    void blend(CYbBitmap& target, const PictureCacheEntry& entry, int x, int y, int width,
               int height) const;
    void createRenderer(int slot, int size, std::u16string_view currentDirectory);
    void configureRenderer(std::unique_ptr<CYbCharRenderer>& r, int slot, int size,
                           std::u16string_view currentDirectory);

    const CYbTxtParam& param_;
    int antiAlias_ = 1;
    std::array<std::unique_ptr<CYbCharRenderer>, SLOT_COUNT> renderers_;
    std::array<int, SLOT_COUNT> slotSizes_{};
    std::u16string fontDirectory_;
    std::map<int, std::unique_ptr<CYbCharRenderer>> scaled_;  // by slot × 256 + size
    std::array<std::unique_ptr<CYbPictRenderer>, 2> pictRenderers_;
    std::u16string pictDirectory_;
    PictureCache cache_;
    std::map<std::u16string, CYbPictRenderer*> pictChoice_;
    std::vector<std::u16string> notices_;
    std::set<std::u16string> refusedFiles_;
    bool whiteTrans_ = false;
    std::array<uint8_t, 768> whiteness_{};
};

}  // namespace Yomibon

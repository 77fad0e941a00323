#include "render/txt_renderer_mgr.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/utf16.h"
#include "render/char_4nn_renderer.h"
#include "render/char_8nn_renderer.h"
#include "render/char_lcd_renderer.h"
#include "render/pict_ole_renderer.h"
#include "render/pict_spi_renderer.h"
#include "render/picture_refusal.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

enum class SizeOf { Text, HalfText, Ruby, Note, Nombre, RunningHead };

struct SlotRow {
    std::u16string_view fontKey;
    SizeOf size;
    bool vertical;
    bool bold;
};

constexpr std::array<SlotRow, SLOT_COUNT> kSlots = {{
    {u"TextFont", SizeOf::Text, true, false},
    {u"TextFont", SizeOf::HalfText, true, false},
    {u"TextFont", SizeOf::Text, false, false},
    {u"TextFont", SizeOf::HalfText, false, false},
    {u"TextFont", SizeOf::Text, true, true},
    {u"TextFont", SizeOf::HalfText, true, true},
    {u"TextFont", SizeOf::Text, false, true},
    {u"TextFont", SizeOf::HalfText, false, true},
    {u"RubyFont", SizeOf::Ruby, true, false},
    {u"NoteFont", SizeOf::Note, true, false},
    {u"NombreFont", SizeOf::Nombre, false, false},
    {u"RunningHeadsFont", SizeOf::RunningHead, false, false},
}};

int SizeFor(SizeOf kind, const FontSizes& s) {
    switch (kind) {
        case SizeOf::Text:
            return s.text;
        case SizeOf::HalfText:
            return s.text / 2;
        case SizeOf::Ruby:
            return s.ruby;
        case SizeOf::Note:
            return s.note;
        case SizeOf::Nombre:
            return s.nombre;
        case SizeOf::RunningHead:
            return s.runningHead;
    }
    return s.text;
}

std::unique_ptr<CYbCharRenderer> MakeRenderer(std::u16string_view cls) {
    if (cls == u"CYbCharLCDRenderer") return std::make_unique<CYbCharLCDRenderer>();
    if (cls == u"CYbChar8NNRenderer") return std::make_unique<CYbChar8NNRenderer>();
    return std::make_unique<CYbChar4NNRenderer>();
}

std::u16string Printf(const char* pattern, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, value);
    return FromUtf8(buf);
}

}  // namespace

std::u16string_view ChooseRendererClass(int antiAlias, int size) {
    if (antiAlias == 2) return u"CYbCharLCDRenderer";
    return size < 18 ? u"CYbChar8NNRenderer" : u"CYbChar4NNRenderer";
}

SlotFont SlotFontFor(const CYbTxtParam& param, int slot, const FontSizes& sizes) {
    const SlotRow& row = kSlots[size_t(std::clamp(slot, 0, SLOT_COUNT - 1))];
    SlotFont out;
    out.setting = param.GetFont(row.fontKey);
    out.vertical = row.vertical;
    LogFont& lf = out.logFont;
    lf.lfHeight = std::max(SizeFor(row.size, sizes), 1);
    lf.lfWeight = row.bold ? FW_BOLD : FW_NORMAL;
    lf.lfEscapement = lf.lfOrientation = row.vertical ? 2700 : 0;
    lf.lfFaceName = out.setting.face;
    // Horizontal slots set their text upright: the vertical forms' "@" does not apply.
    // Vertical slots always take the vertical forms: a plain family name there would lay
    // every glyph on its side, which no reader wants from a face chosen for vertical text.
    const bool marked = !lf.lfFaceName.empty() && lf.lfFaceName[0] == u'@';
    if (!row.vertical && marked) lf.lfFaceName.erase(0, 1);
    if (row.vertical && !marked && !lf.lfFaceName.empty()) lf.lfFaceName.insert(0, 1, u'@');
    return out;
}

void EvictLeastUsed(PictureCache& cache, size_t keep) {
    while (cache.size() > keep) {
        auto least = std::min_element(cache.begin(), cache.end(), [](const auto& a, const auto& b) {
            return a.second.uses < b.second.uses;
        });
        cache.erase(least);
    }
}

std::array<uint8_t, 768> MakeWhitenessTable(int rate) {
    std::array<uint8_t, 768> table{};
    double f = rate / 100.0 + 1.0;
    for (int i = 0; i < 768; ++i) {
        int v = int(f * (255 - i * 255 / 768));
        table[size_t(i)] = uint8_t(std::clamp(v, 0, 255));
    }
    return table;
}

CYbTxtRendererMgr::CYbTxtRendererMgr(const CYbTxtParam& param) : param_(param) {
    const auto& aa = param.GetPoints(u"AntiAlias");
    if (!aa.empty()) antiAlias_ = aa[0];
}

CYbTxtRendererMgr::~CYbTxtRendererMgr() {
    for (auto& r : renderers_)
        r.reset();  // in slot order
}

CYbCharRenderer* CYbTxtRendererMgr::renderer(int slot) const {
    return slot >= 0 && slot < SLOT_COUNT ? renderers_[size_t(slot)].get() : nullptr;
}

CYbCharRenderer* CYbTxtRendererMgr::scaledRenderer(int slot, int size16) {
    if (size16 == 16 || slot < 0 || slot >= SLOT_COUNT || !renderers_[size_t(slot)])
        return renderer(slot);
    auto& r = scaled_[slot * 256 + size16];
    if (!r) {
        const int size = std::max(1, (slotSizes_[size_t(slot)] * size16 + 8) / 16);
        configureRenderer(r, slot, size, fontDirectory_);
        r->setColor(renderers_[size_t(slot)]->getColor());
    }
    return r.get();
}

CYbPictRenderer* CYbTxtRendererMgr::pictRenderer(int slot) const {
    return slot >= 0 && slot < 2 ? pictRenderers_[size_t(slot)].get() : nullptr;
}

void CYbTxtRendererMgr::createRenderer(int slot, int size, std::u16string_view currentDirectory) {
    configureRenderer(renderers_[size_t(slot)], slot, size, currentDirectory);
}

void CYbTxtRendererMgr::configureRenderer(std::unique_ptr<CYbCharRenderer>& r, int slot, int size,
                                          std::u16string_view currentDirectory) {
    // The slot's face at the size asked for (headings and larger characters ask for more).
    SlotFont font = SlotFontFor(param_, slot, FontSizes{});
    font.logFont.lfHeight = std::max(size, 1);
    std::u16string_view cls = ChooseRendererClass(antiAlias_, size);
    if (!r || r->getClassName() != cls) r = MakeRenderer(cls);
    r->setColor(font.setting.color);
    r->setFont(font.logFont);
    if (font.vertical) r->setProperty(u"FontSpacing", Printf("%g", font.setting.spacing));
    r->setProperty(u"FontCentering", font.setting.centering ? u"1" : u"0");
    r->setProperty(u"CurDir", currentDirectory);
}

void CYbTxtRendererMgr::setFonts(std::u16string_view currentDirectory,
                                 std::u16string_view frequentChars, const FontSizes& sizes) {
    scaled_.clear();
    fontDirectory_ = std::u16string(currentDirectory);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        slotSizes_[size_t(slot)] = SizeFor(kSlots[size_t(slot)].size, sizes);
        createRenderer(slot, slotSizes_[size_t(slot)], currentDirectory);
    }
    renderers_[SLOT_TEXT]->retainGlyphs(frequentChars);
}

void CYbTxtRendererMgr::setPictureRenderers(std::u16string_view currentDirectory,
                                            std::u16string_view dataDirectory) {
    pictRenderers_[0].reset();
    pictRenderers_[1].reset();
    cache_.clear();
    pictChoice_.clear();
    refusedFiles_.clear();
    pictDirectory_ =
        currentDirectory.empty() ? std::u16string(dataDirectory) : std::u16string(currentDirectory);
    pictRenderers_[0] = std::make_unique<CYbPictOleRenderer>();
    pictRenderers_[1] = std::make_unique<CYbPictSPIRenderer>();
    // An empty plug-in folder setting means the plug-ins beside the program.
    pictRenderers_[1]->setProperty(u"PluginDir", param_.GetText(u"SpiPluginFolder"));
    for (auto& r : pictRenderers_) {
        if (!r) continue;
        r->setProperty(u"CurDir", pictDirectory_);
        r->setProperty(u"DataDir", dataDirectory);
    }
}

void CYbTxtRendererMgr::setTextColor(uint32_t colorref) {
    for (int slot = SLOT_TEXT; slot <= SLOT_BOLD_HALF_HORIZONTAL; ++slot) {
        auto& r = renderers_[size_t(slot)];
        if (r && r->getColor() != colorref) r->setColor(colorref);
    }
    for (auto& [key, r] : scaled_)
        if (r && r->getColor() != colorref) r->setColor(colorref);
}

void CYbTxtRendererMgr::setWhiteTransparency(bool on, int rate) {
    whiteTrans_ = on;
    whiteness_ = MakeWhitenessTable(rate);
}

CYbPictRenderer* CYbTxtRendererMgr::findPictRenderer(const std::u16string& file) {
    if (auto it = pictChoice_.find(file); it != pictChoice_.end()) return it->second;
    for (auto& r : pictRenderers_) {
        if (!r) continue;
        r->setProperty(u"CurDir", pictDirectory_);
        if (r->canLoad(file)) return pictChoice_[file] = r.get();
    }
    return nullptr;
}

void CYbTxtRendererMgr::blend(CYbBitmap& target, const PictureCacheEntry& entry, int x, int y,
                              int width, int height) const {
    const CYbBitmap& src = entry.bitmap;
    int left = x + width / 2 - src.width() / 2;
    int top = y + height / 2 - src.height() / 2;
    int x0 = std::max(0, -left), y0 = std::max(0, -top);
    int x1 = std::min(src.width(), target.width() - left);
    int y1 = std::min(src.height(), target.height() - top);
    for (int sy = y0; sy < y1; ++sy) {
        const uint32_t* s = src.row(sy);
        uint32_t* d = target.row(top + sy) + left;
        for (int sx = x0; sx < x1; ++sx) {
            uint32_t sp = s[sx], dp = d[sx];
            uint32_t a = sp >> 24;
            if (whiteTrans_) {
                uint32_t sum = (sp & 0xFF) + ((sp >> 8) & 0xFF) + ((sp >> 16) & 0xFF);
                a = std::min<uint32_t>(a, whiteness_[sum]);
            }
            uint32_t out = dp & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                uint32_t c = (((sp >> shift) & 0xFF) * a + ((dp >> shift) & 0xFF) * (255 - a)) >> 8;
                out |= c << shift;
            }
            d[sx] = out;
        }
    }
}

bool CYbTxtRendererMgr::drawCachedPicture(CYbBitmap& target, std::u16string_view name, int x, int y,
                                          int width, int height, bool stretched) {
    std::u16string file(name);
    auto it = cache_.find(file);
    if (it == cache_.end() || it->second.width != width || it->second.height != height) {
        if (cache_.size() > 4) EvictLeastUsed(cache_, 4);
        TakePictureRefusal();
        CYbPictRenderer* r = findPictRenderer(file);
        if (!r) {
            noteRefusal(file);
            return false;
        }
        PictureCacheEntry& entry = cache_[file];
        entry = PictureCacheEntry{};
        entry.width = width;
        entry.height = height;
        if (stretched) {
            entry.bitmap.create(width, height);
            if (!r->loadStretched(entry.bitmap, 0, 0, width, height, file)) entry.bitmap = {};
        } else if (!r->loadFitted(entry.bitmap, 0, 0, width, height, file)) {
            entry.bitmap = {};
        }
        if (entry.bitmap.empty()) noteRefusal(file);
        it = cache_.find(file);
    }
    if (it->second.bitmap.empty()) return false;
    blend(target, it->second, x, y, width, height);
    ++it->second.uses;
    return true;
}

void CYbTxtRendererMgr::noteRefusal(const std::u16string& file) {
    const std::optional<PictureRefusal> refusal = TakePictureRefusal();
    if (refusal && refusedFiles_.insert(file).second)
        notices_.push_back(PictureRefusalMessage(file, *refusal));
}

std::vector<std::u16string> CYbTxtRendererMgr::takeNotices() {
    return std::exchange(notices_, {});
}

bool CYbTxtRendererMgr::drawPicture(CYbBitmap& target, std::u16string_view file, int x, int y,
                                    int width, int height) {
    return drawCachedPicture(target, file, x, y, width, height, true);
}

bool CYbTxtRendererMgr::drawPictureTransparent(CYbBitmap& target, std::u16string_view file, int x,
                                               int y, int width, int height) {
    return drawCachedPicture(target, file, x, y, width, height, false);
}

bool CYbTxtRendererMgr::drawBoxLines(CYbBitmap& target, int left, int top, int width, int height,
                                     const std::array<bool, 4>& sides) const {
    if (target.empty() || width < 1 || height < 1) return true;
    int bottom = top + height;
    if (left < 0 || bottom >= target.height() || top < 0) return true;
    int right = std::min(left + width + 1, target.width() - 1);
    if (left > right) return true;
    const CYbCharRenderer* body = renderers_[SLOT_TEXT].get();
    uint32_t pixel = ColorToPixel(body ? body->getColor() : 0);
    auto hline = [&](int row) {
        std::fill(target.row(row) + left, target.row(row) + right + 1, pixel);
    };
    auto vline = [&](int col) {
        for (int row = top; row < bottom; ++row)
            target.pixel(col, row) = pixel;
    };
    if (sides[0]) hline(top);
    if (sides[1]) vline(left);
    if (sides[2]) hline(bottom);
    if (sides[3]) vline(right);
    return true;
}

}  // namespace Yomibon

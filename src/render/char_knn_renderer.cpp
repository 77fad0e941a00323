#include "render/char_knn_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "platform/utf16.h"
#include "render/emf_glyph.h"
#include "render/emf_glyph_store.h"

namespace Yomibon {
namespace {

// Larger glyphs are clamped: the mask grows with the square of the size.
constexpr int kMaxGlyphPixels = 512;
// Longest zero-terminated glyph name read.
constexpr int kMaxGlyphNameUnits = 1024;
constexpr double kMaxFontSpacing = 4.0;

int RoundUp32(int v) {
    return (v + 31) & ~31;
}

std::u16string NameOf(const char16_t* text) {
    int n = 0;
    while (n < kMaxGlyphNameUnits && text[n])
        ++n;
    return std::u16string(text, size_t(n));
}

double ParseDouble(std::u16string_view value) {
    std::string s = ToUtf8(value);
    double v = std::strtod(s.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

long ParseInt(std::u16string_view value) {
    std::string s = ToUtf8(value);
    return std::strtol(s.c_str(), nullptr, 10);
}

std::u16string Printf(const char* format, double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return FromUtf8(buffer);
}

}  // namespace

CYbCharKNNRenderer::CYbCharKNNRenderer(int k) : k_(k) {}

CYbCharKNNRenderer::~CYbCharKNNRenderer() = default;

bool CYbCharKNNRenderer::setFont(const LogFont& font) {
    logFont_ = font;
    bigLogFont_ = font;
    fontHeight_ = std::clamp(std::abs(font.lfHeight), 1, kMaxGlyphPixels);
    const double scaled = double(fontHeight_) * k_;
    if (fontSpacing_ == 0) {
        bigLogFont_.lfHeight = fontHeight_ * k_ + 1;
        margin_ = 0;
    } else {
        bigLogFont_.lfHeight = int(scaled * fontSpacing_) + 1;
        margin_ = int(scaled * (fontSpacing_ - 1) * 0.5) + 1;
    }
    boxWidth_ = (fontHeight_ + 1) & ~1;
    font_ = CreateFont(logFont_);
    bigFont_ = CreateFont(bigLogFont_);
    cache_.clear();
    forgetRecent();
    buildCoverageTable();
    return true;
}

const CYbFont* CYbCharKNNRenderer::getFont(LogFont* font) const {
    if (font) *font = logFont_;
    return font_.get();
}

void CYbCharKNNRenderer::setColor(uint32_t colorref) {
    color_ = colorref & 0x00FFFFFF;
    pixel_ = ColorToPixel(color_);
    const uint32_t rb = pixel_ & 0x00FF00FF;
    const uint32_t g = pixel_ & 0x0000FF00;
    for (uint32_t n = 0; n < 256; ++n) {
        tableRB_[n] = rb * (256 - n);
        tableG_[n] = g * (256 - n);
    }
}

void CYbCharKNNRenderer::retainGlyphs(std::u16string_view text) {
    std::set<std::u16string, std::less<>> keep;
    for (size_t i = 0; i < text.size();) {
        size_t n = UnitsAt(text, i);
        keep.emplace(text.substr(i, n));
        i += n;
    }
    for (const auto& key : keep)
        cache_.try_emplace(key);
    std::erase_if(cache_, [&](const auto& entry) { return !keep.count(entry.first); });
}

bool CYbCharKNNRenderer::setProperty(std::u16string_view key, std::u16string_view value) {
    if (key == u"CurDir") {
        SetGlyphCurrentDirectory(value);
        forgetRecent();  // glyph files may differ in the new folder
    } else if (key == u"DataDir") {
        SetGlyphDataDirectory(value);
        forgetRecent();
    } else if (key == u"FontSpacing") {
        double spacing = ParseDouble(value);
        fontSpacing_ = spacing > 0 ? std::min(spacing, kMaxFontSpacing) : 0.0;
        if (bigFont_ || font_) setFont(logFont_);
    } else if (key == u"FontCentering") {
        bool centring = ParseInt(value) == 1;
        if (centring != fontCentering_) {
            // Masks drawn with the other placement are stale; keep the keys.
            for (auto& entry : cache_)
                entry.second = Retained();
            forgetRecent();
        }
        fontCentering_ = centring;
    } else {
        return false;
    }
    return true;
}

bool CYbCharKNNRenderer::getProperty(std::u16string_view key, std::u16string& value) const {
    if (key == u"CurDir") {
        value = EffectiveCurrentDirectory();
    } else if (key == u"FontSpacing") {
        value = Printf("%g", fontSpacing_);
    } else if (key == u"FontCentering") {
        value = fontCentering_ ? u"1" : u"0";
    } else {
        return false;
    }
    return true;
}

bool CYbCharKNNRenderer::clipGlyph(const CYbBitmap& target, int x, int y, int width, int height,
                                   Clip& clip) const {
    if (target.empty() || x >= target.width() || y >= target.height()) return false;
    int64_t right = std::min<int64_t>(int64_t(x) + width, target.width());
    int64_t bottom = std::min<int64_t>(int64_t(y) + height, target.height());
    int64_t left = std::max(x, 0), top = std::max(y, 0);
    if (right <= left || bottom <= top) return false;
    clip = {int(left), int(top), int(right - left), int(bottom - top), int(left - x), int(top - y)};
    return true;
}

int CYbCharKNNRenderer::tiledRow(int i) const {
    if (i < tileEnd_) return i;
    int period = tileEnd_ - tileStart_;
    if (period <= 0) return std::clamp(tileEnd_ - 1, 0, std::max(fontHeight_ - 1, 0));
    return tileStart_ + (i - tileEnd_) % period;
}

// A repeated glyph continues from its second row once its rows are used up. A font's
// dash leaves a little paper above and below its stroke, which repeated would break a
// long dash into pieces where a book prints one rule; for characters of a font only the
// inked rows are repeated. Glyph files are drawn to repeat whole and keep the rule.
void CYbCharKNNRenderer::setTiling(const GlyphCover& cover, bool text) {
    tileStart_ = 1;
    tileEnd_ = fontHeight_;
    if (!text) return;
    // Ink per glyph row; the stroke's partly covered ends are left out of the repeat.
    const int rows = std::min(fontHeight_, int(cover.ink.size()));
    const int most = rows > 0 ? *std::max_element(cover.ink.begin(), cover.ink.begin() + rows) : 0;
    if (most == 0) return;
    int first = -1, last = -1;
    for (int g = 0; g < rows; ++g) {
        if (2 * cover.ink[size_t(g)] < most) continue;
        if (first < 0) first = g;
        last = g;
    }
    tileStart_ = first == 0 && last > 0 ? 1 : first;
    tileEnd_ = last + 1;
}

bool CYbCharKNNRenderer::drawMasked(CYbBitmap& target, int x, int y, int rows, const char16_t* text,
                                    int length, bool tiled) {
    Clip clip{};
    if (!text || !clipGlyph(target, x, y, boxWidth_, rows, clip)) return false;
    const GlyphCover* cover = produceCover(text, length);
    if (!cover) return false;
    if (tiled) setTiling(*cover, length >= 1);
    paint(target, clip, *cover, tiled);
    return true;
}

// Blends only the inked pixels of each row.
void CYbCharKNNRenderer::paint(CYbBitmap& target, const Clip& clip, const GlyphCover& cover,
                               bool tiled) {
    const uint8_t* cov = coverage_.data();
    forEachCovered(target, clip, cover, tiled,
                   [&](uint32_t& p, uint32_t n) { blend(p, cov[n & 0xFFFF]); });
}

bool CYbCharKNNRenderer::sizeMask(CYbMonoBitmap& mask) const {
    const int side = k_ * RoundUp32(2 * boxWidth_);
    const int width = k_ * RoundUp32(2 * boxWidth_ + maskExtraColumns());
    if (mask.width() == width && mask.height() == side) return false;
    mask.create(width, side);
    return true;
}

const CYbMonoBitmap* CYbCharKNNRenderer::produceMask(const char16_t* text, int length) {
    if (!text || !bigFont_ || boxWidth_ <= 0) return nullptr;
    std::u16string key = length < 1 ? NameOf(text) : std::u16string(text, size_t(length));
    if (key.empty()) return nullptr;
    if (auto it = cache_.find(key); it != cache_.end()) {
        Retained& kept = it->second;
        if (!kept.mask.empty()) return &kept.mask;
        if (renderInto(kept.mask, text, length)) return &kept.mask;
        kept = Retained();  // try again next time; nothing to reuse
        return nullptr;
    }
    return renderInto(scratch_, text, length) ? &scratch_ : nullptr;
}

const CYbCharKNNRenderer::GlyphCover* CYbCharKNNRenderer::produceCover(const char16_t* text,
                                                                       int length) {
    if (!text || !bigFont_ || boxWidth_ <= 0) return nullptr;
    std::u16string key = length < 1 ? NameOf(text) : std::u16string(text, size_t(length));
    if (key.empty()) return nullptr;
    if (auto it = cache_.find(key); it != cache_.end()) {
        Retained& kept = it->second;
        if (!kept.cover.empty()) return &kept.cover;
        if (kept.mask.empty() && !renderInto(kept.mask, text, length)) {
            kept = Retained();
            return nullptr;
        }
        makeCover(kept.mask, kept.cover);
        return &kept.cover;
    }
    if (auto it = recent_.find(key); it != recent_.end()) return &it->second;
    if (!renderInto(scratch_, text, length)) return nullptr;
    GlyphCover cover;
    makeCover(scratch_, cover);
    if (recentBytes_ + cover.bytes() > kMaxRecentBytes) forgetRecent();
    recentBytes_ += cover.bytes();
    return &recent_.emplace(std::move(key), std::move(cover)).first->second;
}

void CYbCharKNNRenderer::makeCover(const CYbMonoBitmap& mask, GlyphCover& cover) {
    const int rows = fontHeight_, width = boxWidth_, channels = coverChannels();
    rowCounts_.resize(size_t(width) * size_t(channels));
    uint8_t* counts = rowCounts_.data();
    // Gathered in a reused buffer and copied once, so that the kept glyph is exactly sized.
    std::vector<uint32_t>& pixels = coverPixels_;
    pixels.clear();
    cover = GlyphCover();
    cover.rowStart.resize(size_t(rows) + 1);
    cover.ink.assign(size_t(rows), 0);
    for (int g = 0; g < rows; ++g) {
        cover.rowStart[size_t(g)] = uint32_t(pixels.size());
        std::fill(rowCounts_.begin(), rowCounts_.end(), 0);
        countRow(mask, g, counts);
        int ink = 0;
        if (channels == 1) {
            for (int c = 0; c < width; ++c) {
                if (!counts[c]) continue;
                pixels.push_back(uint32_t(c) << 16 | counts[c]);
                ink += counts[c];
            }
        } else {
            for (int c = 0; c < width; ++c) {
                const uint8_t* p = counts + size_t(c) * size_t(channels);
                uint32_t packed = 0;
                for (int ch = 0; ch < channels; ++ch)
                    packed |= uint32_t(p[ch]) << (5 * ch);
                if (!packed) continue;
                pixels.push_back(uint32_t(c) << 16 | packed);
                ink += p[0];
            }
        }
        cover.ink[size_t(g)] = ink;
    }
    cover.rowStart[size_t(rows)] = uint32_t(pixels.size());
    cover.pixels.assign(pixels.begin(), pixels.end());
}

void CYbCharKNNRenderer::forgetRecent() {
    recent_.clear();
    recentBytes_ = 0;
}

bool CYbCharKNNRenderer::renderInto(CYbMonoBitmap& mask, const char16_t* text, int length) {
    // A newly made mask is already clear; most glyphs are drawn into one.
    if (!sizeMask(mask)) mask.clear();
    if (length < 1) return renderName(mask, NameOf(text));
    std::u16string_view s(text, size_t(length));
    double x = -margin_, y = 0;
    if (fontCentering_) {
        TextExtent e = bigFont_->measure(s);
        int h = std::abs(bigLogFont_.lfHeight), half = h / 2;
        if (IsVerticalEscapement(bigLogFont_)) {
            if (e.cx < half)
                y = (half - e.cx) / 2;
            else
                x += (h - e.cy) / 2;
        } else if (e.cx < half) {
            x = (half - e.cx) / 2;
        }
    }
    return bigFont_->draw(mask.inkMask(), x, y, s);
}

bool CYbCharKNNRenderer::renderName(CYbMonoBitmap& mask, std::u16string_view name) {
    const std::string& bytes = ExternalGlyphBytes(name);
    if (!bytes.empty()) {
        int s = std::abs(bigLogFont_.lfHeight) - 2 * margin_;
        return PlayEmfGlyph(bytes, mask, 0, 0, s, s) == EmfStatus::Drawn;
    }
    // The two-cell repeat marks without glyph files: the font's upper halves (U+3033,
    // U+3034) and lower half (U+3035), each drawn in its own cell so that the halves
    // join across the cell boundary.
    std::u16string_view replacement;
    if (name == u"／")
        replacement = u"\u3033";
    else if (name == u"／″")
        replacement = u"\u3034";
    else if (name == u"＼")
        replacement = u"\u3035";
    else
        return false;
    return bigFont_->draw(mask.inkMask(), -margin_, 0, replacement);
}

}  // namespace Yomibon

// The font backend: FreeType outlines shaped by HarfBuzz, drawn as ink. The only file
// that includes HarfBuzz.
#include <hb-ft.h>
#include <hb.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <vector>

#include "platform/font.h"
#include "platform/font_match.h"
#include "platform/freetype_shared.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

// Sizes beyond this are clamped (a glyph that large fills no mask anyway).
constexpr double kMaxEm = 1 << 14;
// Synthesised bold widens strokes by this part of the em, about what a printed bold
// Mincho adds.
constexpr double kBoldStrength = 1.0 / 28.0;
constexpr double kItalicShear = 0.2;

// One opened font file, shared by every font that uses it.
struct FaceData {
    FT_Face face = nullptr;
    hb_font_t* hb = nullptr;
    int upem = 1000;
    double ascentEm = 0.88;  // part of the em square above the baseline

    ~FaceData() {
        if (hb) hb_font_destroy(hb);
        if (face) FT_Done_Face(face);
    }
};

std::shared_ptr<FaceData> OpenFace(const FontFile& file) {
    static std::mutex lock;
    static std::map<std::pair<std::string, int>, std::shared_ptr<FaceData>> faces;
    std::lock_guard<std::mutex> guard(lock);
    auto key = std::make_pair(file.path, file.index);
    if (auto it = faces.find(key); it != faces.end()) return it->second;
    auto data = std::make_shared<FaceData>();
    if (!SharedFreeType() ||
        FT_New_Face(SharedFreeType(), file.path.c_str(), file.index, &data->face) != 0 ||
        !FT_IS_SCALABLE(data->face)) {
        faces[key] = nullptr;
        return nullptr;
    }
    FT_Face f = data->face;
    data->upem = std::max<int>(f->units_per_EM, 16);
    // The ideographic em box: where ascender and descender span exactly one em they
    // bound it; otherwise the usual CJK split of 0.88 above and 0.12 below.
    int span = f->ascender - f->descender;
    if (f->ascender > 0 && std::abs(span - data->upem) * 50 <= data->upem)
        data->ascentEm = double(f->ascender) / span;
    hb_face_t* hbFace = hb_ft_face_create_referenced(f);
    data->hb = hb_font_create(hbFace);
    hb_face_destroy(hbFace);
    hb_font_set_scale(data->hb, data->upem, data->upem);
    faces[key] = data;
    return data;
}

enum class Placement { Horizontal, Upright, Rotated };

struct PlacedGlyph {
    const FaceData* face;
    unsigned glyph;
    Placement placement;
    double x;  // top-left of the character's em square, pixels
    double y;
    double offsetX;  // shaping offsets, font units
    double offsetY;
    double advanceUnits;
    size_t cluster;
};

class FontFace final : public CYbFont {
  public:
    FontFace(const LogFont& font, const FontFile& file, std::shared_ptr<FaceData> face)
        : logFont_(font), file_(file), face_(std::move(face)) {
        em_ = std::clamp(double(std::abs(font.lfHeight)), 1.0, kMaxEm);
        if (font.lfHeight == 0) em_ = 16;
        vertical_ = IsVerticalEscapement(font);
        forms_ = vertical_ && IsVerticalFace(font);
        bold_ = font.lfWeight >= 600 && file.weight < 600;
    }

    const LogFont& logFont() const override { return logFont_; }
    std::string filePath() const override { return file_.path; }
    std::u16string familyName() const override { return file_.family; }
    double ascent() const override { return em_ * face_->ascentEm; }
    double descent() const override { return em_ - ascent(); }

    TextExtent measure(std::u16string_view text) const override {
        double advance = 0;
        layout(text, 0, 0, &advance);
        return {int(std::lround(advance)), int(std::lround(em_))};
    }

    bool draw(const InkMask& mask, double x, double y, std::u16string_view text) const override {
        bool any = false;
        for (const PlacedGlyph& g : layout(text, x, y, nullptr))
            any |= drawGlyph(mask, g);
        return any;
    }

    std::vector<FontGlyph> glyphs(double x, double y, std::u16string_view text) const override {
        std::vector<FontGlyph> out;
        for (const PlacedGlyph& g : layout(text, x, y, nullptr))
            out.push_back(vectorGlyph(g));
        return out;
    }

    bool syntheticBold() const override { return bold_; }

    bool hasGlyph(char32_t c) const override {
        hb_codepoint_t glyph = 0;
        if (hb_font_get_nominal_glyph(face_->hb, c, &glyph) && glyph) return true;
        return FindFontForChar(c).has_value();
    }

  private:
    double scale(const FaceData& f) const { return em_ / f.upem; }

    Placement placementOf(const FaceData& f, char32_t c, unsigned glyph) const {
        if (!vertical_) return Placement::Horizontal;
        if (!forms_) return Placement::Rotated;
        int vo = u_getIntPropertyValue(UChar32(c), UCHAR_VERTICAL_ORIENTATION);
        if (vo == U_VO_UPRIGHT || vo == U_VO_TRANSFORMED_UPRIGHT) return Placement::Upright;
        // A rotated character for which the face supplies a vertical form stands upright.
        hb_codepoint_t nominal = 0;
        hb_font_get_nominal_glyph(f.hb, c, &nominal);
        return nominal != glyph ? Placement::Upright : Placement::Rotated;
    }

    // Shapes text with one face; glyph 0 marks characters the face lacks.
    std::vector<hb_glyph_info_t> shape(const FaceData& f, std::u16string_view text,
                                       std::vector<hb_glyph_position_t>& positions) const {
        hb_buffer_t* buffer = hb_buffer_create();
        hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()),
                            int(text.size()), 0, int(text.size()));
        hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
        hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
        hb_buffer_guess_segment_properties(buffer);
        hb_feature_t features[2];
        hb_feature_from_string("vert", -1, &features[0]);
        hb_feature_from_string("vrt2", -1, &features[1]);
        hb_shape(f.hb, buffer, features, forms_ ? 2 : 0);
        unsigned n = 0;
        hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &n);
        hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &n);
        std::vector<hb_glyph_info_t> out(infos, infos + n);
        positions.assign(pos, pos + n);
        hb_buffer_destroy(buffer);
        return out;
    }

    std::vector<PlacedGlyph> layout(std::u16string_view text, double x, double y,
                                    double* total) const {
        std::vector<PlacedGlyph> placed;
        std::vector<hb_glyph_position_t> pos;
        auto infos = shape(*face_, text, pos);
        double penX = x, penY = y;
        for (size_t i = 0; i < infos.size(); ++i) {
            size_t cluster = std::min<size_t>(infos[i].cluster, text.empty() ? 0 : text.size() - 1);
            char32_t c = text.empty() ? 0 : CodePointAt(text, cluster);
            const FaceData* f = face_.get();
            unsigned glyph = infos[i].codepoint;
            hb_glyph_position_t p = pos[i];
            std::shared_ptr<FaceData> fallback;
            if (glyph == 0 && c) {
                fallback = fallbackFace(c);
                if (fallback) {
                    std::vector<hb_glyph_position_t> fp;
                    auto fi = shape(*fallback, text.substr(cluster, UnitsAt(text, cluster)), fp);
                    if (!fi.empty() && fi[0].codepoint) {
                        f = fallback.get();
                        glyph = fi[0].codepoint;
                        p = fp[0];
                    }
                }
            }
            PlacedGlyph g{f,
                          glyph,
                          placementOf(*f, c, glyph),
                          penX,
                          penY,
                          double(p.x_offset),
                          double(p.y_offset),
                          double(p.x_advance),
                          cluster};
            double advance = g.placement == Placement::Upright ? (p.x_advance ? em_ : 0)
                                                               : p.x_advance * scale(*f);
            if (g.placement == Placement::Horizontal)
                penX += advance;
            else
                penY += advance;
            if (glyph) placed.push_back(g);
        }
        if (total) *total = vertical_ ? penY - y : penX - x;
        return placed;
    }

    std::shared_ptr<FaceData> fallbackFace(char32_t c) const {
        auto file = FindFontForChar(c);
        return file ? OpenFace(*file) : nullptr;
    }

    // The transform drawGlyph applies, for an em square of unit size with y pointing down.
    FontGlyph vectorGlyph(const PlacedGlyph& g) const {
        const double sc = scale(*g.face);
        const double shear = logFont_.lfItalic ? kItalicShear : 0.0;
        FontGlyph v;
        v.face = g.face->face;
        v.id = g.glyph;
        v.cluster = g.cluster;
        if (g.placement == Placement::Rotated) {
            v.xx = 0;
            v.xy = -em_;
            v.yx = em_;
            v.yy = -em_ * shear;
            v.x0 = g.x + descent() + g.offsetY * sc;
            v.y0 = g.y + g.offsetX * sc;
        } else {
            v.xx = em_;
            v.xy = -em_ * shear;
            v.yx = 0;
            v.yy = em_;
            double left = g.x;
            if (g.placement == Placement::Upright) left += (em_ - g.advanceUnits * sc) / 2;
            v.x0 = left + g.offsetX * sc;
            v.y0 = g.y + ascent() - g.offsetY * sc;
        }
        return v;
    }

    bool drawGlyph(const InkMask& mask, const PlacedGlyph& g) const {
        FT_Face ft = g.face->face;
        if (FT_Load_Glyph(ft, g.glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0) return false;
        if (ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;
        FT_Outline* outline = &ft->glyph->outline;
        double s = scale(*g.face) * 64.0;
        double shear = logFont_.lfItalic ? kItalicShear : 0.0;
        double ascentPx = ascent();
        FT_Matrix m{};
        double tx = 0, ty = 0;  // 26.6, y up (mask row r is at -r)
        if (g.placement == Placement::Rotated) {
            // Turned 90 degrees clockwise: the glyph's up points right, its baseline runs
            // down the column, the descender side on the left.
            m.xx = 0;
            m.xy = FT_Fixed(s * 65536);
            m.yx = FT_Fixed(-s * 65536);
            m.yy = FT_Fixed(-s * shear * 65536);
            tx = (g.x + descent() + g.offsetY * scale(*g.face)) * 64;
            ty = -(g.y + g.offsetX * scale(*g.face)) * 64;
        } else {
            m.xx = FT_Fixed(s * 65536);
            m.xy = FT_Fixed(s * shear * 65536);
            m.yx = 0;
            m.yy = FT_Fixed(s * 65536);
            double left = g.x;
            if (g.placement == Placement::Upright)
                left += (em_ - g.advanceUnits * scale(*g.face)) / 2;
            tx = (left + g.offsetX * scale(*g.face)) * 64;
            ty = -(g.y + ascentPx - g.offsetY * scale(*g.face)) * 64;
        }
        FT_Outline_Transform(outline, &m);
        if (bold_) {
            FT_Pos strength = FT_Pos(em_ * kBoldStrength * 64);
            FT_Outline_EmboldenXY(outline, strength, strength);
            tx -= strength / 2.0;
            ty -= strength / 2.0;
        }
        FT_Outline_Translate(outline, FT_Pos(std::lround(tx)), FT_Pos(std::lround(ty)));
        return RenderOutlineInk(mask, outline) || outline->n_points == 0;
    }

    LogFont logFont_;
    FontFile file_;
    std::shared_ptr<FaceData> face_;
    double em_ = 16;
    bool vertical_ = false;
    bool forms_ = false;
    bool bold_ = false;
};

}  // namespace

std::unique_ptr<CYbFont> CreateFont(const LogFont& font) {
    auto file = MatchFontFile(FamilyName(font), font.lfWeight);
    if (!file) return nullptr;
    auto face = OpenFace(*file);
    if (!face) return nullptr;
    return std::make_unique<FontFace>(font, *file, std::move(face));
}

}  // namespace Yomibon

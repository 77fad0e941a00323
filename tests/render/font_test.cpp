#include <gtest/gtest.h>

#include <vector>

#include "platform/font.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

constexpr int kEm = 100;

struct Mask {
    std::vector<uint8_t> bits = std::vector<uint8_t>(size_t(kEm / 8 + 4) * kEm * 2);
    InkMask view() { return {bits.data(), kEm + 28, kEm * 2, kEm / 8 + 4}; }
    bool ink(int x, int y) const {
        return (bits[size_t(y) * (kEm / 8 + 4) + size_t(x / 8)] >> (7 - x % 8)) & 1;
    }
};

struct Ink {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    int count = 0;
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
};

Ink Measure(const Mask& m) {
    Ink k;
    for (int y = 0; y < kEm * 2; ++y)
        for (int x = 0; x < kEm + 28; ++x)
            if (m.ink(x, y)) {
                k.x0 = std::min(k.x0, x);
                k.y0 = std::min(k.y0, y);
                k.x1 = std::max(k.x1, x + 1);
                k.y1 = std::max(k.y1, y + 1);
                ++k.count;
            }
    return k;
}

LogFont Font(bool vertical, int weight = FW_NORMAL, std::u16string face = u"IPAex明朝") {
    LogFont f;
    f.lfHeight = kEm;
    f.lfWeight = weight;
    f.lfFaceName = vertical ? u"@" + face : face;
    f.lfEscapement = f.lfOrientation = vertical ? 2700 : 0;
    return f;
}

Mask Draw(const LogFont& font, std::u16string_view text) {
    auto f = CreateFont(font);
    Mask m;
    EXPECT_TRUE(f && f->draw(m.view(), 0, 0, text));
    return m;
}

TEST(Font, ResolvesTheJapaneseFaceAndFallsBack) {
    auto f = CreateFont(Font(true));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->familyName(), u"IPAex明朝");
    EXPECT_FALSE(f->filePath().empty());
    EXPECT_TRUE(IsVerticalFace(f->logFont()));
    EXPECT_TRUE(IsVerticalEscapement(f->logFont()));
    EXPECT_EQ(FamilyName(f->logFont()), u"IPAex明朝");
    EXPECT_NEAR(f->ascent() + f->descent(), kEm, 0.01);
    auto other = CreateFont(Font(true, FW_NORMAL, u"No Such Face Anywhere"));
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->hasGlyph(U'あ'));
    EXPECT_TRUE(other->hasGlyph(U'漢'));
    Ink k = Measure(Draw(other->logFont(), u"漢"));
    EXPECT_GT(k.count, 500);
}

TEST(Font, VerticalFormsSitWhereABookPutsThem) {
    for (std::u16string_view mark : {u"。", u"、"}) {
        Ink k = Measure(Draw(Font(true), mark));
        ASSERT_GT(k.count, 0);
        // In the upper right quarter of the cell.
        EXPECT_GE(k.x0, kEm / 2);
        EXPECT_LE(k.y1, kEm / 2);
        Ink h = Measure(Draw(Font(false), mark));
        EXPECT_LE(h.x1, kEm / 2);  // lower left when horizontal
        EXPECT_GE(h.y0, kEm / 2);
    }
    Ink bar = Measure(Draw(Font(true), u"ー"));
    EXPECT_GT(bar.height(), 3 * bar.width());
    Ink flat = Measure(Draw(Font(false), u"ー"));
    EXPECT_GT(flat.width(), 3 * flat.height());
    EXPECT_NE(Draw(Font(true), u"「").bits, Draw(Font(false), u"「").bits);
    // Upright kanji look the same both ways.
    EXPECT_EQ(Draw(Font(true), u"漢").bits, Draw(Font(false), u"漢").bits);
}

TEST(Font, RotatedCharactersTurnClockwise) {
    Ink upright = Measure(Draw(Font(false), u"l"));
    ASSERT_GT(upright.height(), 2 * upright.width());
    Ink turned = Measure(Draw(Font(true), u"l"));
    EXPECT_GT(turned.width(), 2 * turned.height());
    // The letter's top faces right: the ascender side lies right of the baseline, which
    // runs down the column on the descender side.
    EXPECT_GT(turned.x0, kEm / 8);
    // "g" descends: turned, its descender reaches left of the baseline.
    Ink g = Measure(Draw(Font(true), u"g"));
    EXPECT_LT(g.x0, turned.x0);
    // A half-width katakana is turned too; a horizontal face at 2700 turns everything.
    EXPECT_GT(Measure(Draw(Font(true), u"ｰ")).height(), 0);
    LogFont sideways = Font(false);
    sideways.lfEscapement = 2700;
    Ink k = Measure(Draw(sideways, u"ー"));
    EXPECT_GT(k.height(), 3 * k.width());
}

TEST(Font, MeasuresAlongTheWritingDirection) {
    auto v = CreateFont(Font(true));
    auto h = CreateFont(Font(false));
    ASSERT_TRUE(v && h);
    EXPECT_EQ(v->measure(u"漢字").cx, 2 * kEm);
    EXPECT_EQ(v->measure(u"漢").cy, kEm);
    EXPECT_LT(v->measure(u"l").cx, kEm / 2);
    EXPECT_EQ(h->measure(u"l").cx, v->measure(u"l").cx);
    EXPECT_EQ(h->measure(u"").cx, 0);
    // Two characters follow each other down the column.
    Mask two;
    ASSERT_TRUE(v->draw(two.view(), 0, 0, u"一一"));
    Ink k = Measure(two);
    EXPECT_GT(k.y1, kEm);
    EXPECT_LT(k.y0, kEm);
}

TEST(Font, BoldIsSynthesisedAndDrawingIsClipped) {
    Ink normal = Measure(Draw(Font(true), u"漢"));
    Ink bold = Measure(Draw(Font(true, FW_BOLD), u"漢"));
    EXPECT_GT(bold.count, normal.count * 11 / 10);
    auto f = CreateFont(Font(true));
    Mask m;
    EXPECT_TRUE(f->draw(m.view(), -60, -70, u"漢"));
    Ink k = Measure(m);
    EXPECT_EQ(k.x0, 0);
    EXPECT_EQ(k.y0, 0);
    Mask far;
    f->draw(far.view(), 5000, 5000, u"漢");
    EXPECT_EQ(Measure(far).count, 0);
}

// Columns step every half-width letter by half an em, so the default body face must draw
// them that wide: with proportional Latin, sideways words get gaps after "I" and overlaps
// after "W".
TEST(Font, DefaultBodyFaceHasHalfEmLatin) {
    CYbTxtParam param;
    std::u16string face = param.GetFont(u"TextFont").face;
    ASSERT_EQ(face.front(), u'@');
    auto f = CreateFont(Font(false, FW_NORMAL, face.substr(1)));
    ASSERT_TRUE(f);
    for (std::u16string_view letter : {u"I", u"W", u"i", u"m", u"1", u"."})
        EXPECT_EQ(f->measure(letter).cx, kEm / 2) << std::string(letter.begin(), letter.end());
    EXPECT_EQ(f->measure(u"あ").cx, kEm);
}

}  // namespace
}  // namespace Yomibon

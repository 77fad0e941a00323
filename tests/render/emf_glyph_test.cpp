#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "emf_builder.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/emf_glyph.h"
#include "render/emf_glyph_store.h"
#include "support/test_support.h"
#include "text/text_types.h"

namespace Yomibon {
namespace {

namespace yt = ::Yomibon::Test;

constexpr int kSide = 128;

struct Ink {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    long count = 0;
    double cx = 0, cy = 0;
};

Ink Measure(const CYbMonoBitmap& m) {
    Ink k;
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.get(x, y)) {
                k.x0 = std::min(k.x0, x);
                k.y0 = std::min(k.y0, y);
                k.x1 = std::max(k.x1, x + 1);
                k.y1 = std::max(k.y1, y + 1);
                ++k.count;
                k.cx += x + 0.5;
                k.cy += y + 0.5;
            }
    if (k.count) k.cx /= double(k.count), k.cy /= double(k.count);
    return k;
}

EmfStatus Play(const std::string& bytes, CYbMonoBitmap& m) {
    m.create(kSide, kSide);
    m.clear();
    return PlayEmfGlyph(bytes, m, 0, 0, kSide, kSide);
}

std::string Shipped(std::u16string_view name) {
    return yt::ReadFile(std::filesystem::path(YB_SOURCE_DIR) / "data" / "Font" /
                        ToFsPath(std::u16string(name) + u".emf"));
}

bool RowHasInk(const CYbMonoBitmap& m, int y) {
    for (int x = 0; x < m.width(); ++x)
        if (m.get(x, y)) return true;
    return false;
}

TEST(EmfGlyph, ShippedMarksAreCentredBesideTheText) {
    for (int type = 2; type <= 9; ++type) {
        for (int left = 0; left < 2; ++left) {
            std::u16string name(TypeName(type + 15 * left));
            CYbMonoBitmap m;
            ASSERT_EQ(Play(Shipped(name), m), EmfStatus::Drawn) << ToUtf8(name);
            Ink k = Measure(m);
            ASSERT_GT(k.count, 40) << ToUtf8(name);
            EXPECT_NEAR(k.cy, kSide / 2.0, kSide * 0.06) << ToUtf8(name);
            // Small marks, in the half of the cell next to the text.
            EXPECT_LT(k.x1 - k.x0, kSide / 3) << ToUtf8(name);
            EXPECT_LT(k.y1 - k.y0, kSide / 3) << ToUtf8(name);
            if (left) {
                EXPECT_GT(k.x0, kSide / 2) << ToUtf8(name);
            } else {
                EXPECT_LT(k.x1, kSide / 2) << ToUtf8(name);
            }
        }
    }
    // Outlined marks leave their middle empty; the fisheye fills it.
    CYbMonoBitmap m;
    Play(Shipped(u"白丸傍点"), m);
    Ink ring = Measure(m);
    EXPECT_FALSE(m.get(int(ring.cx), int(ring.cy)));
    Play(Shipped(u"蛇の目傍点"), m);
    Ink fish = Measure(m);
    EXPECT_TRUE(m.get(int(fish.cx), int(fish.cy)));
}

TEST(EmfGlyph, ShippedSideLinesRunTheLengthOfTheCell) {
    for (int type = 10; type <= 29; ++type) {
        if (type >= 17 && type <= 24) continue;
        std::u16string name(TypeName(type));
        CYbMonoBitmap m;
        ASSERT_EQ(Play(Shipped(name), m), EmfStatus::Drawn) << ToUtf8(name);
        int rows = 0;
        for (int y = 0; y < kSide; ++y)
            rows += RowHasInk(m, y);
        bool broken = name.find(u"破線") != std::u16string::npos ||
                      name.find(u"点線") != std::u16string::npos;
        if (broken) {
            EXPECT_GT(rows, kSide / 6) << ToUtf8(name);
            EXPECT_LT(rows, kSide - 8) << ToUtf8(name);
        } else {
            EXPECT_EQ(rows, kSide) << ToUtf8(name);
        }
        Ink k = Measure(m);
        bool leftSide = name.rfind(u"左", 0) == 0 || type == 13;
        if (type == 12) {
            EXPECT_NEAR(k.cx, kSide / 2.0, 2) << ToUtf8(name);
        } else if (leftSide) {
            EXPECT_GT(k.x0, kSide * 3 / 4) << ToUtf8(name);
        } else {
            EXPECT_LT(k.x1, kSide / 4) << ToUtf8(name);
        }
    }
}

TEST(EmfGlyph, PaletteMetafilesAreRefusedAndBrokenOnesRejected) {
    CYbMonoBitmap m;
    EXPECT_EQ(Play(yt::EmfBuilder().palette(16).solidBrush().rect(0, 0, 500, 500).bytes(), m),
              EmfStatus::Refused);
    EXPECT_EQ(Play(yt::EmfBuilder().record(49, {1, 0x300, 0}).rect(0, 0, 5, 5).bytes(), m),
              EmfStatus::Refused);
    EXPECT_FALSE(m.hasInk());
    std::string good = yt::EmfBuilder().solidBrush().rect(0, 0, 500, 500).bytes();
    ASSERT_EQ(Play(good, m), EmfStatus::Drawn);
    EXPECT_TRUE(m.hasInk());
    EXPECT_EQ(Play("", m), EmfStatus::Malformed);
    EXPECT_EQ(Play(std::string(200, 'x'), m), EmfStatus::Malformed);
    std::string badSignature = good;
    badSignature[40] = 'X';
    EXPECT_EQ(Play(badSignature, m), EmfStatus::Malformed);
    // Every truncation and a record claiming more than the file holds.
    // A cut-short metafile is refused or draws nothing, never a part of its picture.
    for (size_t n = 0; n < good.size(); n += 3) {
        EmfStatus status = Play(good.substr(0, n), m);
        EXPECT_TRUE(status == EmfStatus::Malformed || (status == EmfStatus::Drawn && !m.hasInk()))
            << n << " of " << good.size() << " bytes";
    }
    std::string oversized = good;
    oversized[88 + 4] = char(0xF0);
    EXPECT_EQ(Play(oversized, m), EmfStatus::Malformed);
    // A polygon claiming a huge count of points.
    EXPECT_EQ(Play(yt::EmfBuilder().record(3, {0, 0, 0, 0, 0x7FFFFFFF, 1, 2}).bytes(), m),
              EmfStatus::Malformed);
    EXPECT_EQ(Play(yt::EmfBuilder()
                       .record(8, {0, 0, 0, 0, 2, 3, 3, int32_t(0x80000000), 0, 0, 9, 9})
                       .bytes(),
                   m),
              EmfStatus::Malformed);
}

TEST(EmfGlyph, RecordsDrawThroughTheMapping) {
    CYbMonoBitmap m;
    // Window 0..100 onto a 1000-pixel viewport: a rectangle of 0..50 fills the left half.
    yt::EmfBuilder mapped;
    mapped.record(17, {8}).record(9, {100, 100}).record(11, {1000, 1000}).solidBrush();
    mapped.rect(0, 0, 50, 100);
    ASSERT_EQ(Play(mapped.bytes(), m), EmfStatus::Drawn);
    Ink k = Measure(m);
    EXPECT_EQ(k.x0, 0);
    EXPECT_EQ(k.x1, kSide / 2);
    EXPECT_EQ(k.y1, kSide);
    // A 16-bit polygon, a stroked polyline with a wide geometric pen, an ellipse.
    yt::EmfBuilder shapes;
    shapes.solidBrush().record(86,
                               {0, 0, 0, 0, 3, (0 << 16) | 0, (0 << 16) | 250, (250 << 16) | 0});
    shapes.record(95, {2, 0, 0, 0, 0, 0x10000, 100, 0, 0, 0, 0}).record(37, {2});
    shapes.record(4, {0, 0, 0, 0, 2, 750, 0, 750, 1000});
    shapes.record(37, {int32_t(0x80000008)}).record(42, {600, 600, 900, 900});
    ASSERT_EQ(Play(shapes.bytes(), m), EmfStatus::Drawn);
    EXPECT_TRUE(m.get(5, 5));     // polygon corner
    EXPECT_FALSE(m.get(30, 30));  // beyond its diagonal
    EXPECT_TRUE(m.get(96, 64));   // the 100-unit-wide polyline at x = 750
    EXPECT_FALSE(m.get(110, 20));
    EXPECT_TRUE(m.get(96, 96));   // ellipse centre
    EXPECT_FALSE(m.get(78, 78));  // outside its round edge
    // A path of a Bezier and lines, filled; a world transform moving it right.
    yt::EmfBuilder path;
    path.solidBrush().record(35, {0x3F800000, 0, 0, 0x3F800000, 0x43FA0000, 0});  // dx 500
    path.record(59, {}).record(27, {0, 0}).record(54, {400, 0});
    path.record(88, {0, 0, 0, 0, 3, (200 << 16) | 400, (400 << 16) | 400, (400 << 16) | 0});
    path.record(61, {}).record(60, {}).record(62, {0, 0, 0, 0});
    ASSERT_EQ(Play(path.bytes(), m), EmfStatus::Drawn);
    k = Measure(m);
    EXPECT_GE(k.x0, kSide / 2 - 1);
    EXPECT_LE(k.x1, kSide * 9 / 10 + 1);
    EXPECT_GT(k.count, 1000);
    // A round rectangle leaves its corners empty.
    yt::EmfBuilder round;
    round.solidBrush().record(44, {0, 0, 1000, 1000, 400, 400});
    ASSERT_EQ(Play(round.bytes(), m), EmfStatus::Drawn);
    EXPECT_FALSE(m.get(2, 2));
    EXPECT_TRUE(m.get(64, 2));
}

TEST(EmfGlyphStore, LooksInTheFoldersInOrderAndRemembersMisses) {
    yt::TempDir current, data;
    std::filesystem::create_directories(current.path() / "Font");
    std::filesystem::create_directories(data.path() / "Font");
    yt::WriteFile(current.path() / "yb_a.emf", "current");
    yt::WriteFile(current.path() / "Font" / "yb_a.emf", "current font");
    yt::WriteFile(current.path() / "Font" / "yb_b.emf", "current font b");
    yt::WriteFile(data.path() / "Font" / "yb_b.emf", "data b");
    yt::WriteFile(data.path() / "Font" / "yb_c.emf", "data c");
    SetGlyphCurrentDirectory(FromFsPath(current.path()));
    SetGlyphDataDirectory(FromFsPath(data.path()));
    EXPECT_EQ(ExternalGlyphBytes(u"yb_a"), "current");
    EXPECT_EQ(ExternalGlyphBytes(u"yb_b"), "current font b");
    EXPECT_EQ(ExternalGlyphBytes(u"yb_c"), "data c");
    EXPECT_FALSE(ExternalGlyphBytes(u"傍線").empty());  // the program folder's glyphs
    EXPECT_EQ(ExternalGlyphBytes(u"yb_d"), "");
    yt::WriteFile(current.path() / "yb_d.emf", "late");
    EXPECT_EQ(ExternalGlyphBytes(u"yb_d"), "");  // remembered as missing
    yt::WriteFile(current.path() / "yb_e.emf", "x");
    EXPECT_EQ(ExternalGlyphBytes(u"../" + FromFsPath(current.path().filename()) + u"/yb_e"), "");
    EXPECT_EQ(ExternalGlyphBytes(u""), "");
    // Another document folder starts afresh.
    SetGlyphCurrentDirectory(FromFsPath(data.path()));
    SetGlyphCurrentDirectory(FromFsPath(current.path()));
    EXPECT_EQ(ExternalGlyphBytes(u"yb_d"), "late");
    SetGlyphCurrentDirectory(u"");
    SetGlyphDataDirectory(u"");
}

}  // namespace
}  // namespace Yomibon

// Damaged pictures of every format: whatever a decoder answers, it must not crash, read out
// of bounds (the sanitizer build watches) or hand back a picture that disagrees with itself.
#include <png.h>

#include <gtest/gtest.h>

#include <random>

#include "render/pict_test_files.h"
#include "render/picture_loader.h"
#include "render/picture_png.h"

namespace Yomibon {
namespace {

namespace Files = Yomibon::Test;

std::vector<std::string> Originals() {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 12 * 9; ++i)
        rgb.insert(rgb.end(), {uint8_t(i), uint8_t(i * 3), 77});
    std::vector<uint8_t> indices(12 * 9);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t(i % 3);
    const std::vector<Files::Rgb> palette = {{1, 2, 3}, {200, 100, 0}, {9, 9, 9}};
    return {Files::MakePng(12, 9, PNG_COLOR_TYPE_RGB, 8, rgb),
            Files::MakePng(12, 9, PNG_COLOR_TYPE_PALETTE, 8, indices, palette, {0}, true),
            Files::MakeJpeg(12, 9, rgb),
            Files::MakeGif(12, 9, palette, indices, 2, true),
            Files::MakeBmp24(12, 9, rgb),
            Files::MakeBmp8(12, 9, palette, indices)};
}

void Mutate(std::string& bytes, std::mt19937& random) {
    std::uniform_int_distribution<size_t> at(0, bytes.size() - 1);
    const int edits = 1 + int(random() % 4);
    for (int i = 0; i < edits; ++i) {
        switch (random() % 4) {
            case 0:
                bytes[at(random)] = char(random());
                break;
            case 1:
                bytes[at(random)] = char(0xFF);
                break;
            case 2:
                bytes[at(random)] = char(0);
                break;
            default:
                bytes.resize(at(random) + 1);
                return;  // truncation
        }
    }
}

TEST(PictureMutationTest, DamagedPicturesNeverCrash) {
    std::mt19937 random(20240611);
    int decoded = 0, refused = 0;
    for (const std::string& original : Originals()) {
        ASSERT_FALSE(original.empty());
        for (int round = 0; round < 300; ++round) {
            std::string bytes = original;
            Mutate(bytes, random);
            const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
            CYbBitmap png;
            SystemPicture picture;
            if (DecodePng(data, bytes.size(), png)) {
                ++decoded;
                ASSERT_GT(png.width(), 0);
                ASSERT_GT(png.height(), 0);
            } else if (LoadSystemPicture(data, bytes.size(), picture)) {
                ++decoded;
                ASSERT_EQ(picture.pixels.size(), size_t(picture.width) * size_t(picture.height));
                if (picture.transparent) {
                    ASSERT_EQ(picture.drawn.size(), picture.pixels.size());
                }
                CYbBitmap out;
                SystemPictureToBitmap(picture, out);
                ASSERT_EQ(out.width(), picture.width);
            } else {
                ++refused;
            }
        }
    }
    // Both outcomes occur: the damage is neither always fatal nor always harmless.
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace Yomibon

// Where a picture, its caption and the frame of a missing picture go.
#include <gtest/gtest.h>

#include "render/picture_frame.h"

namespace Yomibon::Test {
namespace {

TEST(PictureFrame, ReadsFileCaptionAndStatedSize) {
    PictureFields f =
        ReadPictureFields(std::u16string(u"fig55990_010.png\0図‐10\0横496×縦200\0\0\0", 34));
    EXPECT_EQ(f.file, u"fig55990_010.png");
    EXPECT_EQ(f.caption, u"図‐10");
    EXPECT_EQ(f.width, 496);
    EXPECT_EQ(f.height, 200);
    // Full-width digits, and a size that cannot be read.
    EXPECT_EQ(ReadPictureFields(std::u16string(u"a.png\0\0横１０×縦２０\0\0\0", 17)).width, 10);
    PictureFields bad = ReadPictureFields(std::u16string(u"a.png\0\0大きい\0\0\0", 13));
    EXPECT_EQ(bad.width, 0);
    EXPECT_EQ(bad.height, 0);
    EXPECT_EQ(ReadPictureFields(u"").file, u"");
}

TEST(PictureFrame, CaptionTakesAColumnOnTheLeft) {
    MapRect boxes{100, 50, 500, 650};
    PictureAreas a = SplitPictureArea(boxes, true, 30);
    EXPECT_EQ(a.caption, (MapRect{100, 50, 130, 650}));
    EXPECT_EQ(a.picture, (MapRect{130, 50, 500, 650}));
    PictureAreas none = SplitPictureArea(boxes, false, 30);
    EXPECT_EQ(none.picture, boxes);
    EXPECT_EQ(none.caption.width(), 0);
    // A box too narrow for both keeps the picture whole.
    EXPECT_EQ(SplitPictureArea({0, 0, 50, 100}, true, 30).picture, (MapRect{0, 0, 50, 100}));
}

TEST(PictureFrame, MissingPictureFrameKeepsTheStatedProportions) {
    MapRect area{100, 50, 500, 650};  // 400 by 600
    // 496 by 200 is as wide as the area allows.
    EXPECT_EQ(MissingPictureFrame(area, 496, 200), (MapRect{100, 50, 500, 211}));
    // A tall picture is as tall as the area.
    EXPECT_EQ(MissingPictureFrame(area, 100, 300), (MapRect{100, 50, 300, 650}));
    // Without a stated size the frame is the whole area.
    EXPECT_EQ(MissingPictureFrame(area, 0, 0), area);
}

}  // namespace
}  // namespace Yomibon::Test

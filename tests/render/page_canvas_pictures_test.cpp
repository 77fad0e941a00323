// A picture that cannot be shown leaves a frame with its name, not a blank page; a long
// running head ends with "…" at a boundary.
#include <gtest/gtest.h>

#include "render/canvas_fixture.h"

namespace Yomibon {
namespace {

using Fixture = Test::CanvasFixture;

int InkPixels(const CYbBitmap& b, const MapRect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(b.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(b.width(), r.right); ++x)
            if ((b.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
    return n;
}

TEST(PageCanvasPictures, MissingPictureIsAFrameWithItsNameAndCaption) {
    Fixture f(u"題名\r\n著者\r\n\r\n［＃ねこの挿絵（no_such_file.png、横300×縦300）入る］\r\n本文");
    // The spread and box the arranger gave the picture (box sequence numbers from 1).
    ASSERT_EQ(f.doc->buffer().pictureBoxes().size(), 1u);
    const int seq = f.doc->buffer().pictureBoxes().begin()->second.first;
    f.canvas->drawPage(2 * ((seq - 1) / 2));
    const auto& boxes = f.canvas->mapper().boxRects();
    ASSERT_EQ(boxes.size(), 2u);
    const MapRect& box = boxes[size_t((seq - 1) % 2)].box;
    const CYbBitmap& b = f.bitmap();
    // A square frame as wide as the box (less the caption column), from its top.
    int note = f.canvas->mapper().fontSizes().note;
    int left = box.left + note * 3 / 2;
    int side = std::min(box.right - left, box.bottom - box.top);
    int top = box.top, mid = box.top + side / 2;
    EXPECT_NE(b.pixel(left, mid) & 0xFFFFFF, 0xFFFFFFu);                        // left edge
    EXPECT_NE(b.pixel(left + side / 2, top) & 0xFFFFFF, 0xFFFFFFu);             // top edge
    EXPECT_NE(b.pixel(left + side / 2, top + side - 1) & 0xFFFFFF, 0xFFFFFFu);  // bottom
    // Inside the frame: the file name down its right edge, nothing in the middle.
    EXPECT_GT(InkPixels(b, {left + side - 2 * note, top + 2, left + side - 2, top + 10 * note}),
              20);
    EXPECT_EQ(InkPixels(b, {left + side / 4, top + side / 4, left + side / 2, top + side / 2}), 0);
    // The caption in its column beside the picture.
    EXPECT_GT(InkPixels(b, {box.left, top, left, top + 4 * note}), 20);
    // Below the frame the box stays empty.
    EXPECT_EQ(InkPixels(b, {left + 2, top + side + 2, box.right, box.bottom}), 0);
}

}  // namespace
}  // namespace Yomibon

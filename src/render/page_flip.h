// The page-turn animation: a leaf turning about the spine between two spreads, produced
// frame by frame from the old and the new spread with precomputed integer tables.
#pragma once

#include <array>
#include <vector>

#include "layout/page_map_entry.h"
#include "render/bitmap.h"

namespace Yomibon {

class CYbPageFlip {
  public:
    static constexpr int kFrameCount = 12;

    // One frame column: where the turning page is sampled for it. count 0: not covered.
    struct ColumnEntry {
        int source = 0;
        int step = 1;
        int count = 0;
        int brightness = 0;  // per cent divided by count
    };
    // 2h + 1 columns and shadows (entry h is the spine) for one turning angle.
    struct FrameTable {
        std::vector<ColumnEntry> columns;
        std::vector<int> shadow;  // per cent, 0 = none
        int compressed = 0;       // width of the turning half on screen
    };

    CYbPageFlip() = default;
    virtual ~CYbPageFlip() = default;

    // Turning angle in degrees of frame 0..11.
    static int FrameAngle(int frame);
    static FrameTable BuildFrameTable(int angle, int half);

    // Starts a flip over the paper; the tables are rebuilt only for a new paper width.
    void prepare(const MapRect& paper, bool forward);
    void captureOld(const CYbBitmap& canvas) { old_ = canvas; }
    void captureNew(const CYbBitmap& canvas) { new_ = canvas; }
    // Produces the current frame; false once the last frame is done (or none was due).
    bool step();
    // Copies rect of the current frame into target, shifted by the margins.
    void draw(CYbBitmap& target, const MapRect& rect, int marginX, int marginY) const;
    // Abandons a flip in progress.
    void stop() { frame_ = -1; }

    bool inProgress() const { return frame_ >= 0; }
    int frameIndex() const { return frame_; }
    bool forward() const { return forward_; }
    int halfWidth() const { return half_; }
    const CYbBitmap& frame() const { return frameBitmap_; }
    const FrameTable& table(int frame) const { return tables_[size_t(frame)]; }

  private:
    void produce(int k);
    void turnRows(const FrameTable& table, const CYbBitmap& beneath, const CYbBitmap& turning,
                  int firstEntry, int lastEntry);

    std::array<FrameTable, kFrameCount> tables_;
    MapRect paper_;
    int half_ = -1;
    int frame_ = -1;
    bool forward_ = true;
    CYbBitmap old_;
    CYbBitmap new_;
    CYbBitmap frameBitmap_;
};

}  // namespace Yomibon

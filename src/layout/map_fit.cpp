// Fitting the spread into the view: the paper rectangle, the renderer's font sizes and the
// rectangles that map a point to a text box.
#include <algorithm>
#include <climits>

#include "layout/txt_mapper.h"

namespace Yomibon {

namespace {

// The area around a box up to its neighbours (or the paper's edges).
MapRect CatchArea(const std::vector<MapRect>& boxes, size_t i, const MapRect& paper) {
    const MapRect& b = boxes[i];
    MapRect c = paper;
    for (size_t j = 0; j < boxes.size(); ++j) {
        if (j == i) continue;
        const MapRect& o = boxes[j];
        if (o.right <= b.left) c.left = std::max(c.left, o.right);
        if (o.bottom <= b.top) c.top = std::max(c.top, o.bottom);
        if (o.left >= b.right) c.right = std::min(c.right, o.left);
        if (o.top >= b.bottom) c.bottom = std::min(c.bottom, o.top);
    }
    return c;
}

}  // namespace

bool CYbTxtMapper::FitView(int viewWidth, int viewHeight) {
    const int64_t a = viewWidth;
    const int64_t b = viewHeight;
    const int64_t W = geometry_.paperWidth;
    const int64_t H = geometry_.paperHeight;
    if (a < 1 || b < 1 || W < 1 || H < 1) return false;
    int64_t width = 0;
    int64_t height = 0;
    if (a * H < b * W) {
        width = a;
        height = a * H / W;
    } else {
        width = b * W / H;
        height = b;
    }
    paper_.left = int32_t(a / 2 - width / 2);
    paper_.top = int32_t(b / 2 - height / 2);
    paper_.right = paper_.left + int32_t(width);
    paper_.bottom = paper_.top + int32_t(height);

    auto font = [&](const SizePair& s) {
        return int((width * (int64_t(s.size) - s.spacing) + W - 1) / W);
    };
    fonts_ = {font(geometry_.textSize), font(geometry_.rubySize), font(geometry_.noteSize),
              font(geometry_.nombreSize), font(geometry_.headSize)};

    boxRects_.clear();
    if (geometry_.text.size() < 2) return true;
    auto px = [&](int32_t v, int32_t origin) {
        return int32_t((width * int64_t(v) + W - 1) / W) + origin;
    };
    std::vector<MapRect> boxes;
    for (const LayoutBox& lb : geometry_.text)
        boxes.push_back({px(lb.left, paper_.left), px(lb.top, paper_.top),
                         px(lb.right, paper_.left), px(lb.bottom, paper_.top)});
    boxRects_.resize(boxes.size());
    int start = geometry_.columnsPerSpread;
    for (size_t i = boxes.size(); i-- > 0;) {
        MapBoxRect& r = boxRects_[i];
        r.box = boxes[i];
        r.catchArea = CatchArea(boxes, i, paper_);
        r.lastColumn = start - 1;
        r.firstColumn = r.lastColumn - (geometry_.text[i].lines - 1);
        start = r.firstColumn;
    }
    return true;
}

}  // namespace Yomibon

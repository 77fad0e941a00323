// Pictures of a spread: the picture in the boxes the arranger reserved, its caption in a
// column beside it, and for a picture that cannot be shown a frame of its stated size with
// its file name and caption, so that the reader knows what is missing.
#include <algorithm>

#include "platform/char_type.h"
#include "platform/utf16.h"
#include "render/page_canvas.h"
#include "render/picture_frame.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

MapRect Joined(const MapRect& a, const MapRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

void CYbPageCanvas::drawPictures(int page) {
    const auto& boxes = mapper_.boxRects();
    int boxCount = int(boxes.size());
    if (boxCount == 0) return;
    int lo = page * boxCount / 2 + 1, hi = boxCount + page * boxCount / 2;
    for (const auto& [point, range] : document_->buffer().pictureBoxes()) {
        if (range.first < lo || range.first > hi) continue;
        MapRect rect = boxes[size_t(range.first - lo)].box;
        for (int d = range.first + 1; d <= std::min(range.second, hi); ++d)
            rect = Joined(rect, boxes[size_t(d - lo)].box);
        drawPicture(rect,
                    document_->buffer().lines()[size_t(point.iLine)].runs[size_t(point.iIndex)]);
    }
}

void CYbPageCanvas::drawPicture(const MapRect& boxes, const TextInfo& run) {
    PictureFields f = ReadPictureFields(run.str);
    const int note = std::max(mapper_.fontSizes().note, 1);
    PictureAreas areas = SplitPictureArea(boxes, !f.caption.empty(), note * 3 / 2);
    const MapRect& pic = areas.picture;
    if (!f.caption.empty()) {
        tooltips_.push_back({boxes, f.caption});
        drawColumnText(f.caption, areas.caption, SLOT_NOTE);
    }
    if (mgr_.drawPictureTransparent(bitmap_, f.file, pic.left, pic.top, pic.width(), pic.height()))
        return;
    MapRect frame = MissingPictureFrame(pic, f.width, f.height);
    mgr_.drawBoxLines(bitmap_, frame.left, frame.top, frame.width() - 1, frame.height() - 1,
                      {true, true, true, true});
    // The file name down the frame's right edge, the caption beside it when it has no
    // column of its own.
    MissingPictureColumns text = MissingPictureText(frame, areas, !f.caption.empty(), note);
    drawColumnText(f.file, text.name, SLOT_NOTE);
    if (text.caption.width() > 0) drawColumnText(f.caption, text.caption, SLOT_NOTE);
}

// Sets text down one column from its top; what does not fit is left out.
void CYbPageCanvas::drawColumnText(std::u16string_view text, const MapRect& column, int slot) {
    CYbCharRenderer* r = mgr_.renderer(slot);
    const int size = std::max(mapper_.fontSizes().note, 1);
    if (!r || column.left < 0 || column.width() < size) return;
    int y = column.top;
    for (size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
        const int advance = IsHalfWidthClass(CharClass(CodePointAt(text, i))) ? size / 2 : size;
        if (y + advance > column.bottom) break;
        r->drawText(bitmap_, column.left, y, text.data() + i, int(UnitsAt(text, i)));
        y += advance;
    }
}

}  // namespace Yomibon

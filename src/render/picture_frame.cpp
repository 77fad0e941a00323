#include "render/picture_frame.h"

#include <algorithm>

#include "text/annotation_text.h"

namespace Yomibon {
namespace {

// The number after the first of `words` found in `size` ("横496" -> 496).
int SizeAfter(std::u16string_view size, std::u16string_view word) {
    size_t at = size.find(word);
    return at == std::u16string_view::npos ? 0 : AnnotationNumber(size.substr(at + word.size()));
}

}  // namespace

PictureFields ReadPictureFields(const std::u16string& runText) {
    PictureFields f;
    std::u16string_view rest = runText;
    std::u16string_view parts[3];
    for (auto& part : parts) {
        size_t zero = rest.find(u'\0');
        part = rest.substr(0, zero);
        rest = zero == std::u16string_view::npos ? std::u16string_view{} : rest.substr(zero + 1);
    }
    f.file = parts[0];
    f.caption = parts[1];
    f.width = SizeAfter(parts[2], u"横");
    f.height = SizeAfter(parts[2], u"縦");
    if (f.width <= 0 || f.height <= 0) f.width = f.height = 0;
    return f;
}

PictureAreas SplitPictureArea(const MapRect& boxes, bool hasCaption, int captionWidth) {
    PictureAreas a{boxes, {}};
    if (!hasCaption || captionWidth <= 0 || boxes.width() <= 2 * captionWidth) return a;
    a.caption = {boxes.left, boxes.top, boxes.left + captionWidth, boxes.bottom};
    a.picture.left += captionWidth;
    return a;
}

MapRect MissingPictureFrame(const MapRect& area, int width, int height) {
    if (width <= 0 || height <= 0 || area.width() <= 0 || area.height() <= 0) return area;
    double scale = std::min(double(area.width()) / width, double(area.height()) / height);
    int w = std::clamp(int(width * scale), 1, area.width());
    int h = std::clamp(int(height * scale), 1, area.height());
    return {area.left, area.top, area.left + w, area.top + h};
}

MissingPictureColumns MissingPictureText(const MapRect& frame, const PictureAreas& areas,
                                         bool hasCaption, int note) {
    const int inset = std::max(note / 2, 2);
    MissingPictureColumns out;
    out.name = {frame.right - inset - note, frame.top + inset, frame.right - inset,
                frame.bottom - inset};
    if (hasCaption && areas.caption.width() == 0) {
        out.caption = out.name;
        out.caption.left -= note * 3 / 2;
        out.caption.right -= note * 3 / 2;
    }
    return out;
}

}  // namespace Yomibon

// Pictures of a spread in vector output: embedded at the resolution of their file (a
// JPEG file as it is), fitted into the boxes the arranger reserved; a picture that cannot
// be loaded gets the frame with its file name that the canvas shows.
#include <algorithm>
#include <vector>

#include "platform/char_type.h"
#include "platform/utf16.h"
#include "render/pdf_page.h"
#include "render/pict_ole_renderer.h"
#include "render/picture_frame.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

MapRect Joined(const MapRect& a, const MapRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

void FreeBytes(void* data) {
    delete static_cast<std::vector<uint8_t>*>(data);
}

// The bitmap (B, G, R, alpha) as a cairo image: premultiplied alpha.
cairo_surface_t* ImageOf(const CYbBitmap& bmp) {
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bmp.width(), bmp.height());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return image;
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < bmp.height(); ++y) {
        auto* out = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
        const uint32_t* in = bmp.row(y);
        for (int x = 0; x < bmp.width(); ++x) {
            const uint32_t p = in[x], a = p >> 24;
            if (a == 255) {
                out[x] = p;
                continue;
            }
            uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255,
                     b = (p & 0xFF) * a / 255;
            out[x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    cairo_surface_mark_dirty(image);
    return image;
}

}  // namespace

void CYbPdfPage::drawPictures() {
    const auto& boxes = mapper_.boxRects();
    const int boxCount = int(boxes.size());
    if (boxCount == 0) return;
    const int lo = page_ * boxCount / 2 + 1, hi = boxCount + page_ * boxCount / 2;
    for (const auto& [point, range] : document_.buffer().pictureBoxes()) {
        if (range.first < lo || range.first > hi) continue;
        MapRect rect = boxes[size_t(range.first - lo)].box;
        for (int d = range.first + 1; d <= std::min(range.second, hi); ++d)
            rect = Joined(rect, boxes[size_t(d - lo)].box);
        if (!shown(rect.left + rect.width() / 2)) continue;
        drawPicture(rect,
                    document_.buffer().lines()[size_t(point.iLine)].runs[size_t(point.iIndex)]);
    }
}

void CYbPdfPage::drawPicture(const MapRect& boxes, const TextInfo& run) {
    PictureFields f = ReadPictureFields(run.str);
    const int note = std::max(mapper_.fontSizes().note, 1);
    PictureAreas areas = SplitPictureArea(boxes, !f.caption.empty(), note * 3 / 2);
    const MapRect& pic = areas.picture;
    if (!f.caption.empty()) drawColumnText(f.caption, areas.caption, SLOT_NOTE);
    if (placePicture(f.file, pic)) return;
    ++missingPictures_;
    MapRect frame = MissingPictureFrame(pic, f.width, f.height);
    const bool all[4] = {true, true, true, true};
    boxLines(frame.left, frame.top, frame.width() - 1, frame.height() - 1, all);
    MissingPictureColumns text = MissingPictureText(frame, areas, !f.caption.empty(), note);
    drawColumnText(f.file, text.name, SLOT_NOTE);
    if (text.caption.width() > 0) drawColumnText(f.caption, text.caption, SLOT_NOTE);
}

// The picture at its own resolution, fitted and centred in the area with its aspect
// kept. A plug-in's picture is taken at the area's size.
bool CYbPdfPage::placePicture(std::u16string_view file, const MapRect& area) {
    if (file.empty() || area.width() < 1 || area.height() < 1) return false;
    CYbBitmap bmp;
    bool jpeg = false;
    std::vector<uint8_t> bytes;
    for (auto& r : pictures_) {
        if (!r->canLoad(file)) continue;
        if (auto* ole = dynamic_cast<CYbPictOleRenderer*>(r.get())) {
            if (!ole->loadPicture(file, bmp)) continue;
            std::u16string path;
            ole->getProperty(u"CurDir", path);
            std::u16string full = !file.empty() && file[0] == u'/'
                                      ? std::u16string(file)
                                      : path + u"/" + std::u16string(file);
            jpeg = ReadPictureFile(full, bytes) && bytes.size() > 3 && bytes[0] == 0xFF &&
                   bytes[1] == 0xD8;
        } else if (!r->loadFitted(bmp, 0, 0, area.width(), area.height(), file)) {
            continue;
        }
        if (!bmp.empty()) break;
    }
    if (bmp.empty()) return false;
    cairo_surface_t* image = ImageOf(bmp);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return false;
    }
    if (jpeg) {
        // The file's own bytes go into the PDF: smaller than re-encoding its pixels.
        auto* kept = new std::vector<uint8_t>(std::move(bytes));
        cairo_surface_set_mime_data(image, CAIRO_MIME_TYPE_JPEG, kept->data(), kept->size(),
                                    FreeBytes, kept);
    }
    const double s =
        std::min(double(area.width()) / bmp.width(), double(area.height()) / bmp.height());
    const double w = bmp.width() * s, h = bmp.height() * s;
    fonts_.flush(cr_);
    cairo_save(cr_);
    cairo_translate(cr_, area.left + (area.width() - w) / 2, area.top + (area.height() - h) / 2);
    cairo_scale(cr_, s, s);
    cairo_set_source_surface(cr_, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(image);
    return true;
}

void CYbPdfPage::drawColumnText(std::u16string_view text, const MapRect& column, int slot) {
    const int size = std::max(mapper_.fontSizes().note, 1);
    if (column.left < 0 || column.width() < size) return;
    int y = column.top;
    for (size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
        const int advance = IsHalfWidthClass(CharClass(CodePointAt(text, i))) ? size / 2 : size;
        if (y + advance > column.bottom) break;
        this->text(slot, column.left, y, text.substr(i, UnitsAt(text, i)));
        y += advance;
    }
}

void CYbPdfPage::drawBackground(cairo_t* cr, int left, int right) {
    const MapRect& paper = mapper_.paperRect();
    const auto& colours = param_.GetPoints(u"PageColor");
    const uint32_t c = colours.empty() ? 0xFFFFFF : uint32_t(colours[0]);
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                         ((c >> 16) & 0xFF) / 255.0);
    cairo_rectangle(cr, left, paper.top, right - left, paper.height());
    cairo_fill(cr);
    const std::u16string background = param_.GetText(u"BackgroundImage");
    if (background.empty()) return;
    // The background is stretched over the whole spread, as the canvas shows it.
    CYbBitmap bmp;
    for (auto& r : pictures_) {
        if (!r->canLoad(background)) continue;
        bmp.create(paper.width() / 4, paper.height() / 4);
        if (r->loadStretched(bmp, 0, 0, bmp.width(), bmp.height(), background)) break;
        bmp = CYbBitmap();
    }
    if (bmp.empty()) return;
    cairo_surface_t* image = ImageOf(bmp);
    cairo_save(cr);
    cairo_rectangle(cr, left, paper.top, right - left, paper.height());
    cairo_clip(cr);
    cairo_translate(cr, paper.left, paper.top);
    cairo_scale(cr, 4, 4);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

}  // namespace Yomibon

#include "render/page_canvas.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "layout/txt_layout.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/condensed_glyph.h"
#include "render/run_painter.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

uint32_t PointOr(const CYbTxtParam& param, std::u16string_view key, size_t i, uint32_t fallback) {
    const auto& v = param.GetPoints(key);
    return i < v.size() ? uint32_t(v[i]) : fallback;
}

void FillRect(CYbBitmap& bmp, const MapRect& r, uint32_t pixel) {
    int x0 = std::max(0, r.left), x1 = std::min(bmp.width(), r.right);
    int y0 = std::max(0, r.top), y1 = std::min(bmp.height(), r.bottom);
    if (x0 >= x1 || y0 >= y1) return;
    uint32_t* first = bmp.row(y0) + x0;
    std::fill(first, first + (x1 - x0), pixel);
    // The other rows copy the first: a block copy is several times quicker than filling
    // pixel by pixel, and the page fill is a good part of every spread's drawing time.
    for (int y = y0 + 1; y < y1; ++y)
        std::memcpy(bmp.row(y) + x0, first, size_t(x1 - x0) * sizeof(uint32_t));
}

// The canvas outside the paper, in four bands, so that no pixel is filled twice.
void FillAround(CYbBitmap& bmp, const MapRect& paper, uint32_t pixel) {
    int w = bmp.width(), h = bmp.height();
    MapRect p{std::clamp(paper.left, 0, w), std::clamp(paper.top, 0, h),
              std::clamp(paper.right, 0, w), std::clamp(paper.bottom, 0, h)};
    if (p.left >= p.right || p.top >= p.bottom) {
        FillRect(bmp, {0, 0, w, h}, pixel);
        return;
    }
    FillRect(bmp, {0, 0, w, p.top}, pixel);
    FillRect(bmp, {0, p.bottom, w, h}, pixel);
    FillRect(bmp, {0, p.top, p.left, p.bottom}, pixel);
    FillRect(bmp, {p.right, p.top, w, p.bottom}, pixel);
}

MapRect Union(const MapRect& a, const MapRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

std::u16string DirectoryOf(const std::u16string& file) {
    size_t slash = file.find_last_of(u'/');
    return slash == std::u16string::npos ? std::u16string() : file.substr(0, slash);
}

}  // namespace

CYbPageCanvas::CYbPageCanvas(const CYbTxtParam& param) : param_(param), mgr_(param) {
    applySettings();
}

void CYbPageCanvas::applySettings() {
    mgr_.setAntiAlias(int(PointOr(param_, u"AntiAlias", 0, 1)));
    mgr_.setWhiteTransparency(PointOr(param_, u"WhiteTrans", 0, 1) == 1,
                              int(PointOr(param_, u"WhiteTransRate", 0, 20)));
    background_ = param_.GetText(u"BackgroundImage");
    mapper_.setOptions(MapOptions::FromParam(param_));
}

void CYbPageCanvas::setDocument(CYbTxtDocument* document, const CYbTxtLayout* layout) {
    document_ = document;
    layout_ = layout;
    page_ = 0;
    std::u16string dir = document ? DirectoryOf(document->getFileName()) : std::u16string();
    mgr_.setPictureRenderers(dir, FromFsPath(DataFolder()));
    resize(bitmap_.width(), bitmap_.height());
}

void CYbPageCanvas::resize(int width, int height) {
    flip_.stop();
    bitmap_.create(width, height);
    if (!layout_) return;
    mapper_.setLayout(*layout_);
    if (!mapper_.FitView(width, height)) return;
    const MapFontSizes& s = mapper_.fontSizes();
    std::u16string frequent;
    std::u16string dir;
    if (document_) {
        document_->getFrequentChars(frequent);
        dir = DirectoryOf(document_->getFileName());
    }
    mgr_.setFonts(dir, frequent, {s.text, s.ruby, s.note, s.nombre, s.runningHead});
}

int CYbPageCanvas::showPage(int page) {
    if (page < 0) return drawPage(page);
    page &= ~1;
    if (bitmap_.empty() || !document_ || !layout_ || page > document_->getPageCount() ||
        (page != page_ + 2 && page != page_ - 2))
        return drawPage(page);
    bool forward = page > page_;
    flip_.captureOld(bitmap_);
    if (drawPage(page) != page) return page_;
    flip_.prepare(mapper_.paperRect(), forward);
    flip_.captureNew(bitmap_);
    flip_.step();
    return page_;
}

bool CYbPageCanvas::flipStep() {
    if (!flip_.inProgress()) return false;
    flip_.step();
    return true;
}

int CYbPageCanvas::flipInterval() const {
    if (PointOr(param_, u"PageFlip", 0, 1) != 1) return 0;
    int interval = int(PointOr(param_, u"PageFlipInterval", 0, 30));
    return interval >= 1 ? interval : 0;
}

std::vector<TextInfo> CYbPageCanvas::pageDecorations(int page, int nextSpreadLine) const {
    std::vector<TextInfo> decos;
    int count = document_->getPageCount();
    for (int p = page; p <= page + 1; ++p) {
        if (p <= 0) continue;
        TextInfo nombre;
        nombre.str = FormatMessage(layout_->GetNombreFormat(p), {int64_t(p), int64_t(count)});
        nombre.textType = (p % 2 == 0) ? TT_NOMBRE_EVEN : TT_NOMBRE_ODD;
        decos.push_back(nombre);
    }
    TextInfo head;
    head.textType = TT_RUNNING_HEAD;
    for (const OutlineEntry& e : document_->outline())
        if (e.level == 1 && e.begin.iLine < nextSpreadLine) head.str = e.text;
    if (head.str.empty()) head.str = document_->buffer().getTitle();
    head.str = mapper_.fitRunningHead(head.str);
    decos.push_back(head);
    return decos;
}

int CYbPageCanvas::drawPage(int page) {
    flip_.stop();  // whatever was turning, this spread is what must show now
    if (bitmap_.empty()) return page_;
    const MapRect& paper = mapper_.paperRect();
    FillAround(bitmap_, paper, ColorToPixel(PointOr(param_, u"PageColor", 2, 0xD0D0D0)));
    FillRect(bitmap_, paper, ColorToPixel(PointOr(param_, u"PageColor", 0, 0xFFFFFF)));
    if (!background_.empty())
        mgr_.drawPicture(bitmap_, background_, paper.left, paper.top, paper.width(),
                         paper.height());
    tooltips_.clear();
    links_.clear();
    if (!document_ || !layout_) return page_;
    if (page < 0) page = page_;
    if (page > document_->getPageCount()) return page_;
    const auto& lines = document_->buffer().lines();
    int perSpread = mapper_.columnsPerSpread();
    int first = (page / 2) * perSpread;
    page_ = page & ~1;
    mapper_.selShown = false;
    int firstLine = 0;
    while (firstLine < int(lines.size()) && lines[size_t(firstLine)].iNextCol <= first &&
           lines[size_t(firstLine)].iStartCol < first)
        ++firstLine;
    int nextLine = firstLine;
    while (nextLine < int(lines.size()) && lines[size_t(nextLine)].iStartCol < first + perSpread)
        ++nextLine;
    decorations_ = pageDecorations(page_, nextLine);
    mapper_.Build(decorations_, document_->buffer(), first, paper);
    noteCounter_ = 0;
    drawPictures(page_);
    for (int line = firstLine; line < nextLine; ++line)
        drawLine(document_->buffer().lines()[size_t(line)].runs, line);
    drawDecorations(document_->getPageCount());
    return page_;
}

void CYbPageCanvas::drawExternal(int line, int run, const TextInfo& info) {
    PageMapEntry e;
    if (!entryOnSpread({line, run, 0}, e, true)) return;
    bool bold = document_->buffer().isBold({line, run, 0});
    CYbCharRenderer* r = mgr_.renderer(bold ? SLOT_BOLD : SLOT_TEXT);
    if (!r || !r->drawText(bitmap_, e.inkX, e.inkY, info.str.c_str(), 0)) drawNote(line, run, info);
}

void CYbPageCanvas::drawChars(int line, int run, const TextInfo& info, int slot, int boldSlot,
                              bool offsets) {
    int k = 0;
    for (std::u16string_view c : Characters(info.str)) {
        TextPoint key{line, run, k++};
        PageMapEntry e;
        if (!entryOnSpread(key, e, true)) continue;
        int s = (boldSlot != slot && document_->buffer().isBold(key)) ? boldSlot : slot;
        // Main text may be set larger or smaller (headings, larger and smaller characters).
        CYbCharRenderer* r =
            offsets ? mgr_.scaledRenderer(s, document_->buffer().charSize(key)) : mgr_.renderer(s);
        if (!r) continue;
        int x = e.inkX, y = e.inkY;
        if (offsets) {
            auto [dx, dy] = param_.GetOffset(c);
            x += e.size * dx / 100;
            y += e.advance * dy / 100;
        }
        if (slot == SLOT_HORIZONTAL) {
            const HorizontalGlyph g = FitHorizontal(mapper_, e, c);
            LogFont lf;
            if (g.scale < 1.0 && r->getFont(&lf)) {
                const int size = std::abs(lf.lfHeight);
                DrawCondensed(*r, bitmap_, x, y, g.text, g.halfWidth ? size / 2 : size,
                              std::max(1, e.size), size);
            } else {
                r->drawString(bitmap_, x, y, g.text);
            }
            continue;
        }
        r->drawText(bitmap_, x, y, c.data(), int(c.size()));
    }
}

void CYbPageCanvas::drawMarks(int line, int run, const TextInfo& info) {
    CYbCharRenderer* r = mgr_.renderer(SLOT_TEXT);
    if (!r) return;
    LogFont lf;
    int fontSize = r->getFont(&lf) ? std::abs(lf.lfHeight) : 1;
    for (int k = 0;; ++k) {
        auto it = mapper_.charMap().find({line, run, k});
        if (it == mapper_.charMap().end()) break;
        const PageMapEntry& e = it->second;
        if (!mapper_.inSpread(e.iColumn)) continue;
        r->drawText(bitmap_, e.inkX, e.inkY + (e.advance - fontSize) / 2, info.str.c_str(), 0);
    }
}

void CYbPageCanvas::drawSideLine(int line, int run, const TextInfo& info) {
    CYbCharRenderer* r = mgr_.renderer(SLOT_TEXT);
    if (!r) return;
    for (const auto& seg : ColumnSegments(mapper_, line, run)) {
        int x = INT_MAX, top = seg.front().inkY, bottom = INT_MIN;
        for (const auto& e : seg) {
            x = std::min(x, e.inkX);
            bottom = std::max(bottom, e.inkY + e.advance);
        }
        r->drawTextRect(bitmap_, x, top, seg.back().size, bottom - top, info.str.c_str(), 0);
    }
}

void CYbPageCanvas::drawNote(int line, int run, const TextInfo& info) {
    // A note the mapper did not place belongs to another spread (the part of a paragraph
    // before this one); counting it would put "※2" where the mapper made room for "※1".
    PageMapEntry at;
    if (!entryOnSpread({line, run, 0}, at, false)) return;
    ++noteCounter_;
    std::u16string mark = FormatMessage(param_.GetText(u"NoteFormat"), {int64_t(noteCounter_)});
    auto markChars = Characters(mark);
    CYbCharRenderer* ruby = mgr_.renderer(SLOT_RUBY);
    CYbCharRenderer* note = mgr_.renderer(SLOT_NOTE);
    int k = 0;
    bool any = false;
    MapRect tip{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (std::u16string_view c : markChars) {
        PageMapEntry e;
        if (entryOnSpread({line, run, k++}, e, true) && ruby) {
            ruby->drawText(bitmap_, e.inkX, e.inkY, c.data(), int(c.size()));
            tip = Union(tip, {e.inkX, e.inkY, e.inkX + e.size, e.inkY + e.advance});
            any = true;
        }
    }
    if (any) tooltips_.push_back({tip, info.str});
    std::u16string full = mark + info.str;
    for (std::u16string_view c : Characters(full)) {
        PageMapEntry e;
        if (entryOnSpread({line, run, k++}, e, true) && note)
            note->drawText(bitmap_, e.inkX, e.inkY, c.data(), int(c.size()));
    }
}

void CYbPageCanvas::drawBoxRun(int line, int run) {
    for (int k = 0;; ++k) {
        auto it = mapper_.charMap().find({line, run, k});
        if (it == mapper_.charMap().end() || it->second.advance == 0) break;
        const PageMapEntry& e = it->second;
        if (!mapper_.inSpread(e.iColumn)) {
            if (k == 0) break;
            continue;
        }
        mgr_.drawBoxLines(bitmap_, e.inkX, e.inkY, e.size, e.advance,
                          {true, (e.width & 2) != 0, true, (e.width & 1) != 0});
    }
}

void CYbPageCanvas::drawRangeBox(int line, int run) {
    auto segments = ColumnSegments(mapper_, line, run);
    for (size_t i = 0; i < segments.size(); ++i) {
        int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
        for (const auto& e : segments[i]) {
            x0 = std::min(x0, e.inkX);
            y0 = std::min(y0, e.inkY);
            x1 = std::max(x1, e.inkX + e.size);
            y1 = std::max(y1, e.inkY + e.advance);
        }
        int left = x0 - 1, top = y0 - 1;
        mgr_.drawBoxLines(bitmap_, left, top, x1 - left - 1, y1 - top,
                          {i == 0, true, i + 1 == segments.size(), true});
    }
}

void CYbPageCanvas::drawRepeatMark(int line, int run, const TextInfo& info) {
    PageMapEntry e;
    if (!entryOnSpread({line, run, 0}, e, true)) return;
    bool bold = document_->buffer().isBold({line, run, 0});
    CYbCharRenderer* r = mgr_.renderer(bold ? SLOT_BOLD : SLOT_TEXT);
    if (!r) return;
    std::u16string_view upper = info.textType == TT_VOICED_REPEAT_MARK ? u"／″" : u"／";
    r->drawString(bitmap_, e.inkX, e.inkY, upper);
    r->drawString(bitmap_, e.inkX, e.inkY + mapper_.fontSizes().text, u"＼");
}

// Neighbouring dashes of one column are drawn as one stroke.
void CYbPageCanvas::drawDash(int line, int& run) {
    const auto& runs = document_->buffer().lines()[size_t(line)].runs;
    const TextInfo& info = runs[size_t(run)];
    PageMapEntry first, last;
    if (!DashStroke(mapper_, runs, line, run, first, last)) return;
    CYbCharRenderer* r = mgr_.renderer(SLOT_TEXT);
    if (!r) return;
    int height = (last.inkY == first.inkY) ? first.advance : last.inkY + last.size - first.inkY;
    // The dash is a font character, not an external glyph name: pass its length.
    r->drawTextRect(bitmap_, first.inkX, first.inkY, first.size, height, info.str.c_str(),
                    int(info.str.size()));
}

void CYbPageCanvas::drawLink(int line, int run, const TextInfo& info) {
    if (info.tpEnd.iIndex < 0) {
        mgr_.setTextColor(PointOr(param_, u"LinkTextColor", 0, 0xFF0000));
        return;
    }
    CYbCharRenderer* body = mgr_.renderer(SLOT_TEXT);
    for (const auto& seg : ColumnSegments(mapper_, line, run)) {
        MapRect rect{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const auto& e : seg)
            rect = Union(rect, {e.inkX, e.inkY, e.inkX + e.size, e.inkY + e.advance});
        links_.push_back({rect, run, info.str});
        if (run == hoveredLink_ && body)
            body->drawTextRect(bitmap_, rect.left, rect.top, rect.width(), rect.height(), u"傍線",
                               0);
    }
    mgr_.setTextColor(param_.GetFont(u"TextFont").color);
}

void CYbPageCanvas::drawDecorations(int pageCount) {
    for (int number = 0; number < int(decorations_.size()); ++number) {
        const TextInfo& deco = decorations_[size_t(number)];
        bool nombre = deco.textType == TT_NOMBRE_ODD || deco.textType == TT_NOMBRE_EVEN;
        CYbCharRenderer* r = mgr_.renderer(nombre ? SLOT_NOMBRE : SLOT_RUNNING_HEAD);
        MapRect tip{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        bool any = false;
        int k = 0;
        for (std::u16string_view c : Characters(deco.str)) {
            auto it = mapper_.decoMap().find({0, k++, number});
            if (it == mapper_.decoMap().end()) continue;
            const PageMapEntry& e = it->second;
            if (r) r->drawText(bitmap_, e.inkX, e.inkY, c.data(), int(c.size()));
            tip = Union(tip, {e.inkX, e.inkY, e.inkX + e.size, e.inkY + e.advance});
            any = true;
        }
        if (nombre && any)
            tooltips_.push_back(
                {tip, FormatMessage(u"%1!s!/%2!d!", {deco.str, int64_t(pageCount)})});
    }
}

void CYbPageCanvas::drawSelection(CYbBitmap& copy, const MapRect& rect) const {
    TextPoint a = mapper_.selStart, b = mapper_.selEnd;
    if (b < a) std::swap(a, b);
    for (auto it = mapper_.charMap().lower_bound(a);
         it != mapper_.charMap().end() && !(b < it->first); ++it) {
        const PageMapEntry& e = it->second;
        if (!mapper_.inSpread(e.iColumn) || e.height <= 0 || !mapper_.isSelectable(it->first))
            continue;
        MapRect cell{e.x, e.y, e.x + e.size, e.y + e.advance};
        int x0 = std::max({cell.left, rect.left, 0}),
            x1 = std::min({cell.right, rect.right, copy.width()});
        int y0 = std::max({cell.top, rect.top, 0}),
            y1 = std::min({cell.bottom, rect.bottom, copy.height()});
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                copy.pixel(x, y) ^= 0x00FFFFFFu;
    }
}

void CYbPageCanvas::paintCanvas(CYbBitmap& target, const MapRect& rect, int marginX, int marginY) {
    if (flip_.inProgress()) {
        flip_.draw(target, rect, marginX, marginY);
        return;
    }
    if (!document_ || bitmap_.empty()) return;
    CYbBitmap copy;
    const CYbBitmap* source = &bitmap_;
    if (mapper_.selShown) {
        copy = bitmap_;
        drawSelection(copy, rect);
        source = &copy;
    }
    int x0 = std::max(rect.left, 0), x1 = std::min(rect.right, bitmap_.width());
    int y0 = std::max(rect.top, 0), y1 = std::min(rect.bottom, bitmap_.height());
    for (int y = y0; y < y1; ++y) {
        int ty = y + marginY;
        if (ty < 0 || ty >= target.height()) continue;
        for (int x = x0; x < x1; ++x) {
            int tx = x + marginX;
            if (tx >= 0 && tx < target.width()) target.pixel(tx, ty) = source->pixel(x, y);
        }
    }
}

}  // namespace Yomibon

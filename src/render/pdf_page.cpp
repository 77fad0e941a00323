#include "render/pdf_page.h"

#include <algorithm>
#include <climits>

#include "layout/txt_layout.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/condensed_glyph.h"
#include "render/emf_glyph_store.h"
#include "render/pdf_emf.h"
#include "render/pict_ole_renderer.h"
#include "render/pict_spi_renderer.h"
#include "render/run_painter.h"
#include "settings/data_folder.h"
#include "text/char_sizes.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

std::u16string DirectoryOf(const std::u16string& file) {
    size_t slash = file.find_last_of(u'/');
    return slash == std::u16string::npos ? std::u16string() : file.substr(0, slash);
}

// The nombres and the running head of the spread holding `page`, as the canvas sets them.
std::vector<TextInfo> SpreadDecorations(const CYbTxtDocument& document, const CYbTxtLayout& layout,
                                        const CYbTxtMapper& mapper, int page, int nextLine) {
    std::vector<TextInfo> decos;
    const int count = document.getPageCount();
    for (int p = page; p <= page + 1; ++p) {
        if (p <= 0) continue;
        TextInfo nombre;
        nombre.str = FormatMessage(layout.GetNombreFormat(p), {int64_t(p), int64_t(count)});
        nombre.textType = (p % 2 == 0) ? TT_NOMBRE_EVEN : TT_NOMBRE_ODD;
        decos.push_back(nombre);
    }
    TextInfo head;
    head.textType = TT_RUNNING_HEAD;
    for (const OutlineEntry& e : document.outline())
        if (e.level == 1 && e.begin.iLine < nextLine) head.str = e.text;
    if (head.str.empty()) head.str = document.buffer().getTitle();
    head.str = mapper.fitRunningHead(head.str);
    decos.push_back(head);
    return decos;
}

}  // namespace

CYbPdfPage::CYbPdfPage(const CYbTxtParam& param, CYbTxtDocument& document,
                       const CYbTxtLayout& layout)
    : param_(param), document_(document), layout_(layout), fonts_(param) {
    mapper_.setOptions(MapOptions::FromParam(param));
    mapper_.setLayout(layout);
    const MapGeometry& g = mapper_.geometry();
    // Layout units are hundredths of a millimetre.
    mapper_.FitView(std::max(1, g.paperWidth * kPdfPixelsPerMm / 100),
                    std::max(1, g.paperHeight * kPdfPixelsPerMm / 100));
    const MapFontSizes& s = mapper_.fontSizes();
    fonts_.setSizes({s.text, s.ruby, s.note, s.nombre, s.runningHead});
    std::u16string dir = DirectoryOf(document.getFileName());
    std::u16string data = FromFsPath(DataFolder());
    SetGlyphCurrentDirectory(dir);
    SetGlyphDataDirectory(data);
    pictures_.push_back(std::make_unique<CYbPictOleRenderer>());
    pictures_.push_back(std::make_unique<CYbPictSPIRenderer>());
    pictures_[1]->setProperty(u"PluginDir", param.GetText(u"SpiPluginFolder"));
    for (auto& r : pictures_) {
        r->setProperty(u"CurDir", dir.empty() ? data : dir);
        r->setProperty(u"DataDir", data);
    }
}

CYbPdfPage::~CYbPdfPage() = default;

bool CYbPdfPage::ready() const {
    const MapRect& paper = mapper_.paperRect();
    return fonts_.ready() && paper.width() >= 2 && paper.height() >= 1;
}

void CYbPdfPage::build(int page) {
    const auto& lines = document_.buffer().lines();
    const int perSpread = mapper_.columnsPerSpread();
    const int first = (page / 2) * perSpread;
    page_ = page & ~1;
    firstLine_ = 0;
    while (firstLine_ < int(lines.size()) && lines[size_t(firstLine_)].iNextCol <= first &&
           lines[size_t(firstLine_)].iStartCol < first)
        ++firstLine_;
    nextLine_ = firstLine_;
    while (nextLine_ < int(lines.size()) && lines[size_t(nextLine_)].iStartCol < first + perSpread)
        ++nextLine_;
    decorations_ = SpreadDecorations(document_, layout_, mapper_, page_, nextLine_);
    mapper_.Build(decorations_, document_.buffer(), first, mapper_.paperRect());
}

void CYbPdfPage::draw(cairo_t* cr, int left, int right) {
    cr_ = cr;
    bandLeft_ = left;
    bandRight_ = right;
    noteCounter_ = 0;
    fonts_.setTextColor(param_.GetFont(u"TextFont").color);
    drawPictures();
    for (int line = firstLine_; line < nextLine_; ++line)
        drawLine(document_.buffer().lines()[size_t(line)].runs, line);
    drawDecorations();
    fonts_.flush(cr);
    cr_ = nullptr;
}

bool CYbPdfPage::text(int slot, double x, double y, std::u16string_view s, bool searchable) {
    if (!shown(x)) return true;
    return fonts_.drawText(cr_, slot, x, y, s, searchable);
}

void CYbPdfPage::drawChars(int line, int run, const TextInfo& info, int slot, int boldSlot,
                           bool offsets) {
    // Ruby and the like stay out of the searchable text: a copied sentence reads as the
    // body does.
    const bool searchable = slot != SLOT_RUBY;
    int k = 0;
    for (std::u16string_view c : Characters(info.str)) {
        TextPoint key{line, run, k++};
        PageMapEntry e;
        if (!entryOnSpread(key, e, true)) continue;
        int s = (boldSlot != slot && document_.buffer().isBold(key)) ? boldSlot : slot;
        int x = e.inkX, y = e.inkY;
        if (offsets) {
            auto [dx, dy] = param_.GetOffset(c);
            x += e.size * dx / 100;
            y += e.advance * dy / 100;
        }
        // Main text may be set larger or smaller (headings, larger and smaller characters).
        const int size16 = offsets ? document_.buffer().charSize(key) : kBodySize16;
        if (slot == SLOT_HORIZONTAL) {
            const HorizontalGlyph g = FitHorizontal(mapper_, e, c);
            if (shown(x)) fonts_.drawCondensed(cr_, s, x, y, g.scale, g.text, searchable);
        } else if (size16 == kBodySize16)
            text(s, x, y, c, searchable);
        else if (shown(x))
            fonts_.drawScaled(cr_, s, x, y, double(size16) / kBodySize16, c, searchable);
    }
}

void CYbPdfPage::drawExternal(int line, int run, const TextInfo& info) {
    PageMapEntry e;
    if (!entryOnSpread({line, run, 0}, e, true)) return;
    bool bold = document_.buffer().isBold({line, run, 0});
    if (!glyph(bold ? SLOT_BOLD : SLOT_TEXT, e.inkX, e.inkY, info.str)) {
        if (shown(e.inkX)) ++missingGlyphs_;
        drawNote(line, run, info);
    }
}

void CYbPdfPage::drawMarks(int line, int run, const TextInfo& info) {
    const int fontSize = std::max(fonts_.size(SLOT_TEXT), 1);
    for (int k = 0;; ++k) {
        auto it = mapper_.charMap().find({line, run, k});
        if (it == mapper_.charMap().end()) break;
        const PageMapEntry& e = it->second;
        if (!mapper_.inSpread(e.iColumn)) continue;
        glyph(SLOT_TEXT, e.inkX, e.inkY + (e.advance - fontSize) / 2, info.str);
    }
}

void CYbPdfPage::drawNote(int line, int run, const TextInfo& info) {
    // A note the mapper did not place belongs to another spread; counting it would
    // number this spread's notes wrongly.
    PageMapEntry at;
    if (!entryOnSpread({line, run, 0}, at, false)) return;
    ++noteCounter_;
    std::u16string mark = FormatMessage(param_.GetText(u"NoteFormat"), {int64_t(noteCounter_)});
    int k = 0;
    for (std::u16string_view c : Characters(mark)) {
        PageMapEntry e;
        if (entryOnSpread({line, run, k++}, e, true)) text(SLOT_RUBY, e.inkX, e.inkY, c, false);
    }
    std::u16string full = mark + info.str;
    for (std::u16string_view c : Characters(full)) {
        PageMapEntry e;
        if (entryOnSpread({line, run, k++}, e, true)) text(SLOT_NOTE, e.inkX, e.inkY, c);
    }
}

void CYbPdfPage::drawDecorations() {
    for (int number = 0; number < int(decorations_.size()); ++number) {
        const TextInfo& deco = decorations_[size_t(number)];
        bool nombre = deco.textType == TT_NOMBRE_ODD || deco.textType == TT_NOMBRE_EVEN;
        int k = 0;
        for (std::u16string_view c : Characters(deco.str)) {
            auto it = mapper_.decoMap().find({0, k++, number});
            if (it == mapper_.decoMap().end()) continue;
            text(nombre ? SLOT_NOMBRE : SLOT_RUNNING_HEAD, it->second.inkX, it->second.inkY, c);
        }
    }
}

}  // namespace Yomibon

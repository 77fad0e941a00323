#include "layout/page_params.h"

#include <algorithm>
#include <limits>

#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "settings/data_folder.h"

namespace Yomibon {
namespace {

// The arithmetic runs in 64 bits and saturates, so that absurd field values give absurd
// boxes rather than overflow.
int32_t Clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

LayoutBox Box(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t lines,
              int64_t chars) {
    return {Clamp32(left),   Clamp32(top),   Clamp32(right),
            Clamp32(bottom), Clamp32(lines), Clamp32(chars)};
}

void FillMargins(const CYbTxtLayout& layout, PageKind kind, PageParams& p) {
    const auto& boxes = layout.GetBoxes(TextLayout);
    int64_t w = p.paperWidth, h = p.paperHeight;
    if (kind == PageKind::Bunko && boxes.size() == 2) {
        const LayoutBox& b = boxes[1];
        p.foreEdge = b.left;
        p.top = b.top;
        p.bottom = Clamp32(h - b.bottom);
        p.gutter = Clamp32(w / 2 - b.right);
    } else if (kind == PageKind::Shinsho && boxes.size() == 4) {
        const LayoutBox& c = boxes[2];
        p.foreEdge = c.left;
        p.top = c.top;
        p.gutter = Clamp32(w / 2 - c.right);
        p.bottom = Clamp32(h - boxes[1].bottom);
        p.tierGap = Clamp32(int64_t(boxes[1].top) - boxes[0].bottom);
    }
    if (!boxes.empty()) p.lines = Clamp32(layout.GetLineCount() / int64_t(boxes.size()));
}

void FillNombresAndHeads(const CYbTxtLayout& layout, PageParams& p) {
    const auto& nombres = layout.GetBoxes(NombreLayout);
    if (nombres.size() == 2) {
        p.nombreRightX = nombres[0].left;
        p.nombreRightY = nombres[0].top;
        p.nombreLeftX = nombres[1].left;
        p.nombreLeftY = nombres[1].top;
    }
    const auto& heads = layout.GetBoxes(RunningHeadsLayout);
    if (heads.size() == 1) {
        p.runningHeadsX = heads[0].left < p.paperWidth / 2 ? heads[0].left : heads[0].right;
        p.runningHeadsY = heads[0].top;
    }
    p.nombrePlacement = layout.GetNumbreFormatType();
}

void AddTextBoxes(CYbTxtLayout& layout, const PageParams& p, PageKind kind) {
    int64_t w = p.paperWidth, h = p.paperHeight, half = w / 2;
    int64_t top = p.top, bottom = h - p.bottom, outer = p.foreEdge, gutter = p.gutter;
    int64_t lines = p.lines, chars = p.chars;
    if (kind == PageKind::Bunko) {
        layout.AddBox(TextLayout, Box(half + gutter, top, w - outer, bottom, lines, chars));
        layout.AddBox(TextLayout, Box(outer, top, half - gutter, bottom, lines, chars));
        return;
    }
    int64_t mid = (h - p.top - p.bottom) / 2 + p.top - p.tierGap / 2;
    int64_t lower = mid + p.tierGap;
    layout.AddBox(TextLayout, Box(half + gutter, top, w - outer, mid, lines, chars));
    layout.AddBox(TextLayout, Box(half + gutter, lower, w - outer, bottom, lines, chars));
    layout.AddBox(TextLayout, Box(outer, top, half - gutter, mid, lines, chars));
    layout.AddBox(TextLayout, Box(outer, lower, half - gutter, bottom, lines, chars));
}

void AddMarginBoxes(CYbTxtLayout& layout, const PageParams& p) {
    int64_t half = p.paperWidth / 2, lines = p.lines, chars = p.chars;
    int64_t ns = p.nombreSize;
    layout.AddBox(NombreLayout, Box(p.nombreRightX, p.nombreRightY, p.nombreRightX + 3 * ns,
                                    p.nombreRightY + ns, lines, chars));
    layout.AddBox(NombreLayout, Box(p.nombreLeftX, p.nombreLeftY, p.nombreLeftX + 3 * ns,
                                    p.nombreLeftY + ns, lines, chars));
    int64_t x = p.runningHeadsX, y = p.runningHeadsY, rs = p.runningHeadsSize;
    layout.AddBox(RunningHeadsLayout, x > half ? Box(half, y, x, y + rs, lines, chars)
                                               : Box(x, y, half, y + rs, lines, chars));
    int64_t noteTop = p.top, noteBottom = int64_t(p.paperHeight) - p.bottom;
    int64_t notePitch = std::max<int64_t>(int64_t(p.note.size) + p.note.spacing, 1);
    int64_t noteSize = std::max<int64_t>(p.note.size, 1);
    layout.AddBox(NoteLayout, Box(0, noteTop, p.foreEdge, noteBottom, p.foreEdge / notePitch,
                                  (noteBottom - noteTop) / noteSize));
}

}  // namespace

bool PageKindOfType(std::u16string_view type, PageKind& kind) {
    if (type.starts_with(CYbBunkoTxtLayout::kTypeName)) {
        kind = PageKind::Bunko;
        return true;
    }
    if (type.starts_with(CYbShinShoTate2TxtLayout::kTypeName)) {
        kind = PageKind::Shinsho;
        return true;
    }
    return false;
}

void FillPageParams(const CYbTxtLayout& layout, PageKind kind, PageParams& p) {
    auto [w, h] = layout.GetPaperSize();
    p.paperWidth = w;
    p.paperHeight = h;
    p.chars = layout.GetCharCount();
    p.text = layout.GetSize(TextSize);
    p.ruby = layout.GetSize(RubySize);
    p.note = layout.GetSize(NoteSize);
    p.nombreSize = layout.GetSize(NombreSize).size;
    p.runningHeadsSize = layout.GetSize(RunningHeadsSize).size;
    FillMargins(layout, kind, p);
    FillNombresAndHeads(layout, p);
}

std::vector<PageField> ValidatePageParams(const PageParams& p, PageKind kind) {
    std::vector<PageField> failed;
    auto check = [&](bool bad, PageField field) {
        if (bad && std::find(failed.begin(), failed.end(), field) == failed.end())
            failed.push_back(field);
    };
    bool shinsho = kind == PageKind::Shinsho;
    check(p.lines <= 0, PageField::Lines);
    check(p.chars <= 0, PageField::Chars);
    check(p.text.size <= 0, PageField::TextSize);
    check(p.paperWidth < p.gutter, PageField::Gutter);
    check(shinsho && p.paperWidth < p.tierGap, PageField::TierGap);
    check(p.paperWidth / 2 < p.foreEdge, PageField::ForeEdge);
    // Beyond the checks above, margins that leave a text box no room (or turn it inside
    // out) would make a page without columns.
    check(p.paperWidth <= 0, PageField::PaperWidth);
    check(p.paperHeight <= 0, PageField::PaperHeight);
    check(p.top < 0, PageField::Top);
    check(p.bottom < 0, PageField::Bottom);
    check(p.foreEdge < 0, PageField::ForeEdge);
    check(p.gutter < 0, PageField::Gutter);
    check(shinsho && p.tierGap < 0, PageField::TierGap);
    check(int64_t(p.foreEdge) + p.gutter >= p.paperWidth / 2, PageField::Gutter);
    check(int64_t(p.top) + p.bottom + (shinsho ? p.tierGap : 0) >= p.paperHeight,
          PageField::Bottom);
    return failed;
}

bool ApplyLayoutSettings(CYbTxtLayout& layout, const PageParams& p, PageKind kind,
                         const std::filesystem::path& dataFolder) {
    layout.ClearBoxes();
    int placement = p.nombrePlacement;
    layout.SetNumbreFormatType(placement >= 0 && placement <= 2 ? placement : 0);
    int64_t boxes = kind == PageKind::Bunko ? 2 : 4;
    layout.SetLineCount(Clamp32(boxes * p.lines));
    layout.SetCharCount(p.chars);
    layout.SetPaperSize(p.paperWidth, p.paperHeight);
    layout.SetSize(TextSize, p.text);
    layout.SetSize(RubySize, p.ruby);
    layout.SetSize(NoteSize, p.note);
    layout.SetSize(NombreSize, {p.nombreSize, 0});
    layout.SetSize(RunningHeadsSize, {p.runningHeadsSize, 0});
    AddTextBoxes(layout, p, kind);
    AddMarginBoxes(layout, p);
    std::u16string file = layout.GetFileName();
    if (file.empty()) {
        file = FormatMessage(
            kind == PageKind::Bunko ? u"%1!s!/Layout/Bunko.lay" : u"%1!s!/Layout/ShinshoTate2.lay",
            {FromFsPath(dataFolder)});
    }
    return layout.Save(file.c_str());
}

bool ApplyLayoutSettings(CYbTxtLayout& layout, const PageParams& params, PageKind kind) {
    return ApplyLayoutSettings(layout, params, kind, DataFolder());
}

}  // namespace Yomibon

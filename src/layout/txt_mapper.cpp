#include "layout/txt_mapper.h"

#include <cmath>

#include "layout/map_builder.h"
#include "layout/running_head.h"
#include "platform/char_type.h"

namespace Yomibon {

bool IsSelectableType(int type) {
    switch (type) {
        case TT_TEXT:
        case TT_PAREN_NOTE:
        case TT_SUPERSCRIPT:
        case TT_SUBSCRIPT:
        case TT_CHAR_NOTE:
        case TT_EXTERNAL_CHAR:
        case TT_REPEAT_MARK:
        case TT_VOICED_REPEAT_MARK:
        case TT_HORIZONTAL:
        case TT_AUTO_HORIZONTAL:
        case TT_DASH:
            return true;
        default:
            return false;
    }
}

std::u16string CYbTxtMapper::fitRunningHead(std::u16string_view text) const {
    std::u16string lines = RunningHeadLines(text);
    if (geometry_.runningHead.empty()) return lines;
    const LayoutBox& box = geometry_.runningHead[0];
    const SizePair hs = geometry_.headSize;
    auto width = [&hs](char32_t c) {
        return (IsHalfWidthClass(CharClass(c)) ? hs.size / 2 : hs.size) + hs.spacing;
    };
    // The last character needs no spacing after it.
    return FitRunningHead(lines, width, box.right - box.left + hs.spacing);
}

int CYbTxtMapper::Build(const std::vector<TextInfo>& decorations, const CYbTxtBuffer& buffer,
                        int firstColumn, const MapRect& target) {
    const int width = Arrange(decorations, buffer, firstColumn);
    if (width >= 1) Scale(target);
    return width;
}

int CYbTxtMapper::Arrange(const std::vector<TextInfo>& decorations, const CYbTxtBuffer& buffer,
                          int firstColumn) {
    chars_.clear();
    decos_.clear();
    selectable_.clear();
    firstColumn_ = firstColumn;
    if (geometry_.paperWidth < 1) return geometry_.paperWidth;
    MapDetail::MapBuilder builder(buffer, geometry_, options_, chars_, decos_);
    builder.build(decorations, firstColumn);
    // External characters are hit only at their cell, not at their note numbers.
    for (const auto& [key, entry] : chars_) {
        const auto& runs = buffer.lines()[key.iLine].runs;
        const int type = runs[key.iIndex].textType;
        if (entry.height <= 0 || !IsSelectableType(type)) continue;
        if (type == TT_EXTERNAL_CHAR && key.iPos > 0) continue;
        selectable_.push_back(key);
    }
    return geometry_.paperWidth;
}

int32_t ScaleToPixels(int32_t v, int32_t paperWidth, int32_t pixelWidth, double bias) {
    if (paperWidth < 1) return 0;
    const double w = paperWidth;
    return int32_t(std::floor((w + double(pixelWidth) * double(v) - 1.0) / w + bias));
}

namespace {

int32_t ScaleUnits(int32_t v, double w, double p, double bias) {
    return int32_t(std::floor((w + p * double(v) - 1.0) / w + bias));
}

void ScaleEntry(PageMapEntry& e, double w, double p, const MapRect& target) {
    const double inkBias = e.width < e.height ? 0.9 : 0.5;
    e.inkX = target.left + ScaleUnits(e.inkX, w, p, inkBias);
    e.inkY = target.top + ScaleUnits(e.inkY, w, p, inkBias);
    e.x = target.left + ScaleUnits(e.x, w, p, 0.5);
    e.y = target.top + ScaleUnits(e.y, w, p, 0.5);
    e.advance = ScaleUnits(e.advance, w, p, 0.5);
    e.size = ScaleUnits(e.size, w, p, 0.5);
}

}  // namespace

// The horizontal factor scales both axes, so the spread keeps its proportions.
void CYbTxtMapper::Scale(const MapRect& target) {
    if (geometry_.paperWidth < 1) return;
    const double w = geometry_.paperWidth;
    const double p = target.width();
    for (auto& [key, entry] : chars_)
        ScaleEntry(entry, w, p, target);
    for (auto& [key, entry] : decos_)
        ScaleEntry(entry, w, p, target);
}

}  // namespace Yomibon

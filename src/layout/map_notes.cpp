// Numbered notes: the number beside the character the note belongs to, and a note column
// with the number and the note text in the note area.
#include <algorithm>

#include "layout/map_builder.h"
#include "platform/format.h"

namespace Yomibon::MapDetail {

namespace {

// The last placed character before a run in its line (a note without a usable range).
const PageMapEntry* PrecedingChar(const PageMap& chars, const CYbTxtBuffer& buffer, int line,
                                  int run) {
    const auto& runs = buffer.lines()[line].runs;
    for (int r = run - 1; r >= 0; --r) {
        if (!IsBaseCharType(runs[r].textType)) continue;
        auto it = chars.lower_bound({line, r + 1, 0});
        if (it == chars.begin()) return nullptr;
        --it;
        if (it->first.iLine == line && it->first.iIndex == r && it->second.height > 0)
            return &it->second;
    }
    return nullptr;
}

}  // namespace

void MapBuilder::placeNote(int line, int run) {
    const TextInfo& info = buffer_.lines()[line].runs[run];
    const bool external = info.textType == TT_EXTERNAL_CHAR;
    const PageMapEntry* anchor = nullptr;
    if (external) {
        auto it = chars_.find({line, run, 0});
        if (it != chars_.end()) anchor = &it->second;
    } else {
        const std::vector<TargetChar> target = TargetChars(buffer_, line, run);
        for (auto t = target.rbegin(); t != target.rend() && !anchor; ++t) {
            auto it = chars_.find(t->at);
            if (it != chars_.end() && it->second.height > 0) anchor = &it->second;
        }
        if (target.empty()) anchor = PrecedingChar(chars_, buffer_, line, run);
    }
    if (!anchor) return;
    const PageMapEntry at = *anchor;
    ++notes_;
    const std::u16string mark = FormatMessage(options_.noteFormat, {int64_t(notes_)});
    const auto markChars = RunChars(mark);
    const int32_t g = geo_.rubySize.size;
    // Beside the character in the ruby lane; for an external character inside its cell,
    // whose entry 0 is the cell itself.
    int32_t x = external ? at.x : at.x + at.size + geo_.rubySize.spacing;
    int32_t y = at.y;
    for (size_t k = 0; k < markChars.size(); ++k) {
        const int32_t h = IsHalfWidthChar(info, markChars[k].c) ? g / 2 : g;
        if (!(external && k == 0))
            chars_[{line, run, int(k)}] = {at.iColumn, x, y, h, g, h, g, x, y};
        y += (external && k == 0) ? g : h;
    }
    placeNoteColumn({line, run, 0}, int(markChars.size()), mark, info.str);
}

// Note columns run from the first note box's right edge leftwards, one per note; a note
// that finds no room in the box is left out of it rather than drawn over the text.
void MapBuilder::placeNoteColumn(const TextPoint& key, int first, const std::u16string& mark,
                                 const std::u16string& text) {
    if (geo_.note.empty()) return;
    const LayoutBox& box = geo_.note[0];
    const SizePair ns = geo_.noteSize;
    const int32_t x = box.right - ns.size - (notes_ - 1) * (ns.size + ns.spacing);
    if (x < box.left || ns.size <= 0) return;
    const int column = chars_.count(key) ? chars_.at(key).iColumn : c0_;
    int32_t y = box.top;
    int k = first;
    TextInfo plain;
    for (const std::u16string* s : {&mark, &text}) {
        for (const RunChar& rc : RunChars(*s)) {
            const int32_t h = IsHalfWidthChar(plain, rc.c) ? ns.size / 2 : ns.size;
            if (y + h > box.bottom) return;
            chars_[{key.iLine, key.iIndex, k++}] = {column, x, y, h, ns.size, h, ns.size, x, y};
            y += h;
        }
    }
}

}  // namespace Yomibon::MapDetail

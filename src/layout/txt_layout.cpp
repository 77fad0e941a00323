#include "layout/txt_layout.h"

#include <algorithm>

namespace Yomibon {

CYbTxtLayout::CYbTxtLayout() {
    nombreFormat_[0] = nombreFormat_[1] = u"%1!d!";
}

CYbTxtLayout::~CYbTxtLayout() = default;

bool CYbTxtLayout::Reload() {
    if (fileName_.empty()) {
        SetDefault();
        return true;
    }
    std::u16string file = fileName_;
    return Open(file.c_str());
}

std::u16string CYbTxtLayout::GetFileName() const {
    return fileName_;
}

int CYbTxtLayout::GetLineCount() const {
    return pageCharCount_[0];
}

int CYbTxtLayout::GetCharCount() const {
    return pageCharCount_[1];
}

std::pair<int32_t, int32_t> CYbTxtLayout::GetPaperSize() const {
    return {paperSize_[0], paperSize_[1]};
}

void CYbTxtLayout::ClearBoxes() {
    for (auto& list : boxes_)
        list.clear();
}

void CYbTxtLayout::CopyFrom(const CYbTxtLayout& other) {
    if (&other == this) return;
    std::copy(std::begin(other.boxes_), std::end(other.boxes_), std::begin(boxes_));
    std::copy(std::begin(other.sizes_), std::end(other.sizes_), std::begin(sizes_));
    numbreFormatType_ = other.numbreFormatType_;
    std::copy(std::begin(other.paperSize_), std::end(other.paperSize_), std::begin(paperSize_));
    std::copy(std::begin(other.pageCharCount_), std::end(other.pageCharCount_),
              std::begin(pageCharCount_));
}

void CYbTxtLayout::SetLineCount(int count) {
    pageCharCount_[0] = count;
}

void CYbTxtLayout::SetCharCount(int count) {
    pageCharCount_[1] = count;
}

void CYbTxtLayout::SetPaperSize(int32_t width, int32_t height) {
    paperSize_[0] = width;
    paperSize_[1] = height;
}

void CYbTxtLayout::Dump(std::ostream&) const {}

void CYbTxtLayout::SetSize(SizeKind kind, const SizePair& pair) {
    if (kind >= 0 && kind < kSizeKindCount) sizes_[kind] = pair;
}

SizePair CYbTxtLayout::GetSize(SizeKind kind) const {
    return kind >= 0 && kind < kSizeKindCount ? sizes_[kind] : SizePair{};
}

const CYbTxtLayout::BoxList& CYbTxtLayout::GetBoxes(BoxKind kind) const {
    static const BoxList none;
    return kind >= 0 && kind < kBoxKindCount ? boxes_[kind] : none;
}

CYbTxtLayout::BoxList& CYbTxtLayout::GetBoxes(BoxKind kind) {
    // An out-of-range kind gets a scratch list rather than memory past the array.
    static thread_local BoxList scratch;
    if (kind >= 0 && kind < kBoxKindCount) return boxes_[kind];
    scratch.clear();
    return scratch;
}

void CYbTxtLayout::AddBox(BoxKind kind, const LayoutBox& box) {
    if (kind >= 0 && kind < kBoxKindCount) boxes_[kind].push_back(box);
}

int CYbTxtLayout::GetBoxesPerPage() const {
    return std::max<int>(1, int(boxes_[TextLayout].size() / 2));
}

void CYbTxtLayout::SetBuiltInBase(int32_t paperWidth, int32_t paperHeight, int lines, int chars) {
    ClearBoxes();
    SetPaperSize(paperWidth, paperHeight);
    pageCharCount_[0] = lines;
    pageCharCount_[1] = chars;
    sizes_[TextSize] = {310, 20};
    sizes_[RubySize] = {160, 20};
    sizes_[NombreSize] = {300, 0};
    sizes_[NoteSize] = {200, 20};
    sizes_[RunningHeadsSize] = {300, 0};
    numbreFormatType_ = 0;
    nombreFormat_[0] = nombreFormat_[1] = u"%1!d!";
}

void CYbTxtLayout::SetBunkoDefault() {
    SetBuiltInBase(21000, 14800, 34, 40);
    AddBox(TextLayout, {11500, 1000, 20000, 13800, 17, 40});
    AddBox(TextLayout, {1000, 1000, 9500, 13800, 17, 40});
    AddBox(NombreLayout, {1000, 300, 1900, 600, 17, 40});
    AddBox(NombreLayout, {19242, 300, 20142, 600, 17, 40});
    AddBox(RunningHeadsLayout, {2500, 300, 10500, 600, 17, 40});
    AddBox(NoteLayout, {0, 1000, 1000, 13800, 4, 64});
    fileName_.clear();
    layoutName_.clear();
}

}  // namespace Yomibon

// The window-free half of the bunko and shinsho layout dialogs: the few page parameters
// they edit, filled from a layout, checked, and turned back into all the layout's boxes.
// A dialog only binds its fields to these.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "layout/txt_layout.h"

namespace Yomibon {

enum class PageKind { Bunko, Shinsho };

// The dialogs' fields, for marking those that fail validation.
enum class PageField {
    PaperWidth,
    PaperHeight,
    Lines,
    Chars,
    TextSize,
    TextSpacing,
    RubySize,
    RubySpacing,
    NoteSize,
    NoteSpacing,
    Top,       // 天
    Bottom,    // 地
    ForeEdge,  // 小口
    Gutter,    // のど
    TierGap,   // 段間 (shinsho)
    NombreSize,
    NombreRightX,
    NombreRightY,
    NombreLeftX,
    NombreLeftY,
    NombrePlacement,
    RunningHeadsSize,
    RunningHeadsX,
    RunningHeadsY,
};

// Lengths in 1/100 mm.
struct PageParams {
    int32_t paperWidth = 0;
    int32_t paperHeight = 0;
    int32_t lines = 0;  // 行数: per page (bunko), per tier (shinsho)
    int32_t chars = 0;  // 字詰
    SizePair text;
    SizePair ruby;
    SizePair note;
    int32_t top = 0;       // 天
    int32_t bottom = 0;    // 地
    int32_t foreEdge = 0;  // 小口
    int32_t gutter = 0;    // のど
    int32_t tierGap = 0;   // 段間
    int32_t nombreSize = 0;
    int32_t nombreRightX = 0;
    int32_t nombreRightY = 0;
    int32_t nombreLeftX = 0;
    int32_t nombreLeftY = 0;
    int32_t nombrePlacement = 0;  // 0 外, 1 中央, 2 内
    int32_t runningHeadsSize = 0;
    int32_t runningHeadsX = 0;
    int32_t runningHeadsY = 0;
    bool operator==(const PageParams&) const = default;
};

// The kind of dialog a layout type opens, false for a type that opens none.
bool PageKindOfType(std::u16string_view type, PageKind& kind);

// Fills the fields from a layout; a field the layout cannot give (the margins without the
// expected number of text boxes, say) keeps its value.
void FillPageParams(const CYbTxtLayout& layout, PageKind kind, PageParams& params);

// The failing fields, in the order in which they are checked; the first gets the focus.
std::vector<PageField> ValidatePageParams(const PageParams& params, PageKind kind);

// Rebuilds every box of the layout from the fields and saves it to its file (a layout
// without a file to "<data folder>/Layout/Bunko.lay" or ".../ShinshoTate2.lay"). True when
// the file was written; the layout is rebuilt either way.
bool ApplyLayoutSettings(CYbTxtLayout& layout, const PageParams& params, PageKind kind,
                         const std::filesystem::path& dataFolder);
bool ApplyLayoutSettings(CYbTxtLayout& layout, const PageParams& params, PageKind kind);

// The message shown when validation fails.
inline constexpr std::u16string_view kPageParamsInvalidMessage =
    u"入力項目を正しく入力してください。";

}  // namespace Yomibon

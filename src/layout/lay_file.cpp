// Reading and writing .lay files: CSV rows of a key and its values.
#include <algorithm>
#include <string_view>

#include "layout/txt_layout.h"
#include "platform/limits.h"
#include "platform/paths.h"
#include "settings/current_directory.h"
#include "settings/data_folder.h"
#include "settings/number_text.h"

namespace Yomibon {
namespace {

constexpr const char16_t* kDefaultLayoutFile = u"Layout/Layout.lay";

enum class RowKind { Pair, Box, Text, Integer };

struct RowKey {
    std::u16string_view key;
    RowKind kind;
    int slot;  // SizeKind, BoxKind, or the text or integer it sets
};

enum TextSlot { kLayoutType, kLayoutName, kNombre1Format, kNombre2Format };
enum PairSlot { kPaperSize = -1, kPageCharCount = -2 };

// Matched by prefix in this order, so that "TextSizeX" reads as TextSize.
constexpr RowKey kRowKeys[] = {
    {u"PaperSize", RowKind::Pair, kPaperSize},
    {u"PageCharCount", RowKind::Pair, kPageCharCount},
    {u"TextSize", RowKind::Pair, TextSize},
    {u"RubySize", RowKind::Pair, RubySize},
    {u"NombreSize", RowKind::Pair, NombreSize},
    {u"NoteSize", RowKind::Pair, NoteSize},
    {u"RunningHeadsSize", RowKind::Pair, RunningHeadsSize},
    {u"TextLayout", RowKind::Box, TextLayout},
    {u"NombreLayout", RowKind::Box, NombreLayout},
    {u"RunningHeadsLayout", RowKind::Box, RunningHeadsLayout},
    {u"NoteLayout", RowKind::Box, NoteLayout},
    {u"LayoutType", RowKind::Text, kLayoutType},
    {u"LayoutName", RowKind::Text, kLayoutName},
    {u"Nombre1Format", RowKind::Text, kNombre1Format},
    {u"Nombre2Format", RowKind::Text, kNombre2Format},
    {u"NumbreFormatType", RowKind::Integer, 0},
};

constexpr std::u16string_view kBoxKeys[] = {u"TextLayout", u"NoteLayout", u"NombreLayout",
                                            u"RunningHeadsLayout"};

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Counts in a file are cut to what a page can hold; a negative count means nothing.
int32_t Count(std::u16string_view field) {
    return std::clamp(DecimalOrZero(field), 0, Limits::kMaxLayoutCount);
}

// Coordinates and sizes from a file, clamped so that the mapper's sums and products of them
// stay far inside 32 bits whatever the file says.
int32_t Coordinate(std::u16string_view field) {
    return std::clamp(DecimalOrZero(field), -Limits::kMaxLayoutCoordinate,
                      Limits::kMaxLayoutCoordinate);
}
int32_t Length(std::u16string_view field) {
    return std::clamp(DecimalOrZero(field), 0, Limits::kMaxLayoutCoordinate);
}

CYbCSVText::Row NumberRow(std::u16string_view key, std::initializer_list<int64_t> values) {
    CYbCSVText::Row row{std::u16string(key)};
    for (int64_t v : values)
        row.push_back(FormatDecimal(v));
    return row;
}

}  // namespace

bool CYbTxtLayout::IsLayoutRows(const CYbCSVText& rows) const {
    for (const auto& row : rows.GetRows()) {
        if (row.size() == 2 && StartsWith(row[0], u"LayoutType"))
            return StartsWith(row[1], GetTypeName());
    }
    return false;
}

bool CYbTxtLayout::IsLayoutFile(const char16_t* path) const {
    CYbCurrentDirectory current(DataFolder());
    CYbCSVText rows;
    return rows.Read(ToFsPath(path ? path : kDefaultLayoutFile)) && IsLayoutRows(rows);
}

bool CYbTxtLayout::Open(const char16_t* path) {
    std::u16string file = path ? path : kDefaultLayoutFile;
    CYbCurrentDirectory current(DataFolder());
    CYbCSVText rows;
    if (!rows.Read(ToFsPath(file)) || !IsLayoutRows(rows)) return false;
    fileName_ = file;
    ClearBoxes();
    layoutType_ = GetTypeName();
    nombreFormat_[0] = nombreFormat_[1] = u"%1!d!";
    for (const auto& row : rows.GetRows())
        if (row.size() > 1) ReadRow(row);
    int64_t columns = 0;
    for (const auto& box : boxes_[TextLayout])
        columns += box.lines;
    if (columns > 0) {
        pageCharCount_[0] = int(std::min<int64_t>(columns, Limits::kMaxLayoutCount * 4LL));
        return true;
    }
    SetDefault();
    return false;
}

void CYbTxtLayout::ReadRow(const CYbCSVText::Row& row) {
    if (row.size() < 2) return;
    for (const RowKey& key : kRowKeys) {
        if (!StartsWith(row[0], key.key)) continue;
        switch (key.kind) {
            case RowKind::Pair: {
                if (row.size() < 3) return;
                if (key.slot == kPaperSize)
                    SetPaperSize(Length(row[1]), Length(row[2]));
                else if (key.slot == kPageCharCount)
                    pageCharCount_[0] = Count(row[1]), pageCharCount_[1] = Count(row[2]);
                else
                    sizes_[key.slot] = {Length(row[1]), Coordinate(row[2])};
                return;
            }
            case RowKind::Box: {
                if (row.size() < 7 || boxes_[key.slot].size() >= Limits::kMaxLayoutBoxes) return;
                boxes_[key.slot].push_back({Coordinate(row[1]), Coordinate(row[2]),
                                            Coordinate(row[3]), Coordinate(row[4]), Count(row[5]),
                                            Count(row[6])});
                return;
            }
            case RowKind::Text:
                if (key.slot == kLayoutType)
                    layoutType_ = row[1];
                else if (key.slot == kLayoutName)
                    layoutName_ = row[1];
                else
                    nombreFormat_[key.slot == kNombre1Format ? 0 : 1] = row[1];
                return;
            case RowKind::Integer:
                numbreFormatType_ = DecimalOrZero(row[1]);
                return;
        }
    }
}

void CYbTxtLayout::WriteRows(CYbCSVText& csv) const {
    csv.AppendRow({u"LayoutType", GetTypeName()});
    csv.AppendRow({u"LayoutName", layoutName_});
    csv.AppendRow(NumberRow(u"PaperSize", {paperSize_[0], paperSize_[1]}));
    csv.AppendRow(NumberRow(u"PageCharCount", {pageCharCount_[0], pageCharCount_[1]}));
    constexpr std::u16string_view sizeKeys[] = {u"TextSize", u"RubySize", u"NombreSize",
                                                u"NoteSize", u"RunningHeadsSize"};
    for (int k = 0; k < kSizeKindCount; ++k)
        csv.AppendRow(NumberRow(sizeKeys[k], {sizes_[k].size, sizes_[k].spacing}));
    csv.AppendRow({u"Nombre1Format", nombreFormat_[0]});
    csv.AppendRow({u"Nombre2Format", nombreFormat_[1]});
    csv.AppendRow(NumberRow(u"NumbreFormatType", {numbreFormatType_}));
    for (BoxKind kind : {TextLayout, NombreLayout, RunningHeadsLayout, NoteLayout}) {
        for (const LayoutBox& b : boxes_[kind])
            csv.AppendRow(
                NumberRow(kBoxKeys[kind], {b.left, b.top, b.right, b.bottom, b.lines, b.chars}));
    }
}

bool CYbTxtLayout::Save(const char16_t* path) {
    std::u16string file = path ? path : fileName_;
    if (file.empty()) return false;
    CYbCSVText csv;
    WriteRows(csv);
    // Relative names are data-folder names, as when the file is opened.
    CYbCurrentDirectory current(DataFolder());
    return csv.Write(ToFsPath(file));
}

}  // namespace Yomibon

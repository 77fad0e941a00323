#include "text/text_types.h"

#include <array>

namespace Yomibon {
namespace {

constexpr std::array<std::string_view, TT_MAX> kIdentifiers = {
    "TT_TEXT",
    "TT_RUBY",
    "TT_WHITE_SESAME_DOT",
    "TT_BLACK_CIRCLE",
    "TT_WHITE_CIRCLE",
    "TT_BLACK_TRIANGLE",
    "TT_WHITE_TRIANGLE",
    "TT_BULLSEYE",
    "TT_FISHEYE",
    "TT_SESAME_DOT",
    "TT_SIDE_LINE",
    "TT_WAVE_LINE",
    "TT_STRIKE_LINE",
    "TT_UNDER_LINE",
    "TT_DASHED_LINE",
    "TT_DOTTED_LINE",
    "TT_DOUBLE_LINE",
    "TT_LEFT_WHITE_SESAME_DOT",
    "TT_LEFT_BLACK_CIRCLE",
    "TT_LEFT_WHITE_CIRCLE",
    "TT_LEFT_BLACK_TRIANGLE",
    "TT_LEFT_WHITE_TRIANGLE",
    "TT_LEFT_BULLSEYE",
    "TT_LEFT_FISHEYE",
    "TT_LEFT_SESAME_DOT",
    "TT_LEFT_SIDE_LINE",
    "TT_LEFT_WAVE_LINE",
    "TT_LEFT_DASHED_LINE",
    "TT_LEFT_DOTTED_LINE",
    "TT_LEFT_DOUBLE_LINE",
    "TT_RANGE_END",
    "TT_NOTE",
    "TT_PAREN_NOTE",
    "TT_LINE_RIGHT_SMALL",
    "TT_LINE_LEFT_SMALL",
    "TT_SUPERSCRIPT",
    "TT_SUBSCRIPT",
    "TT_SOURCE_NOTE",
    "TT_SIC",
    "TT_ILLEGIBLE",
    "TT_LINE_INDENT",
    "TT_LINE_INDENT_HANG",
    "TT_INDENT_START",
    "TT_INDENT_HANG_START",
    "TT_INDENT_END",
    "TT_LINE_BOTTOM",
    "TT_BOTTOM_START",
    "TT_BOTTOM_END",
    "TT_LIMIT_START",
    "TT_LIMIT_END",
    "TT_PICTURE",
    "TT_PICTURE_PAGE",
    "TT_PICTURE_SPREAD",
    "TT_BOX_START",
    "TT_BOX_END",
    "TT_BOX",
    "TT_ACCENT",
    "TT_QUOTE_NOTE",
    "TT_CHAR_NOTE",
    "TT_EXTERNAL_CHAR",
    "TT_SOUND_MARK",
    "TT_REPEAT_MARK",
    "TT_VOICED_REPEAT_MARK",
    "TT_RUBY_BASE_START",
    "TT_HORIZONTAL",
    "TT_AUTO_HORIZONTAL",
    "TT_COMMENT_BEGIN",
    "TT_COMMENT",
    "TT_COMMENT_END",
    "TT_BOLD",
    "TT_BOLD_START",
    "TT_BOLD_END",
    "TT_NEXT_LINE",
    "TT_NEXT_COLUMN",
    "TT_NEXT_PAGE",
    "TT_NEXT_LEAF",
    "TT_DASH",
    "TT_NEXT_SPREAD",
    "TT_LEFT_RUBY",
    "TT_HEADING_LARGE",
    "TT_HEADING_MEDIUM",
    "TT_HEADING_SMALL",
    "TT_82",
    "TT_HANGING",
    "TT_NOMBRE_ODD",
    "TT_NOMBRE_EVEN",
    "TT_RUNNING_HEAD",
    "TT_END_OF_BODY",
    "TT_LINK",
    "TT_LARGER_TEXT",
    "TT_SMALLER_TEXT",
    "TT_CAPTION",
};

struct NameRow {
    int type;
    std::u16string_view name;
};

constexpr NameRow kNames[] = {
    {2, u"白ゴマ傍点"},    {3, u"丸傍点"},          {4, u"白丸傍点"},      {5, u"黒三角傍点"},
    {6, u"白三角傍点"},    {7, u"二重丸傍点"},      {8, u"蛇の目傍点"},    {9, u"傍点"},
    {10, u"傍線"},         {11, u"波線"},           {12, u"取消線"},       {13, u"左傍線"},
    {14, u"破線"},         {15, u"点線"},           {16, u"二重傍線"},     {17, u"左白ゴマ傍点"},
    {18, u"左丸傍点"},     {19, u"左白丸傍点"},     {20, u"左黒三角傍点"}, {21, u"左白三角傍点"},
    {22, u"左二重丸傍点"}, {23, u"左蛇の目傍点"},   {24, u"左傍点"},       {25, u"左傍線"},
    {26, u"左波線"},       {27, u"左破線"},         {28, u"左点線"},       {29, u"左二重傍線"},
    {31, u"」に「"},       {37, u"」は底本では「"}, {38, u"ママ"},         {39, u"※"},
    {42, u"折り返して"},   {55, u"罫囲み"},         {59, u"、"},           {76, u"―"},
};

}  // namespace

std::u16string_view TypeName(int textType) {
    for (const auto& row : kNames)
        if (row.type == textType) return row.name;
    return u"";
}

std::string_view TypeIdentifier(int textType) {
    if (textType < 0 || textType >= TT_MAX) return "TT_MAX";
    return kIdentifiers[size_t(textType)];
}

}  // namespace Yomibon

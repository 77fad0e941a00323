#include "text/html_tables.h"

#include <algorithm>
#include <iterator>

#include "text/text_types.h"

namespace Yomibon {
namespace {

struct ElementRow {
    std::string_view tag;
    int code;
};

// Sorted by tag name: looked up by binary search.
constexpr ElementRow kElements[] = {
    {"#text", HE_TEXT}, {"A", HE_A},       {"BR", HE_BR},       {"DEL", HE_DEL},
    {"DIV", HE_DIV},    {"EM", HE_EM},     {"FORM", HE_FORM},   {"H1", 6},
    {"H2", 7},          {"H3", 8},         {"H4", 9},           {"H5", 10},
    {"H6", 11},         {"H7", 12},        {"H8", 13},          {"H9", 14},
    {"IMG", HE_IMG},    {"P", HE_P},       {"RB", HE_RB},       {"RP", HE_RP},
    {"RT", HE_RT},      {"RUBY", HE_RUBY}, {"S", HE_DEL},       {"SPAN", HE_SPAN},
    {"STRIKE", HE_DEL}, {"STRONG", HE_STRONG}, {"SUB", HE_SUB}, {"SUP", HE_SUP},
};

struct EmphasisRow {
    std::string_view cls;
    int type;
};

constexpr EmphasisRow kEmphasis[] = {
    {"sesame_dot", TT_SESAME_DOT},
    {"white_sesame_dot", TT_WHITE_SESAME_DOT},
    {"black_circle", TT_BLACK_CIRCLE},
    {"white_circle", TT_WHITE_CIRCLE},
    {"black_up-pointing_triangle", TT_BLACK_TRIANGLE},
    {"white_up-pointing_triangle", TT_WHITE_TRIANGLE},
    {"bullseye", TT_BULLSEYE},
    {"fisheye", TT_FISHEYE},
    {"underline_solid", TT_SIDE_LINE},
    {"underline_wave", TT_WAVE_LINE},
    {"overline_solid", TT_UNDER_LINE},
    {"underline_dashed", TT_DASHED_LINE},
    {"underline_dotted", TT_DOTTED_LINE},
    {"underline_double", TT_DOUBLE_LINE},
    // The library's marks on the left-hand side of a vertical line.
    {"sesame_dot_after", TT_LEFT_SESAME_DOT},
    {"white_sesame_dot_after", TT_LEFT_WHITE_SESAME_DOT},
    {"black_circle_after", TT_LEFT_BLACK_CIRCLE},
    {"white_circle_after", TT_LEFT_WHITE_CIRCLE},
    {"black_up-pointing_triangle_after", TT_LEFT_BLACK_TRIANGLE},
    {"white_up-pointing_triangle_after", TT_LEFT_WHITE_TRIANGLE},
    {"bullseye_after", TT_LEFT_BULLSEYE},
    {"fisheye_after", TT_LEFT_FISHEYE},
    {"overline_wave", TT_LEFT_WAVE_LINE},
    {"overline_dashed", TT_LEFT_DASHED_LINE},
    {"overline_dotted", TT_LEFT_DOTTED_LINE},
    {"overline_double", TT_LEFT_DOUBLE_LINE},
    // The 2003 generation's upper-case classes.
    {"SESAME_DOT", TT_SESAME_DOT},
    {"WHITE_SESAME_DOT", TT_WHITE_SESAME_DOT},
    {"BLACK_CIRCLE", TT_BLACK_CIRCLE},
    {"WHITE_CIRCLE", TT_WHITE_CIRCLE},
    {"BLACK_UP-POINTING_TRIANGLE", TT_BLACK_TRIANGLE},
    {"WHITE_UP-POINTING_TRIANGLE", TT_WHITE_TRIANGLE},
    {"BULLSEYE", TT_BULLSEYE},
    {"FISHEYE", TT_FISHEYE},
};

}  // namespace

int HtmlElementCodeOf(std::string_view upperTag) {
    auto it = std::lower_bound(std::begin(kElements), std::end(kElements), upperTag,
                               [](const ElementRow& row, std::string_view t) { return row.tag < t; });
    return it != std::end(kElements) && it->tag == upperTag ? it->code : HE_OTHER;
}

int EmphasisTypeOf(std::string_view classes) {
    size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && classes[i] == ' ') ++i;
        size_t end = classes.find(' ', i);
        if (end == std::string_view::npos) end = classes.size();
        std::string_view cls = classes.substr(i, end - i);
        for (const EmphasisRow& row : kEmphasis)
            if (row.cls == cls) return row.type;
        i = end;
    }
    return TT_MAX;
}

}  // namespace Yomibon

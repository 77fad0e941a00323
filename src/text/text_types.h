// Text type codes of the runs in the text buffer, and their display names.
#pragma once

#include <string_view>

namespace Yomibon {

enum TextType : int {
    TT_TEXT = 0,
    TT_RUBY = 1,
    TT_WHITE_SESAME_DOT = 2,
    TT_BLACK_CIRCLE = 3,
    TT_WHITE_CIRCLE = 4,
    TT_BLACK_TRIANGLE = 5,
    TT_WHITE_TRIANGLE = 6,
    TT_BULLSEYE = 7,
    TT_FISHEYE = 8,
    TT_SESAME_DOT = 9,
    TT_SIDE_LINE = 10,
    TT_WAVE_LINE = 11,
    TT_STRIKE_LINE = 12,
    TT_UNDER_LINE = 13,
    TT_DASHED_LINE = 14,
    TT_DOTTED_LINE = 15,
    TT_DOUBLE_LINE = 16,
    TT_LEFT_WHITE_SESAME_DOT = 17,
    TT_LEFT_BLACK_CIRCLE = 18,
    TT_LEFT_WHITE_CIRCLE = 19,
    TT_LEFT_BLACK_TRIANGLE = 20,
    TT_LEFT_WHITE_TRIANGLE = 21,
    TT_LEFT_BULLSEYE = 22,
    TT_LEFT_FISHEYE = 23,
    TT_LEFT_SESAME_DOT = 24,
    TT_LEFT_SIDE_LINE = 25,
    TT_LEFT_WAVE_LINE = 26,
    TT_LEFT_DASHED_LINE = 27,
    TT_LEFT_DOTTED_LINE = 28,
    TT_LEFT_DOUBLE_LINE = 29,
    TT_RANGE_END = 30,
    TT_NOTE = 31,
    TT_PAREN_NOTE = 32,
    TT_LINE_RIGHT_SMALL = 33,
    TT_LINE_LEFT_SMALL = 34,
    TT_SUPERSCRIPT = 35,
    TT_SUBSCRIPT = 36,
    TT_SOURCE_NOTE = 37,
    TT_SIC = 38,
    TT_ILLEGIBLE = 39,
    TT_LINE_INDENT = 40,
    TT_LINE_INDENT_HANG = 41,
    TT_INDENT_START = 42,
    TT_INDENT_HANG_START = 43,
    TT_INDENT_END = 44,
    TT_LINE_BOTTOM = 45,
    TT_BOTTOM_START = 46,
    TT_BOTTOM_END = 47,
    TT_LIMIT_START = 48,
    TT_LIMIT_END = 49,
    TT_PICTURE = 50,
    TT_PICTURE_PAGE = 51,
    TT_PICTURE_SPREAD = 52,
    TT_BOX_START = 53,
    TT_BOX_END = 54,
    TT_BOX = 55,
    TT_ACCENT = 56,
    TT_QUOTE_NOTE = 57,
    TT_CHAR_NOTE = 58,
    TT_EXTERNAL_CHAR = 59,
    TT_SOUND_MARK = 60,
    TT_REPEAT_MARK = 61,
    TT_VOICED_REPEAT_MARK = 62,
    TT_RUBY_BASE_START = 63,
    TT_HORIZONTAL = 64,
    TT_AUTO_HORIZONTAL = 65,
    TT_COMMENT_BEGIN = 66,
    TT_COMMENT = 67,
    TT_COMMENT_END = 68,
    TT_BOLD = 69,
    TT_BOLD_START = 70,
    TT_BOLD_END = 71,
    TT_NEXT_LINE = 72,
    TT_NEXT_COLUMN = 73,
    TT_NEXT_PAGE = 74,
    TT_NEXT_LEAF = 75,
    TT_DASH = 76,
    TT_NEXT_SPREAD = 77,  // break to the right page of the next spread
    TT_LEFT_RUBY = 78,    // ruby on the left of the column; as TT_RUBY
    TT_HEADING_LARGE = 79,
    TT_HEADING_MEDIUM = 80,
    TT_HEADING_SMALL = 81,
    TT_RESERVED_82 = 82,
    TT_HANGING = 83,
    TT_NOMBRE_ODD = 84,
    TT_NOMBRE_EVEN = 85,
    TT_RUNNING_HEAD = 86,
    TT_END_OF_BODY = 87,
    TT_LINK = 88,
    TT_LARGER_TEXT = 89,   // N steps larger (steps in chrType)
    TT_SMALLER_TEXT = 90,  // N steps smaller (steps in chrType)
    TT_CAPTION = 91,       // a picture's caption line; read by the parser, never stored
    TT_MAX = 92,
};

// The display name a parser puts into the run text ("傍点" for 9); "" for types without one.
std::u16string_view TypeName(int textType);

// The identifier of a type code ("TT_RUBY"); "TT_MAX" for codes out of range, "TT_77" for
// the codes without a name.
std::string_view TypeIdentifier(int textType);

}  // namespace Yomibon

// The tables of the HTML parser: element codes by tag name, run types by emphasis class.
#pragma once

#include <string_view>

namespace Yomibon {

enum HtmlElementCode : int {
    HE_OTHER = 0,
    HE_A = 1,
    HE_DEL = 2,
    HE_DIV = 3,
    HE_EM = 4,
    HE_FORM = 5,
    HE_H1 = 6,
    HE_H2 = 7,
    HE_H3 = 8,
    HE_H4 = 9,
    HE_H9 = 14,
    HE_IMG = 15,
    HE_P = 16,
    HE_RUBY = 17,
    HE_RB = 18,
    HE_RP = 19,
    HE_RT = 20,
    HE_SPAN = 21,
    HE_SUB = 22,
    HE_SUP = 23,
    HE_BR = 24,
    HE_TEXT = 25,
    // The library's older files mark emphasis with <strong class="SESAME_DOT">.
    HE_STRONG = 26,
};

// The code of an upper-case tag name ("#text" for text nodes); HE_OTHER for the rest.
int HtmlElementCodeOf(std::string_view upperTag);

// The run type of an emphasis class ("sesame_dot" -> 9); 89 (no run) for unknown classes.
// Of an element's space-separated classes the first known one counts.
int EmphasisTypeOf(std::string_view classes);

}  // namespace Yomibon

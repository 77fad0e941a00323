// The text of a running head: one line of the title or heading, fitted to its box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace Yomibon {

// The lines of a title (separated by CR, LF or CR LF) joined by a full-width space; a line
// that repeats an earlier one is left out, one that begins with an earlier one keeps only
// the rest, an empty one is left out.
std::u16string RunningHeadLines(std::u16string_view text);

// The head as it fits into `room` when each character takes `width(c)`: the whole text
// when it fits; otherwise the longest beginning that ends at a word or phrase boundary
// (before a space, after a comma, middle dot or closing bracket, else where the kind of
// script changes, else anywhere) followed by "…".
std::u16string FitRunningHead(std::u16string_view text,
                              const std::function<int32_t(char32_t)>& width, int32_t room);

}  // namespace Yomibon

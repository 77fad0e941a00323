// Message inserts: "%1!s!" .. "%9!d!" by index, and plain "%s"/"%d" in order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace Yomibon {

using FormatArg = std::variant<std::u16string, int64_t>;

// Replaces "%N!s!" and "%N!d!" (N = 1..9) with argument N (1-based), "%s"/"%d" with the
// next argument in order, and "%%" with "%". An insert without an argument, or whose
// argument has the other kind, is left empty rather than read past the list.
std::u16string FormatMessage(std::u16string_view pattern, const std::vector<FormatArg>& args);

}  // namespace Yomibon

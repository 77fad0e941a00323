// Numbers written in settings-side texts (CSV fields, INI values).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Yomibon {

// Reads a decimal integer as the C runtime's atoi does: leading blanks, an optional sign,
// then digits up to the first other character (full-width digits and signs count too).
// False, with out = 0, when no digit follows; values past the 32-bit range saturate.
bool ReadDecimal(std::u16string_view text, int32_t& out);

// The decimal integer at the start of a text, 0 when it is not a number.
int32_t DecimalOrZero(std::u16string_view text);

// Reads hexadecimal digits up to the first other character (no prefix); 0 when none.
uint32_t HexOrZero(std::u16string_view text);

// Reads a decimal fraction as wcstod does ("1.5", "-2e3"); 0.0 when it is not a number.
double DoubleOrZero(std::u16string_view text);

// "%g" of a double, independent of the process locale.
std::u16string FormatDouble(double value);

// "%d".
std::u16string FormatDecimal(int64_t value);

}  // namespace Yomibon

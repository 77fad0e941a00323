// Accent notation between "〔" and "〕": ASCII letters with marks ("e'") become the
// accented letters ("é").
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace Yomibon {

using AccentMap = std::map<std::u16string, std::u16string>;

// The accent table, read once per process from "accent.txt".
const AccentMap& AccentTable();

// Rewrites every "〔…〕" span of a line with the table: a span whose length changes
// loses its brackets; one that does not stays as written.
std::u16string ConvertAccents(std::u16string_view line, const AccentMap& table);

}  // namespace Yomibon

// External characters: the descriptions of "※［＃…］" resolved to characters.
#pragma once

#include <string>
#include <string_view>

#include "text/table_index.h"

namespace Yomibon {

using GaijiMap = TableIndex;

// Description (annotation text up to its last "、") -> character(s); "gaiji.txt", read
// once per process.
const GaijiMap& GaijiTable();

// JIS X 0213 plane-row-cell ("1-85-54") -> character(s); "jisx0213.txt", read once.
const GaijiMap& JisX0213Table();

// The character(s) named by a code written in an annotation outside its quoted part:
// "第3水準1-85-54", "1-85-54" or "U+546D". False when there is none or it is unknown.
bool ResolveGaijiCode(std::u16string_view annotation, const GaijiMap& jis, std::u16string& out);

// The whole lookup of an external-character annotation X: Roman numerals, then the gaiji
// table by X up to its last "、", then a code inside X.
bool LookupExternalChar(std::u16string_view x, std::u16string& out);

}  // namespace Yomibon

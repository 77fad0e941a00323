// Names of archive entries: decoding them and keeping them inside the destination.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// An entry name as UTF-8. Names that are UTF-8 already stay as they are; others are read
// as Shift_JIS (code page 932), the encoding of archives made on Japanese systems. Bytes
// that fit neither become "_".
std::string DecodeEntryName(std::string_view raw);

// The entry name as a path relative to the destination: "\" separates like "/", empty
// and "." parts drop out. False (the entry is refused) for an absolute name, a drive
// letter, or any ".." part. An accepted name may come out empty (the folder itself).
bool SafeEntryPath(std::string_view name, std::string& relative);

// True when a symbolic link with this target, placed anywhere below the destination,
// stays below it: the target is relative and never climbs with "..". Links made this
// way can only lead further down, so no chain of them leads out.
bool SafeLinkTarget(std::string_view target);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsUtf8Name(std::string_view bytes);

}  // namespace Yomibon

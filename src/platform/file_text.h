// The text of the system's own small files (settings, key bindings, tables, lists): how
// their bytes are told apart and decoded. One reading for all of them, so that a file
// written by one version or by hand reads the same everywhere.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

struct FileText {
    std::u16string text;
    // Every byte became a character that can be written back as it was read (no zero
    // character, no unpaired surrogate): saving the text again loses nothing.
    bool lossless = true;
};

// FF FE: UTF-16LE. A zero byte before the last: UTF-16LE without a mark. Valid UTF-8 (a
// leading byte-order mark dropped): UTF-8. Otherwise Shift_JIS, the library's own code
// page; bytes valid in neither keep what UTF-8 can make of them and are not lossless.
FileText DecodeFileText(std::string_view bytes);

// UTF-16LE units from bytes; an odd last byte is dropped.
std::u16string FromUtf16Le(std::string_view bytes);
void AppendUtf16Le(std::string& out, std::u16string_view text);

}  // namespace Yomibon

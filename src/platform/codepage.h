// Code-page detection and conversion to UTF-16 (code-page numbers as the system names them).
#pragma once

#include <cstddef>
#include <string>

namespace Yomibon {

enum CodePage : int {
    CP_UNKNOWN = 0,
    CP_WINDOWS_1252 = 1252,
    CP_SHIFT_JIS = 932,
    CP_UTF16LE = 1200,
    CP_UTF16BE = 1201,
    CP_UTF8 = 65001,
    CP_EUC_JP = 51932,
    CP_ISO_2022_JP = 50220,
};

// Detects one code page from the first 512 bytes; CP_UNKNOWN when nothing fits.
// UTF-8 with or without a byte-order mark is CP_UTF8.
int DetectCodePage(const char* data, size_t size);

// Converts bytes of a code page to UTF-16. Returns false (out emptied) when the code page
// is unknown or the bytes are not valid in it, so that the caller can keep the bytes.
bool ConvertToUtf16(int codePage, const char* data, size_t size, std::u16string& out);

// Converts bytes of a code page to UTF-16 with one converter over the whole text, each
// sequence the code page cannot read becoming U+FFFD, so that bad bytes cost no more than
// good ones. False (out emptied) only when the code page is unknown.
bool ConvertToUtf16Lenient(int codePage, const char* data, size_t size, std::u16string& out);

// Converts UTF-16 to a code page; false when a character has no mapping.
bool ConvertFromUtf16(int codePage, const std::u16string& text, std::string& out);

// The converter name for a code page ("windows-31j" for 932), or nullptr.
const char* CodePageName(int codePage);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const char* data, size_t size);

}  // namespace Yomibon

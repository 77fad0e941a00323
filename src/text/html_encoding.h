// The character encoding of an HTML document, and its conversion to UTF-8 for the engine.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// The code page a charset name stands for ("Shift_JIS" -> 932); 0 when unknown.
int CharsetCodePage(std::string_view name);

// The charset a document declares in its first bytes: an XML declaration's encoding, a
// <meta charset> or an http-equiv Content-Type; empty when none.
std::string DeclaredCharset(std::string_view bytes);

// The code page of a document: byte-order mark, then the declaration, then the HTTP
// Content-Type, then detection from the bytes (a Japanese reader's fallback: Shift_JIS).
int HtmlCodePage(std::string_view bytes, std::string_view contentType);

// Converts a document to UTF-8 by that code page. Invalid bytes become U+FFFD; the
// byte-order mark and NUL characters are dropped.
std::string DecodeHtmlDocument(std::string_view bytes, std::string_view contentType);

}  // namespace Yomibon

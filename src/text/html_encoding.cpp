#include "text/html_encoding.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/codepage.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

// Only the head of a document is searched for a declaration.
constexpr size_t kDeclarationBytes = 4096;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The value after `key` ("charset=", "encoding=") at or after `from`, quotes removed.
std::string ValueAfter(const std::string& lower, std::string_view original, size_t at) {
    size_t i = at;
    while (i < lower.size() && (lower[i] == ' ' || lower[i] == '"' || lower[i] == '\'')) ++i;
    size_t end = i;
    while (end < lower.size() && (std::isalnum(static_cast<unsigned char>(lower[end])) ||
                                  lower[end] == '-' || lower[end] == '_' || lower[end] == '.' ||
                                  lower[end] == ':'))
        ++end;
    return std::string(original.substr(i, end - i));
}

int Utf16ByZeros(std::string_view bytes) {
    size_t odd = 0, even = 0, n = std::min<size_t>(bytes.size(), kDeclarationBytes);
    for (size_t i = 0; i < n; ++i)
        if (bytes[i] == '\0') ++((i & 1) ? odd : even);
    if (odd >= 4 && even * 8 <= odd) return CP_UTF16LE;
    if (even >= 4 && odd * 8 <= even) return CP_UTF16BE;
    return 0;
}

int ByteOrderMark(std::string_view b) {
    if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return CP_UTF8;
    if (b.size() >= 2 && b.substr(0, 2) == "\xFF\xFE") return CP_UTF16LE;
    if (b.size() >= 2 && b.substr(0, 2) == "\xFE\xFF") return CP_UTF16BE;
    return 0;
}

// Converts with substitution: one bad byte must not lose the document.
std::u16string ConvertLenient(int codePage, std::string_view bytes) {
    std::u16string out;
    if (ConvertToUtf16(codePage, bytes.data(), bytes.size(), out)) return out;
    ConvertToUtf16Lenient(codePage, bytes.data(), bytes.size(), out);
    return out;
}

}  // namespace

int CharsetCodePage(std::string_view name) {
    std::string n = Lower(name);
    if (n == "shift_jis" || n == "shift-jis" || n == "sjis" || n == "x-sjis" ||
        n == "windows-31j" || n == "cp932" || n == "ms_kanji" || n == "csshiftjis")
        return CP_SHIFT_JIS;
    if (n == "euc-jp" || n == "x-euc-jp" || n == "eucjp" || n == "cseucpkdfmtjapanese")
        return CP_EUC_JP;
    if (n == "utf-8" || n == "utf8" || n == "us-ascii" || n == "ascii") return CP_UTF8;
    if (n == "utf-16" || n == "utf-16le") return CP_UTF16LE;
    if (n == "utf-16be") return CP_UTF16BE;
    if (n == "iso-2022-jp" || n == "csiso2022jp") return CP_ISO_2022_JP;
    if (n == "iso-8859-1" || n == "latin1" || n == "windows-1252") return CP_WINDOWS_1252;
    return 0;
}

std::string DeclaredCharset(std::string_view bytes) {
    std::string_view head = bytes.substr(0, std::min(bytes.size(), kDeclarationBytes));
    std::string lower = Lower(head);
    if (lower.starts_with("<?xml")) {
        size_t end = lower.find("?>");
        size_t at = lower.find("encoding=");
        if (at != std::string::npos && (end == std::string::npos || at < end)) {
            std::string value = ValueAfter(lower, head, at + 9);
            if (!value.empty()) return value;
        }
    }
    for (size_t at = lower.find("<meta"); at != std::string::npos;
         at = lower.find("<meta", at + 5)) {
        size_t end = lower.find('>', at);
        if (end == std::string::npos) break;
        size_t cs = lower.find("charset=", at);
        if (cs != std::string::npos && cs < end) {
            std::string value = ValueAfter(lower, head, cs + 8);
            if (!value.empty()) return value;
        }
    }
    return {};
}

int HtmlCodePage(std::string_view bytes, std::string_view contentType) {
    if (int bom = ByteOrderMark(bytes)) return bom;
    if (int zeros = Utf16ByZeros(bytes)) return zeros;
    // A UTF-16 declaration read through ASCII-compatible bytes is a mislabel.
    int declared = CharsetCodePage(DeclaredCharset(bytes));
    if (declared && declared != CP_UTF16LE && declared != CP_UTF16BE) return declared;
    std::string type = Lower(contentType);
    size_t cs = type.find("charset=");
    if (cs != std::string::npos)
        if (int sent = CharsetCodePage(ValueAfter(type, contentType, cs + 8))) return sent;
    // The detector sees only the head, which may be all markup; well-formed UTF-8 with
    // characters beyond ASCII anywhere is UTF-8.
    bool ascii = std::all_of(bytes.begin(), bytes.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && IsValidUtf8(bytes.data(), bytes.size())) return CP_UTF8;
    int detected = DetectCodePage(bytes.data(), std::min<size_t>(bytes.size(), 512));
    if (detected == CP_UNKNOWN || detected == CP_WINDOWS_1252 || detected == CP_UTF16LE ||
        detected == CP_UTF16BE)
        return CP_SHIFT_JIS;
    return detected;
}

std::string DecodeHtmlDocument(std::string_view bytes, std::string_view contentType) {
    int codePage = HtmlCodePage(bytes, contentType);
    std::string_view body = bytes;
    if (codePage == ByteOrderMark(bytes))
        body.remove_prefix(codePage == CP_UTF8 ? 3 : 2);
    if (codePage == CP_UTF8 && IsValidUtf8(body.data(), body.size())) {
        // Already what the engine reads: no round trip through UTF-16.
        std::string out(body);
        std::erase(out, '\0');
        return out;
    }
    std::u16string text;
    if (codePage == CP_UTF16LE || codePage == CP_UTF16BE) {
        // Pairs of bytes as they stand; a lone surrogate or odd last byte is dropped.
        text.reserve(body.size() / 2);
        for (size_t i = 0; i + 1 < body.size(); i += 2) {
            auto lo = uint8_t(body[i + (codePage == CP_UTF16LE ? 0 : 1)]);
            auto hi = uint8_t(body[i + (codePage == CP_UTF16LE ? 1 : 0)]);
            text.push_back(char16_t(lo | (hi << 8)));
        }
    } else {
        text = ConvertLenient(codePage, body);
    }
    std::erase(text, u'\0');
    if (!text.empty() && text[0] == u'\uFEFF') text.erase(0, 1);
    return ToUtf8(text);
}

}  // namespace Yomibon

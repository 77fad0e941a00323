#include "app/internet_shortcut.h"

#include "platform/codepage.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::u16string_view Trim(std::u16string_view s) {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == 0xFEFF; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::u16string Decode(std::string_view bytes) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::u16string text;
    if (bytes.size() >= 2 &&
        ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        bool little = byte(0) == 0xFF;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += little ? char16_t(byte(i) | byte(i + 1) << 8)
                           : char16_t(byte(i) << 8 | byte(i + 1));
        return text;
    }
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        bytes.remove_prefix(3);
    if (IsValidUtf8(bytes.data(), bytes.size())) return FromUtf8(bytes);
    // Shortcuts written by older systems use the local code page; URLs are mostly ASCII.
    int codePage = DetectCodePage(bytes.data(), bytes.size());
    if (codePage != CP_UNKNOWN && ConvertToUtf16(codePage, bytes.data(), bytes.size(), text))
        return text;
    text.clear();
    for (char c : bytes)
        text += char16_t(static_cast<unsigned char>(c));
    return text;
}

// Desktop entries escape a few characters in their values.
std::u16string Unescape(std::u16string_view value) {
    std::u16string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        char16_t c = value[++i];
        out += c == u's' ? u' ' : c == u't' ? u'\t' : c == u'n' ? u'\n' : c == u'r' ? u'\r' : c;
    }
    return out;
}

}  // namespace

bool IsLinkFileName(std::u16string_view name) {
    auto endsWith = [&](std::u16string_view suffix) {
        return name.size() > suffix.size() &&
               EqualsIgnoreCase(name.substr(name.size() - suffix.size()), suffix);
    };
    return endsWith(u".url") || endsWith(u".desktop");
}

std::u16string LinkFileUrl(std::string_view bytes) {
    std::u16string text = Decode(bytes);
    enum Section { OTHER, SHORTCUT, DESKTOP } section = OTHER;
    std::u16string shortcutUrl, desktopUrl;
    bool isLink = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == u';' || line.front() == u'#') continue;
        if (line.front() == u'[') {
            size_t close = line.find(u']');
            std::u16string_view name =
                Trim(line.substr(1, close == line.npos ? line.npos : close - 1));
            section = EqualsIgnoreCase(name, u"InternetShortcut") ? SHORTCUT
                      : EqualsIgnoreCase(name, u"Desktop Entry")  ? DESKTOP
                                                                  : OTHER;
            continue;
        }
        size_t equals = line.find(u'=');
        if (equals == line.npos || section == OTHER) continue;
        std::u16string_view key = Trim(line.substr(0, equals));
        std::u16string_view value = Trim(line.substr(equals + 1));
        // The first entry of a key counts, as an INI reader finds it.
        if (section == SHORTCUT && EqualsIgnoreCase(key, u"URL") && shortcutUrl.empty())
            shortcutUrl = value;
        if (section == DESKTOP && EqualsIgnoreCase(key, u"URL") && desktopUrl.empty())
            desktopUrl = Unescape(value);
        if (section == DESKTOP && EqualsIgnoreCase(key, u"Type"))
            isLink = EqualsIgnoreCase(value, u"Link");
    }
    if (!shortcutUrl.empty()) return shortcutUrl;
    return isLink ? desktopUrl : std::u16string();
}

}  // namespace Yomibon

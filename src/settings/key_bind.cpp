#include "settings/key_bind.h"

#include <cstdio>
#include <tuple>

#include "platform/file_text.h"
#include "platform/format.h"
#include "platform/limits.h"
#include "settings/file_io.h"

namespace Yomibon {
namespace {

// Windows virtual-key codes used by the defaults.
enum : uint32_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
};

bool StartsWith(const std::u16string& s, size_t at, std::u16string_view prefix) {
    return s.compare(at, prefix.size(), prefix) == 0;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads a hexadecimal number at `at` (leading blanks and a sign allowed); advances `at`
// past it and returns true, or leaves `at` and returns false.
bool ReadHex(const std::u16string& s, size_t& at, uint32_t& value) {
    size_t i = at;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    size_t digits = i;
    uint32_t v = 0;
    for (; i < s.size() && HexDigit(s[i]) >= 0; ++i)
        v = v * 16 + uint32_t(HexDigit(s[i]));
    if (i == digits) return false;
    value = negative ? uint32_t(0) - v : v;
    at = i;
    return true;
}

void ParseLine(const std::u16string& line, KeyBindTable& table) {
    KeyBind key;
    for (size_t at = 0; at < line.size();) {
        if (StartsWith(line, at, u"C-")) {
            key.ctrl = true;
            at += 2;
        } else if (StartsWith(line, at, u"S-")) {
            key.shift = true;
            at += 2;
        } else if (StartsWith(line, at, u"M-")) {
            key.alt = true;
            at += 2;
        } else if (line[at] == u'=') {
            std::u16string name = line.substr(at + 1);
            // Lines written by the program end in CR LF; a hand-edited file with bare
            // line feeds keeps its last letter.
            if (!name.empty() && name.back() == u'\r') name.pop_back();
            table[key] = name;
            return;
        } else if (!ReadHex(line, at, key.code)) {
            ++at;
        }
    }
}

std::u16string Ascii(const char* s) {
    return std::u16string(s, s + std::char_traits<char>::length(s));
}

std::u16string KeyName(uint32_t code) {
    switch (code) {
        case VK_LBUTTON:
            return u"Left mouse button";
        case VK_RBUTTON:
            return u"Right mouse button";
        case VK_MBUTTON:
            return u"Middle mouse button";
        case 16:
        case 17:
        case 18:
        case 164:
        case 165:
            return u"";
        case VK_BACK:
            return u"Backspace";
        case VK_TAB:
            return u"Tab";
        case VK_RETURN:
            return u"Enter";
        case VK_ESCAPE:
            return u"Esc";
        case VK_SPACE:
            return u"Space";
        case VK_PRIOR:
            return u"Page Up";
        case VK_NEXT:
            return u"Page Down";
        case VK_END:
            return u"End";
        case VK_HOME:
            return u"Home";
        case VK_LEFT:
            return u"Left";
        case VK_UP:
            return u"Up";
        case VK_RIGHT:
            return u"Right";
        case VK_DOWN:
            return u"Down";
        case VK_INSERT:
            return u"Insert";
        case VK_DELETE:
            return u"Delete";
        case 0x13:
            return u"Pause";
        case 0x14:
            return u"Caps Lock";
        case 0x2C:
            return u"Print Screen";
        case 0x90:
            return u"Num Lock";
        case 0x91:
            return u"Scroll Lock";
        case 0x6A:
            return u"Num *";
        case 0x6B:
            return u"Num +";
        case 0x6D:
            return u"Num -";
        case 0x6E:
            return u"Num Del";
        case 0x6F:
            return u"Num /";
        case 0xBA:
            return u";";
        case 0xBB:
            return u"=";
        case 0xBC:
            return u",";
        case 0xBD:
            return u"-";
        case 0xBE:
            return u".";
        case 0xBF:
            return u"/";
        case 0xC0:
            return u"`";
        case 0xDB:
            return u"[";
        case 0xDC:
            return u"\\";
        case 0xDD:
            return u"]";
        case 0xDE:
            return u"'";
        default:
            break;
    }
    char buf[16];
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        std::snprintf(buf, sizeof buf, "%c", char(code));
    else if (code >= 0x60 && code <= 0x69)
        std::snprintf(buf, sizeof buf, "Num %u", code - 0x60);
    else if (code >= VK_F1 && code <= VK_F1 + 23)
        std::snprintf(buf, sizeof buf, "F%u", code - VK_F1 + 1);
    else
        std::snprintf(buf, sizeof buf, "Key %02X", code);
    return Ascii(buf);
}

}  // namespace

bool KeyBindLess::operator()(const KeyBind& a, const KeyBind& b) const {
    return std::tie(a.shift, a.ctrl, a.alt, a.code) < std::tie(b.shift, b.ctrl, b.alt, b.code);
}

void ParseKeyBindings(const std::u16string& text, KeyBindTable& table) {
    size_t start = 0;
    for (size_t lf; (lf = text.find(u'\n', start)) != std::u16string::npos; start = lf + 1)
        ParseLine(text.substr(start, lf - start), table);
    ParseLine(text.substr(start), table);
}

bool LoadKeyBindings(const std::filesystem::path& path, KeyBindTable& table) {
    std::string bytes;
    bool whole = false;
    // A key file is a few kilobytes; a huge one is not one we wrote, and is not read.
    if (!ReadFileBytes(path, bytes, Limits::kMaxKeyFileBytes, &whole) || !whole) return false;
    ParseKeyBindings(DecodeFileText(bytes).text, table);
    return true;
}

bool SaveKeyBindings(const std::filesystem::path& path, const KeyBindTable& table) {
    std::string bytes = "\xFF\xFE";
    for (const auto& [key, command] : table)
        AppendUtf16Le(bytes, FormatMessage(u"%1!s!=%2!s!\r\n", {KeyFileName(key), command}));
    return WriteFileAtomic(path, bytes, true);
}

void DefaultKeyBindings(KeyBindTable& table) {
    auto bind = [&table](uint32_t code, bool shift, bool ctrl, bool alt, const char16_t* command) {
        table[KeyBind{code, shift, ctrl, alt}] = command;
    };
    bind('O', false, true, false, u"ReadFile");
    bind('O', true, true, false, u"ReadClipboard");
    bind(VK_F5, false, false, false, u"Reload");
    for (uint32_t code : {VK_DOWN, VK_LEFT, VK_NEXT, VK_SPACE})
        bind(code, false, false, false, u"NextPage");
    for (uint32_t code : {VK_PRIOR, VK_RIGHT, VK_UP})
        bind(code, false, false, false, u"PrevPage");
    bind(VK_SPACE, true, false, false, u"PrevPage");
    bind(VK_HOME, false, false, false, u"FirstPage");
    bind(VK_END, false, false, false, u"EndPage");
    bind('G', false, true, false, u"GotoPage");
    bind('H', false, true, false, u"GotoPage");
    bind(VK_INSERT, false, true, false, u"AddBookmark");
    for (char16_t n = u'1'; n <= u'9'; ++n) {
        std::u16string command = u"GotoBookmark";
        command.push_back(n);
        table[KeyBind{uint32_t(n), false, true, false}] = command;
    }
    bind('0', false, true, false, u"GotoBookmark0");
    bind('B', false, true, false, u"ShowBookmark");
    bind(VK_RETURN, false, true, false, u"FullScreen");
    bind('C', false, true, false, u"Copy");
    bind('F', false, true, false, u"Search");
    bind(VK_F3, false, false, false, u"SearchNext");
    bind(VK_F3, true, false, false, u"SearchPrev");
    bind(VK_BACK, false, false, false, u"BackPage");
    bind(VK_BACK, true, false, false, u"ForwardPage");
    bind('K', false, true, false, u"Config");
    bind(VK_F1, false, false, false, u"Help");
    bind(VK_F1, true, false, false, u"Version");
    bind(VK_F4, false, true, false, u"Exit");
    bind(VK_ESCAPE, false, false, false, u"Exit");
    bind(VK_RETURN, false, false, true, u"ShowProperty");
    bind('L', false, true, false, u"URLOpen");
    bind('A', true, true, false, u"CatalogueOpen");
    bind('S', false, true, false, u"Save");
}

std::u16string KeyFileName(const KeyBind& key) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%s%s%X", key.shift ? "S-" : "", key.ctrl ? "C-" : "",
                  key.alt ? "M-" : "", key.code);
    return Ascii(buf);
}

std::u16string KeyDisplayName(const KeyBind& key) {
    std::u16string out;
    if (key.shift) out += u"Shift + ";
    if (key.ctrl) out += u"Ctrl + ";
    if (key.alt) out += u"Alt + ";
    return out + KeyName(key.code);
}

}  // namespace Yomibon

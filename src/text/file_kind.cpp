#include "text/file_kind.h"

namespace Yomibon {

bool IsUrlName(std::u16string_view name) {
    return name.size() > 2 && name.find(u':', 2) != std::u16string_view::npos;
}

std::u16string_view NameExtension(std::u16string_view name) {
    name = name.substr(0, name.find(u'#'));
    size_t at = name.find_last_of(u"./\\");
    if (at == std::u16string_view::npos || name[at] != u'.') return {};
    return name.substr(at + 1);
}

bool ExtensionIs(std::u16string_view extension, std::u16string_view upperWord) {
    if (extension.size() != upperWord.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        char16_t c = extension[i];
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
        if (c != upperWord[i]) return false;
    }
    return true;
}

bool IsHtmlExtension(std::u16string_view extension) {
    return ExtensionIs(extension, u"HTML") || ExtensionIs(extension, u"HTM") ||
           ExtensionIs(extension, u"XHTML");
}

FileKind ClassifyFileName(std::u16string_view name) {
    if (IsUrlName(name)) return FK_DOCUMENT;
    std::u16string_view ext = NameExtension(name);
    if (ExtensionIs(ext, u"LNK")) return FK_SHORTCUT;
    if (ExtensionIs(ext, u"SIORI")) return FK_BOOKMARK;
    if (IsHtmlExtension(ext) || ExtensionIs(ext, u"TXT")) return FK_DOCUMENT;
    if (ExtensionIs(ext, u"LZH") || ExtensionIs(ext, u"ZIP") || ExtensionIs(ext, u"7Z"))
        return FK_ARCHIVE;
    return FK_DOCUMENT;
}

}  // namespace Yomibon

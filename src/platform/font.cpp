#include "platform/font.h"

namespace Yomibon {

bool IsVerticalEscapement(const LogFont& font) {
    int e = ((font.lfEscapement % 3600) + 3600) % 3600;
    return e == 2700;
}

bool IsVerticalFace(const LogFont& font) {
    return !font.lfFaceName.empty() && font.lfFaceName[0] == u'@';
}

std::u16string FamilyName(const LogFont& font) {
    std::u16string name = font.lfFaceName;
    if (!name.empty() && name[0] == u'@') name.erase(0, 1);
    size_t nul = name.find(u'\0');
    if (nul != std::u16string::npos) name.resize(nul);
    return name;
}

}  // namespace Yomibon

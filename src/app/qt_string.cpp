#include "app/qt_string.h"

namespace Yomibon {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

std::u16string FromQString(const QString& text) {
    return text.toStdU16String();
}

}  // namespace Yomibon

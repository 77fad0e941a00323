// Conversions at the edge between the core's strings and Qt's (both UTF-16).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace Yomibon {

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString& text);

}  // namespace Yomibon

// Qt's own words (the buttons and labels of its colour, file and message dialogs) in Japanese,
// as every other word of the reader is.
#pragma once

class QCoreApplication;

namespace Yomibon {

// Installs Qt's Japanese translations (qtbase_ja from Qt's translations folder) into the
// application; false when they are not installed, leaving Qt's English.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace Yomibon

#include "archive/archive_un_lha.h"

namespace Yomibon {

CYbArchiveUnLha::CYbArchiveUnLha() {
    libName_ = u"unlha32.so";
    getVersionName_ = "UnlhaGetVersion";
    getRunningName_ = "UnlhaGetRunning";
    checkArchiveName_ = "UnlhaCheckArchive";
    commandName_ = "Unlha";
    commandFormat_ = u"x \"%1!s!\" \"%2!s!\" *";
}

}  // namespace Yomibon

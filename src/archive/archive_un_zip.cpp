#include "archive/archive_un_zip.h"

namespace Yomibon {

CYbArchiveUnZip::CYbArchiveUnZip() {
    libName_ = u"unzip32.so";
    getVersionName_ = "UnZipGetVersion";
    getRunningName_ = "UnZipGetRunning";
    checkArchiveName_ = "UnZipCheckArchive";
    commandName_ = "UnZip";
    commandFormat_ = u"-x -s \"%1!s!\" \"%2!s!\" *";
}

}  // namespace Yomibon

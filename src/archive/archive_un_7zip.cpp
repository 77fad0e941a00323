#include "archive/archive_un_7zip.h"

namespace Yomibon {

CYbArchiveUn7Zip::CYbArchiveUn7Zip() {
    libName_ = u"7-zip32.so";
    getVersionName_ = "SevenZipGetVersion";
    getRunningName_ = "SevenZipGetRunning";
    checkArchiveName_ = "SevenZipCheckArchive";
    commandName_ = "SevenZip";
    commandFormat_ = u"x \"%1!s!\" -o\"%2!s!\"";
}

}  // namespace Yomibon

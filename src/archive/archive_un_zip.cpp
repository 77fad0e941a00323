#include "archive/archive_un_zip.h"

namespace Yomibon {

CYbArchiveUnZip::CYbArchiveUnZip() {
    m_strLibName = u"unzip32.so";
    m_pszGetVersion = "UnZipGetVersion";
    m_pszGetRunning = "UnZipGetRunning";
    m_pszCheckArchive = "UnZipCheckArchive";
    m_pszCommand = "UnZip";
    m_strCommandFormat = u"-x -s \"%1!s!\" \"%2!s!\" *";
}

}  // namespace Yomibon

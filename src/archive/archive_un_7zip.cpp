#include "archive/archive_un_7zip.h"

namespace Yomibon {

CYbArchiveUn7Zip::CYbArchiveUn7Zip() {
    m_strLibName = u"7-zip32.so";
    m_pszGetVersion = "SevenZipGetVersion";
    m_pszGetRunning = "SevenZipGetRunning";
    m_pszCheckArchive = "SevenZipCheckArchive";
    m_pszCommand = "SevenZip";
    m_strCommandFormat = u"x \"%1!s!\" -o\"%2!s!\"";
}

}  // namespace Yomibon

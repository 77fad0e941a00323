#include "archive/archive_un_lha.h"

namespace Yomibon {

CYbArchiveUnLha::CYbArchiveUnLha() {
    m_strLibName = u"unlha32.so";
    m_pszGetVersion = "UnlhaGetVersion";
    m_pszGetRunning = "UnlhaGetRunning";
    m_pszCheckArchive = "UnlhaCheckArchive";
    m_pszCommand = "Unlha";
    m_strCommandFormat = u"x \"%1!s!\" \"%2!s!\" *";
}

}  // namespace Yomibon

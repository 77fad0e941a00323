// The LHA extractor: drives the unlha32.so archiver library.
#pragma once

#include "archive/archive_base.h"

namespace Yomibon {

class CYbArchiveUnLha : public CYbArchiveBase {
  public:
    CYbArchiveUnLha();
};

}  // namespace Yomibon

// The ZIP extractor: drives the unzip32.so archiver library.
#pragma once

#include "archive/archive_base.h"

namespace Yomibon {

class CYbArchiveUnZip : public CYbArchiveBase {
  public:
    CYbArchiveUnZip();
};

}  // namespace Yomibon

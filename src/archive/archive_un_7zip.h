// The 7z extractor: drives the 7-zip32.so archiver library.
#pragma once

#include "archive/archive_base.h"

namespace Yomibon {

class CYbArchiveUn7Zip : public CYbArchiveBase {
  public:
    CYbArchiveUn7Zip();
};

}  // namespace Yomibon

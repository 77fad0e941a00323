// Unpacking one archive into a folder with libarchive, safely: nothing is written outside
// the folder, and an archive that would fill the disk stops with a failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/archiver_api.h"
#include "platform/limits.h"

namespace Yomibon {

struct UnpackLimits {
    uint64_t maxBytes = Limits::kMaxArchiveBytes;
    size_t maxEntries = Limits::kMaxArchiveEntries;
    uint64_t maxEntryBytes = Limits::kMaxArchiveEntryBytes;
    // Past the floor, an archive may unpack to at most this many times its own size.
    uint64_t maxRatio = Limits::kMaxArchiveRatio;
    uint64_t ratioFloorBytes = Limits::kArchiveRatioFloorBytes;

    // The bytes an archive file of this size may unpack to.
    uint64_t Budget(uint64_t archiveBytes) const;
};

// What one unpacking did.
struct UnpackReport {
    size_t written = 0;                // files, folders and links made
    uint64_t bytes = 0;                // file bytes written
    std::vector<std::string> refused;  // entry names left out for safety
    std::string error;                 // why it stopped, when it failed
};

class CYbArchiveUnpacker {
  public:
    explicit CYbArchiveUnpacker(ArchiverKind kind, UnpackLimits limits = {});

    // True when the file is an archive of this kind. With `headersOnly` only the first
    // header is read; otherwise every entry is read through.
    bool Check(const std::string& archivePath, bool headersOnly) const;

    // Unpacks the entries matching one of `patterns` (all when empty) below `folder`,
    // which is made when missing. Unsafe entries are refused and the rest go on.
    // Returns ARCHIVER_OK or the error that stopped it.
    int Unpack(const std::string& archivePath, const std::string& folder,
               const std::vector<std::string>& patterns, UnpackReport& report) const;

  private:
    ArchiverKind kind_;
    UnpackLimits limits_;
};

}  // namespace Yomibon

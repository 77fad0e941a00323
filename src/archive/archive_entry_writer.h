// Writes one archive entry below the destination folder: a file, a folder or a link.
#pragma once

#include <filesystem>
#include <string>

#include "archive/archive_unpacker.h"

struct archive;
struct archive_entry;

namespace Yomibon {

class CYbArchiveEntryWriter {
  public:
    CYbArchiveEntryWriter(std::filesystem::path folder, const UnpackLimits& limits,
                          UnpackReport& report);

    // Writes the entry the reader stands at under `relative` (already checked by
    // SafeEntryPath). Entries that cannot be placed safely are refused under `name`.
    // Returns ARCHIVER_OK, or the error that must stop the unpacking.
    int Write(archive* reader, archive_entry* entry, const std::string& relative,
              const std::string& name);

  private:
    int WriteFile(archive* reader, archive_entry* entry, const std::filesystem::path& target);
    int CopyData(archive* reader, int fd);
    int WriteFolder(const std::filesystem::path& target, const std::string& name);
    int WriteSymlink(archive_entry* entry, const std::filesystem::path& target,
                     const std::string& name);
    bool Prepare(const std::filesystem::path& target);
    int Refuse(const std::string& name);
    int Fail(int error, const std::string& why);

    std::filesystem::path folder_;
    UnpackLimits limits_;
    UnpackReport& report_;
};

}  // namespace Yomibon

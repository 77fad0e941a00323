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
    // `budget` is the number of bytes the whole unpacking may write (the size limit, or
    // less for a small archive that claims to hold much, see UnpackLimits).
    CYbArchiveEntryWriter(std::filesystem::path folder, const UnpackLimits& limits, uint64_t budget,
                          UnpackReport& report);
    ~CYbArchiveEntryWriter();
    CYbArchiveEntryWriter(const CYbArchiveEntryWriter&) = delete;
    CYbArchiveEntryWriter& operator=(const CYbArchiveEntryWriter&) = delete;

    // Writes the entry the reader stands at under `relative` (already checked by
    // SafeEntryPath). Entries that cannot be placed safely are refused under `name`.
    // Returns ARCHIVER_OK, or the error that must stop the unpacking.
    int Write(archive* reader, archive_entry* entry, const std::string& relative,
              const std::string& name);

  private:
    // Every path below is relative to the destination and walked one folder at a time
    // from root_, so that no link (whoever placed it) leads a write outside.
    int WriteFile(archive* reader, archive_entry* entry, const std::filesystem::path& target,
                  const std::string& name);
    int CopyData(archive* reader, int fd);
    int WriteFolder(const std::filesystem::path& target, const std::string& name);
    int WriteSymlink(archive_entry* entry, const std::filesystem::path& target,
                     const std::string& name);
    // The descriptor of the target's folder, made as needed, with the target's place
    // cleared of a file or link left by an earlier unpacking; -1 when the place cannot be
    // had (a folder stands there, or a part of the way is not a real folder).
    int Prepare(const std::filesystem::path& target);
    int Refuse(const std::string& name);
    int FailTooLarge();
    int FailEntryTooLarge();
    int Fail(int error, const std::string& why);

    std::filesystem::path folder_;
    int root_ = -1;
    UnpackLimits limits_;
    uint64_t budget_;
    UnpackReport& report_;
};

}  // namespace Yomibon

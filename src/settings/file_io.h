// Whole-file reads and crash-safe whole-file writes for the system's own small files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace Yomibon {

// Reads at most limit bytes of a regular file (anything else, a FIFO say, is refused without
// waiting on it). False when it is missing or unreadable. `whole`, when given, says whether
// the file ended within the limit.
bool ReadFileBytes(const std::filesystem::path& file, std::string& out, size_t limit,
                   bool* whole = nullptr);

// Replaces a file by the given bytes through a temporary file in the same folder and a
// rename, so that a crash or a full disk never leaves a half-written file behind: either
// the old file or the new one is there. With createFolders, a missing folder (and its
// parents) is created when the first attempt fails, and the write is tried once more.
// Temporary files that earlier saves of this file left when they were killed (their writer's
// process is gone) are removed first.
bool WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes, bool createFolders);

}  // namespace Yomibon

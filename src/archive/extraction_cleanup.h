// Extraction folders under the data folder's Archive/: every opened archive leaves one.
// Those that the settings (recent files, the last file) or a bookmark beside a text in
// them still name are kept; the others are removed at start-up, oldest first, once all of
// them together are past a size bound.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/limits.h"

namespace Yomibon {

class CYbTxtParam;

struct ExtractionFolderInfo {
    std::filesystem::path path;
    uint64_t bytes = 0;        // the files in it, links not followed
    int64_t modified = 0;      // when it was last unpacked into, in seconds
    bool hasBookmark = false;  // a bookmark file (*.siori) lies somewhere in it
};

// The folders to remove, oldest first: those no path names (a path names a folder when it
// lies inside it, or when it is the archive the folder was unpacked from, whose file name
// the folder bears) and that hold no bookmark, until the rest fit in maxBytes.
std::vector<std::filesystem::path> ExtractionFoldersToRemove(
    std::vector<ExtractionFolderInfo> folders, const std::vector<std::u16string>& namedPaths,
    uint64_t maxBytes);

// The paths the settings name: the last file and the recent files.
std::vector<std::u16string> PathsNamedBySettings(const CYbTxtParam& param);

// Measures the folders of dataFolder/Archive, removes those ExtractionFoldersToRemove
// picks, and returns how many were removed.
size_t CleanExtractionFolders(const std::filesystem::path& dataFolder,
                              const std::vector<std::u16string>& namedPaths,
                              uint64_t maxBytes = Limits::kMaxExtractionFolderBytes);

}  // namespace Yomibon

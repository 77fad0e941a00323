// The data folder: where settings, layouts, bookmarks and unpacked archives live.
#pragma once

#include <filesystem>

namespace Yomibon {

// The program folder, unless its Yomibon.ini says UseApplicationData=1 in section
// "Yomibon" (then the per-user folder), or the program folder is not writable.
// Computed once; created with its parents.
const std::filesystem::path& DataFolder();

}  // namespace Yomibon

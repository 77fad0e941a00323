// Opening bookmark files (*.siori) from the desktop: a MIME type of their own and a desktop
// entry that opens them with this program, both under the user's XDG data folder.
#pragma once

#include <filesystem>

namespace Yomibon {

inline constexpr const char* kSioriMimeType = "application/x-yomibon-siori";

// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path XdgDataHome();

// The two files the association consists of, under `dataHome`.
std::filesystem::path SioriMimePackage(const std::filesystem::path& dataHome);
std::filesystem::path SioriDesktopEntry(const std::filesystem::path& dataHome);

// Writes the MIME package, then the desktop entry running `program` on the file; the first
// failure stops it. The desktop databases are refreshed when their tools are installed.
bool AssociateSiori(const std::filesystem::path& dataHome, const std::filesystem::path& program);

// Removes the MIME package, then the desktop entry; a file that is not there counts as a
// failure and stops it, as a second removal has nothing to remove.
bool DissociateSiori(const std::filesystem::path& dataHome);

}  // namespace Yomibon

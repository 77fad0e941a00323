// The layouts a user can choose from: the .lay files of the data folder's Layout folder,
// and the two built-in kinds when no file of theirs is there.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "layout/txt_layout.h"

namespace Yomibon {

class CYbTxtParam;
class CYbCustomTxtLayout;

struct LayoutEntry {
    std::u16string type;
    std::u16string name;
    std::u16string file;  // relative to the data folder ("Layout/Bunko.lay")
    bool operator==(const LayoutEntry&) const = default;
};

// Every file matching "Layout/*.lay" in the data folder that opens, in name order, then
// ("BUNKO 1.0", "文庫本", "Layout/Bunko.lay") unless a bunko file was seen and
// ("SHINSHOTATE2 1.0", "新書縦2段", "Layout/ShinshoTate2.lay") unless a shinsho one was.
std::vector<LayoutEntry> EnumerateLayouts(const std::filesystem::path& dataFolder);
std::vector<LayoutEntry> EnumerateLayouts();

// A layout for a chosen entry: its file opened as a custom layout when that works, else a
// built-in layout of the entry's type (bunko for an unknown type).
std::unique_ptr<CYbTxtLayout> CreateLayoutForEntry(const LayoutEntry& entry);

// The entry the settings page preselects: the one whose file is the LayoutFile setting, or -1.
int FindLayoutEntry(const std::vector<LayoutEntry>& entries, const CYbTxtParam& param);

// A confirmed choice: LayoutFile and LayoutType become the entry's, and a layout made for
// the entry is saved to its file so that the file exists afterwards. False when it could
// not be written.
bool ConfirmLayoutChoice(CYbTxtParam& param, const LayoutEntry& entry);

// The document's layout from the settings: the LayoutFile opened (a failed open leaves the
// previous layout, or the built-in one for a file without text columns), or the built-in
// layout when the setting is empty. True when the layout is the one the setting names.
bool LoadLayoutFromSettings(CYbCustomTxtLayout& layout, const CYbTxtParam& param);

}  // namespace Yomibon

// The layouts a user can choose from: the .lay files of the data folder's Layout folder,
// and the two built-in kinds when no file of theirs is there.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "layout/txt_layout.h"

namespace Yomibon {

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

}  // namespace Yomibon

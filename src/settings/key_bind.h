// Key bindings: keys (Windows virtual-key codes, as stored on disk) to command names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace Yomibon {

// Mouse buttons are keys too.
enum : uint32_t { VK_LBUTTON = 1, VK_RBUTTON = 2, VK_MBUTTON = 4 };

struct KeyBind {
    uint32_t code = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool operator==(const KeyBind&) const = default;
};

// Ordered by Shift, Ctrl, Alt (false first), then code.
struct KeyBindLess {
    bool operator()(const KeyBind& a, const KeyBind& b) const;
};

using KeyBindTable = std::map<KeyBind, std::u16string, KeyBindLess>;

// False when the file cannot be opened or is larger than a key file can be; an empty file
// gives an empty table. UTF-16LE as written, or UTF-8 or Shift_JIS when edited by hand.
bool LoadKeyBindings(const std::filesystem::path& path, KeyBindTable& table);
// Writes the whole table (UTF-16LE with a byte-order mark, CR LF); false on failure,
// leaving any previous file intact.
bool SaveKeyBindings(const std::filesystem::path& path, const KeyBindTable& table);
// Parses the file's contents (after reading); exposed for tests.
void ParseKeyBindings(const std::u16string& text, KeyBindTable& table);
// Adds the 42 default bindings.
void DefaultKeyBindings(KeyBindTable& table);

// "S-C-4F": the form stored in the file.
std::u16string KeyFileName(const KeyBind& key);
// "Shift + Ctrl + O": the form shown to a person.
std::u16string KeyDisplayName(const KeyBind& key);

}  // namespace Yomibon

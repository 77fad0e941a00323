// The key file: read through the loader, written back, read again to the same table.
#include "fuzz_support.h"
#include "settings/key_bind.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    KeyBindTable table;
    if (!LoadKeyBindings(Fuzz::WriteScratchFile("keybind.ini", data, size), table)) return 0;
    for (const auto& [key, command] : table) {
        KeyFileName(key);
        KeyDisplayName(key);
    }
    const auto copy = Fuzz::ScratchFolder() / "keybind-copy.ini";
    if (!SaveKeyBindings(copy, table)) return 0;
    KeyBindTable again;
    if (!LoadKeyBindings(copy, again) || again.size() != table.size()) __builtin_trap();
    return 0;
}

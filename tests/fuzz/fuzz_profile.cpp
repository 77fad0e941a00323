// Settings (INI) files: read through the file reader, queried, rewritten, written to text.
#include "fuzz_support.h"
#include "settings/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    CYbProfile profile;
    profile.Load(Fuzz::WriteScratchFile("settings.ini", data, size));
    std::u16string value;
    profile.GetString(u"Option", u"LayoutFile", value);
    profile.GetRawString(u"Yomibon", u"RecentFile1", value);
    profile.GetInt(u"Option", u"PageFlipInterval", 0);
    profile.WriteString(u"Option", u"LayoutFile", u"Layout/Layout.lay");
    profile.WriteString(u"新しい節", u"キー", u"値\r\n");
    profile.Parse(profile.ToText());
    if (!profile.GetString(u"Option", u"LayoutFile", value)) __builtin_trap();
    return 0;
}

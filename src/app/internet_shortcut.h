// Files that only point at a URL: Internet shortcuts (.url) and desktop links (.desktop).
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// True for a name ending in ".url" or ".desktop" (any letter case).
bool IsLinkFileName(std::u16string_view name);

// The URL a link file holds: key "URL" of section "InternetShortcut", or of section
// "Desktop Entry" when that section says "Type=Link". Sections and keys match in any
// letter case; CR LF, CR or LF line ends and a UTF-8 or UTF-16 byte-order mark are
// accepted. Empty when the bytes hold no such entry.
std::u16string LinkFileUrl(std::string_view bytes);

}  // namespace Yomibon

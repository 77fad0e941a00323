// What a sub-command reads: a path made absolute, an address as given, or the text the
// reader would open from an archive (unpacked under the data folder as the window does).
#pragma once

#include <string>

namespace Yomibon::Cli {

// False, with a message in `error`, when an archive cannot be unpacked or holds no single
// text to open.
bool ResolveCliInput(const std::string& file, std::u16string& path, std::string& error);

}  // namespace Yomibon::Cli

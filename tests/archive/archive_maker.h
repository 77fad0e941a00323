// Archives the archive tests make for themselves.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Yomibon::Test {

struct ArchiveItem {
    enum Kind { FILE, FOLDER, SYMLINK };
    std::string name;  // stored as given (raw bytes, any encoding)
    std::string data;  // the contents of a file, the target of a link
    Kind kind = FILE;
};

// A ZIP or 7z archive written with libarchive's writer; false when writing failed. ZIP
// names are stored as given, or flagged as UTF-8 with `utf8Names`.
bool WriteZip(const std::filesystem::path& path, const std::vector<ArchiveItem>& items,
              bool utf8Names = false);
bool Write7z(const std::filesystem::path& path, const std::vector<ArchiveItem>& items);

// An LHA archive of stored ("-lh0-") files with level-0 or level-2 headers, built byte by
// byte since libarchive cannot write LHA. Names are raw bytes; "\" separates folders.
std::string MakeLha(const std::vector<ArchiveItem>& items, int level = 0);

// "走れメロス" in Shift_JIS and in UTF-8.
extern const char kMelosShiftJis[];
extern const char kMelosUtf8[];

}  // namespace Yomibon::Test

// The bookmark file (".siori"): a CSV table naming its text, the last read position and
// the reader's bookmarks. Kept free of the text model so that the file format stands alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Yomibon {

// One position row of a bookmark file: line, run index and character position in the
// text buffer, with the label shown for it.
struct SioriRecord {
    int32_t line = 0;
    int32_t index = 0;
    int32_t pos = 0;
    std::u16string label;
};

// The contents of a bookmark file.
struct SioriContent {
    std::u16string textPath;           // the text the bookmarks belong to (normalised)
    std::u16string sioriPath;          // the file read (normalised); empty when not read
    SioriRecord last;                  // last read position
    std::vector<SioriRecord> entries;  // bookmarks in file order
};

// Row markers of the format.
inline constexpr std::u16string_view kSioriVersionRow = u"#Ver:Yomibon 2.00";
inline constexpr std::u16string_view kSioriVersionPrefix = u"#Ver:Yomibon";
inline constexpr std::u16string_view kSioriFileNamePrefix = u"#FileName:";
inline constexpr std::u16string_view kSioriExtension = u".siori";

// A path given on a command line may come quoted: the quotes are removed as from a CSV field.
std::u16string UnquotePath(std::u16string_view path);

// The path with a trailing ".siori" (any letter case) removed.
std::u16string StripSioriExtension(std::u16string_view path);

// Reads a bookmark file. The version row must come first; an empty file-name row makes
// the whole file invalid; rows with a negative position are skipped. False (content
// holding only the text path derived from the file name) when the file is missing or
// not a bookmark file.
bool ReadSioriFile(std::u16string_view path, SioriContent& out);

// Writes a bookmark file through a temporary file and a rename; false leaves any previous
// file as it was.
bool WriteSioriFile(std::u16string_view path, const SioriContent& content);

// Case-insensitive equality of two paths (letters A-Z, also full-width).
bool PathEqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace Yomibon

// The process-wide store of external glyphs (enhanced metafiles named after the glyph)
// and the two folders the renderers look in.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// The current folder ("CurDir") and the data folder ("DataDir") shared by all renderers.
void SetGlyphCurrentDirectory(std::u16string_view dir);
void SetGlyphDataDirectory(std::u16string_view dir);
const std::u16string& GlyphCurrentDirectory();
const std::u16string& GlyphDataDirectory();
// The current folder as set, or the process's working folder when none is set.
std::u16string EffectiveCurrentDirectory();

// The bytes of the metafile for `name`, looked for once and remembered (an empty string
// when no file was found): NAME.emf and Font/NAME.emf in the current folder, then
// Font/NAME.emf in the data folder and in the program folder. Names that are not plain
// file names (empty, containing "/", "\" or NUL, "." or "..") have no file.
const std::string& ExternalGlyphBytes(std::u16string_view name);
// Drops what the store remembers (after the folders changed, or in tests).
void ClearExternalGlyphs();

}  // namespace Yomibon

// Classifying a path or URL by its form: where the reader sends it is decided by name alone.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// What the main window does with a path (getFileKind).
enum FileKind : int {
    FK_ARCHIVE = 0,
    FK_BOOKMARK = 1,
    FK_DOCUMENT = 2,
    FK_SHORTCUT = 3,
};

// A name with ":" after its second character carries a scheme ("http:", "file:"); a drive
// letter ("C:") is a local path.
bool IsUrlName(std::u16string_view name);

// The extension of a name cut at its first "#": the text after the last "." when no
// folder separator follows that dot; empty when there is none.
std::u16string_view NameExtension(std::u16string_view name);

// Case-insensitive comparison of an extension with an upper-case ASCII word.
bool ExtensionIs(std::u16string_view extension, std::u16string_view upperWord);

// True for an .html, .htm or .xhtml name (any letter case).
bool IsHtmlExtension(std::u16string_view extension);

// Archive, bookmark file, document or shortcut.
FileKind ClassifyFileName(std::u16string_view name);

}  // namespace Yomibon

// Finding font files by family name and by the characters they cover.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Yomibon {

struct FontFile {
    std::string path;
    int index = 0;
    std::u16string family;
    int weight = 400;    // OpenType scale (400 regular, 700 bold)
    bool exact = false;  // the family asked for was found
};

// The installed face of `family` nearest to `weight`; a family that is not installed
// gives the best Japanese serif face instead (exact = false). Results are cached.
std::optional<FontFile> MatchFontFile(std::u16string_view family, int weight);

// A scalable face that has a glyph for `c`, preferring Japanese faces; cached.
std::optional<FontFile> FindFontForChar(char32_t c);

// The families of the installed scalable faces that cover Japanese (fontconfig's
// ":lang=ja"), each once under its Japanese name where it has one (else its first name), in
// name order.
std::vector<std::u16string> JapaneseFontFamilies();

// Whether the font configuration is handed back at exit (the default). A process whose
// toolkit shares the configuration turns it off: the toolkit may still hold it when the
// process ends abruptly (its display gone), and handing it back then aborts.
void SetFontConfigReleasedAtExit(bool released);

// Loads the font configuration now (its files and caches, some milliseconds), so that a
// program can do it on a second thread while it starts; any other call here waits for it.
void PrepareFontConfig();

}  // namespace Yomibon

// Poppler's command-line tools as the PDF tests use them: run a command and read what it
// prints, read the PPM pictures pdftoppm makes, and compare inked cells of two pictures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "render/bitmap.h"

namespace Yomibon::Test {

// True when every named program is on the PATH.
bool HaveTools(const std::vector<std::string>& programs);
// Runs a shell command; its standard output, and its exit code in `status`.
std::string RunCommand(const std::string& command, int* status = nullptr);
std::string Quoted(const std::filesystem::path& path);

// A grey picture: one byte per pixel.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};
// Reads a binary PPM (P6) or PGM (P5) file; empty on anything else.
GreyPicture ReadPnm(const std::filesystem::path& file);
GreyPicture GreyOf(const CYbBitmap& bitmap);

// The cells of `cell` pixels that hold at least `minInk` pixels darker than mid-grey.
std::vector<bool> InkedCells(const GreyPicture& picture, int cell, int minInk);
// Of the cells inked in either, the part inked in both (1 when neither has ink).
double InkAgreement(const std::vector<bool>& a, const std::vector<bool>& b);

// The characters of `expected` found, in order, in `actual`, each within `window`
// characters of the last one found (both taken without white space); the part found.
double InOrderCoverage(const std::u16string& expected, const std::u16string& actual, size_t window);

}  // namespace Yomibon::Test

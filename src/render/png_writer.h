// Writing a colour bitmap as a PNG file (opaque 8-bit RGB).
#pragma once

#include <filesystem>
#include <string>

#include "render/bitmap.h"

namespace Yomibon {

bool EncodePng(const CYbBitmap& bitmap, std::string& bytes);
bool WritePng(const CYbBitmap& bitmap, const std::filesystem::path& path);

}  // namespace Yomibon

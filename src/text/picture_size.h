// The pixel size a picture file declares in its header (PNG, GIF, JPEG, BMP, WebP), read
// without decoding the picture: enough to decide whether to show it at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Yomibon {

bool PictureHeaderSize(std::string_view bytes, int32_t& width, int32_t& height);

}  // namespace Yomibon

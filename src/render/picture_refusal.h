// Pictures refused by the size limits. A decoder that refuses a picture for its size says so
// here (as errno does), so that whoever asked to draw it can tell the reader why it is missing
// instead of leaving an empty frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Yomibon {

// The size a picture file claims.
struct PictureRefusal {
    uint64_t width = 0;
    uint64_t height = 0;
};

// Whether a width x height picture in a file of fileBytes may be decoded (the limits'
// PictureSizeAllowed). When not, the size is kept for TakePictureRefusal on this thread.
bool CheckPictureSize(uint64_t width, uint64_t height, uint64_t fileBytes);

// The refusal since the last call on this thread, if any, and forgets it.
std::optional<PictureRefusal> TakePictureRefusal();

// The message for the reader: the file, the size it claims and why it is not shown.
std::u16string PictureRefusalMessage(std::u16string_view file, const PictureRefusal& refusal);

}  // namespace Yomibon

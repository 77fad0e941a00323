#include "text/picture_size.h"

namespace Yomibon {
namespace {

uint32_t Be16(std::string_view b, size_t at) {
    return (uint32_t(uint8_t(b[at])) << 8) | uint8_t(b[at + 1]);
}
uint32_t Be32(std::string_view b, size_t at) {
    return (Be16(b, at) << 16) | Be16(b, at + 2);
}
uint32_t Le16(std::string_view b, size_t at) {
    return uint8_t(b[at]) | (uint32_t(uint8_t(b[at + 1])) << 8);
}
uint32_t Le32(std::string_view b, size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}

bool Jpeg(std::string_view b, int32_t& w, int32_t& h) {
    // Walk the markers up to the first start-of-frame.
    for (size_t i = 2; i + 9 < b.size();) {
        if (uint8_t(b[i]) != 0xFF) return false;
        uint8_t marker = uint8_t(b[i + 1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            i += 2;
            continue;
        }
        uint32_t length = Be16(b, i + 2);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                     marker != 0xCC;
        if (frame) {
            h = int32_t(Be16(b, i + 5));
            w = int32_t(Be16(b, i + 7));
            return true;
        }
        if (length < 2) return false;
        i += 2 + length;
    }
    return false;
}

}  // namespace

bool PictureHeaderSize(std::string_view b, int32_t& width, int32_t& height) {
    width = height = 0;
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n" && b.substr(12, 4) == "IHDR") {
        width = int32_t(Be32(b, 16));
        height = int32_t(Be32(b, 20));
    } else if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
        width = int32_t(Le16(b, 6));
        height = int32_t(Le16(b, 8));
    } else if (b.size() >= 4 && uint8_t(b[0]) == 0xFF && uint8_t(b[1]) == 0xD8) {
        if (!Jpeg(b, width, height)) return false;
    } else if (b.size() >= 26 && b.substr(0, 2) == "BM") {
        width = int32_t(Le32(b, 18));
        int32_t h = int32_t(Le32(b, 22));
        height = h < 0 ? -h : h;  // top-down bitmaps have a negative height
    } else if (b.size() >= 30 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP") {
        std::string_view chunk = b.substr(12, 4);
        if (chunk == "VP8 ") {
            width = int32_t(Le16(b, 26) & 0x3FFF);
            height = int32_t(Le16(b, 28) & 0x3FFF);
        } else if (chunk == "VP8L") {
            uint32_t bits = Le32(b, 21);
            width = int32_t((bits & 0x3FFF) + 1);
            height = int32_t(((bits >> 14) & 0x3FFF) + 1);
        } else if (chunk == "VP8X") {
            width = int32_t((Le32(b, 24) & 0xFFFFFF) + 1);
            height = int32_t((Le32(b, 27) & 0xFFFFFF) + 1);
        } else {
            return false;
        }
    } else {
        return false;
    }
    return width > 0 && height > 0;
}

}  // namespace Yomibon

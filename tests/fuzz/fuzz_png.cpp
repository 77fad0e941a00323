// PNG pictures through libpng.
#include "fuzz_support.h"
#include "render/picture_png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Yomibon::CYbBitmap out;
    Yomibon::DecodePng(data, size, out);
    return 0;
}

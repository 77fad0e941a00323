// JPEG pictures through the system picture loader, then made a bitmap with alpha.
#include "fuzz_support.h"
#include "render/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    SystemPicture picture;
    if (!LoadJpegPicture(data, size, picture)) return 0;
    CYbBitmap bitmap;
    SystemPictureToBitmap(picture, bitmap);
    return 0;
}

// External-character glyph metafiles, played into a mask of a glyph's size.
#include "fuzz_support.h"
#include "render/emf_glyph.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    CYbMonoBitmap mask;
    mask.create(96, 96);
    PlayEmfGlyph(Fuzz::Bytes(data, size), mask, 0, 0, 96, 96);
    PlayEmfGlyph(Fuzz::Bytes(data, size), mask, 10, 20, 30, 90);
    return 0;
}

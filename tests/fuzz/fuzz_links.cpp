// Internet shortcuts (.url) and desktop links (.desktop).
#include "app/internet_shortcut.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Yomibon::LinkFileUrl(Yomibon::Fuzz::Bytes(data, size));
    return 0;
}

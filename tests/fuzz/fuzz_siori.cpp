// Bookmark files (.siori): read, written back, read again.
#include "fuzz_support.h"
#include "platform/utf16.h"
#include "settings/bookmark_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    const auto path = Fuzz::WriteScratchFile("book.txt.siori", data, size);
    SioriContent content;
    if (!ReadSioriFile(FromUtf8(path.string()), content)) return 0;
    const auto copy = Fuzz::ScratchFolder() / "copy.txt.siori";
    if (!WriteSioriFile(FromUtf8(copy.string()), content)) return 0;
    SioriContent again;
    if (!ReadSioriFile(FromUtf8(copy.string()), again)) __builtin_trap();
    if (again.entries.size() != content.entries.size()) __builtin_trap();
    return 0;
}

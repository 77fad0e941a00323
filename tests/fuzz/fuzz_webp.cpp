// WebP pictures through the picture plug-in interface: the built plug-in loaded as the
// reader loads it, asked whether it supports the file, then made to decode it.
#include <cstring>

#include "fuzz_support.h"
#include "platform/paths.h"
#include "render/pict_spi_renderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    static const std::unique_ptr<CYbSPIFile> plugin =
        CYbSPIFile::Load(ProgramFolder() / "webp.spi");
    if (!plugin) __builtin_trap();  // the plug-in is built beside the target
    uint8_t head[2048] = {};
    std::memcpy(head, data, std::min(size, sizeof head));
    const auto path = Fuzz::WriteScratchFile("picture.webp", data, size);
    if (!plugin->isSupported(path.string(), head)) return 0;
    CYbBitmap picture;
    plugin->getPicture(path.string(), picture);
    return 0;
}

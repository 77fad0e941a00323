// One picture plug-in module and the checks around what it hands back.
#include <dlfcn.h>
#include <malloc.h>

#include <cstring>

#include "platform/codepage.h"
#include "platform/utf16.h"
#include "render/pict_spi_renderer.h"
#include "render/picture_dib.h"

namespace Yomibon {

namespace {

constexpr int kInfoBufferBytes = 512;

int NoProgress(int, int, long) {
    return 0;
}

// Many plug-ins hand out 32-bit pixels whose fourth byte is simply unused (zero); taken as
// alpha, that would make the whole picture invisible. Only a picture with some nonzero
// alpha is believed to carry transparency.
void OpaqueUnlessAlphaUsed(CYbBitmap& picture) {
    const size_t count = size_t(picture.width()) * size_t(picture.height());
    uint32_t* pixels = picture.bits();
    for (size_t i = 0; i < count; ++i)
        if (pixels[i] >> 24) return;
    for (size_t i = 0; i < count; ++i)
        pixels[i] |= 0xFF000000u;
}

// Plug-in strings are in the local multi-byte encoding: UTF-8 here, but plug-ins written
// for Japanese systems give Shift_JIS, so that is tried next.
std::u16string LocalToUtf16(const std::string& bytes) {
    if (IsValidUtf8(bytes.data(), bytes.size())) return FromUtf8(bytes);
    std::u16string text;
    if (ConvertToUtf16(CP_SHIFT_JIS, bytes.data(), bytes.size(), text)) return text;
    std::u16string latin;
    for (unsigned char c : bytes)
        latin.push_back(char16_t(c));
    return latin;
}

}  // namespace

std::unique_ptr<CYbSPIFile> CYbSPIFile::Load(const std::filesystem::path& path) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return nullptr;
    std::unique_ptr<CYbSPIFile> file(new CYbSPIFile());
    file->module_ = module;
    file->GetPluginInfo_ = reinterpret_cast<SpiGetPluginInfo>(dlsym(module, "GetPluginInfo"));
    file->IsSupported_ = reinterpret_cast<SpiIsSupported>(dlsym(module, "IsSupported"));
    file->GetPicture_ = reinterpret_cast<SpiGetPicture>(dlsym(module, "GetPicture"));
    file->FreeHandle_ = reinterpret_cast<SpiFreeHandle>(dlsym(module, "FreeHandle"));
    if (!file->GetPluginInfo_ || !file->IsSupported_ || !file->GetPicture_) return nullptr;
    return file;
}

CYbSPIFile::~CYbSPIFile() {
    if (module_) dlclose(module_);
}

bool CYbSPIFile::pluginInfo(int infono, std::u16string& text) const {
    char buffer[kInfoBufferBytes + 1] = {};
    if (GetPluginInfo_(infono, buffer, kInfoBufferBytes) <= 0) return false;
    text = LocalToUtf16(std::string(buffer, strnlen(buffer, kInfoBufferBytes)));
    return true;
}

bool CYbSPIFile::isSupported(const std::string& fileName, const uint8_t* head) const {
    return IsSupported_(fileName.c_str(), const_cast<uint8_t*>(head)) != 0;
}

void CYbSPIFile::appendFileFilters(std::vector<PictFileFilter>& filters) const {
    std::u16string pattern, description;
    for (int k = 0; k < 256; ++k) {
        if (!pluginInfo(2 * k + 2, pattern) || !pluginInfo(2 * k + 3, description)) break;
        filters.emplace_back(pattern, description);
    }
}

void CYbSPIFile::release(SpiHandle handle) const {
    if (!handle) return;
    if (FreeHandle_)
        FreeHandle_(handle);
    else
        free(handle);
}

bool CYbSPIFile::getPicture(const std::string& fileName, CYbBitmap& picture) const {
    SpiHandle info = nullptr, bits = nullptr;
    if (GetPicture_(fileName.c_str(), 0, 0, &info, &bits, NoProgress, 0) != SPI_SUCCESS)
        return false;  // the handles are not ours to touch after a failure
    bool ok = false;
    if (info && bits) {
        // Blocks from the C library's malloc are believed only as far as they really reach.
        // A plug-in that frees with its own FreeHandle may have taken them from any
        // allocator, where malloc_usable_size means nothing: its header is taken at its word.
        const bool measurable = !FreeHandle_;
        DibFormat format;
        const auto* header = static_cast<const uint8_t*>(info);
        if (ParseDibHeader(header, measurable ? malloc_usable_size(info) : SIZE_MAX, format)) {
            CYbBitmap decoded;
            ok = DibToBitmap(format, static_cast<const uint8_t*>(bits),
                             measurable ? malloc_usable_size(bits) : format.imageBytes(), true,
                             decoded);
            if (ok && format.bitCount == 32) OpaqueUnlessAlphaUsed(decoded);
            if (ok) picture = std::move(decoded);
        }
    }
    release(info);
    release(bits);
    return ok;
}

}  // namespace Yomibon

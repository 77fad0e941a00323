#include "render/pict_ole_renderer.h"

#include <fstream>
#include <system_error>

#include "platform/limits.h"
#include "platform/paths.h"
#include "render/picture_loader.h"
#include "render/picture_png.h"

namespace Yomibon {

namespace {

bool HasPngExtension(const std::u16string& path) {
    const size_t dot = path.rfind(u'.');
    if (dot == std::u16string::npos || path.find(u'/', dot) != std::u16string::npos) return false;
    std::u16string ext = path.substr(dot + 1);
    for (char16_t& c : ext)
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    return ext == u"png";
}

}  // namespace

bool ReadPictureFile(const std::u16string& path, std::vector<uint8_t>& bytes) {
    const std::filesystem::path fsPath = ToFsPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fsPath, ec)) return false;
    const uintmax_t size = std::filesystem::file_size(fsPath, ec);
    if (ec || size > Limits::kMaxPictureFileBytes) return false;
    std::ifstream in(fsPath, std::ios::binary);
    if (!in) return false;
    bytes.resize(size_t(size));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    return size_t(in.gcount()) == size;
}

bool CYbPictOleRenderer::readFile(std::u16string_view file, std::vector<uint8_t>& bytes,
                                  bool& png) {
    const std::u16string path = ResolvePath(curDir_, file);
    png = HasPngExtension(path);
    return ReadPictureFile(path, bytes);
}

bool CYbPictOleRenderer::canLoad(std::u16string_view file) {
    std::vector<uint8_t> bytes;
    bool png = false;
    if (!readFile(file, bytes, png)) return false;
    if (png) return true;
    // Deciding needs the whole decoding; its result is kept for the drawing that follows,
    // so that a picture is decoded once, not twice.
    SystemPicture picture;
    if (!LoadSystemPicture(bytes.data(), bytes.size(), picture) || picture.width <= 0 ||
        picture.height <= 0)
        return false;
    decodedPath_ = ResolvePath(curDir_, file);
    SystemPictureToBitmap(picture, decoded_);
    return true;
}

bool CYbPictOleRenderer::loadPicture(std::u16string_view file, CYbBitmap& picture) {
    if (!decodedPath_.empty()) {
        const bool same = decodedPath_ == ResolvePath(curDir_, file);
        decodedPath_.clear();
        if (same) {
            picture = std::move(decoded_);
            decoded_ = CYbBitmap();
            return true;
        }
        decoded_ = CYbBitmap();
    }
    std::vector<uint8_t> bytes;
    bool png = false;
    if (!readFile(file, bytes, png)) return false;
    if (png) return DecodePng(bytes.data(), bytes.size(), picture);
    SystemPicture loaded;
    if (!LoadSystemPicture(bytes.data(), bytes.size(), loaded)) return false;
    if (loaded.width <= 0 || loaded.height <= 0) return false;
    SystemPictureToBitmap(loaded, picture);
    return true;
}

void CYbPictOleRenderer::getFileFilters(std::vector<PictFileFilter>& filters) {
    filters.emplace_back(u"*.jpg;*.jpeg", u"Jpeg File");
    filters.emplace_back(u"*.png", u"PNG File");
}

bool CYbPictOleRenderer::setProperty(std::u16string_view key, std::u16string_view value) {
    if (key != u"CurDir") return false;
    curDir_ = value;
    return true;
}

bool CYbPictOleRenderer::getProperty(std::u16string_view key, std::u16string& value) {
    if (key != u"CurDir") return false;
    value = curDir_.empty() ? CurrentDirectory() : curDir_;
    return true;
}

}  // namespace Yomibon

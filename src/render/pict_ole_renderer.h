// The picture renderer for what the system picture loader reads (JPEG, GIF, BMP), and PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/pict_renderer.h"

namespace Yomibon {

class CYbPictOleRenderer : public CYbDecodingPictRenderer {
  public:
    // A .png name is enough: such a file is not decoded until it is drawn. Any other file
    // must load through the system loader with a positive size.
    bool canLoad(std::u16string_view file) override;
    std::u16string_view getClassName() const override { return u"CYbPictOleRenderer"; }
    void getFileFilters(std::vector<PictFileFilter>& filters) override;
    // "CurDir": the folder relative file names are taken from.
    bool setProperty(std::u16string_view key, std::u16string_view value) override;
    bool getProperty(std::u16string_view key, std::u16string& value) override;

    // Decodes the file into a 32-bit bitmap with alpha; false, picture unchanged, on failure.
    bool loadPicture(std::u16string_view file, CYbBitmap& picture) override;

  private:
    bool readFile(std::u16string_view file, std::vector<uint8_t>& bytes, bool& png);

    std::u16string curDir_;
    // The picture canLoad decoded last, handed to the next load of the same file.
    std::u16string decodedPath_;
    CYbBitmap decoded_;
};

// Reads a whole file, refusing ones past the picture file limit.
bool ReadPictureFile(const std::u16string& path, std::vector<uint8_t>& bytes);

}  // namespace Yomibon

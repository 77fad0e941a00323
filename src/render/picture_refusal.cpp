#include "render/picture_refusal.h"

#include "platform/limits.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

thread_local std::optional<PictureRefusal> lastRefusal;

// A count in the reader's units: "1 億", "2500 万", "640".
std::u16string JapaneseCount(uint64_t n) {
    std::string text;
    if (n >= 100'000'000) text += std::to_string(n / 100'000'000) + " 億";
    if (n % 100'000'000 >= 10'000)
        text += (text.empty() ? "" : " ") + std::to_string(n % 100'000'000 / 10'000) + " 万";
    if (n % 10'000 != 0 || n == 0) text += (text.empty() ? "" : " ") + std::to_string(n % 10'000);
    return FromUtf8(text);
}

}  // namespace

bool CheckPictureSize(uint64_t width, uint64_t height, uint64_t fileBytes) {
    if (Limits::PictureSizeAllowed(width, height, fileBytes)) return true;
    // A zero side is a broken header, not a size to tell the reader about.
    if (width != 0 && height != 0) lastRefusal = PictureRefusal{width, height};
    return false;
}

std::optional<PictureRefusal> TakePictureRefusal() {
    std::optional<PictureRefusal> refusal = lastRefusal;
    lastRefusal.reset();
    return refusal;
}

std::u16string PictureRefusalMessage(std::u16string_view file, const PictureRefusal& refusal) {
    const std::u16string size =
        FromUtf8(std::to_string(refusal.width) + " × " + std::to_string(refusal.height));
    return u"画像「" + std::u16string(file) + u"」は表示できません。\n" + size +
           u" ピクセルと記された画像で、大きすぎるか、ファイルの大きさに見合いません（上限 " +
           JapaneseCount(Limits::kMaxPicturePixels) + u"ピクセル）。";
}

}  // namespace Yomibon

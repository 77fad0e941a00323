#include "text/picture_annotation.h"

#include "text/annotation_table.h"
#include "text/annotation_text.h"
#include "text/text_types.h"

namespace Yomibon {
namespace {

bool IsPositiveNumber(std::u16string_view s) {
    return IsAllDigits(s) && AnnotationNumber(s) > 0;
}

// "「X」のキャプション付きの図" names its caption X; other forms are their own caption.
std::u16string_view CaptionOf(std::u16string_view head) {
    constexpr std::u16string_view kCaptioned = u"」のキャプション付き";
    size_t end = head.rfind(kCaptioned);
    if (head.starts_with(u'「') && end != std::u16string_view::npos) return head.substr(1, end - 1);
    return head;
}

}  // namespace

bool IsPictureAnnotation(std::u16string_view text) {
    // Every occurrence counts: a caption may name a figure ("「第一図」の…図（").
    for (std::u16string_view word : PictureWords()) {
        for (size_t at = text.find(word); at != std::u16string_view::npos;
             at = text.find(word, at + 1)) {
            size_t after = at + word.size();
            size_t paren = text.find(u'（', after);
            if (paren == std::u16string_view::npos) paren = text.size();
            std::u16string_view between = text.substr(after, paren - after);
            if (between.empty() || IsPositiveNumber(between)) return true;
        }
    }
    return false;
}

bool MakePictureRun(std::u16string_view x, int& textType, std::u16string& fields) {
    // The file's parentheses are the last ones: a caption may hold parentheses of its own.
    size_t paren = x.rfind(u'（');
    if (paren == std::u16string_view::npos) return false;
    std::u16string_view caption = CaptionOf(x.substr(0, paren));
    std::u16string_view rest = x.substr(paren + 1);
    std::u16string_view file, size, place;
    textType = TT_PICTURE;
    for (size_t item = 0; !rest.empty() || item == 0; ++item) {
        size_t comma = rest.find(u'、');
        std::u16string_view part = rest.substr(0, comma);
        rest = comma == std::u16string_view::npos ? std::u16string_view{} : rest.substr(comma + 1);
        if (item == 0) {
            file = part;
            continue;
        }
        if (part.find(u'×') != std::u16string_view::npos) size = part;
        for (const PicturePlacement& p : PicturePlacements())
            if (part.starts_with(p.word)) {
                place = part;
                textType = p.textType;
            }
    }
    fields.clear();
    for (std::u16string_view f : {file, caption, size, place}) {
        fields += f;
        fields.push_back(u'\0');
    }
    fields.push_back(u'\0');
    return true;
}

}  // namespace Yomibon

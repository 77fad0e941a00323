// IMG: external characters drawn as pictures by the library, and illustrations.
#include <cstdlib>

#include "platform/paths.h"
#include "platform/utf16.h"
#include "text/gaiji_table.h"
#include "text/html_node_parser.h"
#include "text/html_resource_loader.h"
#include "text/picture_size.h"

namespace Yomibon {
namespace {

// "※(「てへん＋劣」、第3水準1-85-54)" -> "「てへん＋劣」、第3水準1-85-54".
bool GaijiAnnotation(const std::u16string& alt, std::u16string& out) {
    size_t open = alt.find(u"※(");
    if (open == std::u16string::npos) open = alt.find(u"※（");
    if (open == std::u16string::npos) return false;
    size_t close = alt.find_last_of(u")）");
    if (close == std::u16string::npos || close <= open + 2) return false;
    out = alt.substr(open + 2, close - open - 2);
    return !out.empty();
}

// The part between "「" and "」" names the character; otherwise the text up to "、".
std::u16string GaijiDescription(const std::u16string& x) {
    size_t open = x.find(u'「');
    size_t close = open == std::u16string::npos ? open : x.find(u'」', open + 1);
    if (close != std::u16string::npos) return x.substr(open + 1, close - open - 1);
    return x.substr(0, x.find(u'、'));
}

int32_t Dimension(const std::string& attr) {
    char* end = nullptr;
    long v = std::strtol(attr.c_str(), &end, 10);
    return end != attr.c_str() && v > 0 && v < 1'000'000 ? int32_t(v) : 0;
}

}  // namespace

void CYbHTMLTxtNodeParser::endImage(const Frame& frame) {
    const CYbHtmlNode& node = frame.node;
    std::u16string alt = FromUtf8(node.attr("alt"));
    std::u16string annotation;
    if (node.attr("class") == "gaiji" && GaijiAnnotation(alt, annotation)) {
        std::u16string found;
        if (LookupExternalChar(annotation, found)) return addText(found);
        addText(u"※");
        TextInfo& mark = runs_.back();
        mark.str = GaijiDescription(annotation);
        mark.textType = TT_EXTERNAL_CHAR;
        mark.tpBegin = {int32_t(runs_.size()) - 1, 0};
        return;
    }
    std::string src = node.attr("src");
    if (src.empty() || !options_.loader) return;
    // The size written in the page decides before anything is fetched; the file's own
    // header only when the page gives none.
    int32_t width = Dimension(node.attr("width")), height = Dimension(node.attr("height"));
    bool knownSize = width > 0 && height > 0;
    auto tooSmall = [&] {
        return (options_.minPictureWidth > 0 && width < options_.minPictureWidth) ||
               (options_.minPictureHeight > 0 && height < options_.minPictureHeight);
    };
    if (knownSize && tooSmall()) return;
    HtmlResource picture;
    if (!options_.loader->loadLinked(ResolveHtmlUrl(options_.documentUrl, src), picture) ||
        picture.localFile.empty())
        return;  // a picture that cannot be found is left out
    if (!knownSize && (!PictureHeaderSize(picture.bytes, width, height) || tooSmall())) return;
    std::u16string text = FromFsPath(picture.localFile);
    text.push_back(0);
    text += alt;
    text.push_back(0);
    text += u"Size";
    text.push_back(0);
    text += u"Pos";
    text.push_back(0);
    text.push_back(0);
    uint16_t link = currentLink_ < 0 ? 0xFFFF : uint16_t(currentLink_ % 0xFFFF);
    appendRun(TT_PICTURE_PAGE, std::move(text), {0, 0}, {0, -1}, link);
}

}  // namespace Yomibon

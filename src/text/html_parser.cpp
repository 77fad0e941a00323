#include "text/html_parser.h"

#include <algorithm>
#include <cctype>

#include "platform/html_engine.h"
#include "platform/limits.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"
#include "text/char_sizes.h"
#include "text/file_kind.h"
#include "text/html_encoding.h"
#include "text/html_file_loader.h"
#include "text/html_node_parser.h"
#include "text/html_prepare.h"

namespace Yomibon {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::u16string NestingNotice() {
    return u"HTML の要素の入れ子が深すぎます（上限 " +
           FromUtf8(std::to_string(Limits::kMaxHtmlNestingDepth)) +
           u" 段）。それより深いタグは反映せず、中の文章だけを表示します。";
}

}  // namespace

bool IsLibraryCardPage(const std::string& url) {
    std::string stripped;
    for (char c : Lower(url))
        if (!std::isdigit(static_cast<unsigned char>(c))) stripped.push_back(c);
    return stripped.find("//www.aozora.gr.jp/cards//card.html") != std::string::npos;
}

bool IsPlainTextDocument(const HtmlResource& resource) {
    std::string type = Lower(resource.contentType);
    if (!type.empty()) return type.starts_with("text/plain");
    std::string name = resource.url.substr(0, resource.url.find_first_of("?#"));
    return ExtensionIs(NameExtension(FromUtf8(name)), u"TXT");
}

CYbHTMLTxtParser::CYbHTMLTxtParser(const CYbTxtParam* param) : param_(param) {}

CYbHTMLTxtParser::~CYbHTMLTxtParser() = default;

CYbHtmlResourceLoader& CYbHTMLTxtParser::loader() {
    if (loader_) return *loader_;
    if (!fileLoader_) fileLoader_ = std::make_unique<CYbHtmlFileLoader>();
    return *fileLoader_;
}

bool CYbHTMLTxtParser::loadFile(const std::u16string& fileName, CYbTxtBuffer& buffer) {
    title_.clear();
    author_.clear();
    info_.clear();
    notice_.clear();
    HtmlResource resource;
    if (!loader().loadDocument(ToUtf8(fileName), resource)) {
        message_ = loader().message();
        return false;
    }
    if (resource.url.empty()) resource.url = ToUtf8(fileName);
    if (!parseResource(resource, buffer)) return false;
    if (title_.empty()) title_ = fileName;
    return true;
}

bool CYbHTMLTxtParser::parseResource(const HtmlResource& resource, CYbTxtBuffer& buffer) {
    message_.clear();
    notice_.clear();
    if (IsPlainTextDocument(resource)) {
        CYbAozoraTxtParser text;
        std::u16string decoded =
            CYbAozoraTxtParser::DecodeText(resource.bytes.data(), resource.bytes.size());
        text.parseText(std::u16string_view(decoded), buffer);
        title_ = text.getTitle();
        author_ = text.getAuthor();
        info_ = text.getInfo();
        notice_ = text.getNotice();
        return true;
    }
    std::string utf8 = DropRubyMarkup(DecodeHtmlDocument(resource.bytes, resource.contentType));
    CYbHtmlEngineDocument document;
    CYbHtmlResourceLoader& source = loader();
    auto css = [&source](const std::string& url, std::string& out) {
        HtmlResource sheet;
        if (!source.loadLinked(url, sheet)) return false;
        out = DecodeHtmlDocument(sheet.bytes, sheet.contentType);
        return true;
    };
    if (!document.load(utf8, resource.url, css)) {
        message_ = u"文書を読み取れませんでした。";
        return false;
    }
    std::string().swap(utf8);
    if (document.nestingCut()) notice_ = NestingNotice();
    HtmlWalkOptions options;
    options.documentUrl = resource.url;
    options.loader = &source;
    options.cardPage = IsLibraryCardPage(resource.url);
    if (param_) {
        int32_t skip[2] = {100, 100};
        if (param_->GetPoints(u"SkipHTMLImgSize", 2, skip) == 2) {
            options.minPictureWidth = skip[0];
            options.minPictureHeight = skip[1];
        }
    }
    {
        CYbHTMLTxtNodeParser walker(buffer, title_, author_, info_, options);
        walker.walk(document.body());
    }
    if (title_.empty()) {
        std::u16string title = FromUtf8(document.title());
        std::replace(title.begin(), title.end(), u'\n', u' ');
        title_ = title;
    }
    MarkBold(buffer);
    MarkSizes(buffer);
    return true;
}

}  // namespace Yomibon

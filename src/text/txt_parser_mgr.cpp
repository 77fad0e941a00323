#include "text/txt_parser_mgr.h"

#include "text/aozora_parser.h"
#include "text/file_kind.h"
#include "text/html_parser.h"

namespace Yomibon {
namespace {

void CopyStrings(const CYbTxtParser& parser, CYbTxtBuffer& buffer) {
    buffer.setTitle(parser.getTitle());
    buffer.setAuthor(parser.getAuthor());
    buffer.setInfo(parser.getInfo());
}

}  // namespace

int CYbTxtParserMgr::chooseParser(std::u16string_view name) const {
    if (IsUrlName(name)) return PK_HTML;
    return IsHtmlExtension(NameExtension(name)) ? PK_HTML : PK_AOZORA;
}

std::unique_ptr<CYbTxtParser> CYbTxtParserMgr::createParser(int kind) const {
    if (kind == PK_AOZORA) return std::make_unique<CYbAozoraTxtParser>();
    auto html = std::make_unique<CYbHTMLTxtParser>(param_);
    html->setLoader(htmlLoader_);
    return html;
}

bool CYbTxtParserMgr::open(const std::u16string& name, CYbTxtBuffer& buffer) const {
    message_.clear();
    std::unique_ptr<CYbTxtParser> parser = createParser(chooseParser(name));
    if (parser && parser->loadFile(name, buffer)) {
        CopyStrings(*parser, buffer);
        return true;
    }
    if (auto* html = dynamic_cast<CYbHTMLTxtParser*>(parser.get())) message_ = html->message();
    buffer.clear();
    buffer.setTitle(name);
    buffer.setAuthor({});
    buffer.setInfo({});
    return false;
}

bool CYbTxtParserMgr::parse(char16_t* text, CYbTxtBuffer& buffer) const {
    CYbAozoraTxtParser parser;
    if (parser.parseText(text, buffer)) {
        CopyStrings(parser, buffer);
        return true;
    }
    buffer.setTitle({});
    buffer.setAuthor({});
    buffer.setInfo({});
    return false;
}

}  // namespace Yomibon

#include "text/txt_parser_mgr.h"

#include "text/aozora_parser.h"
#include "text/file_kind.h"

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

std::unique_ptr<CYbTxtParser> CYbTxtParserMgr::createParser(int kind) {
    // HTML documents get their own parser; until it is part of the build an HTML name
    // fails to open like any file its parser cannot read.
    if (kind == PK_AOZORA) return std::make_unique<CYbAozoraTxtParser>();
    return nullptr;
}

bool CYbTxtParserMgr::open(const std::u16string& name, CYbTxtBuffer& buffer,
                           CYbTxtParser::LoadPhases* phases) const {
    std::unique_ptr<CYbTxtParser> parser = createParser(chooseParser(name));
    if (parser && parser->loadFile(name, buffer)) {
        CopyStrings(*parser, buffer);
        if (phases) *phases = parser->loadPhases();
        return true;
    }
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

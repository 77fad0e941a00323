#include "text/txt_parser_mgr.h"

#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"
#include "text/file_kind.h"
#include "text/html_file_loader.h"
#include "text/html_net_loader.h"
#include "text/html_parser.h"

namespace Yomibon {
namespace {

void CopyStrings(const CYbTxtParser& parser, CYbTxtBuffer& buffer) {
    buffer.setTitle(parser.getTitle());
    buffer.setAuthor(parser.getAuthor());
    buffer.setInfo(parser.getInfo());
    buffer.setNotice(parser.getNotice());
}

}  // namespace

int CYbTxtParserMgr::chooseParser(std::u16string_view name) const {
    if (IsUrlName(name)) return PK_HTML;
    return IsHtmlExtension(NameExtension(name)) ? PK_HTML : PK_AOZORA;
}

std::unique_ptr<CYbTxtParser> CYbTxtParserMgr::createParser(int kind) const {
    if (kind == PK_AOZORA) {
        auto aozora = std::make_unique<CYbAozoraTxtParser>();
        aozora->setStopFlag(stop_);
        return aozora;
    }
    auto html = std::make_unique<CYbHTMLTxtParser>(param_);
    html->setLoader(htmlLoader_);
    return html;
}

bool CYbTxtParserMgr::open(const std::u16string& name, CYbTxtBuffer& buffer, const NetOptions* net,
                           CYbTxtParser::LoadPhases* phases) const {
    message_.clear();
    cancelled_ = false;
    const int kind = chooseParser(name);
    std::unique_ptr<CYbTxtParser> parser = createParser(kind);
    // Addresses (http, https, file:) are read through the network loader, which keeps
    // local names with the file loader and refuses other schemes.
    CYbHtmlFileLoader fileLoader;
    std::unique_ptr<CYbHtmlNetLoader> netLoader;
    if (kind == PK_HTML && !htmlLoader_ && IsUrlName(name)) {
        NetOptions options =
            net ? *net : NetOptionsFrom(param_ ? *param_ : CYbTxtParam(), DataFolder());
        netLoader = std::make_unique<CYbHtmlNetLoader>(options, fileLoader);
        static_cast<CYbHTMLTxtParser&>(*parser).setLoader(netLoader.get());
    }
    bool ok = parser && parser->loadFile(name, buffer);
    // A transfer cancelled while pictures were fetched gives up the whole load.
    if (ok && netLoader && netLoader->cancelled()) {
        ok = false;
        message_ = netLoader->message();
    }
    if (ok) {
        CopyStrings(*parser, buffer);
        if (phases) *phases = parser->loadPhases();
        return true;
    }
    cancelled_ = netLoader && netLoader->cancelled();
    if (auto* html = dynamic_cast<CYbHTMLTxtParser*>(parser.get()); html && message_.empty())
        message_ = html->message();
    buffer.clear();
    buffer.setTitle(name);
    buffer.setAuthor({});
    buffer.setInfo({});
    return false;
}

bool CYbTxtParserMgr::openHead(const std::u16string& name, CYbTxtBuffer& buffer, size_t bytes,
                               bool& whole) const {
    if (chooseParser(name) != PK_AOZORA) return false;
    CYbAozoraTxtParser parser;
    if (!parser.loadHead(name, buffer, bytes, whole)) {
        buffer.clear();
        return false;
    }
    CopyStrings(parser, buffer);
    return true;
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

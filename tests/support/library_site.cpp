#include "support/library_site.h"

#include "platform/codepage.h"

namespace Yomibon::Test {
namespace {

std::string ShiftJis(const std::u16string& text) {
    std::string out;
    ConvertFromUtf16(CP_SHIFT_JIS, text, out);
    return out;
}

// Shaped like the library's XHTML: Shift_JIS, linked style sheet two folders up, title and
// author headings, ruby, an indented block whose indent only the style sheet gives.
std::string Xhtml() {
    return ShiftJis(
        u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
        u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
        u"\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\r\n"
        u"<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ja\">\r\n<head>\r\n"
        u"<link rel=\"stylesheet\" type=\"text/css\" href=\"../../aozora.css\" />\r\n"
        u"<title>太宰治 走れメロス</title>\r\n</head>\r\n<body>\r\n"
        u"<div class=\"metadata\">\r\n<h1 class=\"title\">走れメロス</h1>\r\n"
        u"<h2 class=\"author\">太宰治</h2>\r\n</div>\r\n<div class=\"main_text\">"
        u"　メロスは<ruby><rb>激怒</rb><rp>（</rp><rt>げきど</rt><rp>）</rp></ruby>した。<br />\r\n"
        u"<img class=\"illustration\" src=\"fig1567.png\" alt=\"メロスの図\" /><br />\r\n"
        u"<div class=\"jisage_3\">三字下げの段落。<br />\r\n</div>\r\n"
        u"　必ず、かの王を除かなければならぬと決意した。<br />\r\n</div>\r\n"
        u"<div class=\"bibliographical_information\">底本：「太宰治全集３」筑摩書房</div>\r\n"
        u"</body>\r\n</html>\r\n");
}

std::string Card() {
    return "<html><head><meta charset=\"utf-8\"/><title>図書カード：走れメロス</title></head>"
           "<body><h1>図書カード：No.1567</h1><p>作品名：走れメロス</p>"
           "<a href=\"./files/1567_14913.html\">いますぐXHTML版で読む</a></body></html>";
}

std::string PlainText() {
    return ShiftJis(u"走れメロス\r\n太宰治\r\n\r\n　メロスは激怒《げきど》した。\r\n");
}

}  // namespace

LibrarySite::LibrarySite(const std::string& picture) {
    server.route(kXhtml, {200, "text/html", Xhtml(), {}});
    server.route(kStyle, {200, "text/css", ".jisage_3 { margin-left: 3em; }\n", {}});
    server.route(kPicture, {200, "image/png", picture, {}});
    server.route(kCard, {200, "text/html; charset=UTF-8", Card(), {}});
    server.route(kText, {200, "text/plain; charset=Shift_JIS", PlainText(), {}});
    server.redirect(kRedirect, kXhtml);
    HttpTestServer::Response silent;
    silent.neverAnswer = true;
    server.route(kSilent, silent);
}

}  // namespace Yomibon::Test

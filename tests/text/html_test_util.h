// Shared helpers of the HTML parser tests: parse a document written to a temporary file.
#pragma once

#include <string>
#include <vector>

#include "parser_test_util.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/html_parser.h"

namespace Yomibon::Test {

struct HtmlParsed {
    bool ok = false;
    CYbTxtBuffer buffer;
    std::u16string title, author, info, message, notice;
};

// Writes the bytes as `name` in a fresh folder (plus extra files) and loads it.
inline HtmlParsed ParseHtmlFile(
    const std::string& bytes, const std::string& name = "doc.html",
    const CYbTxtParam* param = nullptr,
    const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    TempDir dir;
    WriteFile(dir.path() / name, bytes);
    for (const auto& [file, content] : extra) {
        std::filesystem::create_directories((dir.path() / file).parent_path());
        WriteFile(dir.path() / file, content);
    }
    HtmlParsed out;
    CYbHTMLTxtParser parser(param);
    out.ok = parser.loadFile(FromUtf8((dir.path() / name).string()), out.buffer);
    out.title = parser.getTitle();
    out.author = parser.getAuthor();
    out.info = parser.getInfo();
    out.message = parser.message();
    out.notice = parser.getNotice();
    return out;
}

inline HtmlParsed ParseBody(const std::string& body, const CYbTxtParam* param = nullptr) {
    return ParseHtmlFile("<html><head><meta charset=\"utf-8\"/><title>T</title></head><body>" +
                             body + "</body></html>",
                         "doc.html", param);
}

// All lines described, one per line of the string, empty lines left out.
inline std::string DescribeAll(const CYbTxtBuffer& buffer) {
    std::string out;
    for (const LineInfo& line : buffer.lines()) {
        std::string d = DescribeLine(line);
        if (!d.empty()) out += d + "\n";
    }
    return out;
}

inline std::vector<TextInfo> RunsOfType(const CYbTxtBuffer& buffer, int type) {
    std::vector<TextInfo> out;
    for (const LineInfo& line : buffer.lines())
        for (const TextInfo& run : line.runs)
            if (run.textType == type) out.push_back(run);
    return out;
}

inline std::u16string PlainText(const CYbTxtBuffer& buffer) {
    std::u16string out;
    for (const LineInfo& line : buffer.lines())
        for (const TextInfo& run : line.runs)
            if (run.textType == TT_TEXT) out += run.str;
    return out;
}

}  // namespace Yomibon::Test

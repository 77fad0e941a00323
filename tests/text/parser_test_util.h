// Shared helpers of the parser tests: parse notation, describe a line's runs compactly.
#pragma once

#include <string>

#include "platform/utf16.h"
#include "text/aozora_parser.h"
#include "text/text_buffer.h"

namespace Yomibon::Test {

// Parses notation (lines separated by "\n") into a fresh buffer.
inline CYbTxtBuffer ParseNotation(std::u16string_view text, CYbAozoraTxtParser* out = nullptr) {
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(text, buffer);
    if (out) *out = parser;
    return buffer;
}

// A line's runs: plain runs as their text, others as {type:text@b.i,b.p-e.i,e.p}.
inline std::string DescribeLine(const LineInfo& line) {
    std::string out;
    for (const TextInfo& run : line.runs) {
        if (!out.empty()) out += ' ';
        if (run.textType == TT_TEXT) {
            out += ToUtf8(run.str);
            continue;
        }
        std::u16string text = run.str;
        for (char16_t& c : text)
            if (c == 0) c = u'|';
        out += "{" + std::to_string(run.textType) + ":" + ToUtf8(text) + "@" +
               std::to_string(run.tpBegin.iIndex) + "," + std::to_string(run.tpBegin.iPos) + "-" +
               std::to_string(run.tpEnd.iIndex) + "," + std::to_string(run.tpEnd.iPos) + "}";
    }
    return out;
}

inline std::string DescribeLine(const CYbTxtBuffer& buffer, int line) {
    if (line < 0 || line >= buffer.lineCount()) return "<no line>";
    return DescribeLine(buffer.lines()[size_t(line)]);
}

}  // namespace Yomibon::Test

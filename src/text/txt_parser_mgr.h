// Chooses the parser for a name and runs it: one fresh parser per load.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "text/text_buffer.h"
#include "text/txt_parser.h"

namespace Yomibon {

class CYbTxtParserMgr {
  public:
    enum ParserKind : int { PK_HTML = 0, PK_AOZORA = 1 };

    virtual ~CYbTxtParserMgr() = default;

    // HTML for a URL or an .html/.htm/.xhtml name (a "#" fragment cut off first), otherwise
    // the Aozora text parser.
    int chooseParser(std::u16string_view name) const;
    // Loads a file into the buffer. On success the buffer carries the parser's title,
    // author and information; on failure the buffer is empty and titled with the name.
    // `phases`, when given, receives the parser's read and decode times.
    bool open(const std::u16string& name, CYbTxtBuffer& buffer,
              CYbTxtParser::LoadPhases* phases = nullptr) const;
    // Parses a zero-terminated, writable text with the Aozora parser.
    bool parse(char16_t* text, CYbTxtBuffer& buffer) const;

    // The parser of a kind; null when that parser is not available.
    static std::unique_ptr<CYbTxtParser> createParser(int kind);
};

}  // namespace Yomibon

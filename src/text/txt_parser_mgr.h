// Chooses the parser for a name and runs it: one fresh parser per load.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "text/net_options.h"
#include "text/text_buffer.h"
#include "text/txt_parser.h"

namespace Yomibon {

class CYbTxtParam;
class CYbHtmlResourceLoader;

class CYbTxtParserMgr {
  public:
    enum ParserKind : int { PK_HTML = 0, PK_AOZORA = 1 };

    // The settings the parsers read (the HTML parser's picture threshold); null: defaults.
    explicit CYbTxtParserMgr(const CYbTxtParam* param = nullptr) : param_(param) {}
    virtual ~CYbTxtParserMgr() = default;

    // Where the HTML parser gets documents and linked files; null: local files only.
    void setHtmlLoader(CYbHtmlResourceLoader* loader) { htmlLoader_ = loader; }

    // HTML for a URL or an .html/.htm/.xhtml name (a "#" fragment cut off first), otherwise
    // the Aozora text parser.
    int chooseParser(std::u16string_view name) const;
    // Loads a file into the buffer. On success the buffer carries the parser's title,
    // author and information; on failure the buffer is empty and titled with the name.
    // Addresses are read through the network loader with `net` (without it, with the
    // settings' proxy and the default timeouts), unless a loader was set. `phases`, when
    // given, receives the parser's read and decode times.
    bool open(const std::u16string& name, CYbTxtBuffer& buffer, const NetOptions* net = nullptr,
              CYbTxtParser::LoadPhases* phases = nullptr) const;
    // Parses only the head of a local text in notation (the bytes asked for, up to the last
    // line end in them; `whole` tells that they were the whole file). False for addresses,
    // HTML, and files whose head cannot be read or holds no line end.
    bool openHead(const std::u16string& name, CYbTxtBuffer& buffer, size_t bytes,
                  bool& whole) const;
    // A flag another thread may raise to stop a load of a text in notation (it then fails).
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    // Parses a zero-terminated, writable text with the Aozora parser.
    bool parse(char16_t* text, CYbTxtBuffer& buffer) const;

    // The parser of a kind; null when that parser is not available.
    std::unique_ptr<CYbTxtParser> createParser(int kind) const;
    // Why the last open failed, when the parser could say (empty otherwise).
    const std::u16string& message() const { return message_; }
    // True when the last open failed because the reader cancelled a transfer.
    bool cancelled() const { return cancelled_; }

  private:
    const CYbTxtParam* param_ = nullptr;
    CYbHtmlResourceLoader* htmlLoader_ = nullptr;
    const std::atomic<bool>* stop_ = nullptr;
    mutable std::u16string message_;
    mutable bool cancelled_ = false;
};

}  // namespace Yomibon

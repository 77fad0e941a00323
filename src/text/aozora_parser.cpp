#include "text/aozora_parser.h"

#include "text/accent_table.h"
#include "text/char_sizes.h"
#include "text/title_info.h"

namespace Yomibon {

void CYbAozoraTxtParser::reset() {
    indents_.clear();
    bottoms_.clear();
    boxes_.clear();
    limits_.clear();
    slots_ = {};
    oneLineIndent_ = oneLineBottom_ = false;
    nestingCut_ = false;
    storedRuns_ = 0;
    runsCut_ = false;
    inComment_ = inBibliography_ = false;
    runs_.clear();
    arena_.clear();
    pendingBar_ = -1;
    plainOpen_ = false;
    author_.clear();
    info_.clear();
}

bool CYbAozoraTxtParser::parseText(char16_t* text, CYbTxtBuffer& buffer) {
    if (!text) return false;
    size_t n = 0;
    while (text[n])
        ++n;
    std::u16string copy(text, n);
    // Line ends become zeros, as the callers of this form expect.
    for (size_t i = 0; i < n; ++i)
        if (text[i] == u'\r' || text[i] == u'\n') text[i] = 0;
    return parseText(std::u16string_view(copy), buffer);
}

bool CYbAozoraTxtParser::parseText(std::u16string_view text, CYbTxtBuffer& buffer) {
    buffer_ = &buffer;
    reset();
    buffer.addLine(LineInfo{});
    size_t start = 0;
    bool accent = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // Nearly every character lies above the line ends: one comparison passes it.
        if (c > u'\r') {
            if (c == u'〔') accent = true;
            continue;
        }
        if (c != u'\r' && c != u'\n') continue;
        wrapLine(text.substr(start, i - start), accent);
        if (runsCut_) break;
        if (stopRequested()) {
            buffer_ = nullptr;
            return false;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
        accent = false;
    }
    if (!runsCut_) wrapLine(text.substr(start), accent);
    postProcess();
    buffer_ = nullptr;
    return true;
}

void CYbAozoraTxtParser::wrapLine(std::u16string_view line, bool hasAccent) {
    // The plain runs are views of the line parsed: it must live until they are stored.
    std::u16string converted;
    if (hasAccent) {
        converted = ConvertAccents(line, AccentTable());
        parseLine(converted);
    } else {
        parseLine(line);
    }
    flushRunsAsLine();
    if (oneLineIndent_) {
        oneLineIndent_ = false;
        if (!indents_.empty()) indents_.pop_back();
        if (!indents_.empty()) {
            LineInfo restore;
            restore.runs.push_back(TextInfo{u"",
                                            0xFFFF,
                                            {indents_.back().first, 0},
                                            {indents_.back().second, -1},
                                            TT_INDENT_START});
            buffer_->addLine(std::move(restore));
        }
    }
    if (oneLineBottom_) {
        oneLineBottom_ = false;
        if (!bottoms_.empty()) bottoms_.pop_back();
        if (!bottoms_.empty()) {
            LineInfo restore;
            restore.runs.push_back(TextInfo{u"",
                                            0xFFFF,
                                            {bottoms_.back().first, 0},
                                            {bottoms_.back().second, -1},
                                            TT_BOTTOM_START});
            buffer_->addLine(std::move(restore));
        }
    }
}

void CYbAozoraTxtParser::postProcess() {
    CYbTxtBuffer& buffer = *buffer_;
    {
        TitleType title(buffer, title_, author_, info_);
        buffer.forEachAll(title);
    }
    if (inBibliography_) {
        // The walk of forEachAll to the first run InfoType takes, without a virtual call for
        // each of the runs before it (the whole body).
        InfoType info(buffer, info_);
        auto& lines = buffer.lines();
        bool found = false;
        for (int32_t l = 0; l < int32_t(lines.size()) && !found; ++l) {
            auto& runs = lines[size_t(l)].runs;
            for (int32_t r = 0; r < int32_t(runs.size()) && !found; ++r)
                if (info.InfoType::isValid(runs[size_t(r)].textType))
                    found = !info.InfoType::setType({l, r, 0}, runs[size_t(r)]);
        }
    }
    MarkBold(buffer);
    MarkSizes(buffer);
}

}  // namespace Yomibon

// The walker of one HTML load: turns the engine's node tree into lines of typed runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/html_engine.h"
#include "text/text_buffer.h"

namespace Yomibon {

class CYbHtmlResourceLoader;

// What a walk needs besides the tree.
struct HtmlWalkOptions {
    std::string documentUrl;                  // base of relative addresses
    CYbHtmlResourceLoader* loader = nullptr;  // for pictures
    int32_t minPictureWidth = 100;            // SkipHTMLImgSize
    int32_t minPictureHeight = 100;
    bool cardPage = false;  // rewrite the labels of links to the texts
};

class CYbHTMLTxtNodeParser {
  public:
    CYbHTMLTxtNodeParser(CYbTxtBuffer& buffer, std::u16string& title, std::u16string& author,
                         std::u16string& info, HtmlWalkOptions options);
    virtual ~CYbHTMLTxtNodeParser() = default;

    // Walks the body in document order (without recursion), then closes the last line.
    void walk(const CYbHtmlNode& body);

  private:
    using IndentPair = std::pair<int32_t, int32_t>;
    // Where the content of an element began, and what it changed.
    struct Frame {
        CYbHtmlNode node;
        int code = 0;
        size_t next = 0;
        bool styled = false;
        bool block = false;
        IndentPair indentBefore{0, 0};
        std::optional<int32_t> bottomBefore;
        int weightBefore = 0;
        int32_t line = 0;  // line index and run index of the element's first run
        int32_t run = 0;
        int linkId = -1;
        int outerLink = -1;
        std::u16string href;
    };

    bool enter(Frame& frame);
    void leave(Frame& frame);
    bool skipped(const Frame& frame) const;

    // Style processing (block layout from cascaded style) and its undoing.
    bool applyStyle(Frame& frame);
    void restoreStyle(const Frame& frame);
    void setWeight(int weight);
    bool setIndent(IndentPair pair);
    bool setBottom(std::optional<int32_t> raise);

    // Start and end actions.
    void startElement(Frame& frame);
    void endElement(Frame& frame);
    void endLink(const Frame& frame);
    void endHeading(const Frame& frame);
    void endRt(const Frame& frame);
    void endImage(const Frame& frame);
    void endMark(const Frame& frame, int type);
    void setPlainType(const Frame& frame, int type);

    // Text.
    void addTextNode(const Frame& frame);
    void addText(std::u16string_view text);
    void addBodyText(std::u16string_view text);
    void flushSpace(char32_t next);

    // Lines.
    void closeLine();
    void storeLine();
    void startLine();
    bool hasContent() const;
    void breakBlock();
    void appendRun(int type, std::u16string str, RunPoint begin, RunPoint end,
                   uint16_t chrType = 0xFFFF);
    // Appends one run of `type` per line over the runs from (line, run) to here.
    void appendRangeRuns(int type, const std::u16string& str, int32_t line, int32_t run);
    std::vector<TextInfo>& runsOfLine(int32_t line);
    bool inRuby() const { return rubyDepth_ > 0; }

    CYbTxtBuffer& buffer_;
    std::u16string& title_;
    std::u16string& author_;
    std::u16string& info_;
    HtmlWalkOptions options_;
    std::vector<TextInfo> runs_;
    int32_t baseLine_ = 0;
    int32_t lineIndex_ = 0;
    int32_t rubyStart_ = -1;
    int rubyDepth_ = 0;
    IndentPair indent_{0, 0};
    std::optional<int32_t> bottom_;
    int weight_ = 0;
    int linkCounter_ = 0;
    int currentLink_ = -1;
    bool bibliography_ = false;
    // Collapsing white space as a browser does: a pending space, and the last character.
    bool pendingSpace_ = false;
    bool pendingBreak_ = false;
    char32_t lastChar_ = 0;
    std::vector<Frame> stack_;
};

}  // namespace Yomibon

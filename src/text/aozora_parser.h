// The parser of Aozora Bunko notation: ruby, annotations, external characters, accents.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/limits.h"
#include "text/char_arena.h"
#include "text/txt_parser.h"

namespace Yomibon {

struct AnnotationRow;
struct SpecialCharRow;

class CYbAozoraTxtParser : public CYbTxtParser {
  public:
    CYbAozoraTxtParser() = default;
    ~CYbAozoraTxtParser() override = default;

    bool loadFile(const std::u16string& fileName, CYbTxtBuffer& buffer) override;
    bool parseText(char16_t* text, CYbTxtBuffer& buffer) override;
    // The same for a text of known length (zeros inside it are ordinary characters).
    bool parseText(std::u16string_view text, CYbTxtBuffer& buffer);
    // Reads only the first `bytes` of a file and parses the whole lines among them, so that
    // the start of a long text can be shown while the rest is read. `whole` tells that they
    // were the whole file (the result is then loadFile's). False when the file cannot be
    // read or no line of it ends within the bytes read.
    bool loadHead(const std::u16string& fileName, CYbTxtBuffer& buffer, size_t bytes, bool& whole);
    // A flag another thread may raise to stop a load between two lines; the load then fails.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

    std::u16string getName() const override { return u"CYbAozoraTxtParser"; }
    std::u16string getTitle() const override { return title_; }
    std::u16string getAuthor() const override { return author_; }
    std::u16string getInfo() const override { return info_; }
    std::u16string getNotice() const override;

    // Lowers the number of runs past which the text is left out (Limits::kMaxTextRuns).
    void setMaxRuns(size_t runs) { maxRuns_ = runs; }

    // Decodes the bytes of a file to UTF-16 the way loadFile does.
    static std::u16string DecodeText(const char* data, size_t size);

  private:
    using IndentPair = std::pair<int32_t, int32_t>;
    struct RangeSlot {
        int32_t count = 0;
        RunPoint start{0, 0};
        uint16_t chrType = 0xFFFF;  // class of the runs the range yields (size steps)
    };
    // A matched annotation: the row and where its inner text lies.
    struct Match {
        int row = -1;
        size_t innerBegin = 0;
        size_t innerEnd = 0;
        size_t next = 0;
    };

    void reset();
    bool stopRequested() const { return stop_ && stop_->load(std::memory_order_relaxed); }
    void wrapLine(std::u16string_view line, bool hasAccent);
    void parseLine(std::u16string_view line);
    bool parseWholeLine(std::u16string_view line);
    void walkLine(std::u16string_view line);
    bool matchAnnotation(std::u16string_view line, size_t at, Match& match) const;
    void appendPlain(std::u16string_view line, size_t& i);
    void closePlain(std::u16string_view line);
    void noteRunAdded();
    void appendSpecial(const SpecialCharRow& row);
    void cutOpenRanges();
    void postProcess();

    // Actions by text type (X is the inner text).
    void act(int type, std::u16string_view x);
    void actRuby(std::u16string_view x);
    RunPoint baseOverExternal(int32_t last) const;
    void actAnnotatedRuby(std::u16string_view x);
    void actTargetOrRange(int type, std::u16string_view x);
    void actRangeEnd(std::u16string_view x);
    void actNote(std::u16string_view x);
    void actLineSmall(int type, std::u16string_view x);
    void actCutOut(int type, std::u16string_view x);
    // "［＃「X」はN段階大きな文字］", "［＃ここからN段階小さな文字］" and the like.
    void actSize(int type, std::u16string_view x);
    // "X［＃「X」はキャプション］" on the line after a picture: X is that picture's caption,
    // set beside it rather than again in the text.
    void actCaption(std::u16string_view x);
    void actIndent(int type, std::u16string_view x);
    void actIndentEnd();
    void actBottom(int type, std::u16string_view x);
    void actBottomEnd();
    void actLimit(int type, std::u16string_view x);
    void endIndentLimit();
    void actPicture(std::u16string_view x);
    void actBoxStart();
    void actQuoteNote(std::u16string_view x);
    void actExternal(std::u16string_view x);
    void actBreak(int type);
    void openIndent(int type, int32_t first, int32_t wrapped);
    void openBottom(int type, int32_t raise);

    // Helpers over the runs of the line being built.
    bool lastPlain(int32_t& index, int32_t& pos) const;
    bool searchBack(std::u16string_view x, RunPoint& first, RunPoint& last) const;
    void appendRun(int type, std::u16string str, uint16_t chrType, RunPoint begin, RunPoint end);
    void splitRun(int32_t index, int32_t pos);
    void flushRunsAsLine();

    // The classes of the characters met last, by their low bits: a text repeats a small
    // set of characters, and the look-up is the inner step of cutting plain text.
    struct ClassCache {
        std::array<char32_t, 256> chars{};
        std::array<uint16_t, 256> classes{};
        std::array<bool, 256> held{};
    };
    uint16_t classOf(char32_t c);

    CYbTxtBuffer* buffer_ = nullptr;
    ClassCache classes_;
    std::vector<TextInfo> runs_;
    // The characters of the annotation runs in runs_ until the line is stored.
    CYbCharArena arena_;
    size_t plainBegin_ = 0;
    size_t plainEnd_ = 0;
    uint16_t plainClass_ = 0;
    bool plainOpen_ = false;
    int32_t pendingBar_ = -1;
    std::u16string_view matchedOpen_;  // opening string of the row being acted on

    std::vector<IndentPair> indents_;
    std::vector<IndentPair> bottoms_;
    std::vector<IndentPair> boxes_;
    std::array<RangeSlot, TT_MAX> slots_{};
    bool oneLineIndent_ = false;
    bool nestingCut_ = false;  // blocks nested past the limit were left out
    size_t maxRuns_ = Limits::kMaxTextRuns;
    size_t storedRuns_ = 0;  // runs of the lines stored so far
    bool runsCut_ = false;   // the text past the run limit was left out
    bool oneLineBottom_ = false;
    std::vector<int32_t> limits_;
    bool limitEndsWithIndent_ = false;  // the line length came with the indent block's opener
    std::u16string title_;
    std::u16string author_;
    std::u16string info_;
    bool inComment_ = false;
    bool inBibliography_ = false;
    const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace Yomibon

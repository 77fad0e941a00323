// An audit of every corpus text as a careful reader of a printed book would make it, in both
// built-in layouts and both kinsoku modes. It reads the page map, not the arranger: which
// characters begin and end each column, how far a column runs below its box, and where
// every ruby lies against its neighbours. The character classes are those of the W3C
// "Requirements for Japanese Text Layout" (JLReq, Appendix A), written out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/aozora_parser.h"

namespace Yomibon::Test {
namespace {

// cl-01 opening brackets.
constexpr std::u16string_view kJlreqNoEnd = u"‘“（〔［｛〈《「『【⦅〘〖«〝([{｟";
// cl-02 closing brackets … cl-11 small kana.
// cl-08 inseparable marks.
constexpr std::u16string_view kInseparable = u"—…‥〳〴〵";
constexpr std::u16string_view kJlreqNoStart =
    u"’”）〕］｝〉》」』】⦆〙〗»〟)]}｠‐〜゠–？！‼⁇⁈⁉?!・：；:;。．.、，,—…‥〳〴〵ヽヾゝゞ々〻ー"
    u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ";

bool In(std::u16string_view set, char32_t c) {
    return c < 0x10000 && set.find(char16_t(c)) != std::u16string_view::npos;
}

bool InList(const std::vector<std::u16string>& list, char32_t c) {
    return std::any_of(list.begin(), list.end(), [c](const std::u16string& e) {
        return !e.empty() && CodePointAt(e, 0) == c;
    });
}

bool IsKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == U'々';
}

struct Faults {
    int badStart = 0;
    int inseparableTooLong = 0;
    int badEnd = 0;
    int tooLong = 0;
    int rubyOverlap = 0;
    int rubyOverKanji = 0;
    int columns = 0;
    std::vector<std::string> examples;
    int rubyNotes = 0;
    // YOMIBON_AUDIT_VERBOSE=1 lists every fault, not only the first few.
    bool verbose = std::getenv("YOMIBON_AUDIT_VERBOSE") != nullptr;
    void note(const std::string& s, bool ruby = false) {
        if (!verbose && (examples.size() >= 16 || (ruby && ++rubyNotes > 4))) return;
        examples.push_back(s);
    }
};

struct Glyph {
    TextPoint at;
    PageMapEntry e;
    char32_t c;
};

bool IsMainGlyph(int type) {
    return type == TT_TEXT || type == TT_DASH || type == TT_HANGING || type == TT_EXTERNAL_CHAR ||
           type == TT_REPEAT_MARK || type == TT_VOICED_REPEAT_MARK || type == TT_HORIZONTAL ||
           type == TT_AUTO_HORIZONTAL;
}

char32_t CharOf(const TextInfo& run, int pos) {
    if (run.textType != TT_TEXT && run.textType != TT_DASH && run.textType != TT_HANGING)
        return U'字';  // set like an ordinary character
    const size_t i = CharOffset(run.str, size_t(pos));
    return i < run.str.size() ? CodePointAt(run.str, i) : 0;
}

// Whether `at` lies in the base of ruby run `r`.
bool InBase(const std::vector<TextInfo>& runs, int r, const TextPoint& at) {
    RunPoint b = runs[r].tpBegin;
    RunPoint e = runs[r].tpEnd;
    if (e.iPos < 0) e.iPos = INT32_MAX;
    RunPoint p{at.iIndex, at.iPos};
    return !(p < b) && !(e < p);
}

class Audit {
  public:
    Audit(const CYbTxtBuffer& buffer, const CYbTxtParam& param, bool strict, Faults& f)
        : buffer_(buffer),
          strict_(strict),
          f_(f),
          start_(param.GetList(u"ConfListStart")),
          end_(param.GetList(u"ConfListEnd")),
          hanging_(param.GetList(u"HangingChar")) {}

    void spread(const CYbTxtMapper& mapper) {
        std::map<std::pair<int, int>, std::vector<Glyph>> columns;  // (line, column)
        std::map<std::pair<int, int>, std::vector<Glyph>> rubies;   // (line, ruby run)
        for (const auto& [at, e] : mapper.charMap()) {
            const TextInfo& run = buffer_.lines()[at.iLine].runs[at.iIndex];
            if (run.textType == TT_RUBY || run.textType == TT_SIC || run.textType == TT_LEFT_RUBY)
                rubies[{at.iLine, at.iIndex}].push_back({at, e, 0});
            // An external character's further entries are its note number and note text.
            else if (IsMainGlyph(run.textType) && e.height > 0 && e.advance > 0 &&
                     !(run.textType == TT_EXTERNAL_CHAR && at.iPos > 0))
                columns[{at.iLine, e.iColumn}].push_back({at, e, CharOf(run, at.iPos)});
        }
        for (auto& [key, glyphs] : columns)
            column(mapper.geometry(), key.first, key.second, glyphs);
        checkRuby(columns, rubies);
    }

  private:
    void column(const MapGeometry& g, int line, int col, std::vector<Glyph>& glyphs) {
        std::stable_sort(glyphs.begin(), glyphs.end(),
                         [](const Glyph& a, const Glyph& b) { return a.e.y < b.e.y; });
        const LineInfo& info = buffer_.lines()[line];
        const bool firstOfLine = info.turns.empty() || info.turns.front().iColumn == col;
        const bool lastOfLine = info.turns.empty() || info.turns.back().iColumn == col;
        ++f_.columns;
        const char32_t first = glyphs.front().c;
        const char32_t last = glyphs.back().c;
        const std::string where = "line " + std::to_string(line) + " column " + std::to_string(col);
        // A run of one inseparable mark (cl-08) longer than a column has no allowed break.
        const bool follows = tail_.line == line && tail_.column + 1 == col;
        const bool runTooLong = In(kInseparable, first) && follows && tail_.c == first &&
                                tail_.count + Leading(glyphs) > BoxChars(g, col);
        // A column before it without any allowed break could not have ended elsewhere.
        if (runTooLong || (follows && !tail_.breakable && forbiddenStart(first))) {
            ++f_.inseparableTooLong;
        } else if (!firstOfLine && forbiddenStart(first)) {
            ++f_.badStart;
            f_.note(where + " starts with " + ToUtf8(std::u16string(1, char16_t(first))));
        }
        tail_ = {line, col, last, Trailing(glyphs), Breakable(glyphs)};
        if (!lastOfLine && forbiddenEnd(last)) {
            ++f_.badEnd;
            f_.note(where + " ends with " + ToUtf8(std::u16string(1, char16_t(last))));
        }
        if (!strict_) return;
        const ColumnBox cb = FindColumnBox(g, col);
        if (cb.index < 0) return;
        // Glyphs whose middle lies below the box hang; one mark of the hanging list at most.
        const int32_t bottom = g.text[cb.index].bottom;
        int below = 0;
        bool allowed = true;
        for (const Glyph& gl : glyphs)
            if (gl.e.y + gl.e.height / 2 > bottom) {
                ++below;
                allowed = allowed && InList(hanging_, gl.c);
            }
        if (below > 1 || (below == 1 && !allowed)) {
            ++f_.tooLong;
            f_.note(where + " runs past its box");
        }
    }

    void checkRuby(const std::map<std::pair<int, int>, std::vector<Glyph>>& columns,
                   const std::map<std::pair<int, int>, std::vector<Glyph>>& rubies) {
        struct Extent {
            int line, run, column;
            int32_t x0, x1, y0, y1;
        };
        std::vector<Extent> extents;
        for (const auto& [key, glyphs] : rubies) {
            std::map<int, Extent> perColumn;
            for (const Glyph& gl : glyphs) {
                auto [it, added] = perColumn.try_emplace(
                    gl.e.iColumn, Extent{key.first, key.second, gl.e.iColumn, gl.e.x,
                                         gl.e.x + gl.e.size, gl.e.y, gl.e.y + gl.e.height});
                Extent& x = it->second;
                x.y0 = std::min(x.y0, gl.e.y);
                x.y1 = std::max(x.y1, gl.e.y + gl.e.height);
            }
            for (const auto& [c, x] : perColumn)
                extents.push_back(x);
        }
        for (size_t i = 0; i < extents.size(); ++i) {
            const Extent& a = extents[i];
            for (size_t j = i + 1; j < extents.size(); ++j) {
                const Extent& b = extents[j];
                // Readings of neighbouring columns meet where a left-side reading lies.
                if (a.x1 <= b.x0 || b.x1 <= a.x0) continue;
                if (std::min(a.y1, b.y1) - std::max(a.y0, b.y0) > 1) {
                    ++f_.rubyOverlap;
                    f_.note("ruby overlap line " + std::to_string(a.line) + " runs " +
                                std::to_string(a.run) + "/" + std::to_string(b.run) + " columns " +
                                std::to_string(a.column) + "/" + std::to_string(b.column) +
                                " (line " + std::to_string(b.line) + ")",
                            true);
                }
            }
            auto col = columns.find({a.line, a.column});
            if (col == columns.end()) continue;
            const auto& runs = buffer_.lines()[a.line].runs;
            for (const Glyph& gl : col->second) {
                if (!IsKanji(gl.c) || InBase(runs, a.run, gl.at)) continue;
                if (std::min(a.y1, gl.e.y + gl.e.height) - std::max(a.y0, gl.e.y) > 1) {
                    ++f_.rubyOverKanji;
                    f_.note("ruby over kanji line " + std::to_string(a.line) + " run " +
                                std::to_string(a.run) + " column " + std::to_string(a.column),
                            true);
                }
            }
        }
    }

    bool forbiddenStart(char32_t c) const {
        return strict_ ? In(kJlreqNoStart, c) : InList(start_, c);
    }
    bool forbiddenEnd(char32_t c) const { return strict_ ? In(kJlreqNoEnd, c) : InList(end_, c); }
    // Whether the column may end anywhere after its first character: between two
    // characters, unless the second may not begin a column, the first may not end one, or
    // they are two equal inseparable marks.
    bool Breakable(const std::vector<Glyph>& glyphs) const {
        for (size_t k = 1; k < glyphs.size(); ++k) {
            const char32_t a = glyphs[k - 1].c, b = glyphs[k].c;
            if (forbiddenStart(b) || forbiddenEnd(a) || (a == b && In(kInseparable, a))) continue;
            return true;
        }
        return false;
    }

    // Equal marks at the start or the end of a column.
    static int Leading(const std::vector<Glyph>& glyphs) {
        int n = 0;
        while (n < int(glyphs.size()) && glyphs[size_t(n)].c == glyphs.front().c)
            ++n;
        return n;
    }
    static int Trailing(const std::vector<Glyph>& glyphs) {
        int n = 0;
        while (n < int(glyphs.size()) && glyphs[glyphs.size() - 1 - size_t(n)].c == glyphs.back().c)
            ++n;
        return n;
    }
    static int BoxChars(const MapGeometry& g, int col) {
        const ColumnBox cb = FindColumnBox(g, col);
        return cb.index < 0 ? INT32_MAX : g.text[cb.index].chars;
    }
    struct Tail {
        int line = -1;
        int column = -1;
        char32_t c = 0;
        int count = 0;
        bool breakable = true;
    };

    Tail tail_;
    const CYbTxtBuffer& buffer_;
    bool strict_;
    Faults& f_;
    const std::vector<std::u16string>& start_;
    const std::vector<std::u16string>& end_;
    const std::vector<std::u16string>& hanging_;
};

std::vector<std::filesystem::path> Texts() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(CorpusDir()))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

Faults AuditCorpus(bool strict) {
    Faults f;
    CYbBunkoTxtLayout bunko;
    CYbShinShoTate2TxtLayout shinsho;
    for (const auto& file : Texts()) {
        for (const CYbTxtLayout* layout : {static_cast<const CYbTxtLayout*>(&bunko),
                                           static_cast<const CYbTxtLayout*>(&shinsho)}) {
            CYbTxtBuffer buffer;
            CYbAozoraTxtParser parser;
            if (!parser.loadFile(FromUtf8(file.string()), buffer)) {
                ADD_FAILURE() << file;
                continue;
            }
            CYbTxtParam param;
            const int32_t mode = strict ? 1 : 0;
            param.SetPoints(u"KinsokuMode", &mode, 1);
            const int last = ArrangeDocument(buffer, *layout, param);
            CYbTxtMapper mapper;
            mapper.setLayout(*layout);
            mapper.setOptions(MapOptions::FromParam(param));
            const size_t before = f.examples.size();
            const int kanjiBefore = f.rubyOverKanji, overlapBefore = f.rubyOverlap;
            Audit audit(buffer, param, strict, f);
            for (int page = 0; page <= last; page += 2) {
                mapper.Arrange({}, buffer, page / 2 * mapper.geometry().columnsPerSpread);
                audit.spread(mapper);
            }
            if (f.rubyOverKanji > kanjiBefore || f.rubyOverlap > overlapBefore)
                std::printf("  %s %s: %d ruby over kanji, %d ruby overlaps\n",
                            file.filename().string().c_str(), ToUtf8(layout->GetTypeName()).c_str(),
                            f.rubyOverKanji - kanjiBefore, f.rubyOverlap - overlapBefore);
            for (size_t i = before; i < f.examples.size(); ++i)
                f.examples[i] = file.filename().string() + " " + ToUtf8(layout->GetTypeName()) +
                                " " + f.examples[i];
        }
    }
    std::printf(
        "%s: %d columns, %d bad starts, %d bad ends, %d too long, %d ruby overlaps, "
        "%d ruby over kanji; %d breaks inside unbreakable runs longer than a column\n",
        strict ? "strict" : "standard", f.columns, f.badStart, f.badEnd, f.tooLong, f.rubyOverlap,
        f.rubyOverKanji, f.inseparableTooLong);
    for (const std::string& e : f.examples)
        std::printf("  %s\n", e.c_str());
    return f;
}

// A break after a column that has no allowed break at all (a leader run or a run of question
// marks longer than a column, a base spread to a whole column by a reading longer than the
// column) is counted apart: such a column could not have ended elsewhere.
TEST(BookQualityCorpus, StandardColumnsKeepTheUsersListsAndRubyNeverCollides) {
    YB_REQUIRE_CORPUS();
    const Faults f = AuditCorpus(false);
    EXPECT_GT(f.columns, 10000);
    EXPECT_EQ(f.badStart, 0);
    EXPECT_EQ(f.badEnd, 0);
    EXPECT_EQ(f.rubyOverlap, 0);
    EXPECT_EQ(f.rubyOverKanji, 0);
}

TEST(BookQualityCorpus, StrictColumnsKeepJlreqClassesAndHangOneMarkAtMost) {
    YB_REQUIRE_CORPUS();
    const Faults f = AuditCorpus(true);
    EXPECT_GT(f.columns, 10000);
    EXPECT_EQ(f.badStart, 0);
    EXPECT_EQ(f.badEnd, 0);
    EXPECT_EQ(f.tooLong, 0);
    EXPECT_EQ(f.rubyOverlap, 0);
    EXPECT_EQ(f.rubyOverKanji, 0);
}

}  // namespace
}  // namespace Yomibon::Test

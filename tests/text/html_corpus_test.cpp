// The library's XHTML editions and their notation editions: the same title, author, ruby,
// headings and emphasis, checked by the same assertions over both forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "html_test_util.h"
#include "platform/paths.h"
#include "text/txt_parser_mgr.h"

namespace Yomibon::Test {
namespace {

struct Edition {
    std::string xhtml;     // under xhtml/cards/
    std::string notation;  // the .txt edition
    // The converter's sample writes some forms the notation parser reads otherwise (sic
    // as ruby, an automatic ruby base cut at a class change, window headings): how many
    // ruby entries may differ there.
    int rubyTolerance = 0;
};

const Edition kEditions[] = {
    {"000035/files/1567_14913.html", "dazai-hashire-merosu/1567_ruby_4948.txt"},
    {"000065/files/4402_12069.html", "kuki-dajare/4402_ruby_11277.txt"},
    {"sample/files/chukiichiran_kinyurei.html", "aozora-chuki-sample/chukiichiran_kinyurei.txt",
     11},
};

int Lines(const std::string& s) {
    return int(std::count(s.begin(), s.end(), '\n'));
}

// What a reader sees of a document, independent of how its lines were cut.
struct Digest {
    std::u16string title, author;
    std::vector<std::u16string> ruby;      // "base《reading》"
    std::vector<std::u16string> headings;  // "79:text"
    std::vector<std::u16string> marks;     // "9:text"
};

// The plain text a run's range covers; a range ending at its own run ends before it.
std::u16string Covered(const LineInfo& line, int own, RunPoint begin, RunPoint end) {
    if (end.iIndex >= own) end = {own - 1, -1};
    std::u16string out;
    for (int r = std::max(begin.iIndex, 0); r <= end.iIndex && r < int(line.runs.size()); ++r) {
        const TextInfo& run = line.runs[size_t(r)];
        if (run.textType != TT_TEXT && run.textType != TT_EXTERNAL_CHAR) continue;
        std::u16string s = run.textType == TT_EXTERNAL_CHAR ? u"※" : run.str;
        size_t from = r == begin.iIndex ? CharOffset(s, size_t(begin.iPos)) : 0;
        size_t to = (r == end.iIndex && end.iPos >= 0) ? CharOffset(s, size_t(end.iPos) + 1)
                                                       : s.size();
        if (from < to) out += s.substr(from, to - from);
    }
    return out;
}

Digest DigestOf(const CYbTxtBuffer& buffer) {
    Digest d{buffer.getTitle(), buffer.getAuthor(), {}, {}, {}};
    for (const LineInfo& line : buffer.lines())
        for (size_t r = 0; r < line.runs.size(); ++r) {
            const TextInfo& run = line.runs[r];
            int t = run.textType;
            std::u16string covered = Covered(line, int(r), run.tpBegin, run.tpEnd);
            if (t == TT_RUBY) d.ruby.push_back(covered + u"《" + run.str + u"》");
            if (t >= TT_HEADING_LARGE && t <= TT_HEADING_SMALL && !covered.empty())
                d.headings.push_back(FromUtf8(std::to_string(t)) + u":" + covered);
            if (t >= TT_WHITE_SESAME_DOT && t <= TT_LEFT_DOUBLE_LINE && t != TT_STRIKE_LINE)
                d.marks.push_back(FromUtf8(std::to_string(t)) + u":" + covered);
        }
    return d;
}

Digest Open(const std::filesystem::path& file) {
    CYbTxtBuffer buffer;
    CYbTxtParserMgr mgr;
    EXPECT_TRUE(mgr.open(FromFsPath(file), buffer)) << file;
    return DigestOf(buffer);
}

// The entries only one side has, each with its count ("-" only in a, "+" only in b).
std::string Difference(const std::vector<std::u16string>& a, const std::vector<std::u16string>& b) {
    std::map<std::u16string, int> count;
    for (const auto& s : a) ++count[s];
    for (const auto& s : b) --count[s];
    std::string out;
    for (const auto& [s, n] : count)
        if (n != 0) out += (n > 0 ? "-" : "+") + std::to_string(std::abs(n)) + " " + ToUtf8(s) + "\n";
    return out;
}

class HtmlCorpus : public ::testing::TestWithParam<Edition> {};

TEST_P(HtmlCorpus, BothEditionsReadAlike) {
    YB_REQUIRE_CORPUS();
    std::filesystem::path xhtml = CorpusDir() / "xhtml/cards" / GetParam().xhtml;
    std::filesystem::path text = CorpusDir() / GetParam().notation;
    if (!std::filesystem::exists(xhtml) || !std::filesystem::exists(text))
        GTEST_SKIP() << "edition missing";
    Digest a = Open(xhtml), b = Open(text);
    EXPECT_EQ(ToUtf8(a.title), ToUtf8(b.title));
    EXPECT_EQ(ToUtf8(a.author), ToUtf8(b.author));
    EXPECT_FALSE(a.ruby.empty());
    EXPECT_EQ(Difference(a.marks, b.marks), "");
    if (GetParam().rubyTolerance == 0) {
        EXPECT_EQ(Difference(a.ruby, b.ruby), "");
        EXPECT_EQ(Difference(a.headings, b.headings), "");
        return;
    }
    std::string ruby = Difference(a.ruby, b.ruby);
    EXPECT_LE(Lines(ruby), GetParam().rubyTolerance) << ruby;
    // Every heading of the notation edition is a heading of the XHTML edition too.
    std::string headings = Difference(a.headings, b.headings);
    EXPECT_EQ(headings.find('+'), std::string::npos) << headings;
}

void PrintTo(const Edition& e, std::ostream* os) {
    *os << e.xhtml;
}

INSTANTIATE_TEST_SUITE_P(Editions, HtmlCorpus, ::testing::ValuesIn(kEditions),
                         [](const auto& info) { return "edition" + std::to_string(info.index); });

}  // namespace
}  // namespace Yomibon::Test

// Bad input never crashes and never stops a text from being read.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "parser_test_util.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace Yomibon::Test {
namespace {

size_t RunCount(const CYbTxtBuffer& buffer) {
    size_t n = 0;
    for (const LineInfo& l : buffer.lines())
        n += l.runs.size();
    return n;
}

TEST(AozoraBadInput, UnmatchedAndHugeAnnotations) {
    CYbTxtBuffer b = ParseNotation(u"\nあ［＃傍点\nい《よみ\nう※［＃\n］］》《》");
    EXPECT_EQ(DescribeLine(b, 2), "あ ［＃ 傍点");
    EXPECT_EQ(DescribeLine(b, 3), "い 《 よみ");
    // An annotation of thousands of characters is not searched past the limit: plain text.
    std::u16string huge = u"\n字［＃" + std::u16string(20000, u'あ') + u"］";
    b = ParseNotation(huge);
    ASSERT_EQ(b.lines()[2].runs.size(), 4u);  // 字, ［＃, the body, ］
    EXPECT_EQ(b.lines()[2].runs[2].str.size(), 20000u);
    // A long but bounded annotation still works.
    std::u16string longNote = u"\n字［＃（" + std::u16string(3000, u'あ') + u"）］";
    b = ParseNotation(longNote);
    ASSERT_EQ(b.lines()[2].runs.size(), 2u);
    EXPECT_EQ(b.lines()[2].runs[1].textType, TT_PAREN_NOTE);
    // Deeply nested blocks stay bounded.
    std::u16string nested = u"\n";
    for (int i = 0; i < 500; ++i)
        nested += u"［＃ここから罫囲み］［＃ここから２字下げ］";
    nested += u"\nあ";
    b = ParseNotation(nested);
    EXPECT_LE(b.lines().back().runs.size(), 1u + 64u);
}

TEST(AozoraBadInput, MegabyteLineFullOfAnnotations) {
    std::u16string line = u"\n";
    while (line.size() < (1u << 20))
        line += u"漢字《かんじ》［＃「漢字」に傍点］［＃傍線］※［＃「口＋世」、U+546D］｜";
    CYbTxtBuffer b = ParseNotation(line);
    ASSERT_EQ(b.lineCount(), 3);
    EXPECT_GT(b.lines()[2].runs.size(), 50000u);
}

TEST(AozoraBadInput, BinaryGarbageFiles) {
    TempDir dir;
    std::mt19937 random(12345);
    for (int round = 0; round < 40; ++round) {
        std::string bytes(size_t(random() % 5000), '\0');
        for (char& c : bytes)
            c = char(random());
        if (round % 4 == 0) bytes.insert(0, "\xFF\xFE");
        if (round % 4 == 1) bytes.insert(0, "\xEF\xBB\xBF");
        WriteFile(dir.path() / "g.txt", bytes);
        CYbTxtBuffer buffer;
        CYbAozoraTxtParser parser;
        EXPECT_TRUE(parser.loadFile(FromFsPath(dir.path() / "g.txt"), buffer));
        EXPECT_GE(buffer.lineCount(), bytes.empty() ? 0 : 1);
    }
    // Garbage made of the notation's own characters.
    const std::u16string alphabet =
        u"［］＃「」《》｜※〔〕、（）-\n\r字下げ終わり傍点罫囲み改ページ入る図1";
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        for (int i = 0; i < 300; ++i)
            text += alphabet[random() % alphabet.size()];
        CYbTxtBuffer buffer = ParseNotation(text);
        EXPECT_GE(RunCount(buffer), 0u);
    }
}

}  // namespace
}  // namespace Yomibon::Test

// Sizes of headings and of the larger and smaller characters, from real lines of notation.
#include <gtest/gtest.h>

#include "parser_test_util.h"
#include "text/char_sizes.h"

namespace Yomibon::Test {
namespace {

// The sizes (sixteenths of the body) of the plain characters of a line, in order.
std::vector<int> SizesOf(const CYbTxtBuffer& buffer, int line) {
    std::vector<int> out;
    const auto& runs = buffer.lines()[size_t(line)].runs;
    for (int r = 0; r < int(runs.size()); ++r) {
        if (runs[size_t(r)].textType != TT_TEXT) continue;
        for (int p = 0; p < int(CharCount(runs[size_t(r)].str)); ++p)
            out.push_back(buffer.charSize({line, r, p}));
    }
    return out;
}

TEST(CharSizes, StyleSheetSizes) {
    EXPECT_EQ(SizeOfRun(TT_HEADING_LARGE, 0), 20);   // 125 %
    EXPECT_EQ(SizeOfRun(TT_HEADING_MEDIUM, 0), 18);  // large
    EXPECT_EQ(SizeOfRun(TT_HEADING_SMALL, 0), 16);   // body size
    EXPECT_EQ(SizeOfRun(TT_LARGER_TEXT, 1), 18);
    EXPECT_EQ(SizeOfRun(TT_LARGER_TEXT, 2), 24);
    EXPECT_EQ(SizeOfRun(TT_LARGER_TEXT, 3), 32);
    EXPECT_EQ(SizeOfRun(TT_LARGER_TEXT, 6), 32);
    EXPECT_EQ(SizeOfRun(TT_SMALLER_TEXT, 1), 13);
    EXPECT_EQ(SizeOfRun(TT_SMALLER_TEXT, 2), 10);
    EXPECT_EQ(SizeOfRun(TT_SMALLER_TEXT, 3), 9);
    EXPECT_EQ(SizeOfRun(TT_BOLD, 1), 16);
}

TEST(CharSizes, HeadingsAreSetLargerAndBold) {
    CYbTxtBuffer b = ParseNotation(
        u"\n［＃３字下げ］第一章［＃「第一章」は大見出し］\n［＃５字下げ］一［＃「一」は中見出し］"
        u"\n"
        u"［＃窓小見出し］高僧［＃窓小見出し終わり］　で");
    EXPECT_EQ(SizesOf(b, 2), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(SizesOf(b, 3), (std::vector<int>{18}));
    EXPECT_EQ(SizesOf(b, 4), (std::vector<int>{16, 16, 16, 16}));
    EXPECT_TRUE(b.isBold({2, 1, 0}));
    EXPECT_TRUE(b.isBold({4, 0, 1}));
}

TEST(CharSizes, LargerAndSmallerRangesFromTheLibrary) {
    CYbTxtBuffer b = ParseNotation(
        u"\n一円本流行の害毒と其裏面談［＃「一円本流行の害毒と其裏面談」は２段階大きな文字］\n"
        u"キチガイ地獄［＃「キチガイ地獄」は５段階大きな文字］\n"
        u"調［＃１段階小さな文字］（作品二三）［＃小さな文字終わり］』\n"
        u"神二柱［＃「二柱」は３段階小さな文字］");
    EXPECT_EQ(SizesOf(b, 2), std::vector<int>(13, 24));
    EXPECT_EQ(SizesOf(b, 3), std::vector<int>(6, 32));
    EXPECT_EQ(SizesOf(b, 4), (std::vector<int>{16, 13, 13, 13, 13, 13, 13, 16}));
    EXPECT_EQ(SizesOf(b, 5), (std::vector<int>{16, 9, 9}));
}

TEST(CharSizes, BlockRangeLastsToItsCloser) {
    CYbTxtBuffer b = ParseNotation(
        u"\n［＃ここから１段階小さな文字］\n小さな行\n二行目［＃ここで小さな文字終わり］\n本文");
    EXPECT_EQ(SizesOf(b, 3), std::vector<int>(4, 13));
    EXPECT_EQ(SizesOf(b, 4), std::vector<int>(3, 13));
    EXPECT_EQ(SizesOf(b, 5), std::vector<int>(2, 16));
    // A closer without its opener changes nothing.
    CYbTxtBuffer lone = ParseNotation(u"\n本文［＃大きな文字終わり］");
    EXPECT_TRUE(lone.sizes().empty());
}

}  // namespace
}  // namespace Yomibon::Test

// The annotation catalogue and the character tables shipped beside the program.
#include <gtest/gtest.h>

#include "platform/utf16.h"
#include "support/test_support.h"
#include "text/accent_table.h"
#include "text/annotation_table.h"
#include "text/annotation_text.h"
#include "text/gaiji_table.h"
#include "text/picture_annotation.h"
#include "text/table_file.h"
#include "text/text_types.h"

namespace Yomibon::Test {
namespace {

using namespace std::string_view_literals;

TEST(AnnotationTable, RowsInTheirOrder) {
    auto rows = AnnotationTable();
    // The library's 117 forms, the one-line indent, the spread break, the run-in, window
    // and block headings, the annotated ruby forms, the larger and smaller characters and captions.
    ASSERT_EQ(rows.size(), 144u);
    EXPECT_EQ(rows.front().open, u"《");
    EXPECT_EQ(rows.back().textType, TT_EXTERNAL_CHAR);
    EXPECT_EQ(rows[rows.size() - 2].textType, TT_RANGE_END);
    // The one-line indent row comes after the rows whose ties it must lose.
    int oneLine = -1, thisLine = -1, block = -1, blockEnd = -1;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].open == u"［＃" && rows[i].close == u"字下げ］") oneLine = int(i);
        if (rows[i].open == u"［＃この行" && rows[i].close == u"字下げ］") thisLine = int(i);
        if (rows[i].open == u"［＃ここから" && rows[i].close == u"字下げ］") block = int(i);
        if (rows[i].close == u"ここで字下げ終わり］") blockEnd = int(i);
    }
    EXPECT_GT(oneLine, thisLine);
    EXPECT_GT(oneLine, block);
    EXPECT_GT(oneLine, blockEnd);
    EXPECT_EQ(rows[size_t(oneLine)].textType, TT_LINE_INDENT);
    EXPECT_EQ(FindAnnotationByOpen(u"［＃傍点"), 41);
    EXPECT_EQ(FindAnnotationByOpen(u"［＃罫囲み"), 77);
    EXPECT_EQ(FindAnnotationByOpen(u"［＃無い"), -1);
    EXPECT_EQ(rows[size_t(FindAnnotationByOpen(u"［＃改見開き"))].textType, TT_NEXT_SPREAD);
    auto special = SpecialCharTable();
    ASSERT_EQ(special.size(), 6u);
    EXPECT_EQ(special[0].str, u"｜");
    EXPECT_EQ(special[5].textType, TT_DASH);
}

// The row the index of closing strings finds for a whole annotation (opening, body, closing)
// is the row that trying every row in order finds: the longest closing string that ends the
// annotation, the earlier row on a tie.
TEST(AnnotationTable, ClosingIndexFindsTheRowEveryRowWouldFind) {
    auto rows = AnnotationTable();
    auto everyRow = [&](std::u16string_view text) {
        int best = -1;
        size_t bestPos = text.size();
        for (size_t r = 0; r < rows.size(); ++r) {
            if (!text.starts_with(rows[r].open) || !text.ends_with(rows[r].close)) continue;
            size_t pos = text.size() - rows[r].close.size();
            if (pos < rows[r].open.size() || pos >= bestPos) continue;
            best = int(r);
            bestPos = pos;
        }
        return best;
    };
    auto byIndex = [&](std::u16string_view text) {
        for (const AnnotationCloseGroup& group :
             AnnotationGroupsClosingAfter(text[text.size() - 2])) {
            if (!text.ends_with(group.close)) continue;
            size_t pos = text.size() - group.close.size();
            for (int r : group.rows)
                if (text.starts_with(rows[size_t(r)].open) && pos >= rows[size_t(r)].open.size())
                    return r;
        }
        return -1;
    };
    size_t tried = 0;
    // Every opening with every closing string, around a body and around none.
    for (const AnnotationRow& open : rows) {
        if (!open.open.starts_with(u"［＃") && !open.open.starts_with(u"※［＃")) continue;
        for (const AnnotationRow& close : rows) {
            if (!close.close.ends_with(u'］')) continue;
            for (std::u16string_view body : {u"猫"sv, u""sv, u"「猫」"sv}) {
                std::u16string text =
                    std::u16string(open.open) + std::u16string(body) + std::u16string(close.close);
                ASSERT_EQ(byIndex(text), everyRow(text)) << ToUtf8(text);
                ++tried;
            }
        }
    }
    EXPECT_GT(tried, 10000u);
}

TEST(AnnotationTable, NumbersAndDescriptions) {
    EXPECT_EQ(AnnotationNumber(u"１２字"), 12);
    EXPECT_EQ(AnnotationNumber(u"3"), 3);
    EXPECT_EQ(AnnotationNumber(u"天付き"), 0);
    EXPECT_EQ(AnnotationNumber(u"99999999999999"), 1'000'000);
    EXPECT_EQ(ExternalCharDescription(u"「口＋世」、U+546D"), u"口＋世");
    EXPECT_EQ(ExternalCharDescription(u"二の字点、1-2-22"), u"二の字点");
    EXPECT_TRUE(IsPictureAnnotation(u"挿絵（a.png）"));
    EXPECT_TRUE(IsPictureAnnotation(u"図２（a.png）"));
    EXPECT_FALSE(IsPictureAnnotation(u"図０（a.png）"));
    EXPECT_FALSE(IsPictureAnnotation(u"説明（a.png）"));
    int type = 0;
    std::u16string fields;
    ASSERT_TRUE(MakePictureRun(u"写真（p.jpg、見開き、横1×縦2", type, fields));
    EXPECT_EQ(type, TT_PICTURE_SPREAD);
    EXPECT_EQ(fields, u"p.jpg\0写真\0横1×縦2\0見開き\0\0"sv);
    EXPECT_FALSE(MakePictureRun(u"写真", type, fields));
}

TEST(TableFile, FormatAndNames) {
    // UTF-16LE with a mark, TAB between two columns; other rows are skipped.
    std::u16string text = u"# comment\r\nkey\tvalue\r\na\tb\tc\r\n\r\nk2\tv2";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text)
        bytes += char(c & 0xFF), bytes += char(c >> 8);
    TableRows rows = ParseTableText(bytes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::pair<std::u16string, std::u16string>{u"key", u"value"}));
    EXPECT_EQ(rows[1].second, u"v2");
    EXPECT_TRUE(ParseTableText("").empty());
    EXPECT_TRUE(ParseTableText("\xFF").empty());
    EXPECT_EQ(TableFilePath("/data", u"gaiji"), std::filesystem::path("/data/gaiji.txt"));
    EXPECT_EQ(TableFilePath("/data/", u"gaiji"), std::filesystem::path("/data/gaiji.txt"));
}

TEST(TableFile, IndexOfATableText) {
    const TableIndex table(
        u"# comment\r\nkey\tvalue\r\na\tb\tc\r\n\r\nk2\tv2\nkey\tlater\n\tempty key\nk3\t");
    // Rows of two columns only; the later of two rows of a key wins.
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table.value(u"key"), u"later");
    EXPECT_EQ(table.value(u"k2"), u"v2");
    EXPECT_EQ(table.value(u""), u"empty key");
    EXPECT_TRUE(table.contains(u"k3"));
    EXPECT_EQ(table.value(u"k3"), u"");
    EXPECT_FALSE(table.contains(u"a"));
    EXPECT_FALSE(table.contains(u"# comment"));
    EXPECT_EQ(table.value(u"missing"), u"");
    const TableIndex empty(u"");
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_FALSE(empty.contains(u"key"));
    // Many keys, each found.
    std::u16string many;
    for (int i = 0; i < 5000; ++i)
        many += u"k" + std::u16string(1, char16_t(u'0' + i % 10)) +
                std::u16string(size_t(i / 10 + 1), u'x') + u"\t" +
                std::u16string(1, char16_t(0x4E00 + i)) + u"\r\n";
    const TableIndex big(many);
    EXPECT_EQ(big.size(), 5000u);
    for (int i = 0; i < 5000; i += 7)
        EXPECT_EQ(big.value(u"k" + std::u16string(1, char16_t(u'0' + i % 10)) +
                            std::u16string(size_t(i / 10 + 1), u'x')),
                  std::u16string(1, char16_t(0x4E00 + i)));
}

TEST(TableFile, ShippedTables) {
    const AccentMap& accents = AccentTable();
    EXPECT_GE(accents.size(), 114u);
    EXPECT_EQ(ConvertAccents(u"〔Ve'rite'〕と〔abc〕", accents), u"Véritéと〔abc〕");
    EXPECT_EQ(ConvertAccents(u"〔AE&〕〔", accents), u"Æ〔");
    const GaijiMap& gaiji = GaijiTable();
    EXPECT_GT(gaiji.size(), 9000u);
    ASSERT_TRUE(gaiji.contains(u"「てへん＋劣」"));
    EXPECT_EQ(gaiji.value(u"「てへん＋劣」"), gaiji.value(u"「てへん＋劣」、第3水準1-84-77"));
    EXPECT_EQ(JisX0213Table().value(u"1-85-54"), u"枘");
    EXPECT_EQ(JisX0213Table().value(u"1-14-2"), u"\U0002000B");
    EXPECT_GT(JisX0213Table().size(), 11000u);
    std::u16string out;
    EXPECT_TRUE(ResolveGaijiCode(u"「不明」、第4水準2-1-1、1-2", JisX0213Table(), out));
    EXPECT_EQ(out, u"\U00020089");
    EXPECT_FALSE(ResolveGaijiCode(u"「不明」、3-1-1", JisX0213Table(), out));
    EXPECT_FALSE(ResolveGaijiCode(u"「不明」、U+D800", JisX0213Table(), out));
    EXPECT_TRUE(LookupExternalChar(u"ローマ数字10、1-13-30", out));
    EXPECT_EQ(out, u"Ⅹ");
    // Eleven is no Roman numeral of the rule; the dictionary knows it.
    EXPECT_TRUE(LookupExternalChar(u"ローマ数字11、1-13-31", out));
    EXPECT_EQ(out, u"Ⅺ");
    EXPECT_FALSE(LookupExternalChar(u"ローマ数字99、123", out));
}

}  // namespace
}  // namespace Yomibon::Test

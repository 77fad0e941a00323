#include "settings/csv_text.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/utf16.h"
#include "support/test_support.h"

using Yomibon::CYbCSVText;
using Row = CYbCSVText::Row;

TEST(CsvText, SplitsFieldsWithQuotesAndSeparators) {
    auto rows = CYbCSVText::Parse(u"a,\"b,c\",\"say \"\"hi\"\"\"\r\nx,y,\r\n,,,,\r\n");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{u"a", u"b,c", u"say \"hi\""}));
    // A row of two values followed by a comma has three fields, the last empty.
    EXPECT_EQ(rows[1], (Row{u"x", u"y", u""}));
    EXPECT_EQ(rows[2], (Row(5, u"")));
}

TEST(CsvText, QuotedLineBreaksStayInTheirField) {
    auto rows = CYbCSVText::Parse(u"1,\"two\r\nlines\",3\r\nnext\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Row{u"1", u"two\r\nlines", u"3"}));
    EXPECT_EQ(rows[1], (Row{u"next"}));
}

TEST(CsvText, LastRowWithoutLineFeedAndTrailingEmptyLine) {
    auto rows = CYbCSVText::Parse(u"a,b\nc,d");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (Row{u"c", u"d"}));
    EXPECT_EQ(CYbCSVText::Parse(u"a,b\r\n\r\n").size(), 1u);
    EXPECT_TRUE(CYbCSVText::Parse(u"").empty());
    // An unterminated quote keeps the rest of the text in its field rather than failing.
    rows = CYbCSVText::Parse(u"a,\"open\nstill");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{u"a", u"open\nstill"}));
}

TEST(CsvText, WritesQuotedFieldsThatReadBackUnchanged) {
    Yomibon::Test::TempDir dir;
    CYbCSVText table;
    table.AppendRow({u"LayoutName", u"a,\"b\"", u""});
    table.AppendRow({u"multi\nline", u"plain", u"日本語𠀋"});
    auto file = dir.path() / "new" / "folder" / "t.csv";
    ASSERT_TRUE(table.Write(file));  // the missing folders are created

    std::string bytes = Yomibon::Test::ReadFile(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::u16string text = CYbCSVText::Decode(bytes);
    EXPECT_EQ(text.substr(0, 29), u"LayoutName,\"a,\"\"b\"\"\",\r\n\"multi");

    CYbCSVText back;
    ASSERT_TRUE(back.Read(file));
    EXPECT_EQ(back.GetRows(), table.GetRows());
    EXPECT_EQ(back.GetFileName(), file);
}

TEST(CsvText, ReadsSystemCodePageFilesLikeTheWritersFile) {
    Yomibon::Test::TempDir dir;
    CYbCSVText table;
    table.AppendRow({u"゛", u"75", u"0"});
    table.AppendRow({u"「", u"7"});
    ASSERT_TRUE(table.Write(dir.path() / "u16.lis"));

    std::string sjis, utf8 = Yomibon::ToUtf8(u"゛,75,0\r\n「,7\r\n");
    ASSERT_TRUE(Yomibon::ConvertFromUtf16(Yomibon::CP_SHIFT_JIS, u"゛,75,0\r\n「,7", sjis));
    Yomibon::Test::WriteFile(dir.path() / "sjis.lis", sjis);
    Yomibon::Test::WriteFile(dir.path() / "utf8.lis", utf8);
    // UTF-16LE without a mark is recognised by its zero bytes.
    std::string bare = Yomibon::Test::ReadFile(dir.path() / "u16.lis").substr(2);
    Yomibon::Test::WriteFile(dir.path() / "bare.lis", bare);

    for (const char* name : {"u16.lis", "sjis.lis", "utf8.lis", "bare.lis"}) {
        CYbCSVText read;
        ASSERT_TRUE(read.Read(dir.path() / name)) << name;
        EXPECT_EQ(read.GetRows(), table.GetRows()) << name;
    }
}

TEST(CsvText, MissingFilesEmptyFilesAndIntegers) {
    Yomibon::Test::TempDir dir;
    CYbCSVText table;
    table.AppendRow({u"keep"});
    EXPECT_FALSE(table.Read(dir.path() / "absent.csv"));
    EXPECT_EQ(table.GetRowCount(), 1u);
    EXPECT_FALSE(table.Read(dir.path()));  // a folder is no table
    Yomibon::Test::WriteFile(dir.path() / "empty.csv", "");
    EXPECT_TRUE(table.Read(dir.path() / "empty.csv"));
    EXPECT_EQ(table.GetRowCount(), 0u);

    CYbCSVText numbers;
    numbers.AppendRow({u"PaperSize", u"21000", u"-14800", u"x", u"１２"});
    int32_t out[4] = {};
    ASSERT_TRUE(numbers.ReadIntegers(0, 1, 4, out));
    EXPECT_EQ(out[0], 21000);
    EXPECT_EQ(out[1], -14800);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 12);
    EXPECT_FALSE(numbers.ReadIntegers(0, 2, 4, out));
    EXPECT_FALSE(numbers.ReadIntegers(3, 0, 1, out));
    EXPECT_EQ(numbers.GetField(0, 9), u"");
    EXPECT_EQ(numbers.GetField(7, 0), u"");
}

TEST(CsvText, VisitorCanEndTheWalk) {
    struct Count : CYbCSVText::EachFunc {
        int seen = 0;
        bool Each(const Row&) override { return ++seen < 2; }
    } count;
    CYbCSVText table;
    for (int i = 0; i < 5; ++i)
        table.AppendRow({u"r"});
    EXPECT_FALSE(table.ForEachRow(count));
    EXPECT_EQ(count.seen, 2);
}

TEST(CsvText, WriteFailureLeavesOldFileIntact) {
    Yomibon::Test::TempDir dir;
    auto file = dir.path() / "old.csv";
    Yomibon::Test::WriteFile(file, "old");
    // A folder where the file's folder should be cannot be written into.
    CYbCSVText table;
    table.AppendRow({u"x"});
    EXPECT_FALSE(table.Write(file / "sub.csv"));
    EXPECT_EQ(Yomibon::Test::ReadFile(file), "old");
}

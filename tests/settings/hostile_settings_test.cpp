// Settings-side files made to harm: tables of nothing but separators, FIFOs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/limits.h"
#include "platform/utf16.h"
#include "settings/bookmark_file.h"
#include "settings/csv_text.h"
#include "settings/file_io.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

size_t FieldCount(const std::vector<CYbCSVText::Row>& rows) {
    size_t n = 0;
    for (const auto& row : rows)
        n += row.size();
    return n;
}

// A valid first row and 16 MiB of commas once made one string per empty field (over a
// gigabyte); the table now ends at the field limit and the valid rows are kept.
TEST(HostileSettings, SioriOfCommasReadsItsRowsAndStopsAtTheFieldLimit) {
    Yomibon::Test::TempDir dir;
    const auto path = dir.path() / "book.txt.siori";
    std::string bytes = "#Ver:Yomibon 2.00\r\n#FileName:/tmp/book.txt\r\n1,3,0,5,last\r\n";
    bytes += std::string(16 << 20, ',');
    Yomibon::Test::WriteFile(path, bytes);
    SioriContent content;
    ASSERT_TRUE(ReadSioriFile(FromUtf8(path.string()), content));
    EXPECT_EQ(content.last.line, 3);
    EXPECT_EQ(content.last.pos, 5);

    const auto rows = CYbCSVText::Parse(std::u16string(4 << 20, u','));
    EXPECT_LE(FieldCount(rows), Limits::kMaxTableFields);
    const auto lines = CYbCSVText::Parse(std::u16string(3 << 20, u'\n') + u"a\nb,c\n");
    EXPECT_EQ(lines.size(), 2u);  // empty lines cost nothing and do not count
}

TEST(HostileSettings, TablesUnderTheLimitAreWhole) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i)
        text += u"a,b,,d\r\n";
    const auto rows = CYbCSVText::Parse(text);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(rows[999], (CYbCSVText::Row{u"a", u"b", u"", u"d"}));
}

// Found by fuzzing: a row of one empty quoted field was written as an empty line, which
// reads back as no row at all.
TEST(HostileSettings, RowOfOneEmptyFieldSurvivesWritingAndReading) {
    CYbCSVText table;
    for (auto& row : CYbCSVText::Parse(u"a,b\r\n\"\"\r\nc\r\n"))
        table.AppendRow(std::move(row));
    ASSERT_EQ(table.GetRowCount(), 3u);
    const auto again = CYbCSVText::Parse(CYbCSVText::Decode(table.Encode()));
    EXPECT_EQ(again, table.GetRows());
}

TEST(HostileSettings, FifoIsNotReadNorWaitedOn) {
    Yomibon::Test::TempDir dir;
    const auto fifo = dir.path() / "fifo.siori";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes;
    EXPECT_FALSE(ReadFileBytes(fifo, bytes, 1024));
    SioriContent content;
    EXPECT_FALSE(ReadSioriFile(FromUtf8(fifo.string()), content));
}

}  // namespace
}  // namespace Yomibon

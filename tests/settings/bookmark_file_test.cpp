#include "settings/bookmark_file.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/csv_text.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

using Yomibon::Test::TempDir;

std::u16string U(const std::filesystem::path& p) {
    return FromFsPath(p);
}

// Writes a bookmark file as UTF-16LE rows, the way the reader itself writes them.
void WriteRows(const std::filesystem::path& file, const std::vector<CYbCSVText::Row>& rows) {
    CYbCSVText csv;
    for (const auto& r : rows)
        csv.AppendRow(r);
    ASSERT_TRUE(csv.Write(file));
}

TEST(SioriFile, ReadsVersionFileNameLastPositionAndEntries) {
    TempDir dir;
    auto file = dir.path() / "a.siori";
    WriteRows(file, {{u"#Ver:Yomibon 2.00"},
                     {u"#FileName:/texts\\novel.txt"},
                     {u"1", u"12", u"0", u"3", u"last label"},
                     {u"0", u"5", u"1", u"2", u"first"},
                     {u"0", u"-1", u"0", u"0", u"skipped: negative line"},
                     {u"0", u"7", u"0", u"-1", u"skipped: negative position"},
                     {u"2", u"9", u"0", u"0", u"other types are ignored"},
                     {u"0", u"8", u"0"},
                     {u"0", u"20", u"0", u"0", u"second"}});
    SioriContent c;
    ASSERT_TRUE(ReadSioriFile(U(file), c));
    EXPECT_EQ(c.textPath, u"/texts/novel.txt");
    EXPECT_EQ(c.sioriPath, U(file));
    EXPECT_EQ(c.last.line, 12);
    EXPECT_EQ(c.last.pos, 3);
    EXPECT_EQ(c.last.label, u"last label");
    ASSERT_EQ(c.entries.size(), 2u);
    EXPECT_EQ(c.entries[0].line, 5);
    EXPECT_EQ(c.entries[0].index, 1);
    EXPECT_EQ(c.entries[0].pos, 2);
    EXPECT_EQ(c.entries[1].line, 20);
}

TEST(SioriFile, ValidityRules) {
    TempDir dir;
    SioriContent c;
    // The version row must come first.
    auto late = dir.path() / "late.siori";
    WriteRows(late, {{u"0", u"1", u"0", u"0", u"x"}, {u"#Ver:Yomibon 2.00"}});
    EXPECT_FALSE(ReadSioriFile(U(late), c));
    EXPECT_TRUE(c.entries.empty());
    EXPECT_EQ(c.textPath, U(dir.path() / "late"));
    // Another version after the prefix is accepted; the text path defaults to the file
    // name without ".siori".
    auto other = dir.path() / "novel.txt.SIORI";
    WriteRows(other, {{u"#Ver:Yomibon 9.99"}, {u"0", u"1", u"0", u"0", u"x"}});
    ASSERT_TRUE(ReadSioriFile(U(other), c));
    EXPECT_EQ(c.textPath, U(dir.path() / "novel.txt"));
    EXPECT_EQ(c.entries.size(), 1u);
    // An empty file name makes the whole file invalid.
    auto empty = dir.path() / "empty.siori";
    WriteRows(empty, {{u"#Ver:Yomibon 2.00"}, {u"#FileName:"}, {u"0", u"1", u"0", u"0", u"x"}});
    EXPECT_FALSE(ReadSioriFile(U(empty), c));
    EXPECT_TRUE(c.entries.empty());
    // A missing file and a text that is no bookmark file.
    EXPECT_FALSE(ReadSioriFile(U(dir.path() / "missing.siori"), c));
    auto text = dir.path() / "text.txt";
    Yomibon::Test::WriteFile(text, "\x8c\x61\x94\x79\x82\xcd\x94\x4c\x82\xc5\x82\xa0\x82\xe9\r\n");
    EXPECT_FALSE(ReadSioriFile(U(text), c));
    EXPECT_EQ(c.textPath, U(text));
    // A quoted path, as a command line gives it.
    EXPECT_TRUE(ReadSioriFile(u"\"" + U(other) + u"\"", c));
}

TEST(SioriFile, WriteThenReadKeepsLabelsWithCommasAndQuotes) {
    TempDir dir;
    SioriContent out;
    out.textPath = u"C:\\books\\a.txt";
    out.last = {3, 0, 1, u"「はい」と言った"};
    out.entries = {{4, 0, 0, u"one, two"}, {6, 2, 5, u"say \"yes\", then\x20go"}};
    auto file = dir.path() / "sub" / "x.siori";
    ASSERT_TRUE(WriteSioriFile(U(file), out));
    std::string bytes = Yomibon::Test::ReadFile(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(uint8_t(bytes[0]), 0xFF);
    EXPECT_EQ(uint8_t(bytes[1]), 0xFE);
    std::u16string text = CYbCSVText::Decode(bytes);
    EXPECT_NE(text.find(u"#Ver:Yomibon 2.00\r\n#FileName:C:/books/a.txt\r\n1,3,0,1,"),
              std::u16string::npos);
    EXPECT_NE(text.find(u"0,4,0,0,\"one, two\"\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"\"say \"\"yes\"\", then go\""), std::u16string::npos);

    SioriContent in;
    ASSERT_TRUE(ReadSioriFile(U(file), in));
    EXPECT_EQ(in.textPath, u"C:/books/a.txt");
    EXPECT_EQ(in.last.label, out.last.label);
    ASSERT_EQ(in.entries.size(), 2u);
    EXPECT_EQ(in.entries[0].label, u"one, two");
    EXPECT_EQ(in.entries[1].label, u"say \"yes\", then go");
    EXPECT_EQ(in.entries[1].pos, 5);
}

TEST(SioriFile, FailedWriteLeavesTheOldFile) {
    TempDir dir;
    // A name so long that no temporary file can be made beside it: the write fails as a
    // whole and the file that was there stays as it was.
    auto file = dir.path() / (std::string(245, 'k') + ".siori");
    Yomibon::Test::WriteFile(file, "old bookmarks");
    SioriContent c;
    c.textPath = u"/a.txt";
    EXPECT_FALSE(WriteSioriFile(U(file), c));
    EXPECT_EQ(Yomibon::Test::ReadFile(file), "old bookmarks");
    EXPECT_FALSE(WriteSioriFile(u"", c));
}

TEST(SioriFile, MalformedFilesAreReadSafely) {
    TempDir dir;
    SioriContent c;
    // Numbers that are no numbers read as 0, numbers past the range saturate, full-width
    // digits count, and an unterminated quote ends the table.
    auto odd = dir.path() / "odd.siori";
    Yomibon::Test::WriteFile(
        odd,
        "#Ver:Yomibon 2.00\r\n0,abc,1,2,x\r\n0,99999999999999,0,0,big\r\n"
        "0,\xef\xbc\x93,0,0,fullwidth\r\n1,1,1,1,\"open quote\r\n0,5,5,5,inside\r\n");
    ASSERT_TRUE(ReadSioriFile(U(odd), c));
    ASSERT_EQ(c.entries.size(), 3u);
    EXPECT_EQ(c.entries[0].line, 0);
    EXPECT_EQ(c.entries[0].index, 1);
    EXPECT_EQ(c.entries[1].line, INT32_MAX);
    EXPECT_EQ(c.entries[2].line, 3);
    EXPECT_EQ(c.last.line, 1);

    // Binary noise after a valid head, and UTF-16 without a byte-order mark.
    std::string noise = "#Ver:Yomibon\r\n";
    for (int i = 0; i < 4096; ++i)
        noise.push_back(char((i * 7919) % 251));
    Yomibon::Test::WriteFile(dir.path() / "noise.siori", noise);
    ReadSioriFile(U(dir.path() / "noise.siori"), c);
    std::string wide;
    for (char ch : std::string("#Ver:Yomibon 2.00\r\n0,4,0,1,w\r\n")) {
        wide.push_back(ch);
        wide.push_back('\0');
    }
    Yomibon::Test::WriteFile(dir.path() / "wide.siori", wide);
    ASSERT_TRUE(ReadSioriFile(U(dir.path() / "wide.siori"), c));
    ASSERT_EQ(c.entries.size(), 1u);
    EXPECT_EQ(c.entries[0].pos, 1);
    Yomibon::Test::WriteFile(dir.path() / "empty.siori", "");
    EXPECT_FALSE(ReadSioriFile(U(dir.path() / "empty.siori"), c));
}

TEST(SioriFile, PathHelpers) {
    EXPECT_EQ(StripSioriExtension(u"/a/b.txt.siori"), u"/a/b.txt");
    EXPECT_EQ(StripSioriExtension(u"/a/b.txt.Siori"), u"/a/b.txt");
    EXPECT_EQ(StripSioriExtension(u"/a/b.txt"), u"/a/b.txt");
    EXPECT_EQ(UnquotePath(u"\"/a b/c.siori\""), u"/a b/c.siori");
    EXPECT_EQ(UnquotePath(u"/plain"), u"/plain");
    EXPECT_TRUE(PathEqualsIgnoreCase(u"/Books/A.TXT", u"/books/a.txt"));
    EXPECT_FALSE(PathEqualsIgnoreCase(u"/books/a.txt", u"/books/b.txt"));
}

}  // namespace
}  // namespace Yomibon

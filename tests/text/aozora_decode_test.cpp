// Reading files: marks, code pages, and bad bytes that must never stop a text from opening.
#include <gtest/gtest.h>

#include "parser_test_util.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace Yomibon::Test {
namespace {

const std::u16string kNotation =
    u"\r\n吾輩《わがはい》は猫である。［＃「猫」に傍点］\r\n名前はまだ無い。";

std::string Encode(int codePage, const std::u16string& text) {
    std::string out;
    EXPECT_TRUE(ConvertFromUtf16(codePage, text, out));
    return out;
}

std::string Utf16Bytes(const std::u16string& text) {
    std::string out;
    for (char16_t c : text)
        out += char(c & 0xFF), out += char(c >> 8);
    return out;
}

std::vector<std::string> LoadLines(const TempDir& dir, const std::string& bytes,
                                   bool* ok = nullptr) {
    WriteFile(dir.path() / "t.txt", bytes);
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    bool loaded = parser.loadFile(FromFsPath(dir.path() / "t.txt"), buffer);
    if (ok) *ok = loaded;
    std::vector<std::string> lines;
    for (int l = 0; l < buffer.lineCount(); ++l)
        lines.push_back(DescribeLine(buffer, l));
    return lines;
}

// One text as Shift_JIS, UTF-8 (with and without mark) and UTF-16 (with mark) gives the
// same runs.
TEST(AozoraDecode, EveryEncodingGivesTheSameRuns) {
    TempDir dir;
    auto expected = LoadLines(dir, Encode(CP_SHIFT_JIS, kNotation));
    ASSERT_GE(expected.size(), 4u);
    EXPECT_EQ(expected[2], "吾輩 {1:わがはい@0,0-0,1} は 猫 である 。 {9:傍点@3,0-3,0}");
    EXPECT_EQ(LoadLines(dir, Encode(CP_UTF8, kNotation)), expected);
    EXPECT_EQ(LoadLines(dir, "\xEF\xBB\xBF" + Encode(CP_UTF8, kNotation)), expected);
    EXPECT_EQ(LoadLines(dir, "\xFF\xFE" + Utf16Bytes(kNotation)), expected);
    // UTF-16 without a mark is recognised by its zero bytes.
    EXPECT_EQ(LoadLines(dir, Utf16Bytes(kNotation)), expected);
    // A truncated UTF-16 file of odd length loses only its last byte.
    EXPECT_EQ(LoadLines(dir, "\xFF\xFE" + Utf16Bytes(kNotation) + "x"), expected);
}

TEST(AozoraDecode, DirectDecodingRules) {
    // Latin-looking bytes (detected as 1252) are read as Shift_JIS.
    std::string sjis = Encode(CP_SHIFT_JIS, u"ｱｲｳ abc");
    EXPECT_EQ(CYbAozoraTxtParser::DecodeText(sjis.data(), sjis.size()), u"ｱｲｳ abc");
    // One stray NUL does not turn a Shift_JIS text into UTF-16; the NUL is dropped.
    std::string withNul = Encode(CP_SHIFT_JIS, u"日本語の文章です。") + std::string(1, '\0') +
                          Encode(CP_SHIFT_JIS, u"続き");
    EXPECT_EQ(CYbAozoraTxtParser::DecodeText(withNul.data(), withNul.size()),
              u"日本語の文章です。続き");
    // A byte that is not Shift_JIS spoils only itself.
    std::string bad =
        Encode(CP_SHIFT_JIS, u"前の行\r\n") + "\x82\xFF" + Encode(CP_SHIFT_JIS, u"後");
    std::u16string decoded = CYbAozoraTxtParser::DecodeText(bad.data(), bad.size());
    EXPECT_EQ(decoded.substr(0, 5), u"前の行\r\n");
    EXPECT_NE(decoded.find(u"後"), std::u16string::npos);
}

TEST(AozoraDecode, FilesThatOpenAndFilesThatDoNot) {
    TempDir dir;
    bool ok = false;
    auto lines = LoadLines(dir, "", &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(lines.empty());  // an empty file parses nothing
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    EXPECT_FALSE(parser.loadFile(u"/nonexistent/folder/none.txt", buffer));
    EXPECT_FALSE(parser.loadFile(FromFsPath(dir.path()), buffer));
    // The file name is the title until a head is found.
    WriteFile(dir.path() / "blank.txt", "\r\nbody");
    ASSERT_TRUE(parser.loadFile(FromFsPath(dir.path() / "blank.txt"), buffer));
    EXPECT_EQ(parser.getTitle(), FromFsPath(dir.path() / "blank.txt"));
}

}  // namespace
}  // namespace Yomibon::Test

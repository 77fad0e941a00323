// Texts made to harm: bytes that are not Shift_JIS, and names that are not files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/codepage.h"
#include "platform/utf16.h"
#include "support/test_support.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

// Invalid pairs (85 7F: a lead byte, then a byte that cannot follow it) once opened the
// converter up to four times per byte; each bad byte is now one U+FFFD from a single
// converter, and what follows it reads as usual.
TEST(HostileText, InvalidShiftJisPairsBecomeReplacementCharacters) {
    std::string bytes = "\x82\xA0";  // あ, so that the text is taken as Shift_JIS
    for (int i = 0; i < 200'000; ++i)
        bytes += "\x85\x7F";
    bytes += "\x82\xA2";  // い
    const std::u16string text = CYbAozoraTxtParser::DecodeText(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), 2u + 400'000u);
    EXPECT_EQ(text.front(), u'あ');
    EXPECT_EQ(text.back(), u'い');
    EXPECT_EQ(text[1], u'\uFFFD');
    EXPECT_EQ(text[3], u'\uFFFD');
}

TEST(HostileText, LenientConversionKeepsGoodTextAndMarksBadBytes) {
    std::u16string out;
    const std::string bytes =
        "a\x82\xFF"
        "b\xE3\x81";  // a bad pair, then a cut-off UTF-8 あ
    ASSERT_TRUE(ConvertToUtf16Lenient(CP_SHIFT_JIS, bytes.data(), 4, out));
    EXPECT_EQ(out.front(), u'a');
    EXPECT_EQ(out.back(), u'b');
    EXPECT_NE(out.find(u'\uFFFD'), std::u16string::npos);
    ASSERT_TRUE(ConvertToUtf16Lenient(CP_UTF8, bytes.data() + 3, 3, out));
    EXPECT_EQ(out, u"b\uFFFD");
    // A valid text converts exactly as the strict conversion does.
    const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA";
    std::u16string strict;
    ASSERT_TRUE(ConvertToUtf16(CP_SHIFT_JIS, sjis.data(), sjis.size(), strict));
    ASSERT_TRUE(ConvertToUtf16Lenient(CP_SHIFT_JIS, sjis.data(), sjis.size(), out));
    EXPECT_EQ(out, strict);
    EXPECT_EQ(out, u"日本語");
    EXPECT_FALSE(ConvertToUtf16Lenient(12345, sjis.data(), sjis.size(), out));
}

// A FIFO (named by a bookmark file, say) would block an open for reading until some writer
// came; only regular files are read, and without waiting.
TEST(HostileText, FifoNamedAsATextIsNotWaitedOn) {
    Yomibon::Test::TempDir dir;
    const auto fifo = dir.path() / "named.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CYbAozoraTxtParser parser;
    CYbTxtBuffer buffer;
    EXPECT_FALSE(parser.loadFile(FromUtf8(fifo.string()), buffer));
    EXPECT_FALSE(parser.loadFile(FromUtf8(dir.path().string()), buffer));
    const auto file = dir.path() / "real.txt";
    Yomibon::Test::WriteFile(file, "\x82\xA0\x82\xA2");
    EXPECT_TRUE(parser.loadFile(FromUtf8(file.string()), buffer));
}

// A line that changes character class at every character is one run per character; the
// parser hands a huge line's run list to the buffer instead of copying it, and the lines
// after it are parsed with a fresh list.
TEST(HostileText, AlternatingClassesMakeOneRunPerCharacterAndNoMore) {
    std::u16string text;
    // Past the head lines that title detection marks.
    for (int i = 0; i < 8; ++i)
        text += u"本文。\n";
    for (int i = 0; i < 20'000; ++i)
        text += u"aあ";
    text += u"\n吾輩は猫である\n";
    for (int i = 0; i < 3; ++i)
        text += u"aあ";
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    ASSERT_TRUE(parser.parseText(std::u16string_view(text), buffer));
    const auto& lines = buffer.lines();
    ASSERT_GE(lines.size(), 12u);
    const auto& huge = lines[9].runs;
    ASSERT_EQ(huge.size(), 40'000u);
    for (size_t r = 0; r < huge.size(); ++r) {
        EXPECT_EQ(huge[r].str, r % 2 == 0 ? u"a" : u"あ") << r;
        EXPECT_EQ(huge[r].textType, TT_TEXT);
    }
    EXPECT_LE(huge.capacity(), huge.size() + huge.size() / 8);
    ASSERT_EQ(lines[10].runs.size(), 4u);  // 吾輩 は 猫 である
    EXPECT_EQ(lines[10].runs[0].str, u"吾輩");
    EXPECT_EQ(lines[10].runs[3].str, u"である");
    EXPECT_EQ(lines[11].runs.size(), 6u);
    EXPECT_EQ(lines[11].runs.capacity(), 6u);
}

}  // namespace
}  // namespace Yomibon

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

}  // namespace
}  // namespace Yomibon

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/utf16.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

// "吾輩は猫である。名前はまだ無い。" and a line of ASCII, the way texts begin.
const std::u16string kText =
    u"吾輩は猫である。名前はまだ無い。\r\nどこで生れたかとんと見当がつかぬ。\r\n";

std::string Encode(int cp, const std::u16string& s) {
    std::string out;
    EXPECT_TRUE(ConvertFromUtf16(cp, s, out));
    return out;
}

TEST(CodePage, DetectsTheEncodingsTextsComeIn) {
    std::string sjis = Encode(CP_SHIFT_JIS, kText + kText);
    EXPECT_EQ(DetectCodePage(sjis.data(), sjis.size()), CP_SHIFT_JIS);
    std::string utf8 = ToUtf8(kText);
    EXPECT_EQ(DetectCodePage(utf8.data(), utf8.size()), CP_UTF8);
    std::string bom = "\xEF\xBB\xBF" + utf8;
    EXPECT_EQ(DetectCodePage(bom.data(), bom.size()), CP_UTF8);
    std::string euc = Encode(CP_EUC_JP, kText + kText);
    EXPECT_EQ(DetectCodePage(euc.data(), euc.size()), CP_EUC_JP);
    EXPECT_EQ(DetectCodePage("", 0), CP_UNKNOWN);
}

TEST(CodePage, OnlyTheFirst512BytesDecide) {
    // UTF-8 cut in the middle of a character at byte 512 is still UTF-8.
    std::string utf8 = ToUtf8(std::u16string(400, u'猫'));
    ASSERT_GT(utf8.size(), 512u);
    EXPECT_EQ(DetectCodePage(utf8.data(), utf8.size()), CP_UTF8);
    // A bad byte after the first 512 does not change the answer.
    std::string late = std::string(600, 'a').substr(0, 510) + ToUtf8(u"猫") + "\xFF";
    EXPECT_EQ(DetectCodePage(late.data(), late.size()), CP_UTF8);
}

TEST(CodePage, ConvertsAndReportsFailure) {
    std::string sjis = Encode(CP_SHIFT_JIS, kText);
    std::u16string back;
    ASSERT_TRUE(ConvertToUtf16(CP_SHIFT_JIS, sjis.data(), sjis.size(), back));
    EXPECT_EQ(back, kText);
    // windows-31j knows the NEC and IBM extensions Shift_JIS texts use: "①" and "髙".
    std::u16string ext = u"①髙";
    ASSERT_TRUE(ConvertToUtf16(CP_SHIFT_JIS, Encode(CP_SHIFT_JIS, ext).data(), 4, back));
    EXPECT_EQ(back, ext);
    // A lead byte without its trail byte is not valid Shift_JIS, nor a broken UTF-8 sequence.
    EXPECT_FALSE(ConvertToUtf16(CP_SHIFT_JIS, "\x8C\x4C\x8C", 3, back));
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(ConvertToUtf16(CP_UTF8, "\xC3\x28", 2, back));
    EXPECT_FALSE(ConvertToUtf16(12345, "abc", 3, back));
    // The byte-order mark is not text.
    ASSERT_TRUE(ConvertToUtf16(CP_UTF8, "\xEF\xBB\xBF\x41", 4, back));
    EXPECT_EQ(back, u"A");
}

TEST(CodePage, SurrogatePairsSurviveUtf8) {
    std::u16string s = u"𠮟る";
    EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
    EXPECT_EQ(CharCount(s), 2u);
    EXPECT_EQ(CharOffset(s, 1), 2u);
    EXPECT_EQ(CodePointAt(s, 0), U'\U00020B9F');
    EXPECT_TRUE(IsValidUtf8("abc", 3));
    EXPECT_FALSE(IsValidUtf8("\xE3\x81", 2));
}

TEST(CodePage, EveryCorpusTextIsShiftJis) {
    YB_REQUIRE_CORPUS();
    int files = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(::Yomibon::Test::CorpusDir())) {
        if (entry.path().extension() != ".txt") continue;
        std::string bytes = ::Yomibon::Test::ReadFile(entry.path());
        EXPECT_EQ(DetectCodePage(bytes.data(), bytes.size()), CP_SHIFT_JIS) << entry.path();
        std::u16string text;
        EXPECT_TRUE(ConvertToUtf16(CP_SHIFT_JIS, bytes.data(), bytes.size(), text)) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 20);
}

}  // namespace
}  // namespace Yomibon

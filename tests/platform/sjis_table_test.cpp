#include "platform/sjis_table.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <random>
#include <string>

#include "platform/codepage.h"

namespace Yomibon {
namespace {

void Replace(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
             UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;
    *err = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

// The converter alone over the whole text, as the reference the table must match.
std::u16string ConverterOnly(const std::string& bytes) {
    UErrorCode err = U_ZERO_ERROR;
    UConverter* conv = ucnv_open("windows-31j", &err);
    ucnv_setToUCallBack(conv, Replace, nullptr, nullptr, nullptr, &err);
    std::u16string out(bytes.size() * 2 + 16, u'\0');
    UChar* target = reinterpret_cast<UChar*>(out.data());
    const char* source = bytes.data();
    ucnv_toUnicode(conv, &target, target + out.size(), &source, bytes.data() + bytes.size(),
                   nullptr, true, &err);
    EXPECT_TRUE(U_SUCCESS(err));
    out.resize(size_t(target - reinterpret_cast<UChar*>(out.data())));
    ucnv_close(conv);
    return out;
}

std::u16string ByTable(const std::string& bytes) {
    std::u16string out;
    EXPECT_TRUE(DecodeShiftJis(bytes.data(), bytes.size(), out));
    return out;
}

TEST(ShiftJisTable, EveryTwoByteSequenceReadsAsTheConverterReadsIt) {
    // Each lead byte with every trail byte, between ASCII letters and line ends, so that a
    // bad pair's second byte is read again the way the converter reads it.
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
        std::string bytes;
        for (unsigned trail = 0; trail < 0x100; ++trail) {
            bytes += char(lead);
            bytes += char(trail);
            bytes += trail % 3 == 0 ? "\r\n" : "a";
        }
        ASSERT_EQ(ByTable(bytes), ConverterOnly(bytes)) << "lead " << lead;
    }
}

TEST(ShiftJisTable, TextAndBadBytesMatchTheConverter) {
    const std::u16string text = u"吾輩は猫である。名前はまだ無い。①Ⅱ髙﨑ｱｲｳ\\~\r\n";
    std::string good;
    ASSERT_TRUE(ConvertFromUtf16(CP_SHIFT_JIS, text, good));
    EXPECT_EQ(ByTable(good), text);
    // A lead byte cut off by the end, a bad pair, a lone high byte, and a NUL.
    for (const std::string& tail :
         {std::string("\x82"), std::string("\x85\x7F"), std::string("\xFF\x80\xA0"),
          std::string("\x82\n\x82\xA0", 4), std::string("x\0y", 3)}) {
        std::string bytes = good + tail + good;
        EXPECT_EQ(ByTable(bytes), ConverterOnly(bytes));
        EXPECT_EQ(ByTable(good + tail), ConverterOnly(good + tail));
    }
    // The decoded text is appended to what the string holds.
    std::u16string out = u"前";
    ASSERT_TRUE(DecodeShiftJis(good.data(), good.size(), out));
    EXPECT_EQ(out, u"前" + text);
}

TEST(ShiftJisTable, RandomBytesMatchTheConverter) {
    std::mt19937 rng(2718);
    // Bytes drawn mostly from the ranges that matter: leads, trails, ASCII, line ends.
    const std::string alphabet =
        "\x81\x82\x88\x9F\xE0\xEA\xED\xFA\xFC\x40\x7E\x7F\x80\xA0\xA1"
        "\xDF\xFD\xFE\xFF\x5C\n\rAz";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        size_t length = rng() % 400;
        for (size_t i = 0; i < length; ++i)
            bytes += rng() % 4 == 0 ? char(rng() % 256) : alphabet[rng() % alphabet.size()];
        ASSERT_EQ(ByTable(bytes), ConverterOnly(bytes)) << "round " << round;
    }
}

TEST(ShiftJisTable, LongRunsOfBadPairsStayLinear) {
    // Pairs the code page does not assign, with no line end to stop at: one converter pass.
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "\x85\x7F";
    std::u16string out = ByTable(bytes);
    EXPECT_EQ(out, ConverterOnly(bytes));
    EXPECT_EQ(out.size(), 400000u);
}

}  // namespace
}  // namespace Yomibon

// One reading of the system's own small files, for every form they are found in.
#include "platform/file_text.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

using namespace std::string_literals;

std::string Utf16Bytes(std::u16string_view text, bool bom) {
    std::string bytes = bom ? "\xFF\xFE" : "";
    AppendUtf16Le(bytes, text);
    return bytes;
}

std::string ShiftJis(const std::u16string& text) {
    std::string out;
    EXPECT_TRUE(ConvertFromUtf16(CP_SHIFT_JIS, text, out));
    return out;
}

// The same settings line in every form a file can hold it gives the same text.
TEST(FileText, EveryFormGivesTheSameText) {
    const std::u16string line = u"[text]\r\nBodyFont=@ＩＰＡ明朝\r\n";
    const std::string forms[] = {Utf16Bytes(line, true), Utf16Bytes(line, false),
                                 "\xEF\xBB\xBF" + ToUtf8(line), ToUtf8(line), ShiftJis(line)};
    for (const std::string& bytes : forms) {
        FileText decoded = DecodeFileText(bytes);
        EXPECT_EQ(decoded.text, line);
        EXPECT_TRUE(decoded.lossless);
    }
    EXPECT_EQ(DecodeFileText("").text, u"");
    EXPECT_TRUE(DecodeFileText("").lossless);
}

TEST(FileText, BytesThatDoNotDecodeAreNotLossless) {
    // Neither UTF-8 nor Shift_JIS (0x85 0x7F is unassigned; a lone 0xFD is no lead byte).
    FileText bad = DecodeFileText("k=\x85\x7F\xFD\n");
    EXPECT_FALSE(bad.lossless);
    EXPECT_EQ(bad.text.substr(0, 2), u"k=");
    // A UTF-16LE file cut in the middle of a unit.
    FileText odd = DecodeFileText(std::string("\xFF\xFEk\0=", 5));
    EXPECT_FALSE(odd.lossless);
    EXPECT_EQ(odd.text, u"k");
    // Units that UTF-8 cannot carry back: an unpaired surrogate, a zero character.
    EXPECT_FALSE(DecodeFileText(Utf16Bytes(u"k=\xD842x", true)).lossless);
    EXPECT_FALSE(DecodeFileText(Utf16Bytes(u"k=x\xDC00", false)).lossless);
    EXPECT_FALSE(DecodeFileText(Utf16Bytes(u"k=a\0b"s, true)).lossless);
    EXPECT_TRUE(DecodeFileText(Utf16Bytes(u"k=𠮷", true)).lossless);
}

TEST(FileText, Utf16LeRoundTripKeepsSurrogatesAndHighUnits) {
    const std::u16string text = u"𠮷野家\uFFFEＡ\0z"s;
    std::string bytes;
    AppendUtf16Le(bytes, text);
    ASSERT_EQ(bytes.size(), text.size() * 2);
    EXPECT_EQ(uint8_t(bytes[0]), 0x42);  // U+D842, low byte first
    EXPECT_EQ(uint8_t(bytes[1]), 0xD8);
    EXPECT_EQ(FromUtf16Le(bytes), text);
    EXPECT_EQ(FromUtf16Le(bytes + "x"), text);  // an odd last byte is dropped
}

}  // namespace
}  // namespace Yomibon

#include <gtest/gtest.h>

#include "platform/format.h"
#include "platform/paths.h"

namespace Yomibon {
namespace {

TEST(FormatMessage, IndexedAndPlainInserts) {
    EXPECT_EQ(FormatMessage(u"%1!s! %2!s! - %3!s! (%4!d!/%5!d!)",
                            {u"羅生門", u"芥川龍之介", u"Yomibon", int64_t(3), int64_t(40)}),
              u"羅生門 芥川龍之介 - Yomibon (3/40)");
    // Inserts may come in any order and repeat.
    EXPECT_EQ(FormatMessage(u"%2!d!:%1!s!:%2!d!", {u"a", int64_t(-7)}), u"-7:a:-7");
    EXPECT_EQ(FormatMessage(u"%s/%s.ini", {u"/data", u"Yomibon"}), u"/data/Yomibon.ini");
    EXPECT_EQ(FormatMessage(u"%d%%", {int64_t(50)}), u"50%");
    // Missing or mistyped arguments give nothing rather than garbage.
    EXPECT_EQ(FormatMessage(u"[%3!s!][%1!d!]", {u"x"}), u"[][]");
    EXPECT_EQ(FormatMessage(u"100% %1", {}), u"100% %1");
}

TEST(Paths, NormalisedForm) {
    EXPECT_EQ(NormalizePath(u"C:\\texts\\.\\rashomon.txt\r\n"), u"C:/texts/rashomon.txt");
    EXPECT_EQ(NormalizePath(u"/a/././b/./c"), u"/a/b/c");
    EXPECT_EQ(NormalizePath(u"http://example.jp/x.html"), u"http://example.jp/x.html");
    EXPECT_TRUE(std::filesystem::is_directory(ProgramFolder()));
    EXPECT_EQ(FromFsPath(ToFsPath(u"/tmp/羅生門.txt")), u"/tmp/羅生門.txt");
}

}  // namespace
}  // namespace Yomibon

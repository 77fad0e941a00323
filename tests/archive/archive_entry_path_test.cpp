#include "archive/archive_entry_path.h"

#include <gtest/gtest.h>

#include "archive/archive_maker.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

TEST(ArchiveEntryPath, DecodesShiftJisNamesAndKeepsUtf8) {
    EXPECT_EQ(DecodeEntryName(std::string(yt::kMelosShiftJis) + ".txt"),
              std::string(yt::kMelosUtf8) + ".txt");
    EXPECT_EQ(DecodeEntryName(std::string("sub/") + yt::kMelosUtf8),
              std::string("sub/") + yt::kMelosUtf8);
    EXPECT_EQ(DecodeEntryName("plain/name.txt"), "plain/name.txt");
    // A lone lead byte at the end fits neither encoding.
    EXPECT_EQ(DecodeEntryName("a\x82"), "a_");
    EXPECT_EQ(DecodeEntryName(""), "");
    EXPECT_TRUE(IsUtf8Name(yt::kMelosUtf8));
    EXPECT_FALSE(IsUtf8Name(yt::kMelosShiftJis));
    EXPECT_FALSE(IsUtf8Name("\xC0\xAF"));      // overlong "/"
    EXPECT_FALSE(IsUtf8Name("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsUtf8Name("\xE3\x81"));      // cut short
}

TEST(ArchiveEntryPath, KeepsEntriesBelowTheDestination) {
    std::string relative;
    EXPECT_TRUE(SafeEntryPath("sub/a.txt", relative));
    EXPECT_EQ(relative, "sub/a.txt");
    EXPECT_TRUE(SafeEntryPath("sub\\deeper\\a.txt", relative));
    EXPECT_EQ(relative, "sub/deeper/a.txt");
    EXPECT_TRUE(SafeEntryPath("./sub//./a.txt", relative));
    EXPECT_EQ(relative, "sub/a.txt");
    EXPECT_TRUE(SafeEntryPath("sub/", relative));
    EXPECT_EQ(relative, "sub");
    EXPECT_TRUE(SafeEntryPath("./", relative));
    EXPECT_EQ(relative, "");
    EXPECT_TRUE(SafeEntryPath("a..b/..c", relative));
    EXPECT_EQ(relative, "a..b/..c");

    for (const char* bad : {"../evil.txt", "sub/../../evil.txt", "sub/..", "..\\evil.txt",
                            "/etc/passwd", "\\evil.txt", "C:\\evil.txt", "c:evil.txt", ""}) {
        EXPECT_FALSE(SafeEntryPath(bad, relative)) << bad;
        EXPECT_TRUE(relative.empty()) << bad;
    }
}

TEST(ArchiveEntryPath, LinksMayOnlyLeadDownwards) {
    EXPECT_TRUE(SafeLinkTarget("a.txt"));
    EXPECT_TRUE(SafeLinkTarget("sub/a.txt"));
    EXPECT_TRUE(SafeLinkTarget("./sub"));
    EXPECT_FALSE(SafeLinkTarget("../a.txt"));
    EXPECT_FALSE(SafeLinkTarget("sub/../../a.txt"));
    EXPECT_FALSE(SafeLinkTarget("sub/.."));
    EXPECT_FALSE(SafeLinkTarget("/etc/passwd"));
    EXPECT_FALSE(SafeLinkTarget(""));
}

}  // namespace
}  // namespace Yomibon

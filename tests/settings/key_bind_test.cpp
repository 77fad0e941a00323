#include "settings/key_bind.h"

#include <gtest/gtest.h>

#include "support/file_size_limit.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

std::string Utf16File(const std::u16string& text, bool bom = true) {
    std::string bytes = bom ? "\xFF\xFE" : "";
    for (char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

TEST(KeyBind, DefaultsAreTheFortyThreeBindings) {
    KeyBindTable table;
    DefaultKeyBindings(table);
    EXPECT_EQ(table.size(), 43u);
    EXPECT_EQ(table.at({'A', true, true, false}), u"CatalogueOpen");
    EXPECT_EQ(table.at({'O', false, true, false}), u"ReadFile");
    EXPECT_EQ(table.at({'O', true, true, false}), u"ReadClipboard");
    EXPECT_EQ(table.at({0x20, true, false, false}), u"PrevPage");
    EXPECT_EQ(table.at({0x0D, false, false, true}), u"ShowProperty");
    EXPECT_EQ(table.at({'0', false, true, false}), u"GotoBookmark0");
    for (uint32_t button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        EXPECT_EQ(table.count({button, false, false, false}), 0u);
}

TEST(KeyBind, NamesOfKeys) {
    EXPECT_EQ(KeyFileName({'O', false, true, false}), u"C-4F");
    EXPECT_EQ(KeyFileName({'O', true, true, false}), u"S-C-4F");
    EXPECT_EQ(KeyFileName({0x72, true, false, false}), u"S-72");
    EXPECT_EQ(KeyFileName({VK_RBUTTON, false, false, false}), u"2");
    EXPECT_EQ(KeyFileName({0x0D, true, true, true}), u"S-C-M-D");
    EXPECT_EQ(KeyDisplayName({'O', true, true, false}), u"Shift + Ctrl + O");
    EXPECT_EQ(KeyDisplayName({VK_LBUTTON, false, false, true}), u"Alt + Left mouse button");
    EXPECT_EQ(KeyDisplayName({0x22, false, false, false}), u"Page Down");
    EXPECT_EQ(KeyDisplayName({0x10, true, false, false}), u"Shift + ");
    EXPECT_EQ(KeyDisplayName({0x74, false, false, false}), u"F5");
}

TEST(KeyBind, ReadingTheFile) {
    KeyBindTable table;
    // Prefixes in either order, a later line for the same key winning, blanks and a sign
    // before the code, a line without "=", and CR LF endings.
    ParseKeyBindings(u"C-S-4F=ReadFile\r\nS-C-4F=Copy\r\n 22=NextPage\r\ngarbage\r\nM-+D=Exit\r\n",
                     table);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at({'O', true, true, false}), u"Copy");
    EXPECT_EQ(table.at({0x22, false, false, false}), u"NextPage");
    EXPECT_EQ(table.at({0x0D, false, false, true}), u"Exit");

    // Bare line feeds, as a file edited by hand on this system has them, keep every letter.
    KeyBindTable bare;
    ParseKeyBindings(u"26=PrevPage\n28=NextPage", bare);
    EXPECT_EQ(bare.at({0x26, false, false, false}), u"PrevPage");
    EXPECT_EQ(bare.at({0x28, false, false, false}), u"NextPage");
}

TEST(KeyBind, FileRoundTripAndFailures) {
    ::Yomibon::Test::TempDir dir;
    auto path = dir.path() / "sub" / "keybind.ini";
    KeyBindTable table;
    EXPECT_FALSE(LoadKeyBindings(path, table));
    DefaultKeyBindings(table);
    table[{VK_LBUTTON, false, false, false}] = u"NextPage";
    ASSERT_TRUE(SaveKeyBindings(path, table));  // creates the missing folder
    std::string bytes = ::Yomibon::Test::ReadFile(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    // Table order: the mouse button (code 1) comes first, Shift keys last, CR LF ends.
    EXPECT_EQ(bytes.substr(2, 24), Utf16File(u"1=NextPage\r\n", false));
    KeyBindTable back;
    ASSERT_TRUE(LoadKeyBindings(path, back));
    EXPECT_EQ(back, table);

    // An empty file binds nothing at all.
    ::Yomibon::Test::WriteFile(path, "");
    KeyBindTable empty;
    EXPECT_TRUE(LoadKeyBindings(path, empty));
    EXPECT_TRUE(empty.empty());

    // A failed save leaves the previous file as it was.
    ::Yomibon::Test::WriteFile(path, Utf16File(u"70=Help\r\n"));
    {
        ::Yomibon::Test::FileSizeLimit full(8);
        EXPECT_FALSE(SaveKeyBindings(path, table));
    }
    EXPECT_EQ(::Yomibon::Test::ReadFile(path), Utf16File(u"70=Help\r\n"));
}

}  // namespace
}  // namespace Yomibon

// .lay files come from outside: any rows must open or fail cleanly.
#include <gtest/gtest.h>

#include <random>

#include "layout/bunko_txt_layout.h"
#include "layout/custom_txt_layout.h"
#include "platform/paths.h"
#include "support/test_support.h"

using namespace Yomibon;

TEST(LayFileBadInput, RandomRowsOpenOrFailCleanly) {
    Yomibon::Test::TempDir dir;
    auto file = FromFsPath(dir.path() / "r.lay");
    static const char* keys[] = {"LayoutType",       "LayoutName",    "PaperSize",
                                 "PageCharCount",    "TextSize",      "TextLayout",
                                 "NombreLayout",     "NoteLayout",    "RunningHeadsLayout",
                                 "NumbreFormatType", "Nombre1Format", "",
                                 "\"Text\nLayout\""};
    static const char* values[] = {"0", "-1", "2147483647", "-2147483648", "99999999999",
                                   "x", "",   "\"",         "BUNKO 1.0",   "１７"};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int row = rng() % 12; row > 0; --row) {
            text += keys[rng() % std::size(keys)];
            for (int f = rng() % 8; f > 0; --f)
                text += std::string(",") + values[rng() % std::size(values)];
            text += rng() % 2 ? "\r\n" : "\n";
        }
        Yomibon::Test::WriteFile(dir.path() / "r.lay", text);
        CYbCustomTxtLayout custom;
        bool opened = custom.Open(file.c_str());
        // Either way the layout has text columns to arrange into.
        EXPECT_GT(custom.GetLineCount(), 0) << text;
        EXPECT_FALSE(custom.GetBoxes(TextLayout).empty());
        if (opened) {
            ASSERT_TRUE(custom.Save(file.c_str()));
            CYbCustomTxtLayout again;
            ASSERT_TRUE(again.Open(file.c_str()));
            EXPECT_EQ(again.GetBoxes(TextLayout), custom.GetBoxes(TextLayout));
        }
        CYbBunkoTxtLayout bunko;
        bunko.Open(file.c_str());
        EXPECT_GT(bunko.GetLineCount(), 0);
    }
}

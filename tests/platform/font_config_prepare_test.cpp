#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "platform/font_match.h"

namespace Yomibon {
namespace {

// The configuration loaded on a second thread while this one asks for faces: both sides
// see one configuration, and the answers match those asked after it was loaded.
TEST(FontConfigPrepare, SecondThreadLoadWhileMatching) {
    std::thread prepare(PrepareFontConfig);
    std::optional<FontFile> during = FindFontForChar(U'\u3042');
    std::vector<std::u16string> familiesDuring = JapaneseFontFamilies();
    prepare.join();
    PrepareFontConfig();  // again: nothing more to load
    std::optional<FontFile> after = FindFontForChar(U'\u3042');
    ASSERT_EQ(during.has_value(), after.has_value());
    if (during) {
        EXPECT_EQ(during->path, after->path);
        EXPECT_EQ(during->index, after->index);
    }
    EXPECT_EQ(familiesDuring, JapaneseFontFamilies());
}

}  // namespace
}  // namespace Yomibon

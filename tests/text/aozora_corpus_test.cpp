// Every text of the shared corpus parses, with sensible titles and resolved characters.
#include <gtest/gtest.h>

#include <filesystem>

#include "parser_test_util.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace Yomibon::Test {
namespace {

std::vector<std::filesystem::path> CorpusTexts() {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(CorpusDir()))
        if (e.is_regular_file() && e.path().extension() == ".txt") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(AozoraCorpus, EveryTextParses) {
    YB_REQUIRE_CORPUS();
    auto files = CorpusTexts();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        CYbTxtBuffer buffer;
        CYbAozoraTxtParser parser;
        ASSERT_TRUE(parser.loadFile(FromFsPath(file), buffer));
        EXPECT_GT(buffer.lineCount(), 10);
        EXPECT_FALSE(parser.getTitle().empty());
        size_t plain = 0, replacement = 0;
        for (const LineInfo& line : buffer.lines())
            for (const TextInfo& run : line.runs) {
                if (run.textType != TT_TEXT) continue;
                plain += run.str.size();
                replacement += size_t(std::count(run.str.begin(), run.str.end(), u'\uFFFD'));
            }
        EXPECT_GT(plain, 100u);
        EXPECT_EQ(replacement, 0u);  // every corpus text decodes cleanly
    }
}

// Notation never leaks into the body: no stretch of plain text holds an annotation's
// opening or a picture annotation's closing. Plain runs are cut where the character class
// changes ("入", "る", "］"), so each line's neighbouring plain runs are looked at joined.
// The bibliography is taken as written and is not looked at.
TEST(AozoraCorpus, NoNotationInBodyText) {
    YB_REQUIRE_CORPUS();
    for (const auto& file : CorpusTexts()) {
        SCOPED_TRACE(file.string());
        CYbTxtBuffer buffer;
        CYbAozoraTxtParser parser;
        ASSERT_TRUE(parser.loadFile(FromFsPath(file), buffer));
        int leaks = 0;
        auto check = [&leaks](const std::u16string& plain) {
            if (plain.find(u"［＃") == std::u16string::npos &&
                plain.find(u"入る］") == std::u16string::npos)
                return;
            if (++leaks <= 3) ADD_FAILURE() << ToUtf8(plain);
        };
        for (const LineInfo& line : buffer.lines()) {
            if (!line.runs.empty() && line.runs[0].textType == TT_END_OF_BODY) break;
            std::u16string plain;
            for (const TextInfo& run : line.runs) {
                if (run.textType == TT_TEXT) {
                    plain += run.str;
                    continue;
                }
                check(plain);
                plain.clear();
            }
            check(plain);
        }
        EXPECT_EQ(leaks, 0);
    }
}

TEST(AozoraCorpus, RashomonHeadAndBody) {
    YB_REQUIRE_CORPUS();
    auto dir = CorpusDir() / "akutagawa-rashomon";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no rashomon";
    std::filesystem::path file;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".txt") file = e.path();
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    ASSERT_TRUE(parser.loadFile(FromFsPath(file), buffer));
    EXPECT_EQ(parser.getTitle(), u"羅生門");
    EXPECT_EQ(parser.getAuthor(), u"芥川龍之介");
    EXPECT_NE(parser.getInfo().find(u"底本："), std::u16string::npos);
}

}  // namespace
}  // namespace Yomibon::Test

// Searching a catalogue as the reader types: kanji titles, readings in either kana, full- and
// half-width forms, authors and translators; every prefix of a query typed one character at a
// time gives what a fresh search gives; the list's orders.
#include <gtest/gtest.h>

#include "library/catalogue_index.h"
#include "library/catalogue_reader.h"
#include "library/search_fold.h"
#include "platform/utf16.h"
#include "support/catalogue_maker.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

class CatalogueIndexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto zip = dir_.path() / "list.zip";
        ASSERT_TRUE(yt::WriteCatalogueZip(
            zip, yt::CatalogueCsv(yt::SampleCatalogue(400, "http://127.0.0.1:1"))));
        std::vector<CatalogueWork> works;
        ASSERT_TRUE(ReadCatalogue(zip, works).ok());
        index_.assign(std::move(works));
    }
    std::vector<std::u16string> titles(std::u16string_view query) {
        std::vector<std::u16string> out;
        for (uint32_t i : index_.search(query))
            out.push_back(index_.works()[i].title);
        return out;
    }
    yt::TempDir dir_;
    CYbCatalogueIndex index_;
};

TEST(SearchFold, FoldsWidthsKanaCaseAndBlanks) {
    EXPECT_EQ(FoldForSearch(u"ｵﾂﾍﾞﾙ"), u"おつべる");
    EXPECT_EQ(FoldForSearch(u"オツベルと象"), u"おつべると象");
    EXPECT_EQ(FoldForSearch(u"ＡＢＣ abc"), u"abcabc");
    EXPECT_EQ(FoldForSearch(u"太宰　治"), u"太宰治");
    EXPECT_EQ(FoldForSearch(u"ヴァン・ゴッホ"), u"ゔぁんごっほ");
    EXPECT_EQ(FoldForSearch(u"１９４０"), u"1940");
}

TEST_F(CatalogueIndexTest, FindsByTitleReadingAndAuthor) {
    EXPECT_EQ(titles(u"羅生門"), std::vector<std::u16string>{u"羅生門"});
    // The hiragana reading of a katakana title, and the title in half-width katakana.
    EXPECT_EQ(titles(u"おつべる"), std::vector<std::u16string>{u"オツベルと象"});
    EXPECT_EQ(titles(u"ｵﾂﾍﾞﾙ"), std::vector<std::u16string>{u"オツベルと象"});
    EXPECT_EQ(titles(u"オツベルとぞう"), std::vector<std::u16string>{u"オツベルと象"});
    // Authors by name and reading, a translator, the subtitle, two words at once.
    EXPECT_EQ(titles(u"太宰"), std::vector<std::u16string>{u"走れメロス"});
    EXPECT_EQ(titles(u"ダザイ　オサム"), std::vector<std::u16string>{u"走れメロス"});
    EXPECT_EQ(titles(u"原田義人"), std::vector<std::u16string>{u"変身"});
    EXPECT_EQ(titles(u"新釈"), std::vector<std::u16string>{u"走れメロス"});
    EXPECT_EQ(titles(u"かふか へんしん"), std::vector<std::u16string>{u"変身"});
    EXPECT_TRUE(titles(u"かふか めろす").empty());
    EXPECT_EQ(index_.search(u"").size(), 400u);
    EXPECT_EQ(index_.search(u"  ").size(), 400u);
}

TEST_F(CatalogueIndexTest, TypingCharacterByCharacterMatchesAFreshSearch) {
    for (std::u16string query : {u"はるのゆき", u"雪の 佐藤", u"ぴあの こばやし はなこ"}) {
        CYbCatalogueIndex fresh;
        fresh.assign(index_.works());
        for (size_t n = 0; n <= query.size(); ++n) {
            const std::u16string prefix = query.substr(0, n);
            std::vector<uint32_t> typed = index_.search(prefix);
            CYbCatalogueIndex other;
            other.assign(index_.works());
            ASSERT_EQ(typed, other.search(prefix)) << ToUtf8(prefix);
        }
        // Deleting back to nothing returns to the whole list.
        for (size_t n = query.size() + 1; n-- > 0;)
            index_.search(query.substr(0, n));
        EXPECT_EQ(index_.results().size(), 400u);
    }
    EXPECT_GT(index_.search(u"はる").size(), 10u);
}

TEST_F(CatalogueIndexTest, OrdersByEachColumnKeepingTheQuery) {
    index_.search(u"ゆき");
    const size_t found = index_.results().size();
    ASSERT_GT(found, 5u);
    index_.sortBy(CYbCatalogueIndex::BY_YEAR, true);
    ASSERT_EQ(index_.results().size(), found);
    for (size_t i = 1; i < found; ++i)
        EXPECT_LE(index_.works()[index_.results()[i - 1]].year,
                  index_.works()[index_.results()[i]].year);
    index_.sortBy(CYbCatalogueIndex::BY_AUTHOR, false);
    for (size_t i = 1; i < found; ++i)
        EXPECT_GE(index_.works()[index_.results()[i - 1]].authorsReading(),
                  index_.works()[index_.results()[i]].authorsReading());
    index_.sortBy(CYbCatalogueIndex::BY_TITLE, true);
    index_.search(u"");
    EXPECT_EQ(index_.works()[index_.results().front()].titleReading.substr(0, 1), u"あ");
    index_.sortBy(CYbCatalogueIndex::BY_KANA_STYLE, true);
    EXPECT_EQ(index_.works()[index_.results().front()].kanaStyle, u"新字新仮名");
    EXPECT_EQ(index_.works()[index_.results().back()].kanaStyle, u"旧字旧仮名");
    ASSERT_TRUE(index_.find(u"1567"));
    EXPECT_EQ(index_.find(u"001567")->title, u"走れメロス");
    EXPECT_FALSE(index_.find(u"999999"));
}

}  // namespace
}  // namespace Yomibon

// Reading catalogue files made in the test in the library's layout: rows gathered into works,
// the byte-order mark, quoted fields, a bare CSV file, and files that are not a catalogue.
#include <gtest/gtest.h>

#include "archive/archive_maker.h"
#include "library/catalogue_reader.h"
#include "support/catalogue_maker.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

const CatalogueWork* Find(const std::vector<CatalogueWork>& works, std::u16string_view id) {
    for (const CatalogueWork& w : works)
        if (w.id == id) return &w;
    return nullptr;
}

TEST(CatalogueReader, GathersRowsIntoWorks) {
    yt::TempDir dir;
    const auto zip = dir.path() / "list.zip";
    ASSERT_TRUE(yt::WriteCatalogueZip(
        zip, yt::CatalogueCsv(yt::SampleCatalogue(300, "http://127.0.0.1:1"))));
    std::vector<CatalogueWork> works;
    CatalogueReadResult read = ReadCatalogue(zip, works);
    ASSERT_TRUE(read.ok()) << std::string(read.message.begin(), read.message.end());
    EXPECT_EQ(works.size(), 300u);
    EXPECT_EQ(read.rows, 301u);  // 変身 has a row for its translator

    const CatalogueWork* melos = Find(works, u"001567");
    ASSERT_TRUE(melos);
    EXPECT_EQ(melos->title, u"走れメロス");
    EXPECT_EQ(melos->titleReading, u"はしれめろす");
    EXPECT_EQ(melos->subtitle, u"新釈諸国噺");
    EXPECT_EQ(melos->kanaStyle, u"新字新仮名");
    EXPECT_EQ(melos->year, 1940);
    EXPECT_EQ(melos->authors(), u"太宰治");
    EXPECT_EQ(melos->authorsReading(), u"だざいおさむ");
    EXPECT_EQ(melos->textUrl, "http://127.0.0.1:1/cards/000567/files/1567_ruby.zip");

    const CatalogueWork* kafka = Find(works, u"001235");
    ASSERT_TRUE(kafka);
    ASSERT_EQ(kafka->persons.size(), 2u);
    EXPECT_EQ(kafka->authors(), u"カフカフランツ、原田義人(翻訳者)");
    EXPECT_EQ(kafka->year, 0);
}

TEST(CatalogueReader, TakesTheFileWithOrWithoutMarkZippedOrBare) {
    yt::TempDir dir;
    auto rows = yt::SampleCatalogue(20, "http://h");
    // A title holding the separator, a quote and a line break stays one field.
    rows[0].title = "甲,乙\"丙\"\r\n丁";
    for (bool bom : {true, false}) {
        const auto zip = dir.path() / (bom ? "a.zip" : "b.zip");
        ASSERT_TRUE(yt::WriteCatalogueZip(zip, yt::CatalogueCsv(rows, bom)));
        std::vector<CatalogueWork> works;
        ASSERT_TRUE(ReadCatalogue(zip, works).ok()) << bom;
        ASSERT_EQ(works.size(), 20u);
        EXPECT_EQ(works[0].id, u"000127");
        EXPECT_EQ(works[0].title, u"甲,乙\"丙\"\r\n丁");
        EXPECT_EQ(works[1].title, u"走れメロス");
    }
    const auto bare = dir.path() / "list.csv";
    yt::WriteFile(bare, yt::CatalogueCsv(rows));
    std::vector<CatalogueWork> works;
    ASSERT_TRUE(ReadCatalogue(bare, works).ok());
    EXPECT_EQ(works.size(), 20u);
}

TEST(CatalogueReader, RefusesWhatIsNotACatalogueAndKeepsTheWorks) {
    yt::TempDir dir;
    std::vector<CatalogueWork> works(3);
    const auto missing = dir.path() / "none.zip";
    EXPECT_EQ(ReadCatalogue(missing, works).status, CatalogueReadResult::CANNOT_OPEN);

    const auto noCsv = dir.path() / "nocsv.zip";
    ASSERT_TRUE(yt::WriteZip(noCsv, {{"readme.txt", "hello"}}));
    EXPECT_EQ(ReadCatalogue(noCsv, works).status, CatalogueReadResult::NO_TABLE);

    const auto other = dir.path() / "other.zip";
    ASSERT_TRUE(yt::WriteCatalogueZip(other, "\"名前\",\"値\"\r\n\"a\",\"b\"\r\n"));
    CatalogueReadResult read = ReadCatalogue(other, works);
    EXPECT_EQ(read.status, CatalogueReadResult::NOT_CATALOGUE);
    EXPECT_NE(read.message.find(u"作品目録"), std::u16string::npos);

    // A zip cut short in the middle of its data.
    const auto good = dir.path() / "good.zip";
    ASSERT_TRUE(yt::WriteCatalogueZip(good, yt::CatalogueCsv(yt::SampleCatalogue(200, "x"))));
    std::string bytes = yt::ReadFile(good);
    const auto cut = dir.path() / "cut.zip";
    yt::WriteFile(cut, bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(ReadCatalogue(cut, works).ok());
    EXPECT_EQ(works.size(), 3u);
}

TEST(CatalogueReader, FindsTheFirstYearOfFirstPrinting) {
    EXPECT_EQ(FirstYearIn(u"「新潮」1940（昭和15）年5月"), 1940);
    EXPECT_EQ(FirstYearIn(u"「文藝」１９３５年"), 1935);
    EXPECT_EQ(FirstYearIn(u"第12号、123456頁、1921年"), 1921);
    EXPECT_EQ(FirstYearIn(u"不詳"), 0);
}

}  // namespace
}  // namespace Yomibon

// Catalogues the catalogue tests and benchmarks make for themselves: rows in the library's
// 55-column layout (UTF-8, CRLF, a header, quoted text fields), zipped like the real one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace Yomibon::Test {

// One (work, person) row; the other columns are filled with plausible values.
struct CatalogueRow {
    std::string id;  // six digits
    std::string title;
    std::string reading;
    std::string subtitle;
    std::string kanaStyle = "新字新仮名";
    std::string firstPrinted;
    std::string personId;
    std::string family, given, familyReading, givenReading;
    std::string role = "著者";
    std::string textUrl;
    std::string xhtmlUrl;
};

// The header and the rows as the library writes them, with a byte-order mark when asked.
std::string CatalogueCsv(const std::vector<CatalogueRow>& rows, bool bom = true);

// Some known works (羅生門, 走れメロス, オツベルと象, 変身 with its translator...) followed by
// generated ones up to `works` works; text addresses are `base` + "/cards/<person>/files/
// <id>_ruby.zip".
std::vector<CatalogueRow> SampleCatalogue(size_t works, const std::string& base);

// The text zip address of a work of SampleCatalogue.
std::string SampleTextPath(const std::string& id);

// A zip holding `csv` as "list_person_all_extended_utf8.csv"; false when writing failed.
bool WriteCatalogueZip(const std::filesystem::path& zip, const std::string& csv);

}  // namespace Yomibon::Test

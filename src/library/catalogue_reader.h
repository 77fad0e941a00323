// Reading the library's catalogue file: a zip holding one UTF-8 CSV file (or that CSV file
// bare), read as a stream, split by the project's CSV rules, and gathered into one record
// per work.
#pragma once

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/catalogue_work.h"
#include "settings/csv_text.h"

namespace Yomibon {

// Gathers the catalogue's rows, header first, into works.
class CYbCatalogueBuilder {
  public:
    // False when the first row is not the catalogue's header; later rows are taken as works.
    bool add(const CYbCSVText::Row& row);
    bool sawHeader() const { return header_; }
    size_t rowCount() const { return rows_; }
    std::vector<CatalogueWork> finish() { return std::move(works_); }

  private:
    void addPerson(CatalogueWork& work, const CYbCSVText::Row& row);

    bool header_ = false;
    size_t rows_ = 0;
    std::vector<CatalogueWork> works_;
    std::unordered_map<std::u16string, size_t> byId_;
};

struct CatalogueReadResult {
    enum Status {
        OK,
        CANNOT_OPEN,    // the file is missing or unreadable
        DAMAGED,        // not a readable zip, or its data is broken
        NO_TABLE,       // the zip holds no CSV file
        NOT_CATALOGUE,  // the CSV file does not start with the catalogue's header
        TOO_LARGE,      // larger than the limits allow
    };
    Status status = CANNOT_OPEN;
    size_t rows = 0;
    std::u16string message;  // Japanese, naming the file; empty when OK
    bool ok() const { return status == OK; }
};

// Replaces `works` by the works of the catalogue file; leaves it alone on failure.
CatalogueReadResult ReadCatalogue(const std::filesystem::path& file,
                                  std::vector<CatalogueWork>& works);

// The first year (1000-2099, ASCII or full-width digits) named in a text such as 初出.
int FirstYearIn(std::u16string_view text);

}  // namespace Yomibon

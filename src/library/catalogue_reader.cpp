#include "library/catalogue_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>

#include "platform/limits.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

// The catalogue's columns, counted from 0.
enum Column : size_t {
    kId = 0,
    kTitle = 1,
    kTitleReading = 2,
    kSortReading = 3,
    kSubtitle = 4,
    kSubtitleReading = 5,
    kFirstPrinted = 7,
    kKanaStyle = 9,
    kWorkCopyright = 10,
    kPersonId = 14,
    kFamilyName = 15,
    kGivenName = 16,
    kFamilyReading = 17,
    kGivenReading = 18,
    kRole = 23,
    kTextUrl = 45,
    kXhtmlUrl = 50,
};
constexpr size_t kReadChunk = size_t(1) << 18;

const std::u16string& Field(const CYbCSVText::Row& row, size_t column) {
    static const std::u16string empty;
    return column < row.size() ? row[column] : empty;
}

std::u16string Without(std::u16string text, char16_t c) {
    std::erase(text, c);
    return text;
}

// Bytes of the CSV text in, whole rows out: a row ends at a line feed outside quotes. Quotes
// and line feeds are single bytes in UTF-8, so the split needs no decoding.
class CYbCatalogueStream {
  public:
    explicit CYbCatalogueStream(CYbCatalogueBuilder& builder) : builder_(builder) {}

    // False once the text is found not to be the catalogue.
    bool feed(const char* data, size_t size) {
        pending_.append(data, size);
        size_t end = 0;
        for (size_t i = scanned_; i < pending_.size(); ++i) {
            if (pending_[i] == '"')
                quoted_ = !quoted_;
            else if (pending_[i] == '\n' && !quoted_)
                end = i + 1;
        }
        scanned_ = pending_.size();
        if (end == 0) return true;
        const bool ok = flush(std::string_view(pending_).substr(0, end));
        pending_.erase(0, end);
        scanned_ = pending_.size();
        return ok;
    }
    bool finish() { return flush(pending_); }

  private:
    bool flush(std::string_view bytes) {
        std::u16string text = FromUtf8(bytes);
        std::u16string_view view = text;
        if (first_ && !view.empty() && view.front() == u'\uFEFF') view.remove_prefix(1);
        first_ = false;
        for (const CYbCSVText::Row& row : CYbCSVText::Parse(view))
            if (!builder_.add(row)) return false;
        return true;
    }

    CYbCatalogueBuilder& builder_;
    std::string pending_;
    size_t scanned_ = 0;
    bool quoted_ = false;
    bool first_ = true;
};

bool IsCsvName(const char* name) {
    if (!name) return false;
    std::string n(name);
    if (n.size() < 4) return false;
    std::string ext = n.substr(n.size() - 4);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return ext == ".csv";
}

CatalogueReadResult Failure(CatalogueReadResult::Status status, const std::filesystem::path& file,
                            std::u16string_view why) {
    CatalogueReadResult result;
    result.status = status;
    result.message =
        u"作品目録「" + FromUtf8(file.string()) + u"」を読めませんでした。\n" + std::u16string(why);
    return result;
}

using ArchivePtr = std::unique_ptr<archive, decltype(&archive_read_free)>;

}  // namespace

bool CYbCatalogueBuilder::add(const CYbCSVText::Row& row) {
    if (!header_) {
        header_ = Field(row, kId) == u"作品ID" && row.size() > kTextUrl;
        return header_;
    }
    const std::u16string& id = Field(row, kId);
    if (id.empty() || works_.size() >= Limits::kMaxCatalogueWorks) return true;
    ++rows_;
    auto [it, added] = byId_.try_emplace(id, works_.size());
    if (added) {
        CatalogueWork work;
        work.id = id;
        work.title = Field(row, kTitle);
        work.titleReading = Field(row, kTitleReading);
        work.sortReading = Field(row, kSortReading);
        work.subtitle = Field(row, kSubtitle);
        work.subtitleReading = Field(row, kSubtitleReading);
        work.firstPrinted = Field(row, kFirstPrinted);
        work.year = FirstYearIn(work.firstPrinted);
        work.kanaStyle = Field(row, kKanaStyle);
        work.copyrighted = Field(row, kWorkCopyright) == u"あり";
        works_.push_back(std::move(work));
    }
    CatalogueWork& work = works_[it->second];
    // A work's rows repeat its fields; a later row may carry an address the first lacks.
    if (work.textUrl.empty()) work.textUrl = ToUtf8(Field(row, kTextUrl));
    if (work.xhtmlUrl.empty()) work.xhtmlUrl = ToUtf8(Field(row, kXhtmlUrl));
    addPerson(work, row);
    return true;
}

void CYbCatalogueBuilder::addPerson(CatalogueWork& work, const CYbCSVText::Row& row) {
    CataloguePerson person;
    person.id = Field(row, kPersonId);
    person.name = Without(Field(row, kFamilyName) + Field(row, kGivenName), u' ');
    person.reading = Without(Field(row, kFamilyReading) + Field(row, kGivenReading), u' ');
    person.role = Field(row, kRole);
    if (person.name.empty()) return;
    for (const CataloguePerson& p : work.persons)
        if (p.id == person.id && p.role == person.role) return;
    work.persons.push_back(std::move(person));
}

int FirstYearIn(std::u16string_view text) {
    int value = 0, digits = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        char16_t c = i < text.size() ? text[i] : u' ';
        if (c >= u'０' && c <= u'９') c = char16_t(c - u'０' + u'0');
        if (c >= u'0' && c <= u'9') {
            value = digits < 5 ? value * 10 + (c - u'0') : value;
            ++digits;
            continue;
        }
        if (digits == 4 && value >= 1000 && value <= 2099) return value;
        value = digits = 0;
    }
    return 0;
}

CatalogueReadResult ReadCatalogue(const std::filesystem::path& file,
                                  std::vector<CatalogueWork>& works) {
    ArchivePtr a(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(a.get());
    // A bare CSV file (a local copy already unpacked) is read as it stands.
    archive_read_support_format_raw(a.get());
    if (archive_read_open_filename(a.get(), file.c_str(), kReadChunk) != ARCHIVE_OK)
        return Failure(
            CatalogueReadResult::CANNOT_OPEN, file,
            FromUtf8(archive_error_string(a.get()) ? archive_error_string(a.get()) : ""));
    archive_entry* entry = nullptr;
    int r;
    while ((r = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK) {
        const bool raw = archive_format(a.get()) == ARCHIVE_FORMAT_RAW;
        if (raw || IsCsvName(archive_entry_pathname(entry))) break;
    }
    if (r == ARCHIVE_EOF)
        return Failure(CatalogueReadResult::NO_TABLE, file, u"CSVファイルが入っていません。");
    if (r != ARCHIVE_OK)
        return Failure(CatalogueReadResult::DAMAGED, file, u"ファイルが壊れています。");
    CYbCatalogueBuilder builder;
    CYbCatalogueStream stream(builder);
    std::string buffer(kReadChunk, '\0');
    uint64_t total = 0;
    bool catalogue = true;
    la_ssize_t n;
    while (catalogue && (n = archive_read_data(a.get(), buffer.data(), buffer.size())) > 0) {
        total += uint64_t(n);
        if (total > Limits::kMaxCatalogueBytes)
            return Failure(CatalogueReadResult::TOO_LARGE, file, u"ファイルが大きすぎます。");
        catalogue = stream.feed(buffer.data(), size_t(n));
    }
    if (catalogue && n < 0)
        return Failure(CatalogueReadResult::DAMAGED, file, u"ファイルが壊れています。");
    if (catalogue) catalogue = stream.finish();
    if (!catalogue || !builder.sawHeader())
        return Failure(CatalogueReadResult::NOT_CATALOGUE, file,
                       u"青空文庫の作品目録（55列のCSV）ではありません。");
    CatalogueReadResult result;
    result.status = CatalogueReadResult::OK;
    result.rows = builder.rowCount();
    works = builder.finish();
    return result;
}

}  // namespace Yomibon

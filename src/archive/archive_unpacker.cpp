#include "archive/archive_unpacker.h"

#include <archive.h>
#include <archive_entry.h>
#include <fnmatch.h>
#include <locale.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "archive/archive_entry_path.h"
#include "archive/archive_entry_writer.h"

namespace Yomibon {

namespace {

constexpr size_t kReadBlock = 64 * 1024;

// libarchive converts the names it knows the encoding of (7z's UTF-16, flagged ZIP
// names, LHA names) into the thread's locale; a UTF-8 locale keeps every character.
// Only this thread's locale changes, and only while the archive is read.
class ScopedUtf8Locale {
  public:
    ScopedUtf8Locale() {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            utf8_ = newlocale(LC_CTYPE_MASK, name, locale_t(0));
            if (utf8_ != locale_t(0)) break;
        }
        if (utf8_ != locale_t(0)) previous_ = uselocale(utf8_);
    }
    ~ScopedUtf8Locale() {
        if (previous_ != locale_t(0)) uselocale(previous_);
        // Made per use: a module may be unloaded, and a locale kept past that would leak.
        if (utf8_ != locale_t(0)) freelocale(utf8_);
    }
    ScopedUtf8Locale(const ScopedUtf8Locale&) = delete;
    ScopedUtf8Locale& operator=(const ScopedUtf8Locale&) = delete;

  private:
    locale_t utf8_ = locale_t(0);
    locale_t previous_ = locale_t(0);
};

struct ReaderFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};
using Reader = std::unique_ptr<archive, ReaderFree>;

Reader OpenReader(ArchiverKind kind, const std::string& path) {
    Reader reader(archive_read_new());
    if (!reader) return nullptr;
    switch (kind) {
        case ArchiverKind::Lha:
            archive_read_support_format_lha(reader.get());
            // LHA headers name no encoding; the archives come from Japanese systems.
            archive_read_set_format_option(reader.get(), "lha", "hdrcharset", "CP932");
            break;
        case ArchiverKind::Zip:
            archive_read_support_format_zip(reader.get());
            break;
        case ArchiverKind::SevenZip:
            archive_read_support_format_7zip(reader.get());
            break;
    }
    if (archive_read_open_filename(reader.get(), path.c_str(), kReadBlock) != ARCHIVE_OK)
        return nullptr;
    return reader;
}

bool MatchesAny(const std::vector<std::string>& patterns, const std::string& relative) {
    if (patterns.empty()) return true;
    for (const std::string& pattern : patterns)
        if (fnmatch(pattern.c_str(), relative.c_str(), 0) == 0) return true;
    return false;
}

// Reads the entry's data through; false when it is damaged or past the byte budget.
bool ReadThrough(archive* reader, std::vector<char>& block, uint64_t& budget) {
    for (;;) {
        const la_ssize_t n = archive_read_data(reader, block.data(), block.size());
        if (n == 0) return true;
        if (n < 0 || static_cast<uint64_t>(n) > budget) return false;
        budget -= static_cast<uint64_t>(n);
    }
}

uint64_t FileBytes(const std::string& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<uint64_t>(size);
}

int ReadError(archive* reader, UnpackReport& report) {
    const char* why = archive_error_string(reader);
    report.error = why ? why : "damaged archive";
    return ARCHIVER_ERROR_READ;
}

}  // namespace

uint64_t UnpackLimits::Budget(uint64_t archiveBytes) const {
    const uint64_t byRatio =
        archiveBytes > (UINT64_MAX - ratioFloorBytes) / std::max<uint64_t>(maxRatio, 1)
            ? UINT64_MAX
            : ratioFloorBytes + archiveBytes * maxRatio;
    return std::min(maxBytes, byRatio);
}

CYbArchiveUnpacker::CYbArchiveUnpacker(ArchiverKind kind, UnpackLimits limits)
    : kind_(kind), limits_(limits) {}

bool CYbArchiveUnpacker::Check(const std::string& archivePath, bool headersOnly) const {
    ScopedUtf8Locale locale;
    Reader reader = OpenReader(kind_, archivePath);
    if (!reader) return false;
    std::vector<char> block(headersOnly ? 0 : kReadBlock);
    uint64_t budget = limits_.Budget(FileBytes(archivePath));
    size_t entries = 0;
    archive_entry* entry = nullptr;
    int r;
    while ((r = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK ||
           r == ARCHIVE_WARN) {
        if (headersOnly) return true;
        if (++entries > limits_.maxEntries || !ReadThrough(reader.get(), block, budget))
            return false;
    }
    return r == ARCHIVE_EOF;
}

int CYbArchiveUnpacker::Unpack(const std::string& archivePath, const std::string& folder,
                               const std::vector<std::string>& patterns,
                               UnpackReport& report) const {
    report = UnpackReport{};
    ScopedUtf8Locale locale;
    Reader reader = OpenReader(kind_, archivePath);
    if (!reader) {
        report.error = "not an archive of this kind, or unreadable: " + archivePath;
        return ARCHIVER_ERROR_OPEN;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec)) {
        report.error = "cannot make the folder " + folder;
        return ARCHIVER_ERROR_WRITE;
    }
    CYbArchiveEntryWriter writer(folder, limits_, limits_.Budget(FileBytes(archivePath)), report);
    size_t entries = 0;
    for (;;) {
        archive_entry* entry = nullptr;
        const int r = archive_read_next_header(reader.get(), &entry);
        if (r == ARCHIVE_EOF) return ARCHIVER_OK;
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return ReadError(reader.get(), report);
        if (++entries > limits_.maxEntries) {
            report.error = "the archive holds more entries than the limit";
            return ARCHIVER_ERROR_LIMIT;
        }
        const char* raw = archive_entry_pathname(entry);
        const std::string name = raw ? DecodeEntryName(raw) : std::string();
        std::string relative;
        if (!SafeEntryPath(name, relative)) {
            report.refused.push_back(name);
            continue;
        }
        if (relative.empty() || !MatchesAny(patterns, relative)) continue;
        const int written = writer.Write(reader.get(), entry, relative, name);
        if (written != ARCHIVER_OK) return written;
    }
}

}  // namespace Yomibon

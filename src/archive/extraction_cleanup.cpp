#include "archive/extraction_cleanup.h"

#include <algorithm>
#include <chrono>

#include "platform/paths.h"
#include "settings/txt_param.h"

namespace Yomibon {

namespace fs = std::filesystem;

namespace {

// The number of recent files the settings keep (HistFile1 .. HistFile9).
constexpr int kRecentFiles = 9;

bool LiesIn(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

bool Named(const ExtractionFolderInfo& folder, const std::vector<std::u16string>& namedPaths) {
    for (const std::u16string& named : namedPaths) {
        if (named.empty()) continue;
        const fs::path path = ToFsPath(named);
        if (LiesIn(path, folder.path) || path.filename() == folder.path.filename()) return true;
    }
    return false;
}

ExtractionFolderInfo Measure(const fs::path& folder) {
    ExtractionFolderInfo info;
    info.path = folder;
    std::error_code ec;
    const auto modified = fs::last_write_time(folder, ec);
    if (!ec)
        info.modified =
            std::chrono::duration_cast<std::chrono::seconds>(modified.time_since_epoch()).count();
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status status = it->symlink_status(ec);
        if (ec || !fs::is_regular_file(status)) continue;
        info.bytes += it->file_size(ec);
        if (ec) ec.clear();
        if (it->path().extension() == ".siori") info.hasBookmark = true;
    }
    return info;
}

}  // namespace

std::vector<fs::path> ExtractionFoldersToRemove(std::vector<ExtractionFolderInfo> folders,
                                                const std::vector<std::u16string>& namedPaths,
                                                uint64_t maxBytes) {
    uint64_t total = 0;
    for (const auto& f : folders)
        total += f.bytes;
    std::stable_sort(folders.begin(), folders.end(),
                     [](const auto& a, const auto& b) { return a.modified < b.modified; });
    std::vector<fs::path> out;
    for (const auto& f : folders) {
        if (total <= maxBytes) break;
        if (f.hasBookmark || Named(f, namedPaths)) continue;
        out.push_back(f.path);
        total -= f.bytes;
    }
    return out;
}

std::vector<std::u16string> PathsNamedBySettings(const CYbTxtParam& param) {
    std::vector<std::u16string> out{param.GetText(u"LastFile")};
    for (int n = 1; n <= kRecentFiles; ++n)
        out.push_back(param.GetText(u"HistFile" + std::u16string(1, char16_t(u'0' + n))));
    return out;
}

size_t CleanExtractionFolders(const fs::path& dataFolder,
                              const std::vector<std::u16string>& namedPaths, uint64_t maxBytes) {
    std::vector<ExtractionFolderInfo> folders;
    std::error_code ec;
    for (fs::directory_iterator it(dataFolder / "Archive", ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::file_status status = it->symlink_status(ec);
        if (!ec && fs::is_directory(status)) folders.push_back(Measure(it->path()));
    }
    size_t removed = 0;
    for (const fs::path& folder :
         ExtractionFoldersToRemove(std::move(folders), namedPaths, maxBytes))
        if (fs::remove_all(folder, ec) != static_cast<std::uintmax_t>(-1) && !ec) ++removed;
    return removed;
}

}  // namespace Yomibon

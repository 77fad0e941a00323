#include "settings/bookmark_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/format.h"
#include "platform/paths.h"
#include "settings/bookmark_file.h"
#include "settings/number_text.h"

namespace Yomibon {
namespace {

bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

// The part of a folder before its root: "X:" for a folder with a drive letter, else empty.
std::u16string DriveOf(std::u16string_view folder) {
    return folder.size() >= 2 && folder[1] == u':' ? std::u16string(folder.substr(0, 2))
                                                   : std::u16string();
}

// A folder without a drive of its own: a network path ("//server/share").
bool HasNoDrive(std::u16string_view folder) {
    return folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]);
}

std::u16string DefaultFolder(std::u16string_view data) {
    return FormatMessage(u"%1!s!/Bookmark", {std::u16string(data)});
}

std::u16string ResolveRaw(std::u16string_view b, std::u16string_view d) {
    bool single = b.size() == 1 && IsSeparator(b[0]);
    if (b.empty() || (single && HasNoDrive(d))) return DefaultFolder(d);
    if (single) return DriveOf(d) + u"/";
    if (IsSeparator(b[0]) && !(b.size() >= 2 && IsSeparator(b[1]))) {
        if (HasNoDrive(d)) return DefaultFolder(d);
        // The rooted setting on the data folder's drive (on Linux: the root itself).
        return DriveOf(d) + std::u16string(b);
    }
    if (b.size() >= 2 && b[1] == u':') return std::u16string(b);
    return FormatMessage(u"%1!s!/%2!s!", {std::u16string(d), std::u16string(b)});
}

// The decimal number at the start of the last component of a path.
int32_t FileNumber(std::u16string_view path) {
    size_t slash = path.find_last_of(u"/\\");
    return DecimalOrZero(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::u16string ResolveBookmarkFolder(std::u16string_view setting, std::u16string_view dataFolder) {
    return NormalizePath(ResolveRaw(setting, dataFolder));
}

std::u16string BookmarkListPath(std::u16string_view folder) {
    return FormatMessage(u"%1!s!/bookmark.lis", {std::u16string(folder)});
}

bool FindInBookmarkList(std::u16string_view folder, std::u16string_view textPath,
                        std::u16string& sioriPath) {
    sioriPath.clear();
    CYbCSVText list;
    if (!list.Read(ToFsPath(BookmarkListPath(folder)))) return false;
    std::u16string key = NormalizePath(textPath);
    for (size_t row = list.GetRowCount(); row-- > 0;) {
        if (!PathEqualsIgnoreCase(NormalizePath(list.GetField(row, 0)), key)) continue;
        std::u16string candidate = NormalizePath(list.GetField(row, 1));
        std::error_code ec;
        if (candidate.empty() || !std::filesystem::is_regular_file(ToFsPath(candidate), ec))
            return false;
        sioriPath = std::move(candidate);
        return true;
    }
    return false;
}

bool EachBookmarkMapFunc::Each(const CYbCSVText::Row& row) {
    if (row.size() < 2) return true;
    std::u16string text = NormalizePath(row[0]);
    auto same = [&text](const std::u16string& s) { return s == text; };
    if (std::any_of(seen_.begin(), seen_.end(), same)) return true;
    seen_.push_back(text);
    if (!PathEqualsIgnoreCase(text, NormalizePath(textPath_))) result_.AppendRow({row[0], row[1]});
    if (int32_t(result_.GetRowCount()) >= count_) {
        std::vector<CYbCSVText::Row> rows(result_.GetRows().begin() + 1, result_.GetRows().end());
        result_.Clear();
        for (auto& r : rows)
            result_.AppendRow(std::move(r));
    }
    return true;
}

EachNextNoFunc::EachNextNoFunc(int32_t count) : used_(size_t(std::max(count, 1)) + 1, false) {}

bool EachNextNoFunc::Each(const CYbCSVText::Row& row) {
    int32_t number = FileNumber(row.size() >= 2 ? std::u16string_view(row[1]) : u"");
    if (number >= 0 && size_t(number) < used_.size()) used_[size_t(number)] = true;
    return true;
}

int32_t EachNextNoFunc::NextNumber() const {
    for (size_t n = 1; n < used_.size(); ++n)
        if (!used_[n]) return int32_t(n);
    return 100;
}

bool RecordInBookmarkList(std::u16string_view folder, std::u16string_view textPath, int32_t count,
                          std::u16string& sioriPath) {
    count = std::max(count, 1);
    std::error_code ec;
    std::filesystem::path fsFolder = ToFsPath(folder);
    if (!std::filesystem::is_directory(fsFolder, ec)) {
        std::filesystem::create_directories(fsFolder, ec);
        if (!std::filesystem::is_directory(fsFolder, ec)) return false;
    }
    sioriPath = FormatMessage(u"%1!s!/1.siori", {std::u16string(folder)});
    CYbCSVText list;
    std::u16string listPath = BookmarkListPath(folder);
    if (list.Read(ToFsPath(listPath)) && list.GetRowCount() > 0) {
        EachBookmarkMapFunc map(textPath, count);
        list.ForEachRow(map);
        list = map.result();
        EachNextNoFunc next(count);
        list.ForEachRow(next);
        sioriPath = FormatMessage(u"%1!s!/%2!d!.siori",
                                  {std::u16string(folder), int64_t(next.NextNumber())});
    } else {
        list.Clear();
    }
    list.AppendRow({std::u16string(textPath), sioriPath});
    return list.Write(ToFsPath(listPath));
}

}  // namespace Yomibon

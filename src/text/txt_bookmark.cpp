#include "text/txt_bookmark.h"

#include <algorithm>
#include <climits>

#include "platform/paths.h"
#include "settings/bookmark_file.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

TextPoint PointOf(const SioriRecord& r) {
    return {r.line, r.index, r.pos};
}

SioriRecord RecordOf(const BookmarkEntry& e) {
    return {e.point.iLine, e.point.iIndex, e.point.iPos, e.label};
}

BookmarkEntry EntryOf(const SioriRecord& r) {
    return {0, PointOf(r), r.label};
}

}  // namespace

BookmarkSettings CYbTxtBookmark::Settings() const {
    const CYbTxtParam& param = document_.param();
    BookmarkSettings s;
    s.folder = param.GetText(u"BookMarkFolder");
    s.toFolder = param.GetBoolean(u"BookMarkToFolder");
    const std::vector<int32_t>& num = param.GetPoints(u"BookMarkNum");
    s.count = num.empty() ? 1 : std::max(num[0], 1);
    s.dataFolder = NormalizePath(FromFsPath(document_.dataFolder()));
    return s;
}

void CYbTxtBookmark::Clear() {
    last_ = BookmarkEntry{};
    entries_.clear();
    textPath_.clear();
    sioriPath_.clear();
}

void CYbTxtBookmark::SetTextPath(std::u16string_view path) {
    textPath_ = NormalizePath(path);
}

void CYbTxtBookmark::SortEntries() {
    auto byPoint = [](const BookmarkEntry& a, const BookmarkEntry& b) { return a.point < b.point; };
    auto samePoint = [](const BookmarkEntry& a, const BookmarkEntry& b) {
        return a.point == b.point;
    };
    std::stable_sort(entries_.begin(), entries_.end(), byPoint);
    entries_.erase(std::unique(entries_.begin(), entries_.end(), samePoint), entries_.end());
}

bool CYbTxtBookmark::ReadSiori(std::u16string_view path) {
    Clear();
    SioriContent content;
    bool valid = ReadSioriFile(path, content);
    textPath_ = content.textPath;
    if (!valid) return false;
    sioriPath_ = content.sioriPath;
    last_ = EntryOf(content.last);
    for (const SioriRecord& r : content.entries)
        entries_.push_back(EntryOf(r));
    SortEntries();
    return true;
}

bool CYbTxtBookmark::OpenForDocument(std::u16string_view path) {
    BookmarkSettings s = Settings();
    std::u16string folder = ResolveBookmarkFolder(s.folder, s.dataFolder);
    std::u16string candidate;
    if (s.toFolder) {
        if (!FindInBookmarkList(folder, path, candidate)) return ReadSiori(path);
        bool ok = ReadSiori(candidate);
        if (ok) SetTextPath(path);
        return ok;
    }
    if (ReadSiori(path)) return true;
    if (FindInBookmarkList(folder, path, candidate) && ReadSiori(candidate)) {
        SetTextPath(path);
        return true;
    }
    return false;
}

bool CYbTxtBookmark::SaveAs(std::u16string_view path) {
    std::u16string target(path.empty() ? std::u16string_view(sioriPath_) : path);
    if (textPath_.empty() || target.empty()) return false;
    SioriContent content;
    content.textPath = textPath_;
    content.last = RecordOf(last_);
    for (const BookmarkEntry& e : entries_)
        content.entries.push_back(RecordOf(e));
    return WriteSioriFile(target, content);
}

bool CYbTxtBookmark::Save() {
    if (textPath_.empty()) return false;
    BookmarkSettings s = Settings();
    if (!s.toFolder)
        return SaveAs(sioriPath_.empty() ? textPath_ + std::u16string(kSioriExtension)
                                         : sioriPath_);
    std::u16string folder = ResolveBookmarkFolder(s.folder, s.dataFolder);
    std::u16string target;
    if (!RecordInBookmarkList(folder, textPath_, s.count, target)) return false;
    return SaveAs(target);
}

bool CYbTxtBookmark::Refresh(BookmarkEntry& entry) const {
    int32_t page = document_.pointToPage(entry.point);
    if (page < 0) {
        entry.page = 0;
        return false;
    }
    const CYbTxtBuffer& buffer = document_.buffer();
    const TextPoint& p = entry.point;
    if (p.iLine >= buffer.lineCount()) {
        // A position past the end of a text that has changed keeps its old label.
        entry.page = page;
        return true;
    }
    const auto& runs = buffer.lines()[size_t(p.iLine)].runs;
    if (p.iIndex >= 0 && p.iIndex < int32_t(runs.size())) {
        int type = runs[size_t(p.iIndex)].textType;
        if (type == TT_NEXT_PAGE) page += 1;
        if (type == TT_NEXT_LEAF) page += 2;
    }
    entry.page = page;
    buffer.getText(entry.label, p, {p.iLine, INT32_MAX, INT32_MAX}, 0);
    return true;
}

void CYbTxtBookmark::UpdatePages() {
    for (BookmarkEntry& e : entries_)
        Refresh(e);
    Refresh(last_);
}

void CYbTxtBookmark::AddEntry(int32_t page) {
    BookmarkEntry entry;
    if (!document_.pageToPoint(page, entry.point)) return;
    auto same = [&entry](const BookmarkEntry& e) { return e.point == entry.point; };
    if (std::any_of(entries_.begin(), entries_.end(), same)) return;
    Refresh(entry);
    entries_.push_back(std::move(entry));
    SortEntries();
}

void CYbTxtBookmark::DeleteEntry(int32_t index) {
    if (index < 0 || index >= EntryCount()) return;
    entries_.erase(entries_.begin() + index);
}

int32_t CYbTxtBookmark::GetEntryPage(int32_t index) const {
    if (index < 0 || index >= EntryCount()) return -1;
    return entries_[size_t(index)].page;
}

void CYbTxtBookmark::SetLastPosition(int32_t page) {
    BookmarkEntry entry;
    if (document_.pageToPoint(page, entry.point))
        Refresh(entry);
    else
        entry = BookmarkEntry{};
    last_ = std::move(entry);
}

}  // namespace Yomibon

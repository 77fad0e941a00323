#include "app/recent_files.h"

#include <algorithm>
#include <string>

#include "platform/format.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

std::u16string Key(const char16_t* stem, int n) {
    return stem + std::u16string(1, char16_t(u'0' + n));
}

std::u16string WithoutLineBreaks(const std::u16string& text) {
    std::u16string out;
    for (char16_t c : text)
        if (c != u'\r' && c != u'\n') out += c;
    return out;
}

}  // namespace

std::u16string RecentLabel(const std::u16string& title, const std::u16string& author) {
    if (title.empty() && author.empty()) return {};
    return WithoutLineBreaks(FormatMessage(u"%1!s!:%2!s!", {title, author}));
}

void CYbRecentFiles::load(const CYbTxtParam& param) {
    entries_.clear();
    for (int n = kStored; n >= 1; --n) {
        const std::u16string& path = param.GetText(Key(u"HistFile", n));
        if (!path.empty()) entries_.push_back({param.GetText(Key(u"HistFileTitle", n)), path});
    }
}

void CYbRecentFiles::store(CYbTxtParam& param) const {
    int n = 1;
    for (auto it = entries_.rbegin(); it != entries_.rend() && n <= kStored; ++it, ++n) {
        param.SetText(Key(u"HistFile", n), it->path);
        param.SetText(Key(u"HistFileTitle", n), it->label);
    }
}

void CYbRecentFiles::record(const std::u16string& path, const std::u16string& title,
                            const std::u16string& author) {
    std::erase_if(entries_, [&](const RecentFile& e) { return e.path == path; });
    entries_.push_back({RecentLabel(title, author), path});
}

bool CYbRecentFiles::recordOpened(CYbTxtParam& param, const std::u16string& path,
                                  const std::u16string& title, const std::u16string& author) {
    if (path.empty()) return false;
    param.SetText(u"LastFolder", path);
    param.SetText(u"LastFile", path);
    record(path, title, author);
    return true;
}

const RecentFile* CYbRecentFiles::menuEntry(int position) const {
    if (position < 1 || position > int(entries_.size())) return nullptr;
    return &entries_[entries_.size() - size_t(position)];
}

std::vector<std::u16string> CYbRecentFiles::menuTexts() const {
    std::vector<std::u16string> texts;
    for (int pos = 1; pos <= kShown; ++pos) {
        const RecentFile* e = menuEntry(pos);
        if (!e) break;
        texts.push_back(FormatMessage(u"&%1!d!: %2!s!",
                                      {int64_t(pos % 10), e->label.empty() ? e->path : e->label}));
    }
    return texts;
}

}  // namespace Yomibon

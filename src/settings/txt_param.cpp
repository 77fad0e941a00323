#include "settings/txt_param.h"

#include <algorithm>

#include "platform/utf16.h"

namespace Yomibon {
namespace {

// Index of a key in a family, or -1: an unknown key reads as empty and cannot be set.
int IndexOf(const std::vector<std::u16string_view>& keys, std::u16string_view key) {
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key) return int(i);
    return -1;
}

}  // namespace

CYbTxtParam::CYbTxtParam() {
    SetDefaults();
}

std::vector<std::u16string> CYbTxtParam::SplitChars(std::u16string_view text) {
    std::vector<std::u16string> chars;
    for (size_t i = 0; i < text.size();) {
        size_t n = IsHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
        chars.emplace_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

int CYbTxtParam::GetPoints(std::u16string_view key, int count, int32_t* out) const {
    const auto& values = GetPoints(key);
    int n = count < 0 || !out ? 0 : std::min(count, int(values.size()));
    for (int i = 0; i < n; ++i)
        out[i] = values[size_t(i)];
    return n;
}

const std::vector<int32_t>& CYbTxtParam::GetPoints(std::u16string_view key) const {
    static const std::vector<int32_t> none;
    int i = IndexOf(PointKeys(), key);
    return i < 0 ? none : points_[size_t(i)];
}

bool CYbTxtParam::SetPoints(std::u16string_view key, const int32_t* values, int count) {
    int i = IndexOf(PointKeys(), key);
    if (i < 0 || count < 0 || (count > 0 && !values)) return false;
    points_[size_t(i)].assign(values, values + count);
    return true;
}

bool CYbTxtParam::GetBoolean(std::u16string_view key) const {
    const auto& values = GetPoints(key);
    return !values.empty() && values[0] == 1;
}

bool CYbTxtParam::SetBoolean(std::u16string_view key, bool flag) {
    int32_t value = flag ? 1 : 0;
    return SetPoints(key, &value, 1);
}

const std::u16string& CYbTxtParam::GetText(std::u16string_view key) const {
    static const std::u16string none;
    int i = IndexOf(TextKeys(), key);
    return i < 0 ? none : texts_[size_t(i)];
}

bool CYbTxtParam::SetText(std::u16string_view key, std::u16string_view text) {
    int i = IndexOf(TextKeys(), key);
    if (i < 0) return false;
    std::u16string& out = texts_[size_t(i)];
    out.clear();
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n') ++k;
        out.push_back(text[k] == u'\r' || text[k] == u'\n' ? u' ' : text[k]);
    }
    return true;
}

FontParam CYbTxtParam::GetFont(std::u16string_view key) const {
    int i = IndexOf(FontKeys(), key);
    return i < 0 ? FontParam{} : fonts_[size_t(i)];
}

bool CYbTxtParam::SetFont(std::u16string_view key, const FontParam& font) {
    int i = IndexOf(FontKeys(), key);
    if (i < 0) return false;
    fonts_[size_t(i)] = font;
    // A face name is held in a buffer of 64 units; cut before a surrogate pair, not inside it.
    std::u16string& face = fonts_[size_t(i)].face;
    if (face.size() > kMaxFaceUnits)
        face.resize(IsHighSurrogate(face[kMaxFaceUnits - 1]) ? kMaxFaceUnits - 1 : kMaxFaceUnits);
    return true;
}

const std::vector<std::u16string>& CYbTxtParam::GetList(std::u16string_view key) const {
    static const std::vector<std::u16string> none;
    int i = IndexOf(ListKeys(), key);
    return i < 0 ? none : lists_[size_t(i)];
}

std::u16string CYbTxtParam::GetListText(std::u16string_view key) const {
    std::u16string text;
    for (const auto& entry : GetList(key))
        text += entry;
    return text;
}

bool CYbTxtParam::SetList(std::u16string_view key, std::u16string_view text) {
    int i = IndexOf(ListKeys(), key);
    if (i < 0) return false;
    lists_[size_t(i)] = SplitChars(text);
    return true;
}

int CYbTxtParam::FindListEntry(std::u16string_view key, const CYbStringCompare& matcher) const {
    const auto& list = GetList(key);
    for (size_t i = 0; i < list.size(); ++i)
        if (matcher.Compare(list[i])) return int(i);
    return -1;
}

std::pair<int32_t, int32_t> CYbTxtParam::GetOffset(std::u16string_view text) const {
    auto it = offsets_.find(std::u16string(text));
    return it == offsets_.end() ? std::pair<int32_t, int32_t>{0, 0} : it->second;
}

uint16_t CYbTxtParam::GetCharClass(std::u16string_view text) const {
    auto it = classes_.find(std::u16string(text));
    return it == classes_.end() ? 0 : it->second;
}

}  // namespace Yomibon

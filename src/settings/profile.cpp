#include "settings/profile.h"

#include "platform/file_text.h"
#include "platform/limits.h"
#include "platform/utf16.h"
#include "settings/file_io.h"
#include "settings/number_text.h"

namespace Yomibon {
namespace {

constexpr size_t npos = std::u16string::npos;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char16_t FoldCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

// The name of a "[section]" line, or false when the line is no header.
bool HeaderName(std::u16string_view line, std::u16string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != u'[') return false;
    size_t close = line.find(u']');
    name = Trim(line.substr(1, close == npos ? npos : close - 1));
    return true;
}

// Splits "key=value"; false for a line without "=".
bool SplitKey(std::u16string_view line, std::u16string_view& key, std::u16string_view& value) {
    size_t eq = line.find(u'=');
    if (eq == npos) return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return true;
}

}  // namespace

bool CYbProfile::Load(const std::filesystem::path& file) {
    lines_.clear();
    crlf_ = false;
    intact_ = true;
    std::string bytes;
    bool whole = false;
    if (!ReadFileBytes(file, bytes, Limits::kMaxTableFileBytes, &whole)) return false;
    FileText decoded = DecodeFileText(bytes);
    Parse(decoded.text);
    intact_ = whole && decoded.lossless;
    return true;
}

void CYbProfile::Parse(std::u16string_view text) {
    lines_.clear();
    size_t lf = text.find(u'\n');
    crlf_ = lf != npos && lf > 0 && text[lf - 1] == u'\r';
    while (!text.empty()) {
        size_t end = text.find(u'\n');
        std::u16string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        text.remove_prefix(end == npos ? text.size() : end + 1);
    }
}

size_t CYbProfile::FindSection(std::u16string_view section) const {
    std::u16string_view name;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (HeaderName(lines_[i], name) && SameName(name, section)) return i;
    return npos;
}

size_t CYbProfile::FindKey(size_t header, std::u16string_view key) const {
    std::u16string_view name, k, v;
    for (size_t i = header + 1; i < lines_.size(); ++i) {
        if (HeaderName(lines_[i], name)) break;
        if (SplitKey(lines_[i], k, v) && SameName(k, key)) return i;
    }
    return npos;
}

bool CYbProfile::FindValue(std::u16string_view section, std::u16string_view key,
                           std::u16string_view& value) const {
    size_t header = FindSection(section);
    if (header == npos) return false;
    size_t line = FindKey(header, key);
    std::u16string_view k;
    return line != npos && SplitKey(lines_[line], k, value);
}

bool CYbProfile::GetRawString(std::u16string_view section, std::u16string_view key,
                              std::u16string& out) const {
    std::u16string_view value;
    if (!FindValue(section, key, value)) return false;
    out.assign(value);
    return true;
}

bool CYbProfile::GetString(std::u16string_view section, std::u16string_view key,
                           std::u16string& out) const {
    std::u16string_view value;
    if (!FindValue(section, key, value)) return false;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    out.assign(value);
    return true;
}

int32_t CYbProfile::GetInt(std::u16string_view section, std::u16string_view key,
                           int32_t def) const {
    std::u16string value;
    if (!GetString(section, key, value)) return def;
    return DecimalOrZero(value);
}

void CYbProfile::WriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
    std::u16string line(key);
    line.push_back(u'=');
    for (char16_t c : value)
        line.push_back(c == u'\r' || c == u'\n' || c == u'\0' ? u' ' : c);
    size_t header = FindSection(section);
    if (header == npos) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back(u"[" + std::u16string(section) + u"]");
        lines_.push_back(std::move(line));
        return;
    }
    if (size_t at = FindKey(header, key); at != npos) {
        lines_[at] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so that a blank line before the next
    // header stays where it was.
    size_t insert = header + 1, i = header + 1;
    std::u16string_view name;
    for (; i < lines_.size() && !HeaderName(lines_[i], name); ++i)
        if (!Trim(lines_[i]).empty()) insert = i + 1;
    lines_.insert(lines_.begin() + ptrdiff_t(insert), std::move(line));
}

std::u16string CYbProfile::ToText() const {
    std::u16string text;
    for (const auto& line : lines_) {
        text += line;
        text += crlf_ ? u"\r\n" : u"\n";
    }
    return text;
}

bool CYbProfile::Save(const std::filesystem::path& file) const {
    return WriteFileAtomic(file, ToUtf8(ToText()), false);
}

std::u16string ProfileGetString(std::u16string_view section, std::u16string_view key,
                                std::u16string_view def, const std::filesystem::path& file) {
    CYbProfile profile;
    std::u16string value;
    if (profile.Load(file) && profile.GetString(section, key, value)) return value;
    return std::u16string(def);
}

int32_t ProfileGetInt(std::u16string_view section, std::u16string_view key, int32_t def,
                      const std::filesystem::path& file) {
    CYbProfile profile;
    return profile.Load(file) ? profile.GetInt(section, key, def) : def;
}

bool ProfileWriteString(std::u16string_view section, std::u16string_view key,
                        std::u16string_view value, const std::filesystem::path& file) {
    CYbProfile profile;
    // A file that exists but cannot be read is not replaced by one holding only this key.
    std::error_code ec;
    if (!profile.Load(file) && std::filesystem::exists(file, ec)) return false;
    // Nor is one read cut short or with bytes that did not decode.
    if (!profile.Intact()) return false;
    profile.WriteString(section, key, value);
    return profile.Save(file);
}

}  // namespace Yomibon

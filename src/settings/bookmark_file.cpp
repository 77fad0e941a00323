#include "settings/bookmark_file.h"

#include "platform/format.h"
#include "platform/paths.h"
#include "settings/csv_text.h"
#include "settings/file_io.h"
#include "settings/number_text.h"

namespace Yomibon {
namespace {

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return char16_t(c - u'A' + u'a');
    if (c >= u'Ａ' && c <= u'Ｚ') return char16_t(c - u'Ａ' + u'ａ');
    return c;
}

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool EndsWithIgnoreCase(std::u16string_view s, std::u16string_view tail) {
    return s.size() >= tail.size() && PathEqualsIgnoreCase(s.substr(s.size() - tail.size()), tail);
}

// Applies one position row; rows with a negative position are skipped.
void ReadPositionRow(const CYbCSVText& csv, size_t row, SioriContent& out) {
    int32_t v[4] = {};
    if (!csv.ReadIntegers(row, 0, 4, v)) return;
    if (v[1] < 0 || v[2] < 0 || v[3] < 0) return;
    SioriRecord record{v[1], v[2], v[3], csv.GetField(row, 4)};
    if (v[0] == 0)
        out.entries.push_back(std::move(record));
    else if (v[0] == 1)
        out.last = std::move(record);
}

// The version row must come first, so the head of a file tells whether it can be a bookmark
// file; a text opened in the reader is not parsed whole as a table only to find it is not.
bool MayBeSiori(const std::filesystem::path& file) {
    constexpr size_t kHeadBytes = 4096;
    std::string head;
    if (!ReadFileBytes(file, head, kHeadBytes)) return false;
    auto rows = CYbCSVText::Parse(CYbCSVText::Decode(head));
    return !rows.empty() && !rows[0].empty() && StartsWith(rows[0][0], kSioriVersionPrefix);
}

CYbCSVText::Row PositionRow(int type, const SioriRecord& r) {
    return {FormatDecimal(type), FormatDecimal(r.line), FormatDecimal(r.index),
            FormatDecimal(r.pos), r.label};
}

}  // namespace

bool PathEqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

std::u16string UnquotePath(std::u16string_view path) {
    if (path.empty() || path[0] != u'"') return std::u16string(path);
    auto rows = CYbCSVText::Parse(path);
    return rows.empty() || rows[0].empty() ? std::u16string() : rows[0][0];
}

std::u16string StripSioriExtension(std::u16string_view path) {
    if (EndsWithIgnoreCase(path, kSioriExtension)) path.remove_suffix(kSioriExtension.size());
    return std::u16string(path);
}

bool ReadSioriFile(std::u16string_view givenPath, SioriContent& out) {
    out = SioriContent{};
    std::u16string path = NormalizePath(UnquotePath(givenPath));
    out.textPath = StripSioriExtension(path);
    CYbCSVText csv;
    if (path.empty() || !MayBeSiori(ToFsPath(path)) || !csv.Read(ToFsPath(path))) return false;
    bool valid = false;
    for (size_t row = 0; row < csv.GetRowCount(); ++row) {
        const std::u16string& first = csv.GetField(row, 0);
        if (StartsWith(first, u"#")) {
            if (StartsWith(first, kSioriVersionPrefix)) {
                valid = true;
                out.sioriPath = path;
            } else if (StartsWith(first, kSioriFileNamePrefix)) {
                std::u16string_view rest =
                    std::u16string_view(first).substr(kSioriFileNamePrefix.size());
                if (rest.empty()) {
                    valid = false;
                    break;
                }
                out.textPath = NormalizePath(rest);
            }
        } else if (valid && csv.GetFieldCount(row) > 4) {
            ReadPositionRow(csv, row, out);
        }
        if (!valid) break;
    }
    if (!valid) {
        out = SioriContent{};
        out.textPath = StripSioriExtension(path);
    }
    return valid;
}

bool WriteSioriFile(std::u16string_view path, const SioriContent& content) {
    if (path.empty()) return false;
    CYbCSVText csv;
    csv.AppendRow({std::u16string(kSioriVersionRow)});
    csv.AppendRow({FormatMessage(u"#FileName:%1!s!", {NormalizePath(content.textPath)})});
    csv.AppendRow(PositionRow(1, content.last));
    for (const SioriRecord& r : content.entries)
        csv.AppendRow(PositionRow(0, r));
    return csv.Write(ToFsPath(path));
}

}  // namespace Yomibon

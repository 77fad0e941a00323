#include "settings/csv_text.h"

#include "platform/file_text.h"
#include "platform/limits.h"
#include "platform/utf16.h"
#include "settings/file_io.h"
#include "settings/number_text.h"

namespace Yomibon {

std::u16string CYbCSVText::Decode(std::string_view bytes) {
    return DecodeFileText(bytes).text;
}

bool CYbCSVText::Read(const std::filesystem::path& file) {
    std::string bytes;
    if (!ReadFileBytes(file, bytes, Limits::kMaxTableFileBytes)) return false;
    rows_ = Parse(Decode(bytes), separator_);
    fileName_ = file;
    return true;
}

std::vector<CYbCSVText::Row> CYbCSVText::Parse(std::u16string_view text, char16_t separator) {
    std::vector<Row> rows;
    Row row;
    std::u16string field;
    bool quoted = false;
    bool rowHasText = false;  // the row holds a character, so it is not an empty line
    // Every field costs a string whatever its length: a table of nothing but separators
    // would otherwise take some forty times its size. Past the limit the table ends.
    size_t fields = 0;
    auto endRow = [&] {
        if (rowHasText) {
            row.push_back(std::move(field));
            rows.push_back(std::move(row));
        }
        row.clear();
        field.clear();
        rowHasText = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (quoted) {
            if (c != u'"') {
                field.push_back(c);
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                field.push_back(u'"');
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == u'\n') {
            if (rowHasText && ++fields >= Limits::kMaxTableFields) break;
            endRow();
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        rowHasText = true;
        if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            if (++fields >= Limits::kMaxTableFields) break;
            row.push_back(std::move(field));
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    endRow();
    return rows;
}

std::u16string CYbCSVText::QuoteField(std::u16string_view field, char16_t separator) {
    bool needs = field.find_first_of(u"\"\r\n") != std::u16string_view::npos ||
                 field.find(separator) != std::u16string_view::npos;
    if (!needs) return std::u16string(field);
    std::u16string out = u"\"";
    for (char16_t c : field) {
        if (c == u'"') out.push_back(u'"');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

std::string CYbCSVText::Encode() const {
    std::string out = "\xFF\xFE";
    for (const Row& row : rows_) {
        std::u16string line;
        // A row of one empty field written bare would be an empty line, which is no row.
        const bool loneEmpty = row.size() == 1 && row[0].empty();
        if (loneEmpty) line = u"\"\"";
        for (size_t i = 0; !loneEmpty && i < row.size(); ++i) {
            if (i > 0) line.push_back(separator_);
            line += QuoteField(row[i], separator_);
        }
        line += u"\r\n";
        AppendUtf16Le(out, line);
    }
    return out;
}

bool CYbCSVText::Write(const std::filesystem::path& file) const {
    return WriteFileAtomic(file, Encode(), true);
}

const std::u16string& CYbCSVText::GetField(size_t row, size_t column) const {
    static const std::u16string empty;
    if (row >= rows_.size() || column >= rows_[row].size()) return empty;
    return rows_[row][column];
}

bool CYbCSVText::ForEachRow(EachFunc& visitor) const {
    for (const Row& row : rows_)
        if (!visitor.Each(row)) return false;
    return true;
}

bool CYbCSVText::ReadIntegers(size_t row, size_t column, size_t n, int32_t* out) const {
    if (row >= rows_.size() || column + n > rows_[row].size()) return false;
    for (size_t i = 0; i < n; ++i)
        out[i] = DecimalOrZero(rows_[row][column + i]);
    return true;
}

}  // namespace Yomibon

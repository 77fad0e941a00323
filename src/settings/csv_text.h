// Comma-separated tables: layout files, offset.lis, bookmark files and list-valued settings
// are all read and written by these same rules of encoding, quoting and line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Yomibon {

class CYbCSVText {
  public:
    using Row = std::vector<std::u16string>;

    // Row visitor: answers whether to go on.
    class EachFunc {
      public:
        virtual bool Each(const Row& row) = 0;

      protected:
        ~EachFunc() = default;
    };

    explicit CYbCSVText(char16_t separator = u',') : separator_(separator) {}

    // Replaces the table by the rows of a file; false (table unchanged) when it cannot be read.
    bool Read(const std::filesystem::path& file);
    // Splits a text held in memory by the same rules.
    static std::vector<Row> Parse(std::u16string_view text, char16_t separator = u',');
    // Decodes a file's bytes: UTF-16LE after FF FE; the system code page when no zero byte
    // occurs before the last byte; UTF-16LE without a mark otherwise.
    static std::u16string Decode(std::string_view bytes);

    // Writes FF FE and UTF-16LE rows ending in CR LF, creating missing folders.
    bool Write(const std::filesystem::path& file) const;
    // The bytes Write puts on disk.
    std::string Encode() const;

    void AppendRow(Row fields) { rows_.push_back(std::move(fields)); }
    void Clear() { rows_.clear(); }
    size_t GetRowCount() const { return rows_.size(); }
    const Row& GetRow(size_t row) const { return rows_[row]; }
    const std::vector<Row>& GetRows() const { return rows_; }
    size_t GetFieldCount(size_t row) const { return row < rows_.size() ? rows_[row].size() : 0; }
    // The field, or an empty text when the row or column does not exist.
    const std::u16string& GetField(size_t row, size_t column) const;

    // Walks the rows in order; false when the visitor ended the walk.
    bool ForEachRow(EachFunc& visitor) const;

    // n fields from a column as decimal integers (0 for a field that is not a number);
    // false when the row has fewer fields.
    bool ReadIntegers(size_t row, size_t column, size_t n, int32_t* out) const;

    const std::filesystem::path& GetFileName() const { return fileName_; }
    char16_t GetSeparator() const { return separator_; }

    // One field as written: quoted, with quotes doubled, when it holds a quote, the
    // separator, CR or LF.
    static std::u16string QuoteField(std::u16string_view field, char16_t separator = u',');

  private:
    char16_t separator_;
    std::vector<Row> rows_;
    std::filesystem::path fileName_;
};

}  // namespace Yomibon

// Key/value tables shipped beside the program (gaiji, accent, jisx0213): UTF-16 text,
// one row a line, TAB between the two columns.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Yomibon {

using TableRows = std::vector<std::pair<std::u16string, std::u16string>>;

// Calls row(key, value) for each line of a table's text that has exactly two columns
// (one TAB); other lines are skipped. The views point into `text`.
template <typename Row>
void ForEachTableRow(std::u16string_view text, Row row) {
    const size_t size = text.size();
    for (size_t start = 0; start < size;) {
        size_t end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const std::u16string_view line = text.substr(start, end - start);
        const size_t tab = line.find(u'\t');
        if (tab != std::u16string_view::npos &&
            line.find(u'\t', tab + 1) == std::u16string_view::npos)
            row(line.substr(0, tab), line.substr(tab + 1));
        start = end + 1;
    }
}

// Rows of exactly two columns from a table file's bytes (UTF-16LE with or without mark,
// or UTF-8 with a mark); other rows are skipped.
TableRows ParseTableText(std::string_view bytes);

// The text of a table file (UTF-16LE with or without mark, or UTF-8 with a mark); empty
// when it cannot be read.
std::u16string ReadTableText(const std::filesystem::path& path);

// The table named `name` ("gaiji"): "<data folder>/name.txt" first, then the program
// folder's when the first is missing or has no entries. Empty when neither loads.
TableRows LoadTable(std::u16string_view name);

// The file a table is read from in a folder ("%1!s!/%2!s!.txt").
std::filesystem::path TableFilePath(const std::filesystem::path& folder, std::u16string_view name);

}  // namespace Yomibon

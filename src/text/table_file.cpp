#include "text/table_file.h"

#include "platform/file_text.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/data_folder.h"
#include "settings/file_io.h"

namespace Yomibon {
namespace {

// Table files are small; anything larger is not one of ours.
constexpr size_t kMaxTableBytes = 16u << 20;

void AddRow(std::u16string_view line, TableRows& rows) {
    size_t tab = line.find(u'\t');
    if (tab == std::u16string_view::npos) return;
    if (line.find(u'\t', tab + 1) != std::u16string_view::npos) return;
    rows.emplace_back(std::u16string(line.substr(0, tab)), std::u16string(line.substr(tab + 1)));
}

std::string ReadSmallFile(const std::filesystem::path& path) {
    std::string bytes;
    bool whole = false;
    if (!ReadFileBytes(path, bytes, kMaxTableBytes, &whole) || !whole) return {};
    return bytes;
}

}  // namespace

std::u16string ReadTableText(const std::filesystem::path& path) {
    return DecodeFileText(ReadSmallFile(path)).text;
}

TableRows ParseTableText(std::string_view bytes) {
    std::u16string text = DecodeFileText(bytes).text;
    TableRows rows;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        if (end > start) AddRow(std::u16string_view(text).substr(start, end - start), rows);
        start = end + 1;
    }
    return rows;
}

std::filesystem::path TableFilePath(const std::filesystem::path& folder, std::u16string_view name) {
    std::u16string dir = FromFsPath(folder);
    bool endsInSeparator = !dir.empty() && (dir.back() == u'/' || dir.back() == u'\\');
    auto pattern = endsInSeparator ? u"%1!s!%2!s!.txt" : u"%1!s!/%2!s!.txt";
    return ToFsPath(FormatMessage(pattern, {dir, std::u16string(name)}));
}

TableRows LoadTable(std::u16string_view name) {
    TableRows rows = ParseTableText(ReadSmallFile(TableFilePath(DataFolder(), name)));
    if (rows.empty()) rows = ParseTableText(ReadSmallFile(TableFilePath(ProgramFolder(), name)));
    return rows;
}

}  // namespace Yomibon

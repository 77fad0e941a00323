#include "text/table_file.h"

#include <fstream>
#include <iterator>

#include "platform/format.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/data_folder.h"

namespace Yomibon {
namespace {

// Table files are small; anything larger is not one of ours.
constexpr std::uintmax_t kMaxTableBytes = 16u << 20;

std::u16string DecodeTable(std::string_view b) {
    if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(b.substr(3));
    size_t at = (b.size() >= 2 && b[0] == '\xFF' && b[1] == '\xFE') ? 2 : 0;
    std::u16string out;
    out.reserve((b.size() - at) / 2);
    for (size_t i = at; i + 1 < b.size(); i += 2)
        out.push_back(char16_t(uint8_t(b[i]) | (uint8_t(b[i + 1]) << 8)));
    return out;
}

void AddRow(std::u16string_view line, TableRows& rows) {
    size_t tab = line.find(u'\t');
    if (tab == std::u16string_view::npos) return;
    if (line.find(u'\t', tab + 1) != std::u16string_view::npos) return;
    rows.emplace_back(std::u16string(line.substr(0, tab)), std::u16string(line.substr(tab + 1)));
}

std::string ReadSmallFile(const std::filesystem::path& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxTableBytes) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TableRows ParseTableText(std::string_view bytes) {
    std::u16string text = DecodeTable(bytes);
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

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
    ForEachTableRow(text, [&rows](std::u16string_view key, std::u16string_view value) {
        rows.emplace_back(key, value);
    });
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

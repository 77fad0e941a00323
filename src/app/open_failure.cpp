#include "app/open_failure.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/paths.h"
#include "text/file_kind.h"

namespace Yomibon {
namespace {

// Leading bytes of kinds that are never text.
constexpr std::array<std::string_view, 7> kBinarySignatures = {
    std::string_view("\x89PNG\r\n\x1a\n", 8),  // PNG
    std::string_view("\xFF\xD8\xFF", 3),       // JPEG
    std::string_view("GIF8", 4),               // GIF
    std::string_view("%PDF-", 5),              // PDF
    std::string_view("\x7F"
                     "ELF",
                     4),                      // programs
    std::string_view("\xD0\xCF\x11\xE0", 4),  // old office documents
    std::string_view("\x1F\x8B", 2),          // gzip
};

std::u16string Line(const char16_t* reason, const std::u16string& path) {
    return std::u16string(reason) + u"\n" + path;
}

}  // namespace

bool IsUnsupportedFile(const std::u16string& path) {
    if (path.empty() || IsUrlName(path)) return false;
    std::ifstream in(ToFsPath(path), std::ios::binary);
    char head[8] = {};
    if (!in.read(head, sizeof head) && in.gcount() == 0) return false;
    const std::string_view bytes(head, size_t(in.gcount()));
    for (std::string_view signature : kBinarySignatures)
        if (bytes.substr(0, signature.size()) == signature) return true;
    return false;
}

std::u16string OpenFailureMessage(const std::u16string& path, const std::u16string& loaderReason) {
    if (!path.empty() && !IsUrlName(path)) {
        const std::filesystem::path file = ToFsPath(path);
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) return Line(u"ファイルが見つかりません。", path);
        if (std::filesystem::is_directory(file, ec))
            return Line(u"フォルダーは開けません。ファイルを選んでください。", path);
        if (::access(file.c_str(), R_OK) != 0)
            return Line(u"ファイルを読み取る権限がありません。", path);
        if (IsUnsupportedFile(path))
            return Line(
                u"この形式のファイルは開けません。"
                u"テキスト、HTML/XHTML、圧縮ファイル、栞ファイルを開けます。",
                path);
    }
    // The loader's words name the address and the reason (an HTTP status, a timeout...).
    if (!loaderReason.empty()) return loaderReason;
    return Line(u"ファイルを開けませんでした。", path);
}

}  // namespace Yomibon

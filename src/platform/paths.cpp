#include "platform/paths.h"

#include "platform/utf16.h"

namespace Yomibon {

const std::filesystem::path& ProgramFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        return ec ? std::filesystem::current_path(ec) : exe.parent_path();
    }();
    return folder;
}

std::u16string NormalizePath(std::u16string_view path) {
    std::u16string out;
    out.reserve(path.size());
    for (char16_t c : path) {
        if (c == u'\r' || c == u'\n') continue;
        out.push_back(c == u'\\' ? u'/' : c);
    }
    for (size_t at; (at = out.find(u"/./")) != std::u16string::npos;)
        out.erase(at, 2);
    return out;
}

std::filesystem::path ToFsPath(std::u16string_view path) {
    return std::filesystem::path(ToUtf8(path));
}

std::u16string FromFsPath(const std::filesystem::path& path) {
    return FromUtf8(path.string());
}

}  // namespace Yomibon

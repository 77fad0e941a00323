#include "text/html_file_loader.h"

#include <cctype>
#include <fstream>

#include "platform/format.h"
#include "platform/limits.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

bool IsUnreserved(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    for (size_t i = 0; prefix[i]; ++i)
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i])
            return false;
    return true;
}

}  // namespace

std::string CYbHtmlFileLoader::FileUrl(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    std::string bytes = (ec ? path : absolute).lexically_normal().generic_string();
    static const char* kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : bytes) {
        if (IsUnreserved(c)) {
            url.push_back(char(c));
        } else {
            url.push_back('%');
            url.push_back(kHex[c >> 4]);
            url.push_back(kHex[c & 15]);
        }
    }
    return url;
}

bool CYbHtmlFileLoader::FileUrlToPath(const std::string& url, std::filesystem::path& out) {
    if (!StartsWithNoCase(url, "file:")) return false;
    std::string rest = url.substr(5);
    if (rest.starts_with("//")) {
        size_t slash = rest.find('/', 2);
        std::string host = rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        if (!host.empty() && host != "localhost") return false;  // no remote shares
        rest = slash == std::string::npos ? "/" : rest.substr(slash);
    }
    size_t cut = rest.find_first_of("?#");
    if (cut != std::string::npos) rest.resize(cut);
    std::string decoded;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() + 0 && HexValue(rest[i + 1]) >= 0 &&
            HexValue(rest[i + 2]) >= 0) {
            decoded.push_back(char(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2])));
            i += 2;
        } else {
            decoded.push_back(rest[i]);
        }
    }
    if (decoded.empty() || decoded.find('\0') != std::string::npos) return false;
    out = std::filesystem::path(decoded);
    return true;
}

bool CYbHtmlFileLoader::readFile(const std::filesystem::path& path, const std::string& shownName,
                                 HtmlResource& out) {
    auto fail = [&](std::u16string_view reason) {
        message_ = FormatMessage(u"「%1!s!」を開けませんでした。%2!s!",
                                 {FromUtf8(shownName), std::u16string(reason)});
        return false;
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return fail(u"ファイルがありません。");
    uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return fail(u"ファイルを読めません。");
    if (size > Limits::kMaxTextFileBytes) return fail(u"ファイルが大きすぎます。");
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail(u"ファイルを読めません。");
    out.bytes.assign(size_t(size), '\0');
    if (size && !in.read(out.bytes.data(), std::streamsize(size)))
        return fail(u"ファイルを読めません。");
    out.contentType.clear();
    out.url = FileUrl(path);
    out.localFile = std::filesystem::absolute(path, ec);
    message_.clear();
    return true;
}

bool CYbHtmlFileLoader::loadDocument(const std::string& nameOrUrl, HtmlResource& out) {
    std::filesystem::path path;
    if (StartsWithNoCase(nameOrUrl, "file:")) {
        if (!FileUrlToPath(nameOrUrl, path)) {
            message_ = FormatMessage(u"「%1!s!」を開けませんでした。この形のアドレスは読めません。",
                                     {FromUtf8(nameOrUrl)});
            return false;
        }
    } else if (nameOrUrl.find("://") != std::string::npos) {
        message_ = FormatMessage(u"「%1!s!」を開けませんでした。ネットワーク上の文書は読めません。",
                                 {FromUtf8(nameOrUrl)});
        return false;
    } else {
        path = std::filesystem::path(nameOrUrl);
    }
    return readFile(path, nameOrUrl, out);
}

bool CYbHtmlFileLoader::loadLinked(const std::string& url, HtmlResource& out) {
    std::filesystem::path path;
    if (!FileUrlToPath(url, path)) {
        message_ = FormatMessage(u"「%1!s!」を開けませんでした。ローカルの文書からは読めません。",
                                 {FromUtf8(url)});
        return false;
    }
    return readFile(path, url, out);
}

}  // namespace Yomibon

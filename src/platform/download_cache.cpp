#include "platform/download_cache.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace Yomibon {

namespace fs = std::filesystem;

namespace {

uint64_t Fnv1a64(std::string_view s) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string ExtensionOf(std::string_view url) {
    url = url.substr(0, url.find_first_of("?#"));
    size_t slash = url.rfind('/');
    std::string_view last = slash == std::string_view::npos ? url : url.substr(slash + 1);
    size_t dot = last.rfind('.');
    if (dot == std::string_view::npos) return ".dat";
    std::string ext(last.substr(dot + 1));
    bool plain =
        !ext.empty() && ext.size() <= 5 &&
        std::all_of(ext.begin(), ext.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
    if (!plain) return ".dat";
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return "." + ext;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += char(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

int64_t TimeOf(const fs::directory_entry& entry) {
    std::error_code ec;
    auto t = entry.last_write_time(ec);
    return ec ? 0 : int64_t(t.time_since_epoch().count());
}

}  // namespace

std::vector<std::string> ChooseEvictions(std::vector<CacheFileInfo> files, uint64_t maxBytes,
                                         std::string_view keep) {
    uint64_t total = 0;
    for (const CacheFileInfo& f : files)
        total += f.size;
    std::stable_sort(files.begin(), files.end(),
                     [](const CacheFileInfo& a, const CacheFileInfo& b) {
                         return a.time != b.time ? a.time < b.time : a.name < b.name;
                     });
    std::vector<std::string> out;
    for (const CacheFileInfo& f : files) {
        if (total <= maxBytes) break;
        if (f.name == keep) continue;
        out.push_back(f.name);
        total -= f.size;
    }
    return out;
}

CYbDownloadCache::CYbDownloadCache(fs::path folder, uint64_t maxBytes)
    : folder_(std::move(folder)), maxBytes_(maxBytes) {}

fs::path CYbDownloadCache::FolderUnder(const fs::path& dataFolder) {
    return dataFolder / "Cache";
}

std::string CYbDownloadCache::FileNameFor(std::string_view url) {
    url = url.substr(0, url.find('#'));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a64(url)));
    return hex + ExtensionOf(url);
}

fs::path CYbDownloadCache::store(std::string_view url, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const std::string name = FileNameFor(url);
    const fs::path target = folder_ / name;
    // Written beside and renamed, so a reader never sees half a file.
    const fs::path part = folder_ / (name + ".part");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), std::streamsize(bytes.size()))) {
            fs::remove(part, ec);
            return {};
        }
    }
    fs::rename(part, target, ec);
    if (ec) {
        fs::remove(part, ec);
        return {};
    }
    trim(name);
    return target;
}

fs::path CYbDownloadCache::localFileFor(std::string_view url) const {
    fs::path local = FileUrlToPath(url);
    std::error_code ec;
    if (local.empty()) local = folder_ / FileNameFor(url);
    if (!fs::is_regular_file(local, ec)) return {};
    return local;
}

void CYbDownloadCache::trim(std::string_view keep) const {
    std::vector<CacheFileInfo> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        files.push_back({it->path().filename().string(), it->file_size(typeError), TimeOf(*it)});
    }
    for (const std::string& name : ChooseEvictions(std::move(files), maxBytes_, keep))
        fs::remove(folder_ / name, ec);
}

fs::path FileUrlToPath(std::string_view url) {
    if (url.size() < 5) return {};
    std::string scheme(url.substr(0, 5));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (scheme != "file:") return {};
    std::string_view rest = url.substr(5);
    rest = rest.substr(0, rest.find_first_of("?#"));
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        std::string_view host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost") return {};
        if (slash == std::string_view::npos) return {};
        rest.remove_prefix(slash);
    }
    if (!rest.starts_with("/")) return {};
    return fs::path(PercentDecode(rest));
}

}  // namespace Yomibon

// The download cache: pages, style sheets and pictures fetched from the network, kept in a
// folder under the data folder under names derived from their addresses, so that pictures
// can be drawn from files. Bounded in size; the least recently used files go first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/limits.h"

namespace Yomibon {

// One file of the cache as the trimming decision sees it.
struct CacheFileInfo {
    std::string name;
    uint64_t size = 0;
    int64_t time = 0;  // last use; smaller is older
};

// The files to remove so that the rest fit in maxBytes: oldest first, never `keep`.
std::vector<std::string> ChooseEvictions(std::vector<CacheFileInfo> files, uint64_t maxBytes,
                                         std::string_view keep = {});

class CYbDownloadCache {
  public:
    explicit CYbDownloadCache(std::filesystem::path folder,
                              uint64_t maxBytes = Limits::kMaxDownloadCacheBytes);

    // "<data folder>/Cache".
    static std::filesystem::path FolderUnder(const std::filesystem::path& dataFolder);
    // 16 hex digits of a hash of the address (without its fragment) and the extension of
    // its last path segment when that is short and plain (".png"), else ".dat".
    static std::string FileNameFor(std::string_view url);

    // Writes the bytes under the address's name and trims the folder; empty on failure.
    std::filesystem::path store(std::string_view url, const std::string& bytes);
    // The file that holds an address: a cached download, or the file a file: URL names;
    // empty when there is none.
    std::filesystem::path localFileFor(std::string_view url) const;
    // Removes the oldest files until the folder fits its bound.
    void trim(std::string_view keep = {}) const;

    const std::filesystem::path& folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    uint64_t maxBytes_;
};

// The local path of a file: URL ("file:///a/b%20c.txt" -> "/a/b c.txt"); empty for other
// addresses and for file: URLs naming another host.
std::filesystem::path FileUrlToPath(std::string_view url);

}  // namespace Yomibon

// The catalogue file kept in the data folder: fetched on first use and on request from the
// address the settings name (the library's, a mirror's or a local copy's), with the proxy
// settings every other download uses. A new copy replaces the kept one only once it has
// been read whole, so a failed or broken download never costs the reader his catalogue.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "library/catalogue_work.h"
#include "platform/net.h"

namespace Yomibon {

struct CatalogueLoad {
    bool ok = false;
    bool fetched = false;    // the network was used
    std::u16string message;  // Japanese, for the reader; empty when ok
    NetStatus netStatus = NetStatus::OK;
};

class CYbCatalogueStore {
  public:
    CYbCatalogueStore(const std::filesystem::path& dataFolder, std::string url);

    // "<data folder>/Catalogue/<name from the address>": each address keeps its own copy.
    const std::filesystem::path& file() const { return file_; }
    const std::string& url() const { return url_; }
    bool cached() const;

    // The kept copy, or (when there is none) a fresh one from the network.
    CatalogueLoad load(std::vector<CatalogueWork>& works, const NetProxySettings& proxy,
                       CYbNetObserver* observer = nullptr) const;
    // A fresh copy from the network; on failure `works` and the kept copy stay as they were.
    CatalogueLoad update(std::vector<CatalogueWork>& works, const NetProxySettings& proxy,
                         CYbNetObserver* observer = nullptr) const;

  private:
    std::string url_;
    std::filesystem::path file_;
};

}  // namespace Yomibon

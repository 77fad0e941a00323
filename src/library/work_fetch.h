// Fetching a work's text zip into the download cache, where the archive path opens it from.
// A work fetched once opens again without the network. What arrives is checked to be a
// readable zip before it is kept, so a broken download is never taken for the work.
#pragma once

#include <filesystem>
#include <string>

#include "library/catalogue_work.h"
#include "platform/net.h"

namespace Yomibon {

class CYbDownloadCache;

struct WorkFetch {
    enum Status { OK, NO_TEXT, NET_FAILED, CANCELLED, DAMAGED, NOT_SAVED };
    Status status = NET_FAILED;
    std::filesystem::path file;  // the cached zip when OK
    bool fromCache = false;
    std::u16string message;  // Japanese, naming the work; empty when OK or CANCELLED
    bool ok() const { return status == OK; }
};

WorkFetch FetchWorkText(const CatalogueWork& work, CYbDownloadCache& cache,
                        const NetProxySettings& proxy, CYbNetObserver* observer = nullptr);

// Whether the bytes are a zip whose entries all read to their end.
bool IsReadableZip(const std::string& bytes);

}  // namespace Yomibon

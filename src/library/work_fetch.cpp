#include "library/work_fetch.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>

#include "platform/download_cache.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

std::u16string Named(const CatalogueWork& work) {
    return u"「" + work.title + u"」";
}

WorkFetch Failure(WorkFetch::Status status, std::u16string message) {
    WorkFetch fetch;
    fetch.status = status;
    fetch.message = std::move(message);
    return fetch;
}

}  // namespace

bool IsReadableZip(const std::string& bytes) {
    std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(a.get());
    if (archive_read_open_memory(a.get(), bytes.data(), bytes.size()) != ARCHIVE_OK) return false;
    archive_entry* entry = nullptr;
    size_t entries = 0;
    int r;
    while ((r = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK) {
        // Reading the data checks it against its CRC.
        const void* block;
        size_t size;
        la_int64_t offset;
        int d;
        while ((d = archive_read_data_block(a.get(), &block, &size, &offset)) == ARCHIVE_OK) {
        }
        if (d != ARCHIVE_EOF) return false;
        ++entries;
    }
    return r == ARCHIVE_EOF && entries > 0;
}

WorkFetch FetchWorkText(const CatalogueWork& work, CYbDownloadCache& cache,
                        const NetProxySettings& proxy, CYbNetObserver* observer) {
    if (work.textUrl.empty())
        return Failure(WorkFetch::NO_TEXT, Named(work) + u"にはまだテキストファイルがありません。");
    WorkFetch fetch;
    fetch.file = cache.localFileFor(work.textUrl);
    if (!fetch.file.empty()) {
        fetch.status = WorkFetch::OK;
        fetch.fromCache = true;
        return fetch;
    }
    NetRequest request;
    request.url = work.textUrl;
    request.proxy = proxy;
    NetResult got = NetFetch(request, observer);
    if (got.status == NetStatus::CANCELLED) return Failure(WorkFetch::CANCELLED, {});
    if (!got.ok())
        return Failure(WorkFetch::NET_FAILED, Named(work) + u"をダウンロードできませんでした。\n" +
                                                  NetFailureMessage(work.textUrl, got));
    if (!IsReadableZip(got.body))
        return Failure(WorkFetch::DAMAGED,
                       Named(work) + u"のファイルが壊れています。\n" + FromUtf8(work.textUrl));
    fetch.file = cache.store(work.textUrl, got.body);
    if (fetch.file.empty())
        return Failure(WorkFetch::NOT_SAVED,
                       Named(work) + u"をダウンロードの一時保存場所に保存できませんでした。");
    fetch.status = WorkFetch::OK;
    return fetch;
}

}  // namespace Yomibon

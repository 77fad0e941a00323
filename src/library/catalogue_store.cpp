#include "library/catalogue_store.h"

#include <fstream>
#include <system_error>

#include "library/catalogue_reader.h"
#include "platform/download_cache.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

bool WriteAll(const std::filesystem::path& file, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

CatalogueLoad Failed(std::u16string message, NetStatus status = NetStatus::OK) {
    CatalogueLoad load;
    load.message = std::move(message);
    load.netStatus = status;
    return load;
}

}  // namespace

CYbCatalogueStore::CYbCatalogueStore(const std::filesystem::path& dataFolder, std::string url)
    : url_(std::move(url)), file_(dataFolder / "Catalogue" / CYbDownloadCache::FileNameFor(url_)) {}

bool CYbCatalogueStore::cached() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(file_, ec);
}

CatalogueLoad CYbCatalogueStore::load(std::vector<CatalogueWork>& works,
                                      const NetProxySettings& proxy,
                                      CYbNetObserver* observer) const {
    if (!cached()) return update(works, proxy, observer);
    CatalogueReadResult read = ReadCatalogue(file_, works);
    if (!read.ok()) return Failed(read.message + u"\n「更新」で取得し直してください。");
    CatalogueLoad load;
    load.ok = true;
    return load;
}

CatalogueLoad CYbCatalogueStore::update(std::vector<CatalogueWork>& works,
                                        const NetProxySettings& proxy,
                                        CYbNetObserver* observer) const {
    NetRequest request;
    request.url = url_;
    request.proxy = proxy;
    // The whole catalogue is some megabytes; a slow line may take a while.
    request.totalTimeoutMs = 600'000;
    NetResult got = NetFetch(request, observer);
    if (!got.ok()) {
        std::u16string message = NetFailureMessage(url_, got);
        if (got.status != NetStatus::CANCELLED && cached())
            message =
                u"作品目録を更新できませんでした。これまでの目録をそのまま使います。\n" + message;
        else if (got.status != NetStatus::CANCELLED)
            message =
                u"青空文庫の作品目録を取得できませんでした。ネットワークへの接続と、設定の"
                u"プロキシと目録のURLを確かめてください。\n" +
                message;
        return Failed(message, got.status);
    }
    std::filesystem::path fresh = file_;
    fresh += ".new";
    if (!WriteAll(fresh, got.body))
        return Failed(u"作品目録を保存できませんでした。\n" + FromUtf8(fresh.string()));
    CatalogueReadResult read = ReadCatalogue(fresh, works);
    std::error_code ec;
    if (!read.ok()) {
        std::filesystem::remove(fresh, ec);
        return Failed(u"「" + FromUtf8(url_) + u"」は作品目録として読めませんでした。\n" +
                      read.message.substr(read.message.find(u'\n') + 1));
    }
    std::filesystem::rename(fresh, file_, ec);
    CatalogueLoad load;
    load.ok = true;
    load.fetched = true;
    if (ec) load.message = u"作品目録を保存できませんでした。\n" + FromUtf8(file_.string());
    return load;
}

}  // namespace Yomibon

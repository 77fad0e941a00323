#include "text/html_net_loader.h"

#include "platform/utf16.h"
#include "settings/data_folder.h"
#include "settings/file_io.h"

namespace Yomibon {

CYbHtmlNetLoader::CYbHtmlNetLoader(const NetOptions& options, CYbHtmlResourceLoader& local)
    : options_(options),
      local_(local),
      cache_(options.cacheFolder.empty() ? CYbDownloadCache::FolderUnder(DataFolder())
                                         : options.cacheFolder) {}

CYbHtmlNetLoader::Kind CYbHtmlNetLoader::KindOf(const std::string& name) {
    NetUrlParts parts;
    // A one-letter "scheme" is a drive letter: a local name.
    if (!SplitNetUrl(name, parts) || parts.scheme.size() < 2) return Kind::LOCAL;
    if (parts.scheme == "http" || parts.scheme == "https") return Kind::WEB;
    if (parts.scheme == "file") return Kind::LOCAL;
    return Kind::REFUSED;
}

void CYbHtmlNetLoader::refuse(const std::string& url) {
    NetResult refused;
    refused.status = NetStatus::REFUSED_SCHEME;
    message_ = NetFailureMessage(url, refused);
}

bool CYbHtmlNetLoader::fetch(const std::string& url, HtmlResource& out) {
    if (cancelled_) return false;
    NetRequest request;
    request.url = url;
    request.proxy = options_.proxy;
    request.connectTimeoutMs = options_.connectTimeoutMs;
    request.totalTimeoutMs = options_.totalTimeoutMs;
    ++fetches_;
    NetResult result = NetFetch(request, options_.observer);
    if (!result.ok()) {
        cancelled_ = result.status == NetStatus::CANCELLED;
        message_ = result.message;
        return false;
    }
    out.bytes = std::move(result.body);
    out.contentType = std::move(result.contentType);
    out.url = result.finalUrl;
    // Pictures are drawn from files; a cache that cannot be written costs only them.
    out.localFile = cache_.store(result.finalUrl, out.bytes);
    return true;
}

bool CYbHtmlNetLoader::loadDocument(const std::string& nameOrUrl, HtmlResource& out) {
    linked_.clear();
    message_.clear();
    cancelled_ = false;
    switch (KindOf(nameOrUrl)) {
        case Kind::WEB:
            remoteDocument_ = true;
            return fetch(nameOrUrl, out);
        case Kind::REFUSED:
            refuse(nameOrUrl);
            return false;
        case Kind::LOCAL:
            break;
    }
    remoteDocument_ = false;
    if (local_.loadDocument(nameOrUrl, out)) return true;
    message_ = local_.message();
    return false;
}

bool CYbHtmlNetLoader::loadLinked(const std::string& url, HtmlResource& out) {
    Kind kind = KindOf(url);
    if (kind == Kind::REFUSED) {
        refuse(url);
        return false;
    }
    // A local document stays with local files, as the file loader decides.
    if (!remoteDocument_) {
        if (local_.loadLinked(url, out)) return true;
        message_ = local_.message();
        return false;
    }
    if (kind == Kind::LOCAL) {
        // A page from the network must not read the reader's own files.
        message_ =
            u"「" + FromUtf8(url) +
            u"」を開けませんでした。\nネット上の文書からはローカルのファイルを読み込めません。";
        return false;
    }
    std::string key = url.substr(0, url.find('#'));
    if (auto it = linked_.find(key); it != linked_.end()) {
        // Fetched before in this load: read back from its cached file.
        out = it->second;
        if (out.localFile.empty() ||
            ReadFileBytes(out.localFile, out.bytes, Limits::kMaxDownloadBytes))
            return true;
    }
    if (!fetch(key, out)) return false;
    HtmlResource kept = out;
    // The bytes stay in the cache file, not in memory for the rest of the load.
    if (!kept.localFile.empty()) kept.bytes.clear();
    linked_[key] = std::move(kept);
    return true;
}

}  // namespace Yomibon

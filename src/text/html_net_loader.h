// Documents, style sheets and pictures from http(s) addresses through NetFetch and the
// download cache; local names and file: URLs go to the local loader it is given. A page
// from the network may link only to the network, never to local files.
#pragma once

#include <map>
#include <string>

#include "platform/download_cache.h"
#include "text/html_resource_loader.h"
#include "text/net_options.h"

namespace Yomibon {

class CYbHtmlNetLoader : public CYbHtmlResourceLoader {
  public:
    CYbHtmlNetLoader(const NetOptions& options, CYbHtmlResourceLoader& local);

    bool loadDocument(const std::string& nameOrUrl, HtmlResource& out) override;
    bool loadLinked(const std::string& url, HtmlResource& out) override;
    std::u16string message() const override { return message_; }

    // True once the observer cancelled a transfer: the whole load is to be given up.
    bool cancelled() const { return cancelled_; }
    // Transfers made so far (linked files fetched once per load).
    int fetchCount() const { return fetches_; }

  private:
    enum class Kind { WEB, LOCAL, REFUSED };
    static Kind KindOf(const std::string& name);
    bool fetch(const std::string& url, HtmlResource& out);
    void refuse(const std::string& url);

    NetOptions options_;
    CYbHtmlResourceLoader& local_;
    CYbDownloadCache cache_;
    bool remoteDocument_ = false;
    bool cancelled_ = false;
    int fetches_ = 0;
    std::u16string message_;
    std::map<std::string, HtmlResource> linked_;  // this load's style sheets and pictures
};

}  // namespace Yomibon

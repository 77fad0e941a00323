// Documents, style sheets and pictures from local files (plain paths and file: URLs).
#pragma once

#include <filesystem>
#include <string>

#include "text/html_resource_loader.h"

namespace Yomibon {

class CYbHtmlFileLoader : public CYbHtmlResourceLoader {
  public:
    bool loadDocument(const std::string& nameOrUrl, HtmlResource& out) override;
    // Only file: URLs: a local document never makes the reader reach the network.
    bool loadLinked(const std::string& url, HtmlResource& out) override;
    std::u16string message() const override { return message_; }

    // "file:///dir/a%20b.html" for a path (made absolute), and back.
    static std::string FileUrl(const std::filesystem::path& path);
    static bool FileUrlToPath(const std::string& url, std::filesystem::path& out);

  private:
    bool readFile(const std::filesystem::path& path, const std::string& shownName,
                  HtmlResource& out);

    std::u16string message_;
};

}  // namespace Yomibon

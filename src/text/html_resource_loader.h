#pragma once
#include <filesystem>
#include <string>

namespace Yomibon {

// Bytes of one document, style sheet or picture, with what the transport said about them.
struct HtmlResource {
    std::string bytes;
    std::string contentType;          // HTTP Content-Type as sent; empty for local files
    std::string url;                  // final address (after redirects): base for relative links
    std::filesystem::path localFile;  // a file holding the bytes (pictures are drawn from it)
};

// Where an HTML document and its linked files come from: local files, or the network through
// the download cache. The parser never reads anything but through this.
class CYbHtmlResourceLoader {
  public:
    virtual ~CYbHtmlResourceLoader() = default;
    // The document itself (a path, a file: URL, or an http(s) URL).
    virtual bool loadDocument(const std::string& nameOrUrl, HtmlResource& out) = 0;
    // A linked style sheet or picture; the address is already absolute.
    virtual bool loadLinked(const std::string& url, HtmlResource& out) = 0;
    // Why the last load failed, in Japanese, naming the address and the reason.
    virtual std::u16string message() const = 0;
};

}  // namespace Yomibon

// The parser of HTML and XHTML documents (the library's XHTML editions above all): the same
// lines of typed runs as the notation parser, from the engine's node tree.
#pragma once

#include <memory>
#include <string>

#include "text/html_resource_loader.h"
#include "text/txt_parser.h"

namespace Yomibon {

class CYbTxtParam;
class CYbHtmlFileLoader;

class CYbHTMLTxtParser : public CYbTxtParser {
  public:
    explicit CYbHTMLTxtParser(const CYbTxtParam* param = nullptr);
    ~CYbHTMLTxtParser() override;

    // Loads a path, file: URL or (through a network loader) web address.
    bool loadFile(const std::u16string& fileName, CYbTxtBuffer& buffer) override;
    // HTML is only read from a file or an address.
    bool parseText(char16_t*, CYbTxtBuffer&) override { return false; }
    std::u16string getName() const override { return u"CYbHTMLTxtParser"; }
    std::u16string getTitle() const override { return title_; }
    std::u16string getAuthor() const override { return author_; }
    std::u16string getInfo() const override { return info_; }
    std::u16string getNotice() const override { return notice_; }

    // Where documents, style sheets and pictures come from; null: local files.
    void setLoader(CYbHtmlResourceLoader* loader) { loader_ = loader; }
    // Why the last load failed (empty after a success).
    const std::u16string& message() const { return message_; }

    // Converts a document already in memory (the bytes as its transport delivered them).
    bool parseResource(const HtmlResource& resource, CYbTxtBuffer& buffer);

  private:
    CYbHtmlResourceLoader& loader();

    const CYbTxtParam* param_;
    CYbHtmlResourceLoader* loader_ = nullptr;
    std::unique_ptr<CYbHtmlFileLoader> fileLoader_;
    std::u16string title_;
    std::u16string author_;
    std::u16string info_;
    std::u16string message_;
    std::u16string notice_;
};

// True for a card page of the library (its address without digits names the card path).
bool IsLibraryCardPage(const std::string& url);

// True for a document to be read as notation text: sent as text/plain, or named .txt.
bool IsPlainTextDocument(const HtmlResource& resource);

}  // namespace Yomibon

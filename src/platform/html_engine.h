// The HTML engine: parses a document into a node tree with cascaded style, and nothing more
// (it lays nothing out and draws nothing). The one interface over the engine library.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Yomibon {

class CYbHtmlEngineDocument;

// A node of a parsed document: an element, or a text node ("#text"). A light handle, valid
// while its document lives.
class CYbHtmlNode {
  public:
    CYbHtmlNode() = default;
    bool valid() const { return node_ != nullptr; }
    // The tag name in upper case ("RUBY"), "#text" for text, "#comment" for comments.
    std::string tagName() const;
    bool isText() const;
    // The data of a text node, UTF-8.
    std::string data() const;
    // An attribute's value; empty when the element has none.
    std::string attr(const char* name) const;
    bool hasAttr(const char* name) const;
    // The cascaded value of a style property with its units ("2em", "bold"); def when the
    // element has none (inherited: ask the ancestors first).
    std::string style(const char* name, bool inherited, const char* def = "") const;
    // The text of the node and everything inside it.
    std::string innerText() const;
    size_t childCount() const;
    CYbHtmlNode child(size_t index) const;
    bool operator==(const CYbHtmlNode& other) const { return node_ == other.node_; }

  private:
    friend class CYbHtmlEngineDocument;
    explicit CYbHtmlNode(void* node) : node_(node) {}
    void* node_ = nullptr;
};

// Loads a linked style sheet: the absolute address in, the sheet's text (UTF-8) out.
using HtmlCssLoader = std::function<bool(const std::string& url, std::string& css)>;

class CYbHtmlEngineDocument {
  public:
    CYbHtmlEngineDocument();
    ~CYbHtmlEngineDocument();
    CYbHtmlEngineDocument(const CYbHtmlEngineDocument&) = delete;
    CYbHtmlEngineDocument& operator=(const CYbHtmlEngineDocument&) = delete;

    // Parses a UTF-8 document whose address is baseUrl; linked style sheets come through
    // cssLoader only. Elements nested deeper than the engine can take are dropped first.
    bool load(std::string_view utf8, const std::string& baseUrl, HtmlCssLoader cssLoader);
    // True when the last load dropped start tags nested too deep.
    bool nestingCut() const;
    CYbHtmlNode body() const;
    // The text of the document's <title>.
    std::string title() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Resolves a reference against a base address (RFC 3986).
std::string ResolveHtmlUrl(const std::string& base, const std::string& reference);

// Drops start tags that would nest elements deeper than maxDepth (their content stays);
// the tree builder and the style cascade of the engine recurse per level.
std::string CapHtmlNesting(std::string_view html, size_t maxDepth);

}  // namespace Yomibon

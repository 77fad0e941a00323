// The HTML engine on litehtml: the only file that includes it. Our container draws nothing;
// it hands whole text nodes through and loads linked style sheets through the caller.
#include "platform/html_engine.h"

// The library's umbrella header first: its other headers rely on what it declares.
#include <litehtml/litehtml.h>

#include <litehtml/el_text.h>
#include <litehtml/url.h>

#include <vector>

#include "platform/limits.h"

namespace Yomibon {
namespace {

// The engine ships no user-agent style sheet; this is what the walker needs of one.
constexpr const char* kUserAgentCss = R"(
html, body, div, p, address, blockquote, center, dl, dt, dd, ol, ul, li, menu, dir,
h1, h2, h3, h4, h5, h6, h7, h8, h9, pre, xmp, listing, plaintext, hr, form, fieldset,
table, caption, thead, tbody, tfoot, tr, td, th, article, aside, footer, header, nav,
section, main, figure, figcaption, details, summary, noframes { display: block; }
head, script, style, title, link, meta, base, template, noscript { display: none; }
h1, h2, h3, h4, h5, h6, b, strong, th { font-weight: bold; }
pre, xmp, listing, plaintext, textarea { white-space: pre; }
)";

using ElementPtr = litehtml::element::ptr;

litehtml::element* El(void* node) {
    return static_cast<litehtml::element*>(node);
}

// Draws nothing, measures nothing: the document is parsed and styled, never laid out.
class CYbNullContainer : public litehtml::document_container {
  public:
    std::string baseUrl;
    HtmlCssLoader cssLoader;

    litehtml::uint_ptr create_font(const char*, int, int, litehtml::font_style, unsigned int,
                                   litehtml::font_metrics* fm) override {
        if (fm) *fm = litehtml::font_metrics{};
        return 0;
    }
    void delete_font(litehtml::uint_ptr) override {}
    int text_width(const char*, litehtml::uint_ptr) override { return 0; }
    void draw_text(litehtml::uint_ptr, const char*, litehtml::uint_ptr, litehtml::web_color,
                   const litehtml::position&) override {}
    int pt_to_px(int pt) const override { return pt; }
    int get_default_font_size() const override { return 16; }
    const char* get_default_font_name() const override { return "serif"; }
    void draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker&) override {}
    void load_image(const char*, const char*, bool) override {}
    void get_image_size(const char*, const char*, litehtml::size& sz) override {
        sz.width = sz.height = 0;
    }
    void draw_background(litehtml::uint_ptr, const litehtml::background_paint&) override {}
    void draw_borders(litehtml::uint_ptr, const litehtml::borders&, const litehtml::position&,
                      bool) override {}
    void set_caption(const char*) override {}
    void set_base_url(const char* url) override {
        if (url && *url) baseUrl = ResolveHtmlUrl(baseUrl, url);
    }
    void link(const std::shared_ptr<litehtml::document>&, const ElementPtr&) override {}
    void on_anchor_click(const char*, const ElementPtr&) override {}
    void set_cursor(const char*) override {}
    void transform_text(litehtml::tstring&, litehtml::text_transform) override {}
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override {
        std::string absolute = ResolveHtmlUrl(baseurl.empty() ? baseUrl : baseurl, url);
        text.clear();
        if (cssLoader && cssLoader(absolute, text)) baseurl = absolute;
    }
    void set_clip(const litehtml::position&, const litehtml::border_radiuses&, bool,
                  bool) override {}
    void del_clip() override {}
    void get_client_rect(litehtml::position& client) const override {
        client = litehtml::position(0, 0, 800, 600);
    }
    ElementPtr create_element(const char*, const litehtml::string_map&,
                              const std::shared_ptr<litehtml::document>&) override {
        return nullptr;
    }
    void get_media_features(litehtml::media_features& media) const override {
        media.type = litehtml::media_type_screen;
        media.width = media.device_width = 800;
        media.height = media.device_height = 600;
        media.color = 8;
        media.resolution = 96;
    }
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
        language = "ja";
        culture = "ja-JP";
    }
    // The stock splitter cuts CJK text into one element per character; a novel would become
    // millions of elements. The walker wants each text node whole.
    void split_text(const char* text, const std::function<void(const char*)>& on_word,
                    const std::function<void(const char*)>&) override {
        if (text && *text) on_word(text);
    }
};

std::string Upper(const char* s) {
    std::string out = s ? s : "";
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

}  // namespace

struct CYbHtmlEngineDocument::Impl {
    CYbNullContainer container;
    litehtml::context context;
    litehtml::document::ptr document;
    bool nestingCut = false;
};

CYbHtmlEngineDocument::CYbHtmlEngineDocument() : impl_(std::make_unique<Impl>()) {
    impl_->context.load_master_stylesheet(kUserAgentCss);
}

CYbHtmlEngineDocument::~CYbHtmlEngineDocument() = default;

bool CYbHtmlEngineDocument::load(std::string_view utf8, const std::string& baseUrl,
                                 HtmlCssLoader cssLoader) {
    impl_->container.baseUrl = baseUrl;
    impl_->container.cssLoader = std::move(cssLoader);
    std::string capped = CapHtmlNesting(utf8, Limits::kMaxHtmlNestingDepth);
    impl_->nestingCut = capped.size() != utf8.size();  // only tags are ever taken out
    impl_->document =
        litehtml::document::createFromUTF8(capped.c_str(), &impl_->container, &impl_->context);
    return impl_->document && impl_->document->root();
}

bool CYbHtmlEngineDocument::nestingCut() const {
    return impl_->nestingCut;
}

CYbHtmlNode CYbHtmlEngineDocument::body() const {
    if (!impl_->document || !impl_->document->root()) return {};
    ElementPtr root = impl_->document->root();
    for (size_t i = 0; i < root->get_children_count(); ++i) {
        ElementPtr child = root->get_child(int(i));
        if (Upper(child->get_tagName()) == "BODY") return CYbHtmlNode(child.get());
    }
    return CYbHtmlNode(root.get());
}

std::string CYbHtmlEngineDocument::title() const {
    if (!impl_->document || !impl_->document->root()) return {};
    // Breadth-first: the title lives near the top, and no recursion on a deep tree.
    std::vector<litehtml::element*> level{impl_->document->root().get()};
    while (!level.empty()) {
        std::vector<litehtml::element*> next;
        for (litehtml::element* el : level) {
            if (Upper(el->get_tagName()) == "TITLE") return CYbHtmlNode(el).innerText();
            if (Upper(el->get_tagName()) == "BODY") continue;
            for (size_t i = 0; i < el->get_children_count(); ++i)
                next.push_back(el->get_child(int(i)).get());
        }
        level.swap(next);
    }
    return {};
}

std::string CYbHtmlNode::tagName() const {
    if (!node_) return {};
    if (dynamic_cast<litehtml::el_text*>(El(node_))) return "#text";
    if (El(node_)->is_comment()) return "#comment";
    return Upper(El(node_)->get_tagName());
}

bool CYbHtmlNode::isText() const {
    return node_ && dynamic_cast<litehtml::el_text*>(El(node_)) != nullptr;
}

std::string CYbHtmlNode::data() const {
    std::string out;
    if (isText()) El(node_)->get_text(out);
    return out;
}

std::string CYbHtmlNode::attr(const char* name) const {
    const char* value = node_ ? El(node_)->get_attr(name) : nullptr;
    return value ? value : "";
}

bool CYbHtmlNode::hasAttr(const char* name) const {
    return node_ && El(node_)->get_attr(name) != nullptr;
}

std::string CYbHtmlNode::style(const char* name, bool inherited, const char* def) const {
    if (!node_) return def ? def : "";
    const char* value = El(node_)->get_style_property(name, inherited, def);
    return value ? value : "";
}

std::string CYbHtmlNode::innerText() const {
    std::string out;
    if (!node_) return out;
    // Depth-first without recursion; comments carry no text.
    std::vector<litehtml::element*> stack{El(node_)};
    while (!stack.empty()) {
        litehtml::element* el = stack.back();
        stack.pop_back();
        if (dynamic_cast<litehtml::el_text*>(el)) {
            el->get_text(out);
            continue;
        }
        for (size_t i = el->get_children_count(); i-- > 0;)
            stack.push_back(el->get_child(int(i)).get());
    }
    return out;
}

size_t CYbHtmlNode::childCount() const {
    return node_ ? El(node_)->get_children_count() : 0;
}

CYbHtmlNode CYbHtmlNode::child(size_t index) const {
    if (!node_ || index >= El(node_)->get_children_count()) return {};
    return CYbHtmlNode(El(node_)->get_child(int(index)).get());
}

namespace {

// RFC 3986 5.2.4 on the path of an absolute address ("a/./b/../c" -> "a/c").
std::string RemoveDotSegments(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : url.find('/', start + 3);
    if (start == std::string::npos) return url;
    size_t end = url.find_first_of("?#", start);
    if (end == std::string::npos) end = url.size();
    std::vector<std::string> segments;
    std::string path = url.substr(start, end - start);
    size_t i = 1;
    while (i <= path.size()) {
        size_t slash = path.find('/', i);
        if (slash == std::string::npos) slash = path.size();
        std::string seg = path.substr(i, slash - i);
        bool last = slash == path.size();
        if (seg == ".") {
            if (last) segments.emplace_back();
        } else if (seg == "..") {
            if (!segments.empty()) segments.pop_back();
            if (last) segments.emplace_back();
        } else {
            segments.push_back(seg);
        }
        i = slash + 1;
    }
    std::string out = url.substr(0, start);
    for (const std::string& seg : segments)
        out += "/" + seg;
    if (segments.empty()) out += "/";
    return out + url.substr(end);
}

}  // namespace

std::string ResolveHtmlUrl(const std::string& base, const std::string& reference) {
    if (base.empty()) return reference;
    std::string out = litehtml::resolve(litehtml::url(base), litehtml::url(reference)).string();
    // The resolver drops the empty host of "file:///"; keep the usual spelling.
    if (out.starts_with("file:/") && !out.starts_with("file://")) out.insert(5, "//");
    return RemoveDotSegments(out);
}

}  // namespace Yomibon

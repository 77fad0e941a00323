#include "text/txt_document.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <system_error>
#include <vector>

#include "platform/download_cache.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/file_kind.h"
#include "text/outline.h"
#include "text/txt_parser_mgr.h"

namespace Yomibon {
namespace {

class Stopwatch {
  public:
    double elapsedMs() const {
        return std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
    }

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start_ = Clock::now();
};

// The bytes of a long text parsed before its first spread is shown: tens of spreads.
constexpr size_t kHeadBytes = 64 * 1024;

// A path handed over quoted, as on a command line: the text between the first pair of quotes.
std::u16string_view FirstToken(std::u16string_view path) {
    if (path.empty() || path[0] != u'"') return path;
    path.remove_prefix(1);
    return path.substr(0, path.find(u'"'));
}

// The walk of CYbTxtBuffer::forEachAll with the calls bound to the walker's own type: the
// outline walks visit every run of the text, and a virtual call for each is most of their cost.
template <typename Func>
void ForEachRunBound(CYbTxtBuffer& buffer, Func& func) {
    auto& lines = buffer.lines();
    for (int32_t l = 0; l < int32_t(lines.size()); ++l) {
        auto& runs = lines[size_t(l)].runs;
        if (runs.empty()) {
            TextInfo empty;
            empty.textType = TT_TEXT;
            if (func.Func::isValid(TT_TEXT) && !func.Func::setType({l, 0, 0}, empty)) return;
            continue;
        }
        for (int32_t r = 0; r < int32_t(runs.size()); ++r) {
            if (!func.Func::isValid(runs[size_t(r)].textType)) continue;
            if (!func.Func::setType({l, r, 0}, runs[size_t(r)])) return;
        }
    }
}

}  // namespace

void CYbEmptyDocumentLayout::arrange(CYbTxtDocument& document) {
    for (LineInfo& line : document.buffer().lines()) {
        line.iStartCol = 0;
        line.iNextCol = 0;
        line.turns.clear();
    }
    document.buffer().narrowMarks().clear();
    document.buffer().pictureBoxes().clear();
}

CYbTxtDocument::CYbTxtDocument(const CYbTxtParam& param,
                               std::unique_ptr<CYbTxtDocumentLayout> layout)
    : param_(param),
      layout_(layout ? std::move(layout) : std::make_unique<CYbEmptyDocumentLayout>()),
      bookmarks_(*this),
      dataFolder_(DataFolder()) {
    layout_->loadLayout(param_.GetText(u"LayoutFile"));
}

CYbTxtDocument::~CYbTxtDocument() = default;

void CYbTxtDocument::clearDocument() {
    rest_.reset();
    pageCount_ = 1;
    outline_.clear();
    buffer_.clear();
    buffer_.setInfo({});
    // No hold taken for the previous text may survive it.
    for (Holder& h : holders_) {
        while (h.count > 0)
            --h.count;
        h.owner = nullptr;
    }
}

bool CYbTxtDocument::hold(int which, const void* owner) {
    if (which < 0 || which >= kHolderCount) return false;
    Holder& h = holders_[which];
    if (h.count > 0 && h.owner != owner) return false;
    ++h.count;
    h.owner = owner;
    return true;
}

void CYbTxtDocument::release(int which, const void* owner) {
    if (which < 0 || which >= kHolderCount) return;
    Holder& h = holders_[which];
    if (h.count <= 0 || h.owner != owner) return;
    if (--h.count == 0) h.owner = nullptr;
}

std::u16string CYbTxtDocument::absolutePath(std::u16string_view path) const {
    if (IsUrlName(path)) return std::u16string(path);
    std::filesystem::path p = ToFsPath(path);
    // A relative name is taken from the data folder, once (not from its own folder again).
    if (p.is_relative()) p = dataFolder_ / p;
    return FromFsPath(p.lexically_normal());
}

void CYbTxtDocument::findBookmarks() {
    bookmarks_.Clear();
    if (bookmarks_.OpenForDocument(fileName_)) {
        fileName_ = NormalizePath(bookmarks_.TextPath());
        fromBookmark_ = true;
    } else {
        bookmarks_.SetTextPath(fileName_);
    }
}

bool CYbTxtDocument::readHead(const std::u16string& name, CYbTxtBuffer& head,
                              std::unique_ptr<CYbRestReader>& rest) const {
    CYbTxtParserMgr parsers(&param_);
    if (IsUrlName(name) || parsers.chooseParser(name) != CYbTxtParserMgr::PK_AOZORA) return false;
    std::error_code ec;
    const auto size = std::filesystem::file_size(ToFsPath(name), ec);
    // A short text is parsed whole in about the time a thread takes to start.
    if (ec || size <= 2 * kHeadBytes) return false;
    // Started first, so that the whole text is read beside the head.
    rest = std::make_unique<CYbRestReader>(name, restHook_);
    bool whole = false;
    if (parsers.openHead(name, head, kHeadBytes, whole) && !whole) return true;
    // No line ends in the head (or the file shrank): the whole load stands alone.
    head.clear();
    return false;
}

bool CYbTxtDocument::loadWhole(const std::u16string& name, CYbTxtBuffer& fresh) {
    NetOptions net = net_;
    net.proxy = ProxySettingsFrom(param_);
    if (net.cacheFolder.empty()) net.cacheFolder = CYbDownloadCache::FolderUnder(dataFolder_);
    Stopwatch parse;
    CYbTxtParserMgr parsers(&param_);
    CYbTxtParser::LoadPhases phases;
    if (!parsers.open(name, fresh, &net, &phases)) {
        lastError_ = parsers.message();
        cancelled_ = parsers.cancelled();
        return false;
    }
    times_ = {};
    times_.read = phases.read;
    times_.decode = phases.decode;
    times_.parse = std::max(0.0, parse.elapsedMs() - phases.read - phases.decode);
    return true;
}

bool CYbTxtDocument::openFile(std::u16string_view givenPath, bool headFirst) {
    std::u16string path = NormalizePath(FirstToken(givenPath));
    std::u16string name = path.empty() ? path : NormalizePath(absolutePath(path));
    lastError_.clear();
    cancelled_ = false;
    // A bookmark file names the text to load; asked without touching the bookmarks in use.
    std::u16string textName = name;
    {
        CYbTxtBookmark probe(*this);
        if (probe.OpenForDocument(name)) textName = NormalizePath(probe.TextPath());
    }
    // Parsed beside the text shown: a load that fails (a page that cannot be fetched, a
    // transfer the reader cancels) leaves the reader where he was.
    CYbTxtBuffer fresh;
    std::unique_ptr<CYbRestReader> rest;
    Stopwatch head;
    if (headFirst && readHead(textName, fresh, rest)) {
        times_ = {};
        times_.head = head.elapsedMs();
    } else if (rest && rest->take(fresh, times_)) {
        // The head could not stand for the text: the load on the second thread is the result.
        rest.reset();
    } else {
        rest.reset();
        if (!loadWhole(textName, fresh)) return false;
    }

    fileName_ = name;
    fromBookmark_ = false;
    findBookmarks();
    clearDocument();
    buffer_.swap(fresh);
    rest_ = std::move(rest);
    if (!IsUrlName(fileName_)) {
        // Pictures named relative to the text are found from its folder.
        std::error_code ec;
        std::filesystem::current_path(ToFsPath(fileName_).parent_path(), ec);
    }
    collectOutline();
    arrange();
    if (!fromBookmark_ && !fileName_.empty() &&
        bookmarks_.OpenForDocument(fileName_ + std::u16string(u".siori"))) {
        bookmarks_.SetTextPath(fileName_);
        fromBookmark_ = true;
    } else if (!fromBookmark_) {
        bookmarks_.Clear();
        bookmarks_.SetTextPath(fileName_);
    }
    bookmarks_.UpdatePages();
    return true;
}

bool CYbTxtDocument::adoptRest(bool wait) {
    if (!rest_ || (!wait && !rest_->ready())) return false;
    Stopwatch waiting;
    CYbTxtBuffer whole;
    LoadTimes times;
    const bool read = rest_->take(whole, times);
    rest_.reset();
    times.head = times_.head;
    times.restWait = waiting.elapsedMs();
    times_ = times;
    if (!read) {
        buffer_.setNotice(
            u"テキストの残りを読み込めませんでした。先頭の部分だけを表示しています。");
        return false;
    }
    buffer_.swap(whole);
    outline_.clear();
    collectOutline();
    arrange();
    bookmarks_.UpdatePages();
    return true;
}

void CYbTxtDocument::openParsed(char16_t* text, std::u16string_view defaultTitle) {
    Stopwatch parse;
    CYbTxtParserMgr().parse(text, buffer_);
    times_.parse = parse.elapsedMs();
    if (buffer_.getTitle().empty()) buffer_.setTitle(std::u16string(defaultTitle));
    // Texts from memory or the clipboard have headings too: the outline window and the
    // running heads need them.
    collectOutline();
    arrange();
}

bool CYbTxtDocument::openText(std::u16string_view text) {
    fileName_.clear();
    fromBookmark_ = false;
    times_ = {};
    bookmarks_.Clear();
    clearDocument();
    // The parser writes into the text it is given; it gets a copy of its own.
    std::u16string copy(text);
    openParsed(copy.data(), u"テキスト");
    return true;
}

bool CYbTxtDocument::openClipboard() {
    fileName_.clear();
    fromBookmark_ = false;
    times_ = {};
    bookmarks_.Clear();
    clearDocument();
    std::u16string text;
    // Without text on the clipboard the document is one empty line.
    if (!clipboard_ || !clipboard_->getText(text)) text.clear();
    openParsed(text.data(), u"クリップボード");
    bookmarks_.UpdatePages();
    return true;
}

void CYbTxtDocument::collectOutline() {
    Stopwatch outline;
    if (param_.GetBoolean(u"WzMemoMode")) {
        CYbTxtOutLinerFunc dots(buffer_, outline_);
        ForEachRunBound(buffer_, dots);
    }
    CYbTxtSubtileFunc headings(buffer_, outline_);
    ForEachRunBound(buffer_, headings);
    times_.outline = outline.elapsedMs();
}

void CYbTxtDocument::arrange() {
    Stopwatch arrange;
    layout_->arrange(*this);
    computePageCount();
    times_.arrange = arrange.elapsedMs();
}

void CYbTxtDocument::reloadLayout() {
    layout_->loadLayout(param_.GetText(u"LayoutFile"));
    arrange();
    bookmarks_.UpdatePages();
}

void CYbTxtDocument::arrangementExtended() {
    computePageCount();
    bookmarks_.UpdatePages();
}

int CYbTxtDocument::getFileKind(std::u16string_view path) const {
    return ClassifyFileName(path);
}

void CYbTxtDocument::getFrequentChars(std::u16string& out) const {
    constexpr size_t kFrequentChars = 30;
    // What HitMap gives, counted in one pass over the same runs into a table of the basic
    // plane: a long novel has a million characters, and a look-up of a point and a tree
    // step for each of them cost as much as parsing it.
    std::vector<uint32_t> basic(0x10000);
    std::map<char32_t, size_t> beyond;
    for (const LineInfo& line : buffer_.lines())
        for (const TextInfo& run : line.runs) {
            if (run.textType != TT_TEXT && run.textType != TT_SOUND_MARK) continue;
            std::u16string_view s = run.str;
            for (size_t i = 0; i < s.size(); i += UnitsAt(s, i)) {
                const char32_t c = CodePointAt(s, i);
                if (c < 0x10000)
                    ++basic[c];
                else
                    ++beyond[c];
            }
        }
    std::vector<std::pair<char32_t, size_t>> order;
    for (char32_t c = 0; c < 0x10000; ++c)
        if (basic[c] != 0) order.emplace_back(c, basic[c]);
    order.insert(order.end(), beyond.begin(), beyond.end());
    const size_t keep = std::min(kFrequentChars, order.size());
    std::partial_sort(order.begin(), order.begin() + ptrdiff_t(keep), order.end(),
                      [](const auto& a, const auto& b) {
                          return a.second != b.second ? a.second > b.second : a.first < b.first;
                      });
    out.clear();
    for (size_t i = 0; i < keep; ++i)
        AppendCodePoint(out, order[i].first);
}

void CYbTxtDocument::showProperties(const PropertiesFunc& show) const {
    if (!fileName_.empty() && show) show(fileName_);
}

}  // namespace Yomibon

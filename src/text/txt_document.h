// The one open document: the text buffer, its layout and arrangement, bookmarks and outline.
// Loads a text from a file, from memory or from the clipboard, and converts between pages
// and positions in the text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/load_times.h"
#include "text/net_options.h"
#include "text/outline.h"
#include "text/rest_reader.h"
#include "text/text_buffer.h"
#include "text/txt_bookmark.h"
#include "text/txt_document_layout.h"

namespace Yomibon {

class CYbTxtParam;

class CYbTxtDocument {
  public:
    // The clipboard belongs to the window; the document only asks it for its text.
    class CYbClipboardText {
      public:
        // False when the clipboard cannot be opened or holds no Unicode text.
        virtual bool getText(std::u16string& out) = 0;

      protected:
        ~CYbClipboardText() = default;
    };

    // Shows the desktop's properties of a file (supplied by the window).
    using PropertiesFunc = std::function<void(const std::u16string& path)>;

    // A hold taken on the document by work that must not see it replaced.
    struct Holder {
        int32_t count = 0;
        const void* owner = nullptr;
    };
    static constexpr int kHolderCount = 2;

    using LoadTimes = TextLoadTimes;

    // The document reads its settings from the store when it needs them. Without a layout
    // it keeps the built-in page figures and arranges nothing.
    explicit CYbTxtDocument(const CYbTxtParam& param,
                            std::unique_ptr<CYbTxtDocumentLayout> layout = nullptr);
    virtual ~CYbTxtDocument();
    CYbTxtDocument(const CYbTxtDocument&) = delete;
    CYbTxtDocument& operator=(const CYbTxtDocument&) = delete;

    // Loads a file, a URL or a bookmark file's text; false when its parser could not open
    // it. The text is loaded beside the one shown, which stays as it was when the load
    // fails (lastError() then says why, for HTML and addresses).
    // With `headFirst`, a long local text in notation is shown from its head: only the head
    // is parsed before openFile returns, while the whole text is read on a second thread
    // (readingRest() until adoptRest() puts it in place).
    bool openFile(std::u16string_view path, bool headFirst = false);
    // True while the document holds only the head of its text and the rest is being read.
    bool readingRest() const { return rest_ != nullptr; }
    // Puts the whole text in place of its head once it is read (waiting for it when `wait`):
    // outline, arrangement and bookmark pages follow. False when nothing was put in place;
    // a rest that could not be read leaves the head with a notice saying so.
    bool adoptRest(bool wait);
    // Called on the reading thread when the rest of a text is read; it must only pass the
    // news on to the thread that owns the document.
    void setRestHook(std::function<void()> hook) { restHook_ = std::move(hook); }
    // Parses a text (up to its first zero character, as a zero-terminated text ends).
    bool openText(std::u16string_view text);
    // Parses the clipboard's text (an empty document when it holds none).
    bool openClipboard();
    void clearDocument();

    // Archive, bookmark file, document or shortcut (FileKind).
    int getFileKind(std::u16string_view path) const;
    // The first position shown on a page; false when the page shows none.
    bool pageToPoint(int32_t page, TextPoint& out) const;
    // The page that shows a position; the page count past the end, -1 before the start.
    int32_t pointToPage(const TextPoint& point) const;
    // The 30 most frequent characters.
    void getFrequentChars(std::u16string& out) const;
    // Reloads the layout named by the settings and arranges the text anew.
    void reloadLayout();
    // The layout set more of the text after the open (an arrangement made in steps): the
    // page count and the pages of the bookmarks follow it.
    void arrangementExtended();
    // Has the window show the file's properties, when the document has a file.
    void showProperties(const PropertiesFunc& show) const;

    // Takes or gives back a hold; false when another owner holds it.
    bool hold(int which, const void* owner);
    void release(int which, const void* owner);
    const Holder& holder(int which) const { return holders_[size_t(which) % kHolderCount]; }

    void setClipboard(CYbClipboardText* clipboard) { clipboard_ = clipboard; }
    // Told about the progress of a load from the network; it may cancel it.
    void setNetObserver(CYbNetObserver* observer) { net_.observer = observer; }
    // Timeouts, cache folder and observer of loads from the network; the proxy is taken
    // from the settings at each load.
    NetOptions& netOptions() { return net_; }
    // Why the last openFile failed, naming the address; empty when not known.
    const std::u16string& lastError() const { return lastError_; }
    // True when the last openFile failed because the observer cancelled the transfer.
    bool lastLoadCancelled() const { return cancelled_; }
    // The folder relative paths and bookmark settings are taken from (the data folder).
    void setDataFolder(const std::filesystem::path& folder) { dataFolder_ = folder; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    CYbTxtBuffer& buffer() { return buffer_; }
    const CYbTxtBuffer& buffer() const { return buffer_; }
    const CYbTxtParam& param() const { return param_; }
    CYbTxtDocumentLayout& layout() { return *layout_; }
    CYbTxtBookmark& bookmarks() { return bookmarks_; }
    const CYbTxtBookmark& bookmarks() const { return bookmarks_; }
    const std::vector<OutlineEntry>& outline() const { return outline_; }
    const std::u16string& getFileName() const { return fileName_; }
    // The number (from 0) of the left-hand page of the last spread; odd, 1 when empty.
    int32_t getPageCount() const { return pageCount_; }
    bool isOpenedFromBookmark() const { return fromBookmark_; }
    // The page of the last read position.
    int32_t getStartPage() const { return bookmarks_.LastPosition().page; }
    const LoadTimes& loadTimes() const { return times_; }

  private:
    std::u16string absolutePath(std::u16string_view path) const;
    void findBookmarks();
    void collectOutline();
    void arrange();
    void computePageCount();
    int32_t boxesPerPage() const;
    void openParsed(char16_t* text, std::u16string_view defaultTitle);
    bool readHead(const std::u16string& name, CYbTxtBuffer& head,
                  std::unique_ptr<CYbRestReader>& rest) const;
    bool loadWhole(const std::u16string& name, CYbTxtBuffer& fresh);

    const CYbTxtParam& param_;
    std::unique_ptr<CYbTxtDocumentLayout> layout_;
    CYbTxtBuffer buffer_;
    std::u16string fileName_;
    Holder holders_[kHolderCount];
    int32_t pageCount_ = 1;
    CYbTxtBookmark bookmarks_;
    std::vector<OutlineEntry> outline_;
    bool fromBookmark_ = false;
    CYbClipboardText* clipboard_ = nullptr;
    std::filesystem::path dataFolder_;
    LoadTimes times_;
    NetOptions net_;
    std::u16string lastError_;
    bool cancelled_ = false;
    std::unique_ptr<CYbRestReader> rest_;
    std::function<void()> restHook_;
};

}  // namespace Yomibon

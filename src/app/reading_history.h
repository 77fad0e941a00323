// Page moves and opens the reader can go back and forward through (BackPage, ForwardPage).
// The reader itself is reached through a small interface, so that the steps can be driven
// without a window.
#pragma once

#include <string>

#include "app/page_history.h"
#include "text/text_buffer.h"

namespace Yomibon {

// What a history step needs of the reader.
class CYbHistoryHost {
  public:
    virtual int currentPage() const = 0;
    // The one page-move step (outside the history).
    virtual void gotoPage(int page) = 0;
    // Opens a path outside the history; false when it could not be opened.
    virtual bool openPath(const std::u16string& path) = 0;
    // The path of the open document, normalised; empty for a text without a file.
    virtual std::u16string currentPath() const = 0;
    // The first position shown on a page, and the page that shows a position.
    virtual TextPoint pagePoint(int page) const = 0;
    virtual int pointToPage(const TextPoint& point) const = 0;

  protected:
    ~CYbHistoryHost() = default;
};

class CYbReadingHistory {
  public:
    explicit CYbReadingHistory(CYbHistoryHost& host) : host_(host) {}

    // Moves to the page as a step of the history. Positions, not page numbers, are kept,
    // so that a step still lands on the same text after the pages have been rebuilt.
    void gotoPage(int page);
    // Opens the path as a step of the history; going back reopens the previous file at the
    // page it was left on. False when the path could not be opened (nothing is recorded).
    bool open(const std::u16string& path);
    // A text without a file (the clipboard's) is now shown: the steps so far lead back to
    // other books, which is not where Back should go from a text that cannot be reopened.
    void textWithoutFile();
    bool back() { return stack_.back(); }
    bool forward() { return stack_.forward(); }
    void clear() { stack_.clear(); }
    const CYbPageHistory& stack() const { return stack_; }

  private:
    CYbHistoryHost& host_;
    CYbPageHistory stack_;
};

}  // namespace Yomibon

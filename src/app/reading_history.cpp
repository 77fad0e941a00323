#include "app/reading_history.h"

#include <memory>

namespace Yomibon {
namespace {

// A move within one book. The book is kept with the step: when another one is shown by then
// (opened outside the history), going back reopens this one first.
class CYbGotoPageCommand : public CYbAbCommand {
  public:
    CYbGotoPageCommand(CYbHistoryHost& host, std::u16string path, TextPoint from, TextPoint to)
        : host_(host), path_(std::move(path)), from_(from), to_(to) {}
    bool execute() override { return show(to_); }
    bool undo() override { return show(from_); }

  private:
    bool show(const TextPoint& point) {
        if (host_.currentPath() != path_ && (path_.empty() || !host_.openPath(path_))) return false;
        host_.gotoPage(host_.pointToPage(point));
        return true;
    }

    CYbHistoryHost& host_;
    std::u16string path_;
    TextPoint from_, to_;
};

class CYbOpenFileCommand : public CYbAbCommand {
  public:
    CYbOpenFileCommand(CYbHistoryHost& host, std::u16string oldPath, std::u16string newPath)
        : host_(host), oldPath_(std::move(oldPath)), newPath_(std::move(newPath)) {}
    bool execute() override { return open(newPath_); }
    bool undo() override { return open(oldPath_); }

  private:
    // Each direction comes back to the page the other one left.
    bool open(const std::u16string& path) {
        int previous = savedPage_;
        savedPage_ = host_.currentPage();
        bool ok = host_.openPath(path);
        // A failed open left the text and page as they were.
        if (ok && previous >= 0) host_.gotoPage(previous);
        return ok;
    }

    CYbHistoryHost& host_;
    std::u16string oldPath_, newPath_;
    int savedPage_ = -1;
};

}  // namespace

void CYbReadingHistory::gotoPage(int page) {
    stack_.execute(std::make_unique<CYbGotoPageCommand>(
        host_, host_.currentPath(), host_.pagePoint(host_.currentPage()), host_.pagePoint(page)));
}

bool CYbReadingHistory::open(const std::u16string& path) {
    const std::u16string current = host_.currentPath();
    if (current.empty()) {
        // A text without a file (the clipboard's) cannot be reopened: the open is no step
        // back to it, and the steps taken in it lead nowhere once it is gone.
        if (!host_.openPath(path)) return false;
        stack_.clear();
        return true;
    }
    return stack_.execute(std::make_unique<CYbOpenFileCommand>(host_, current, path));
}

void CYbReadingHistory::textWithoutFile() {
    stack_.clear();
}

}  // namespace Yomibon

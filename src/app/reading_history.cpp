#include "app/reading_history.h"

#include <memory>

namespace Yomibon {
namespace {

class CYbGotoPageCommand : public CYbAbCommand {
  public:
    CYbGotoPageCommand(CYbHistoryHost& host, TextPoint from, TextPoint to)
        : host_(host), from_(from), to_(to) {}
    bool execute() override {
        host_.gotoPage(host_.pointToPage(to_));
        return true;
    }
    bool undo() override {
        host_.gotoPage(host_.pointToPage(from_));
        return true;
    }

  private:
    CYbHistoryHost& host_;
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
    stack_.execute(std::make_unique<CYbGotoPageCommand>(host_, host_.pagePoint(host_.currentPage()),
                                                        host_.pagePoint(page)));
}

bool CYbReadingHistory::open(const std::u16string& path) {
    return stack_.execute(std::make_unique<CYbOpenFileCommand>(host_, host_.currentPath(), path));
}

}  // namespace Yomibon

// A modeless window listing pages and labels (bookmarks, headings): sortable columns,
// double-click jumps, the close box hides, and the window rectangle is kept in a setting.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QTreeWidget;
class QVBoxLayout;

namespace Yomibon {

class CYbTxtParam;

class CYbTxtPageListDlg : public QDialog {
  public:
    struct Entry {
        int32_t page = 0;
        std::u16string label;
    };
    using JumpFunc = std::function<void(int32_t page)>;
    using SyncFunc = std::function<void()>;

    // `posKey` names the setting (BookmarkPos, SubtitlePos) whose values 1-4 hold the
    // rectangle.
    CYbTxtPageListDlg(CYbTxtParam& param, std::u16string posKey, QWidget* parent);
    ~CYbTxtPageListDlg() override;

    void setJumpFunc(JumpFunc func) { onJump_ = std::move(func); }
    void setSyncFunc(SyncFunc func) { onSync_ = std::move(func); }

    // Replaces the list; the selected row stays selected when it still exists.
    void setEntries(const std::vector<Entry>& entries);
    // The list position (the entry index given to setEntries) of the selection, or -1.
    int selectedEntry() const;
    // Jumps to the selected entry's page.
    void goSelected();
    QTreeWidget* list() const { return list_; }
    // Before the first showing without a kept rectangle: beside the owner's frame, on the
    // side of the screen where there is room, so that it covers neither menu nor text.
    void placeBeside(const QRect& ownerFrame, const QRect& screen);
    bool placed() const { return placed_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    QVBoxLayout* layout_ = nullptr;

  private:
    void restorePosition();
    CYbTxtParam& param_;
    std::u16string posKey_;
    QTreeWidget* list_ = nullptr;
    std::vector<Entry> entries_;
    bool placed_ = false;
    JumpFunc onJump_;
    SyncFunc onSync_;
};

// Where a window of `size` goes beside `owner` within `screen`: right of it, else left of
// it (top-aligned), else over its right edge below its menu bar; kept on the screen.
QPoint BesidePosition(const QRect& owner, const QSize& size, const QRect& screen);

}  // namespace Yomibon

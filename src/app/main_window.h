// The reader's one window: the page canvas in the client area, the commands that menus,
// keys, mouse and scroll bars reach, the page history and the recent files.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/bookmark_auto_save.h"
#include "app/command_table.h"
#include "app/document_opener.h"
#include "app/qt_string.h"
#include "app/reading_history.h"
#include "app/recent_files.h"
#include "settings/key_bind.h"
#include "text/text_buffer.h"
#include "text/txt_search.h"

class QAction;
class QMenu;
class QScrollBar;
class QTimer;

namespace Yomibon {

class CYbCatalogueIndex;
class CYbDocumentArranger;
class CYbPageCanvas;
class CYbPageView;
class CYbTxtBookmarkDlg;
class CYbTxtDocument;
class CYbTxtParam;
class CYbTxtSubtitleDlg;
class CYbWindowClipboard;

class CYbMainWindow : public QMainWindow, private CYbHistoryHost {
    Q_OBJECT

  public:
    // Answers of message boxes; tests replace the asking.
    using AskFunc = std::function<bool(const std::u16string& text, const std::u16string& caption)>;

    explicit CYbMainWindow(CYbTxtParam& param, QWidget* parent = nullptr);
    ~CYbMainWindow() override;

    // Window creation: settings, key map, flags, then the deferred open of the command line
    // (with history) or of LastFile (without).
    // Without either, `fallback` is opened the same way as LastFile.
    void initialize(const std::u16string& commandLine, const std::u16string& fallback = {});
    static constexpr int kFullScreenId = 40134;

    // Commands by table index, by menu id, by key.
    void runCommand(int index);
    void menuCommand(int id);
    // True when the key map holds the key (even without a handler).
    bool keyDown(const KeyBind& key);
    void wheel(int delta);

    // The one page-move step.
    void gotoPage(int page) override;
    // Sets the rest of a text whose first spread was shown before it was arranged whole.
    void finishArrangement();
    // True while lines of the text are still to be arranged.
    bool arranging() const;
    // Moves through the page history.
    void gotoPageWithHistory(int page);
    // Go-to-page dialog's number: below 0 page 1, past the count the last page.
    void gotoEnteredPage(int entered);

    // Opening.
    void openWithHistory(const std::u16string& path, bool record = true);
    bool openPath(const std::u16string& path) override;
    void openText(const std::u16string& text);
    void reload();

    // Key bindings.
    void setKeyFile(const std::filesystem::path& path) { keyFile_ = path; }
    const std::filesystem::path& keyFile() const { return keyFile_; }
    void buildKeyMap();
    bool leftButtonBound() const;

    // Mouse, in canvas coordinates.
    void leftDown(int x, int y, bool shift);
    void leftUp(int x, int y);
    void pointerMove(int x, int y, bool leftHeld);
    void rightUp(const KeyBind& key);
    void middleUp(const KeyBind& key);
    void forgetPress() { pressX_ = pressY_ = -1; }

    // Scroll bars.
    void horizontalScroll(int action, int position);
    void verticalScroll(int action, int position);

    int currentPage() const override { return page_; }
    // Outside the window the text is seen arranged whole: asking for the page count or the
    // document sets the rest of a text whose first spread was shown before it.
    int pageCount() {
        finishArrangement();
        return pageCount_;
    }
    bool selectionMode() const { return selectionMode_; }
    bool showHScroll() const { return showH_; }
    bool showVScroll() const { return showV_; }
    CYbTxtDocument& document() {
        finishArrangement();
        return *document_;
    }
    CYbPageCanvas& canvas() { return *canvas_; }
    CYbPageView& view() { return *view_; }
    CYbRecentFiles& recentFiles() { return recent_; }
    const CYbPageHistory& history() const { return history_.stack(); }
    CYbTxtParam& param() { return param_; }
    QAction* menuAction(int id) const;
    void setAsk(AskFunc ask) { ask_ = std::move(ask); }
    void setMessageHook(std::function<void(const std::u16string&)> hook) {
        messageHook_ = std::move(hook);
    }
    // Shows a message box captioned "Yomibon" (or the caption) centred over the window.
    void showMessage(const std::u16string& text, const std::u16string& caption = u"Yomibon");
    // A passing note over the page (a bookmark added, a mode switched); it asks nothing.
    void notify(const std::u16string& text);
    const std::u16string& lastNotice() const { return lastNotice_; }
    // Exports the open book as a PDF with a progress dialog; a failure is shown. True
    // when the file was written.
    bool exportPdfTo(const std::u16string& path);
    // Saves the bookmarks to a file of the user's choice; a failure is shown, naming it.
    bool saveBookmarksAs(const std::u16string& path);
    // Writes the state into the settings (the close request's steps).
    void storeState();

    // Search and the list windows.
    CYbTxtSearch& search() { return search_; }
    // Moves to the hit's page (outside the page history) and selects hit..end.
    void showHit(const TextPoint& hit, const TextPoint& end);
    // Repeats the last dialog search; false (after message 40039) when nothing is found.
    bool searchAgain(bool forward);
    // Goes to a list window's page through the page history, then focuses the window.
    void jumpToPage(int32_t page);
    void syncMenuChecks();
    CYbTxtBookmarkDlg* bookmarkDlg() const { return bookmarkDlg_.get(); }
    CYbTxtSubtitleDlg* subtitleDlg() const { return subtitleDlg_.get(); }
    // The page-flip animation's timer (armed only while a leaf turns).
    QTimer* flipTimer() const { return flipTimer_; }
    int flipInterval() const { return flipInterval_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void registerCommands();
    void buildMenus();
    void buildRecentMenu();
    // Gives every item its own mnemonic and keeps its label for the key shown beside it.
    void finishMenus();
    // Shows each item's bound key (after the key map was built).
    void showMenuKeys();
    void returnFocusToPage();
    void showContextMenu(const QPoint& at);
    QMenu* addMenu(const QString& title, std::initializer_list<std::pair<const char*, int>> items);
    void setChecked(int id, bool on);
    void setEnabled(int id, bool on);
    void applySettings();
    void settingsChanged();
    void updateScrollBars();
    void updateTitle();
    void afterOpen(int page);
    // The arrangement in steps (main_window_arrange.cpp).
    void arrangeRestLater();
    // The whole of a text shown from its head is read: it takes the head's place.
    void restRead();
    void adoptRest(bool wait);
    void showTextNotice();
    void arrangeSlice();
    void arrangeThroughPage(int page);
    void arrangementCompleted();
    void autoSaveBookmarks();
    void recordOpen();
    bool chooseFile(const std::u16string& folder, std::u16string& chosen);
    // The reader as the page history sees it.
    std::u16string currentPath() const override;
    TextPoint pagePoint(int page) const override;
    int pointToPage(const TextPoint& point) const override;
    void clearSelection();
    void redraw();
    // The pointer over the page: the text cursor while the selection mode is on.
    void updatePointer();

    // Command handlers.
    void cmdReadFile();
    void cmdReadClipboard();
    void cmdReload() { reload(); }
    void cmdURLOpen();
    void cmdCatalogueOpen();
    void cmdNextPage();
    void cmdPrevPage();
    void cmdFirstPage() { gotoPageWithHistory(0); }
    void cmdEndPage() { gotoPageWithHistory(pageCount_ - 1); }
    void cmdGotoPage();
    void cmdCopy();
    void cmdNothing() {}
    void cmdSaveAsBookmark();
    void cmdAddBookmark();
    void cmdGotoBookmark(int n);
    void cmdSetKeyBind();
    void cmdConfig();
    void cmdExit() { close(); }
    void cmdVersion();
    void cmdScrollBar(int which, int how);
    void cmdHelp();
    void cmdFullScreen();
    void cmdForwardPage() { history_.forward(); }
    void cmdBackPage() { history_.back(); }
    void cmdShowProperty();
    void cmdShowDocInfo();
    void cmdExportPdf();
    void cmdLayoutSet();
    void cmdSearch();
    void cmdShowBookmark();
    void cmdShowSubtitle();

    // Lists and animation.
    void createListWindows();
    void refreshListWindows();
    void updateBookmarkItems();
    void destroyListWindows();
    void readFlipInterval();
    // The first value of a numeric setting, or `fallback` when it has none.
    int32_t firstPoint(const char16_t* key, int32_t fallback) const;
    void flipTick();

    CYbTxtParam& param_;
    CYbDocumentArranger* arranger_ = nullptr;  // owned by the document
    std::unique_ptr<CYbTxtDocument> document_;
    std::unique_ptr<CYbPageCanvas> canvas_;
    std::unique_ptr<CYbWindowClipboard> clipboard_;
    CYbPageView* view_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<int, QAction*> actions_;
    std::vector<std::function<void()>> handlers_;  // by command index
    std::map<KeyBind, int, KeyBindLess> keyMap_;   // command index, -1 for an unknown name
    std::filesystem::path keyFile_;
    CYbReadingHistory history_{*this};
    CYbRecentFiles recent_;
    CYbBookmarkAutoSave autoSave_;
    std::unique_ptr<CYbDocumentOpener> opener_;
    std::u16string pendingPath_;
    int page_ = 0;
    int pageCount_ = 1;
    int flipInterval_ = 0;
    bool selectionMode_ = false;
    bool selecting_ = false;
    bool showH_ = false;
    bool showV_ = false;
    int pressX_ = -1, pressY_ = -1;
    int link_ = -1;
    AskFunc ask_;
    CYbTxtSearch search_;
    std::unique_ptr<CYbTxtBookmarkDlg> bookmarkDlg_;
    std::unique_ptr<CYbTxtSubtitleDlg> subtitleDlg_;
    QTimer* flipTimer_ = nullptr;
    QTimer* arrangeTimer_ = nullptr;  // sets the rest of the text between events
    bool textNoticeShown_ = false;    // the text's notice was shown
    std::function<void(const std::u16string&)> messageHook_;
    std::u16string lastNotice_;
    // The library's catalogue, read once and kept for the next 青空文庫から開く.
    std::shared_ptr<CYbCatalogueIndex> catalogue_;

    // Desktop: full screen, drops.
    void enterFullScreen();
    void leaveFullScreen();
    // Shows the menu or a switched-on scroll bar while the pointer is near its edge.
    void revealInFullScreen(int x, int y);
    void showFullScreenMenu(bool show);
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Opens the pending path (41004) once the current event has returned.
    void openPendingPathLater();
    QRect savedGeometry_;  // the normal rectangle before full screen
    bool savedMaximized_ = false;
    QMenuBar* fullScreenMenu_ = nullptr;  // shares the menus; lies over the page
    int hEdge_ = 0, vEdge_ = 0;           // sizes of the bars revealed in full screen, else 0
};

}  // namespace Yomibon

#include "app/main_window.h"

#include <QAction>
#include <QGridLayout>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>

#include "app/bookmark_dlg.h"
#include "app/page_view.h"
#include "app/subtitle_dlg.h"
#include "app/window_clipboard.h"
#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {

CYbMainWindow::CYbMainWindow(CYbTxtParam& param, QWidget* parent)
    : QMainWindow(parent), param_(param) {
    auto arranger = std::make_unique<CYbDocumentArranger>();
    arranger_ = arranger.get();
    document_ = std::make_unique<CYbTxtDocument>(param_, std::move(arranger));
    document_->setDataFolder(DataFolder());
    clipboard_ = std::make_unique<CYbWindowClipboard>();
    document_->setClipboard(clipboard_.get());
    // Called on the thread that reads the rest of a long text: the news is passed to the
    // window's own thread (and dropped with the window, whose document stops that thread).
    document_->setRestHook([this] {
        QMetaObject::invokeMethod(
            this, [this] { restRead(); }, Qt::QueuedConnection);
    });
    canvas_ = std::make_unique<CYbPageCanvas>(param_);
    canvas_->setDocument(document_.get(), &arranger_->layout());
    opener_ = std::make_unique<CYbDocumentOpener>(
        *document_, DataFolder(),
        CYbDocumentOpener::Hooks{[this](const std::u16string& folder, std::u16string& chosen) {
                                     return chooseFile(folder, chosen);
                                 },
                                 [this](const std::u16string& text) { showMessage(text); },
                                 [this] { afterOpen(arranger_->arrangeForStart(*document_)); }});

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    view_ = new CYbPageView(*this, central);
    hbar_ = new QScrollBar(Qt::Horizontal, central);
    vbar_ = new QScrollBar(Qt::Vertical, central);
    grid->addWidget(view_, 0, 0);
    grid->addWidget(vbar_, 0, 1);
    grid->addWidget(hbar_, 1, 0);
    // The bars start as the settings have them, so that showing the window lays the page out
    // once, not a second time when initialize() hides them.
    showH_ = param_.GetBoolean(u"ShowHScroll");
    showV_ = param_.GetBoolean(u"ShowVScroll");
    hbar_->setVisible(showH_);
    vbar_->setVisible(showV_);
    setCentralWidget(central);
    connect(hbar_, &QScrollBar::actionTriggered, this,
            [this](int action) { horizontalScroll(action, hbar_->sliderPosition()); });
    connect(vbar_, &QScrollBar::actionTriggered, this,
            [this](int action) { verticalScroll(action, vbar_->sliderPosition()); });

    search_.setBuffer(&document_->buffer());
    flipTimer_ = new QTimer(this);
    flipTimer_->setSingleShot(true);
    connect(flipTimer_, &QTimer::timeout, this, [this] { flipTick(); });

    registerCommands();
    buildMenus();
    setWindowTitle(QStringLiteral("Yomibon"));
    setAcceptDrops(true);
    keyFile_ = DataFolder() / "keybind.ini";
}

CYbMainWindow::~CYbMainWindow() {
    destroyListWindows();
    // Leaving the document saves its bookmarks, as closing the window does.
    autoSaveBookmarks();
}

void CYbMainWindow::registerCommands() {
    handlers_.assign(CMD_COUNT, [] {});
    auto set = [this](int index, void (CYbMainWindow::*fn)()) {
        handlers_[size_t(index)] = [this, fn] { (this->*fn)(); };
    };
    set(CMD_ReadFile, &CYbMainWindow::cmdReadFile);
    set(CMD_ReadClipboard, &CYbMainWindow::cmdReadClipboard);
    set(CMD_Reload, &CYbMainWindow::cmdReload);
    set(CMD_URLOpen, &CYbMainWindow::cmdURLOpen);
    set(CMD_CatalogueOpen, &CYbMainWindow::cmdCatalogueOpen);
    set(CMD_NextPage, &CYbMainWindow::cmdNextPage);
    set(CMD_PrevPage, &CYbMainWindow::cmdPrevPage);
    set(CMD_FirstPage, &CYbMainWindow::cmdFirstPage);
    set(CMD_EndPage, &CYbMainWindow::cmdEndPage);
    set(CMD_GotoPage, &CYbMainWindow::cmdGotoPage);
    set(CMD_Copy, &CYbMainWindow::cmdCopy);
    set(CMD_Save, &CYbMainWindow::cmdNothing);
    set(CMD_SaveAsBookmark, &CYbMainWindow::cmdSaveAsBookmark);
    set(CMD_AddBookmark, &CYbMainWindow::cmdAddBookmark);
    for (int n = 1; n <= 10; ++n)
        handlers_[size_t(CMD_GotoBookmark1 + n - 1)] = [this, n] { cmdGotoBookmark(n); };
    set(CMD_SetKeyBind, &CYbMainWindow::cmdSetKeyBind);
    set(CMD_Config, &CYbMainWindow::cmdConfig);
    set(CMD_Exit, &CYbMainWindow::cmdExit);
    set(CMD_Version, &CYbMainWindow::cmdVersion);
    for (int i = 0; i < 6; ++i)  // Show H, Show V, Hide H, Hide V, Toggle H, Toggle V
        handlers_[size_t(CMD_ShowHScrollBar + i)] = [this, i] { cmdScrollBar(i % 2, i / 2); };
    set(CMD_Help, &CYbMainWindow::cmdHelp);
    set(CMD_FullScreen, &CYbMainWindow::cmdFullScreen);
    set(CMD_ForwardPage, &CYbMainWindow::cmdForwardPage);
    set(CMD_BackPage, &CYbMainWindow::cmdBackPage);
    set(CMD_LayoutSet, &CYbMainWindow::cmdLayoutSet);
    set(CMD_ShowProperty, &CYbMainWindow::cmdShowProperty);
    set(CMD_ShowDocInfo, &CYbMainWindow::cmdShowDocInfo);
    set(CMD_ExportPdf, &CYbMainWindow::cmdExportPdf);
    set(CMD_Search, &CYbMainWindow::cmdSearch);
    handlers_[size_t(CMD_SearchNext)] = [this] { searchAgain(true); };
    handlers_[size_t(CMD_SearchPrev)] = [this] { searchAgain(false); };
    set(CMD_ShowBookmark, &CYbMainWindow::cmdShowBookmark);
    set(CMD_ShowSubtitle, &CYbMainWindow::cmdShowSubtitle);
}

void CYbMainWindow::runCommand(int index) {
    // Turning a page sets the lines it needs; anything else sees the whole arrangement.
    if (index != CMD_NextPage && index != CMD_PrevPage) finishArrangement();
    if (index >= 0 && index < int(handlers_.size())) handlers_[size_t(index)]();
}

void CYbMainWindow::menuCommand(int id) {
    int index = FindMenuCommand(id);
    if (index >= 0) return runCommand(index);
    finishArrangement();
    if (id == ID_SELECTION_MODE) {
        selectionMode_ = !selectionMode_;
        setChecked(ID_SELECTION_MODE, selectionMode_);
        if (!selectionMode_) clearSelection();
        updatePointer();
        notify(selectionMode_ ? u"選択モード: オン（クリックでページをめくりません）"
                              : u"選択モード: オフ");
        redraw();
    } else if (id == ID_BOOKMARK_AUTOSAVE) {
        setChecked(ID_BOOKMARK_AUTOSAVE, autoSave_.toggle());
    } else if (id == ID_SettingsChanged || id == ID_LayoutChanged) {
        settingsChanged();
    } else if (id == ID_SyncMenuChecks) {
        syncMenuChecks();
    } else if (id == ID_OpenPendingPath) {
        openWithHistory(pendingPath_);
    } else if (id == ID_OpenPendingPathDirect) {
        openPath(pendingPath_);
    } else if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST) {
        if (const RecentFile* e = recent_.menuEntry(id - ID_RECENT_NONE))
            openWithHistory(RecentFile(*e).path);
    }
}

void CYbMainWindow::initialize(const std::u16string& commandLine, const std::u16string& fallback) {
    recent_.load(param_);
    applySettings();
    buildKeyMap();
    showH_ = param_.GetBoolean(u"ShowHScroll");
    showV_ = param_.GetBoolean(u"ShowVScroll");
    setChecked(40131, showH_);
    setChecked(40132, showV_);
    autoSave_.load(param_);
    setChecked(ID_BOOKMARK_AUTOSAVE, autoSave_.enabled());
    setEnabled(40103, false);
    selectionMode_ = param_.GetBoolean(u"SelectionMode");
    setChecked(ID_SELECTION_MODE, selectionMode_);
    updatePointer();
    readFlipInterval();
    buildRecentMenu();
    updateScrollBars();
    if (firstPoint(u"BookmarkPos", 0) == 1) cmdShowBookmark();
    if (firstPoint(u"SubtitlePos", 0) == 1) cmdShowSubtitle();
    int command = ID_OpenPendingPathDirect;
    if (!commandLine.empty()) {
        pendingPath_ = NormalizePath(commandLine);
        command = ID_OpenPendingPath;
    } else {
        pendingPath_ = param_.GetText(u"LastFile");
        if (pendingPath_.empty()) pendingPath_ = fallback;
    }
    // Deferred, so that the window is shown before the text is read.
    if (!pendingPath_.empty())
        QTimer::singleShot(0, this, [this, command] { menuCommand(command); });
}

void CYbMainWindow::applySettings() {
    canvas_->applySettings();
}

void CYbMainWindow::settingsChanged() {
    applySettings();
    readFlipInterval();
    document_->reloadLayout();
    pageCount_ = document_->getPageCount();
    canvas_->setDocument(document_.get(), &arranger_->layout());
    canvas_->resize(view_->width(), view_->height());
    gotoPage(page_);
    refreshListWindows();
}

void CYbMainWindow::readFlipInterval() {
    flipInterval_ = param_.GetBoolean(u"PageFlip") ? firstPoint(u"PageFlipInterval", 0) : 0;
}

int32_t CYbMainWindow::firstPoint(const char16_t* key, int32_t fallback) const {
    int32_t value = fallback;
    param_.GetPoints(key, 1, &value);
    return value;
}

}  // namespace Yomibon

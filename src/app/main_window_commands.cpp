// The commands that open dialogs or act on the desktop, and closing.
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "app/bookmark_dlg.h"
#include "app/goto_page_dlg.h"
#include "app/key_config_dlg.h"
#include "app/layout_dlg.h"
#include "app/main_window.h"
#include "app/open_url_dlg.h"
#include "app/page_move.h"
#include "app/pdf_export_flow.h"
#include "app/string_table.h"
#include "app/subtitle_dlg.h"
#include "app/text_dialog.h"
#include "app/window_clipboard.h"
#include "layout/bunko_txt_layout.h"
#include "layout/document_arranger.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// The desktop hands a PDF to the application its MIME database names; xdg-open would
// otherwise fail later, out of sight.
bool PdfViewerAvailable() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/pdf")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0)
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

void CYbMainWindow::showMessage(const std::u16string& text, const std::u16string& caption) {
    if (messageHook_) return messageHook_(text);
    // A box with the window as parent is centred over it.
    QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok,
                    this);
    box.exec();
}

void CYbMainWindow::cmdURLOpen() {
    CYbOpenURLDlg dlg(this, document_->getFileName());
    if (dlg.exec() == QDialog::Accepted && !dlg.url().empty()) openWithHistory(dlg.url());
}

void CYbMainWindow::cmdGotoPage() {
    CYbTxtGotoPageDlg dlg(this, page_, pageCount_);
    if (messageHook_) dlg.setMessageFunc(messageHook_);
    // The dialog counts pages as the title bar does, from 1.
    if (dlg.exec() == QDialog::Accepted) gotoEnteredPage(dlg.page() - 1);
}

void CYbMainWindow::cmdCopy() {
    const CYbTxtMapper& mapper = canvas_->mapper();
    if (!mapper.selShown) return;
    TextPoint a = mapper.selStart, b = mapper.selEnd;
    if (b < a) std::swap(a, b);
    b.iPos += 1;  // the end character is part of the selection
    std::u16string text;
    document_->buffer().getText(text, a, b, -1);
    if (!text.empty()) CYbWindowClipboard::setText(text);
}

void CYbMainWindow::cmdSaveAsBookmark() {
    QString filter = ToQString(LoadString(IDS_SIORI_FILES)) + QStringLiteral("(*.siori)");
    QString name = QFileDialog::getSaveFileName(this, ToQString(LoadString(IDS_SAVE_SIORI)),
                                                QStringLiteral("."), filter);
    if (name.isEmpty()) return;
    std::u16string path = FromQString(name);
    std::u16string base = path.substr(path.find_last_of(u'/') + 1);
    if (base.find(u'.') == std::u16string::npos) path += u".siori";
    saveBookmarksAs(path);
}

bool CYbMainWindow::saveBookmarksAs(const std::u16string& path) {
    if (document_->bookmarks().SaveAs(path)) return true;
    showMessage(u"栞を保存できませんでした。\n" + path);
    return false;
}

void CYbMainWindow::cmdAddBookmark() {
    CYbTxtBookmark& bookmarks = document_->bookmarks();
    const int before = bookmarks.EntryCount();
    bookmarks.AddEntry(page_);
    refreshListWindows();
    // Bound to a key (Ctrl+Insert) the command is otherwise silent: say what it did.
    if (bookmarks.EntryCount() == before) {
        notify(u"このページには栞があります。");
        return;
    }
    // The entries are kept in text order: the new one is numbered by its place there.
    TextPoint point{0, 0, 0};
    document_->pageToPoint(page_, point);
    const auto& entries = bookmarks.Entries();
    int number = 0;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].point == point) number = int(i) + 1;
    notify(FormatMessage(u"栞%1!d! を追加しました（%2!d! ページ）",
                         {int64_t(number), int64_t(page_ + 1)}));
}

void CYbMainWindow::cmdGotoBookmark(int n) {
    int page = document_->bookmarks().GetEntryPage(n - 1);
    if (page >= 0) gotoPageWithHistory(page);
}

void CYbMainWindow::cmdSetKeyBind() {
    CYbTxtKeyConfigDlg dlg(this, keyFile_);
    if (dlg.exec() != QDialog::Accepted) return;
    dlg.save();
    buildKeyMap();
}

void CYbMainWindow::cmdVersion() {
    CYbVersionDlg dlg(this);
    dlg.exec();
}

void CYbMainWindow::cmdScrollBar(int which, int how) {
    bool& flag = which == 0 ? showH_ : showV_;
    flag = how == 0 ? true : how == 1 ? false : !flag;
    updateScrollBars();
    setChecked(40131, showH_);
    setChecked(40132, showV_);
}

void CYbMainWindow::cmdHelp() {
    std::filesystem::path help = ProgramFolder() / "Yomibon.pdf";
    // Without a viewer (or the file) the desktop would do nothing visible.
    if (!std::filesystem::exists(help))
        return showMessage(u"ヘルプファイルが見つかりません。\n" + FromFsPath(help));
    if (!PdfViewerAvailable())
        return showMessage(
            u"PDF を表示するアプリケーションが見つかりませんでした。\n"
            u"ヘルプファイルは次の場所にあります:\n" +
            FromFsPath(help));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(help.string()))))
        showMessage(u"ヘルプを開けませんでした。\n" + FromFsPath(help));
}

void CYbMainWindow::cmdFullScreen() {
    if (isFullScreen())
        leaveFullScreen();
    else
        enterFullScreen();
}

void CYbMainWindow::cmdShowProperty() {
    document_->showProperties([this](const std::u16string& path) {
        CYbPropertyDlg dlg(this, path);
        dlg.exec();
    });
}

void CYbMainWindow::cmdShowDocInfo() {
    CYbTxtDocInfoDlg dlg(this, document_->buffer().getInfo());
    dlg.exec();
}

void CYbMainWindow::cmdExportPdf() {
    if (!arranger_) return;
    if (document_->buffer().lines().empty()) return showMessage(u"書き出す文章がありません。");
    CYbPdfExportFlow(this, param_, *document_, arranger_->layout(),
                     [this](const std::u16string& m) { showMessage(m); })
        .run();
}

bool CYbMainWindow::exportPdfTo(const std::u16string& path) {
    if (!arranger_) return false;
    return CYbPdfExportFlow(this, param_, *document_, arranger_->layout(),
                            [this](const std::u16string& m) { showMessage(m); })
               .exportTo(path) == PdfExportStatus::Done;
}

void CYbMainWindow::cmdLayoutSet() {
    if (!arranger_) return;
    // The dialog edits a fresh layout of the document layout's kind, read from the same file,
    // so that a cancelled dialog leaves the document as it was; the document reads the file
    // again on LayoutChanged.
    const CYbCustomTxtLayout& current = arranger_->layout();
    const std::u16string file = current.GetFileName();
    PageKind kind;
    bool fromSettings = false;
    if (!PageKindOfType(current.GetTypeName(), kind)) {
        // No layout file could be read (a per-user data folder starts without one): edit a
        // layout of the kind the settings name, saved where the settings will find it.
        if (!file.empty() || !PageKindOfType(param_.GetText(u"LayoutType"), kind)) return;
        fromSettings = true;
    }
    CYbLayoutDialogRunner host([this, fromSettings, kind] {
        if (fromSettings)
            param_.SetText(u"LayoutFile", kind == PageKind::Bunko ? u"Layout/Bunko.lay"
                                                                  : u"Layout/ShinshoTate2.lay");
        menuCommand(ID_LayoutChanged);
    });
    if (messageHook_)
        host.setMessageFunc(
            [this](const std::u16string& text, const std::u16string&) { messageHook_(text); });
    auto show = [&](CYbTxtLayout& layout) {
        if (!file.empty()) layout.Open(file.c_str());
        layout.ShowSettingsDialog(static_cast<QWidget*>(this), &host);
    };
    if (kind == PageKind::Bunko) {
        CYbBunkoTxtLayout layout;
        show(layout);
    } else {
        CYbShinShoTate2TxtLayout layout;
        show(layout);
    }
}

void CYbMainWindow::storeState() {
    // The last position and the bookmarks are saved with their pages in the whole text.
    finishArrangement();
    recent_.store(param_);
    // The next start opens the book on screen now, whichever way it came back there.
    if (const std::u16string path = currentPath(); !path.empty()) param_.SetText(u"LastFile", path);
    param_.SetBoolean(u"ShowHScroll", showH_);
    param_.SetBoolean(u"ShowVScroll", showV_);
    autoSave_.store(param_);
    param_.SetBoolean(u"SelectionMode", selectionMode_);
    WindowPlacement placement{44, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (param_.GetBoolean(u"SaveWindowSize")) {
        // In full screen the placement from before it is the one to come back to.
        bool full = isFullScreen();
        bool maximized = full ? savedMaximized_ : isMaximized();
        QRect r = full ? savedGeometry_ : maximized ? normalGeometry() : geometry();
        placement = {44,
                     0,
                     maximized ? 3 : 1,
                     0,
                     0,
                     0,
                     0,
                     r.left(),
                     r.top(),
                     r.left() + r.width(),
                     r.top() + r.height()};
        param_.SetBoolean(u"FullScreen", isFullScreen());
        // Value 0 says whether the list window is open; its rectangle is kept.
        const std::pair<const char16_t*, QWidget*> lists[] = {{u"BookmarkPos", bookmarkDlg_.get()},
                                                              {u"SubtitlePos", subtitleDlg_.get()}};
        for (const auto& [key, dlg] : lists) {
            std::vector<int32_t> values = param_.GetPoints(key);
            if (values.empty()) values.push_back(0);
            values[0] = dlg && dlg->isVisible() ? 1 : 0;
            param_.SetPoints(key, values.data(), int(values.size()));
        }
    }
    param_.SetPoints(u"WindowSize", placement.data(), int(placement.size()));
}

void CYbMainWindow::closeEvent(QCloseEvent* event) {
    storeState();
    event->accept();
}

}  // namespace Yomibon

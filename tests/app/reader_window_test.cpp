// The window as a new reader meets it: the fonts offered for vertical text, the go-to-page
// dialog typed into, the kinds the open dialog offers, failed opens that keep the book and
// say why, the page history within and across books, and the book reopened at the next start.
#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/command_table.h"
#include "app/config_style_page.h"
#include "app/goto_page_dlg.h"
#include "app/main_window.h"
#include "app/open_filters.h"
#include "app/page_view.h"
#include "platform/font.h"
#include "platform/font_match.h"
#include "platform/paths.h"
#include "render/char_renderer.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "test_window.h"
#include "text/file_kind.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

std::u16string WriteText(const QTemporaryDir& dir, const char* name, const char* title) {
    std::string text = std::string(title) + "\r\n作者某\r\n\r\n";
    for (int i = 0; i < 300; ++i)
        text += "　これは試しの文章です。同じ行を何度も繰り返します。\r\n";
    std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / name;
    std::ofstream(path, std::ios::binary) << text;
    return FromFsPath(path);
}

// The canvas pixels, to tell whether the page shown changed.
std::vector<uint32_t> Pixels(CYbMainWindow& w) {
    const CYbBitmap& b = w.canvas().bitmap();
    std::vector<uint32_t> out;
    for (int y = 0; y < b.height(); y += 3)
        for (int x = 0; x < b.width(); x += 3)
            out.push_back(b.pixel(x, y));
    return out;
}

bool Contains(const std::u16string& text, std::u16string_view part) {
    return text.find(part) != std::u16string::npos;
}

}  // namespace

class ReaderWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CYbMainWindow> window_;
    std::unique_ptr<CYbTxtParam> param_;
    std::vector<std::u16string> messages_;

    CYbMainWindow& make(std::unique_ptr<CYbTxtParam> param = nullptr) {
        messages_.clear();
        Test::TestWindowOptions options;
        options.param = std::move(param);
        if (options.param) options.param->SetBoolean(u"PageFlip", false);
        options.onMessage = [this](const std::u16string& text) { messages_.push_back(text); };
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }

    // Runs `command`; `inDialog` works on the modal dialog it opens, which is closed after.
    template <class Dialog>
    bool runModal(CYbMainWindow& w, int command, std::function<void(Dialog&)> inDialog) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            ran = true;
            inDialog(*dlg);
            if (dlg->isVisible()) dlg->reject();
        });
        w.runCommand(command);
        return ran;
    }

  private slots:
    void cleanup() {
        window_.reset();
        param_.reset();
    }

    void fontListOffersJapaneseFacesInVerticalForms() {
        const QStringList names = CYbTxtStyleConfig::FontNames();
        if (names.isEmpty()) QSKIP("no Japanese fonts installed");
        std::vector<std::u16string> japanese = JapaneseFontFamilies();
        for (const QString& name : names)
            QVERIFY(std::find(japanese.begin(), japanese.end(), name.toStdU16String()) !=
                    japanese.end());
        // A Latin-only face is not offered.
        QVERIFY(!names.contains(QStringLiteral("DejaVu Sans")));
        CYbTxtParam param;
        CYbTxtStyleConfig page(param);
        for (int i = 0; i < CYbTxtStyleConfig::kFontCount; ++i) {
            QComboBox* box = page.fontBox(i);
            QCOMPARE(box->count(), int(names.size()));
            for (int n = 0; n < box->count(); ++n) {
                const bool vertical = box->itemText(n).startsWith(QLatin1Char('@'));
                QCOMPARE(vertical, CYbTxtStyleConfig::IsVerticalField(i));
            }
        }
        // Faces are listed under their Japanese names, as the settings name them.
        if (CYbTxtStyleConfig::IsInstalledFont(QStringLiteral("IPAexGothic")))
            QVERIFY(page.fontBox(0)->findText(QStringLiteral("@IPAexゴシック")) >= 0);
        if (CYbTxtStyleConfig::IsInstalledFont(QStringLiteral("IPAMincho")))
            QCOMPARE(page.fontBox(0)->findText(QStringLiteral("@IPA明朝")),
                     page.fontBox(0)->currentIndex());
    }

    void plainFaceNameStillSetsUprightVerticalText() {
        if (!CYbTxtStyleConfig::IsInstalledFont(QStringLiteral("IPAexGothic")))
            QSKIP("IPAexGothic not installed");
        std::vector<std::vector<uint32_t>> shots;
        for (const char16_t* face : {u"@IPAexGothic", u"IPAexGothic"}) {
            auto param = std::make_unique<CYbTxtParam>();
            FontParam font = param->GetFont(u"TextFont");
            font.face = face;
            param->SetFont(u"TextFont", font);
            CYbMainWindow& w = make(std::move(param));
            QVERIFY(w.openPath(Sample()));
            LogFont lf;
            QVERIFY(w.canvas().renderers().renderer(0)->getFont(&lf));
            QCOMPARE(lf.lfFaceName, std::u16string(u"@IPAexGothic"));
            shots.push_back(Pixels(w));
        }
        QVERIFY(shots[0] == shots[1]);
    }

    void gotoPageDialogTakesWhatIsTyped() {
        CYbMainWindow& w = make();
        w.openWithHistory(Sample());
        QVERIFY(w.pageCount() > 8);
        bool ran = runModal<CYbTxtGotoPageDlg>(w, CMD_GotoPage, [&](CYbTxtGotoPageDlg& dlg) {
            // One field to type into, holding the focus with its number selected.
            int fields = 0;
            for (QWidget* child : dlg.findChildren<QWidget*>())
                if (child->isVisible() && (qobject_cast<QAbstractSpinBox*>(child) ||
                                           (qobject_cast<QLineEdit*>(child) &&
                                            !qobject_cast<QAbstractSpinBox*>(child->parent()))))
                    ++fields;
            QCOMPARE(fields, 1);
            QCOMPARE(dlg.focusWidget(), static_cast<QWidget*>(dlg.field()));
            QVERIFY(dlg.field()->width() > 60);
            QCOMPARE(dlg.field()->findChild<QLineEdit*>()->selectedText(), QStringLiteral("1"));
            QTest::keyClicks(dlg.focusWidget(), QStringLiteral("7"));
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
            QVERIFY(!dlg.isVisible());
        });
        QVERIFY(ran);
        QCOMPARE(w.currentPage(), 6);  // page 7 as the title counts
        QVERIFY(messages_.empty());

        // Out of range: refused with a message, the dialog stays for another number.
        ran = runModal<CYbTxtGotoPageDlg>(w, CMD_GotoPage, [&](CYbTxtGotoPageDlg& dlg) {
            QCOMPARE(dlg.focusWidget(), static_cast<QWidget*>(dlg.field()));
            QCOMPARE(dlg.field()->findChild<QLineEdit*>()->selectedText(), QStringLiteral("7"));
            QTest::keyClicks(dlg.focusWidget(), QStringLiteral("99999"));
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
            QVERIFY(dlg.isVisible());
            QCOMPARE(int(messages_.size()), 1);
            QVERIFY(Contains(messages_[0], QString::number(w.pageCount()).toStdU16String()));
            QCOMPARE(dlg.focusWidget(), static_cast<QWidget*>(dlg.field()));
            QTest::keyClicks(dlg.focusWidget(), QStringLiteral("3"));
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
            QVERIFY(!dlg.isVisible());
        });
        QVERIFY(ran);
        QCOMPARE(w.currentPage(), 2);
        // Both were history steps.
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.currentPage(), 6);
    }

    void openDialogOffersEveryReadableKind() {
        const QStringList filters = OpenFileFilters();
        QVERIFY(filters.size() >= 6);
        for (const char* pattern :
             {"*.txt", "*.zip", "*.lzh", "*.7z", "*.html", "*.htm", "*.xhtml", "*.siori"})
            QVERIFY2(filters.first().contains(QLatin1String(pattern)), pattern);
        // Each kind alone, and what the open path makes of its names.
        QVERIFY(filters.filter(QStringLiteral("*.txt")).size() == 2);
        QVERIFY(filters.filter(QStringLiteral("*.siori")).size() == 2);
        QCOMPARE(ClassifyFileName(u"a.zip"), FK_ARCHIVE);
        QCOMPARE(ClassifyFileName(u"a.lzh"), FK_ARCHIVE);
        QCOMPARE(ClassifyFileName(u"a.7z"), FK_ARCHIVE);
        QCOMPARE(ClassifyFileName(u"a.siori"), FK_BOOKMARK);
        QCOMPARE(ClassifyFileName(u"a.xhtml"), FK_DOCUMENT);

        CYbMainWindow& w = make();
        bool ran = runModal<QFileDialog>(w, CMD_ReadFile, [&](QFileDialog& dlg) {
            QCOMPARE(dlg.nameFilters(), filters);
            QCOMPARE(dlg.selectedNameFilter(), filters.first());
        });
        QVERIFY(ran);
    }

    void failedOpenKeepsTheBookAndSaysWhy() {
        CYbMainWindow& w = make();
        w.openWithHistory(Sample());
        w.gotoPage(4);
        const QString title = w.windowTitle();
        const std::vector<uint32_t> before = Pixels(w);
        const size_t steps = w.history().doneCount();
        const std::filesystem::path root = dir_.path().toStdString();

        auto expectKept = [&] {
            QCOMPARE(w.document().getFileName(), Sample());
            QCOMPARE(w.currentPage(), 4);
            QCOMPARE(w.windowTitle(), title);
            QVERIFY(Pixels(w) == before);
            QCOMPARE(w.history().doneCount(), steps);
            QCOMPARE(w.param().GetText(u"LastFile"), Sample());
        };
        const std::u16string missing = FromFsPath(root / "どこにもない.txt");
        w.openWithHistory(missing);
        QCOMPARE(int(messages_.size()), 1);
        QVERIFY(Contains(messages_[0], u"見つかりません"));
        QVERIFY(Contains(messages_[0], missing));
        expectKept();

        const std::filesystem::path picture = root / "picture.png";
        std::ofstream(picture, std::ios::binary)
            << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        w.openWithHistory(FromFsPath(picture));
        QCOMPARE(int(messages_.size()), 2);
        QVERIFY(Contains(messages_[1], u"この形式のファイルは開けません"));
        expectKept();

        w.openWithHistory(FromFsPath(root));
        QCOMPARE(int(messages_.size()), 3);
        QVERIFY(Contains(messages_[2], u"フォルダー"));
        expectKept();

        if (geteuid() != 0) {  // the superuser reads every file
            const std::u16string locked = WriteText(dir_, "locked.txt", "鍵の話");
            std::filesystem::permissions(ToFsPath(locked), std::filesystem::perms::none);
            w.openWithHistory(locked);
            QCOMPARE(int(messages_.size()), 4);
            QVERIFY(Contains(messages_[3], u"権限"));
            expectKept();
        }
        // Back still goes where it went before the failures: nothing was recorded.
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.document().getFileName(), Sample());
    }

    void largeJumpsAreHistorySteps() {
        CYbMainWindow& w = make();
        w.openWithHistory(WriteText(dir_, "long.txt", "長い話"));
        QVERIFY(w.pageCount() > 12);
        w.runCommand(CMD_EndPage);
        QCOMPARE(w.currentPage() / 2, (w.pageCount() - 1) / 2);
        QTest::keyClick(&w.view(), Qt::Key_Backspace);
        QCOMPARE(w.currentPage(), 0);
        w.gotoPage(6);  // a turn: not recorded
        w.runCommand(CMD_FirstPage);
        QCOMPARE(w.currentPage(), 0);
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.currentPage(), 6);

        w.gotoPage(4);
        w.runCommand(CMD_AddBookmark);
        w.gotoPage(10);
        w.runCommand(CMD_GotoBookmark1);
        QCOMPARE(w.currentPage(), 4);
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.currentPage(), 10);

        TextPoint far{0, 0, 0};
        QVERIFY(w.document().pageToPoint(12, far));
        w.showHit(far, far);
        QCOMPARE(w.currentPage(), 12);
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.currentPage(), 10);
        QVERIFY(messages_.empty());
    }

    void historyNeverReopensAClipboardTextAndStaysWithItsBook() {
        CYbMainWindow& w = make();
        const std::u16string second = WriteText(dir_, "second.txt", "二つ目の話");
        w.openWithHistory(second);
        w.gotoEnteredPage(4);
        w.openText(u"貼られた話\r\n誰か\r\n\r\n　本文です。\r\n");
        QVERIFY(w.document().getFileName().empty());
        // Back from a text without a file: nothing to go to, and no failed open.
        QTest::keyClick(&w.view(), Qt::Key_Backspace);
        QVERIFY(messages_.empty());
        QVERIFY(w.document().getFileName().empty());
        QVERIFY(w.windowTitle().contains(QStringLiteral("貼られた話")));
        // Opening a file from it is no step back to it either.
        w.openWithHistory(Sample());
        QTest::keyClick(&w.view(), Qt::Key_Backspace);
        QVERIFY(messages_.empty());
        QCOMPARE(w.document().getFileName(), Sample());

        // A page step taken in one book, then another book opened outside the history:
        // going back reopens the first book at the step's page.
        w.gotoEnteredPage(8);
        QCOMPARE(w.currentPage(), 8);
        QVERIFY(w.openPath(second));
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.currentPage(), 0);
        QVERIFY(messages_.empty());
    }

    void lastFileIsTheBookOnScreenAtClose() {
        CYbMainWindow& w = make();
        const std::u16string b = WriteText(dir_, "b.txt", "びいの話");
        w.openWithHistory(b);
        w.openWithHistory(Sample());
        QCOMPARE(w.param().GetText(u"LastFile"), Sample());
        w.runCommand(CMD_BackPage);
        QCOMPARE(w.document().getFileName(), b);
        QVERIFY(w.close());
        QCOMPARE(param_->GetText(u"LastFile"), b);
    }
};

QTEST_MAIN(ReaderWindowTest)
#include "reader_window_test.moc"

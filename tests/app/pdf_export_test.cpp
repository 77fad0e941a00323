// ファイル → PDFに書き出し… in the real window, offscreen: the menu item and its command,
// a written book, a cancelled export that leaves nothing, and the message for a folder
// that cannot be written.
#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include "app/command_table.h"
#include "app/main_window.h"
#include "app/pdf_export_flow.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

}  // namespace

class PdfExportTest : public QObject {
    Q_OBJECT

  private:
    CYbMainWindow& make() {
        Test::TestWindowOptions options;
        options.onMessage = [this](const std::u16string& m) { messages_.push_back(m); };
        messages_.clear();
        CYbMainWindow& w = Test::MakeTestWindow(window_, param_, std::move(options));
        w.openWithHistory(Sample());
        return w;
    }

    std::unique_ptr<CYbMainWindow> window_;
    std::unique_ptr<CYbTxtParam> param_;
    std::vector<std::u16string> messages_;

  private slots:
    void menuItemAndCommand() {
        CYbMainWindow& w = make();
        QAction* item = w.menuAction(40149);
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("PDFに書き出し(&E)…"));
        QCOMPARE(FindCommand(u"ExportPdf"), int(CMD_ExportPdf));
        QCOMPARE(FindMenuCommand(40149), int(CMD_ExportPdf));
        std::u16string name = SuggestedPdfName(w.document());
        QVERIFY(name.ends_with(u"/羅生門.pdf"));
    }

    void writesTheBook() {
        CYbMainWindow& w = make();
        Test::TempDir dir;
        const auto file = dir.path() / "羅生門.pdf";
        QVERIFY(w.exportPdfTo(FromFsPath(file)));
        QVERIFY(messages_.empty());
        std::string bytes = Test::ReadFile(file);
        QVERIFY(bytes.starts_with("%PDF-"));
        QVERIFY(bytes.find("%%EOF") != std::string::npos);
    }

    void cancellingLeavesNoFile() {
        CYbMainWindow& w = make();
        Test::TempDir dir;
        const auto file = dir.path() / "cancelled.pdf";
        // The progress dialog's 中止 while the first pages are being written.
        QTimer::singleShot(0, [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(widget)) p->cancel();
            for (QObject* o : QApplication::allWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(o)) p->cancel();
        });
        QVERIFY(!w.exportPdfTo(FromFsPath(file)));
        QVERIFY(messages_.empty());  // cancelling is not a failure to report
        QVERIFY(!std::filesystem::exists(file));
        QVERIFY(std::filesystem::is_empty(dir.path()));
    }

    void unwritableFolderIsReported() {
        CYbMainWindow& w = make();
        Test::TempDir dir;
        const auto file = dir.path() / "no-such-folder" / "b.pdf";
        QVERIFY(!w.exportPdfTo(FromFsPath(file)));
        QCOMPARE(int(messages_.size()), 1);
        QVERIFY(messages_[0].starts_with(u"このフォルダーには書き込めません。"));
        QVERIFY(messages_[0].find(FromFsPath(file)) != std::u16string::npos);
        QVERIFY(PdfExportFailureMessage(PdfExportStatus::DiskFull, u"x")
                    .starts_with(u"ディスクの空きが足りない"));
        QVERIFY(PdfExportFailureMessage(PdfExportStatus::Cancelled, u"x").empty());
    }
};

QTEST_MAIN(PdfExportTest)
#include "pdf_export_test.moc"

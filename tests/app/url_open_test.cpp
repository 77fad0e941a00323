// Addresses opened in the real window, offscreen, from a loopback server: the library's
// XHTML with its picture drawn on the spread, the open-URL dialog in both modes, and
// failures (404, timeout, 中止 and the icon) that keep the book and page shown.
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/command_table.h"
#include "app/main_window.h"
#include "app/open_url_dlg.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "support/library_site.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

std::string RedPng() {
    QImage image(120, 160, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

CYbOpenURLDlg* ProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<CYbOpenURLDlg*>(w); d && d->inProgress() && d->isVisible())
            return d;
    return nullptr;
}

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

}  // namespace

class UrlOpenTest : public QObject {
    Q_OBJECT

  private:
    CYbMainWindow& make() {
        Test::TestWindowOptions options;
        options.param = std::make_unique<CYbTxtParam>();
        options.param->SetBoolean(u"PageFlip", false);
        options.param->SetBoolean(u"UseIESetting", false);
        options.param->SetBoolean(u"UseProxy", false);
        options.onMessage = [this](const std::u16string& m) { messages_.push_back(m); };
        messages_.clear();
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }
    std::u16string url(const char* path) { return FromUtf8(site_.server.url(path)); }

    // Opens the sample and moves to its fourth spread: what a failed load must keep.
    void readSample(CYbMainWindow& w) {
        w.openWithHistory(Sample());
        QCOMPARE(param_->GetText(u"LastFile"), Sample());
        w.gotoPage(6);
        QCOMPARE(w.currentPage(), 6);
    }
    void sampleStillShown(CYbMainWindow& w) {
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.document().buffer().getTitle(), std::u16string(u"羅生門"));
        QCOMPARE(w.currentPage(), 6);
        QVERIFY(w.windowTitle().contains(QStringLiteral("羅生門")));
        // The window takes input again.
        QVERIFY(w.menuBar()->isEnabled());
        QVERIFY(w.centralWidget()->isEnabled());
        QVERIFY(!ProgressDialog());
    }

    Test::LibrarySite site_{RedPng()};
    std::unique_ptr<CYbMainWindow> window_;
    std::unique_ptr<CYbTxtParam> param_;
    std::vector<std::u16string> messages_;

  private slots:
    void opensTheLibraryXhtmlWithItsPicture() {
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(url(Test::LibrarySite::kXhtml)));
        QVERIFY(messages_.empty());
        QCOMPARE(w.document().buffer().getTitle(), std::u16string(u"走れメロス"));
        QVERIFY(w.windowTitle().contains(QStringLiteral("太宰治")));
        int red = 0;
        for (int page = 0; page <= w.pageCount(); page += 2) {
            w.canvas().drawPage(page);
            red += Test::RedPixels(w.canvas().bitmap());
        }
        QVERIFY2(red > 1000, qPrintable(QString::number(red)));
        QVERIFY(!ProgressDialog());
        QVERIFY(w.menuBar()->isEnabled());
    }

    void progressModeShowsTheAddressAndStopCancelsAtOnce() {
        CYbMainWindow& w = make();
        readSample(w);
        const std::u16string silent = url(Test::LibrarySite::kSilent);
        bool seen = false;
        QTimer::singleShot(450, this, [&] {
            CYbOpenURLDlg* d = ProgressDialog();
            QVERIFY(d);
            seen = true;
            QCOMPARE(d->edit()->text(), ToQString(silent));
            QVERIFY(d->edit()->isReadOnly());
            QVERIFY(d->openButton()->isHidden());
            QVERIFY(d->iconAction());
            QVERIFY(d->frame() > 0);  // the icon turns while the server keeps silent
            QVERIFY(!w.menuBar()->isEnabled());
            QVERIFY(!w.centralWidget()->isEnabled());
            QTest::mouseClick(d->stopButton(), Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!w.openPath(silent));
        QVERIFY(seen);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        // Cancelled by the reader: nothing to tell him.
        QVERIFY(messages_.empty());
        sampleStillShown(w);
    }

    void theIconCancelsToo() {
        CYbMainWindow& w = make();
        readSample(w);
        QTimer::singleShot(300, this, [] {
            if (CYbOpenURLDlg* d = ProgressDialog()) d->iconAction()->trigger();
        });
        QVERIFY(!w.openPath(url(Test::LibrarySite::kSilent)));
        QVERIFY(messages_.empty());
        sampleStillShown(w);
    }

    void failuresNameAddressAndReasonAndKeepThePage() {
        CYbMainWindow& w = make();
        readSample(w);
        const std::u16string missing = url(Test::LibrarySite::kMissing);
        w.openWithHistory(missing);
        QCOMPARE(int(messages_.size()), 1);
        QVERIFY(messages_[0].find(missing) != std::u16string::npos);
        QVERIFY(messages_[0].find(u"404") != std::u16string::npos);
        sampleStillShown(w);

        w.document().netOptions().totalTimeoutMs = 500;
        QVERIFY(!w.openPath(url(Test::LibrarySite::kSilent)));
        QCOMPARE(int(messages_.size()), 2);
        QVERIFY(messages_[1].find(u"時間切れ") != std::u16string::npos);
        QVERIFY(messages_[1].find(url(Test::LibrarySite::kSilent)) != std::u16string::npos);
        sampleStillShown(w);
        // Neither failure became a recent or last file.
        QCOMPARE(param_->GetText(u"LastFile"), Sample());
    }

    void urlOpenCommandOpensTheEnteredAddress() {
        CYbMainWindow& w = make();
        readSample(w);
        const std::u16string page = url(Test::LibrarySite::kXhtml);
        QTimer::singleShot(100, this, [&] {
            auto* d = qobject_cast<CYbOpenURLDlg*>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->url(), Sample());  // starts with the document's path
            d->edit()->setText(ToQString(page));
            QTest::mouseClick(d->openButton(), Qt::LeftButton);
        });
        w.runCommand(CMD_URLOpen);
        QCOMPARE(w.document().getFileName(), page);
        QCOMPARE(w.document().buffer().getTitle(), std::u16string(u"走れメロス"));
        QCOMPARE(param_->GetText(u"LastFile"), page);
        QVERIFY(messages_.empty());
    }
};

QTEST_MAIN(UrlOpenTest)
#include "url_open_test.moc"

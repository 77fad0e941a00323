// 青空文庫から開く in the real window, offscreen, against a catalogue and works served by a
// loopback server: searching as one types, opening a work with Enter (downloaded, unpacked,
// shown and recorded), opening it again from the cache with the server gone; a 404, a broken
// zip and 中止 keep the book and page shown; no network and no catalogue says so.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "app/catalogue_dlg.h"
#include "app/catalogue_model.h"
#include "app/command_table.h"
#include "app/main_window.h"
#include "archive/archive_maker.h"
#include "library/catalogue_index.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "support/catalogue_maker.h"
#include "support/http_test_server.h"
#include "support/test_support.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;

namespace {

const char kMelos[] =
    "走れメロス\r\n太宰治\r\n\r\n　メロスは激怒した。必ず、かの｜邪智暴虐《じゃちぼうぎゃく》"
    "の王を除かなければならぬと決意した。メロスには政治がわからぬ。メロスは、村の牧人である。\r\n";

Test::HttpTestServer::Response Zip(std::string body) {
    Test::HttpTestServer::Response response;
    response.contentType = "application/zip";
    response.body = std::move(body);
    return response;
}

CYbCatalogueDlg* ShownDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<CYbCatalogueDlg*>(w); d && d->isVisible()) return d;
    return nullptr;
}

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

QString StatusOf(CYbCatalogueDlg& d) {
    return d.status()->text();
}

}  // namespace

class CatalogueOpenTest : public QObject {
    Q_OBJECT

  private:
    void serve() {
        server_ = std::make_unique<Test::HttpTestServer>();
        const auto list = dir_.path() / "list.zip";
        QVERIFY(Test::WriteCatalogueZip(
            list, Test::CatalogueCsv(Test::SampleCatalogue(300, server_->url("")))));
        server_->route("/list.zip", Zip(Test::ReadFile(list)));
        const auto work = dir_.path() / "work.zip";
        QVERIFY(Test::WriteZip(work, {{"hashire_merosu.txt", kMelos}}));
        server_->route(Test::SampleTextPath("1567"), Zip(Test::ReadFile(work)));
        listUrl_ = server_->url("/list.zip");
    }
    CYbMainWindow& make() { return make(listUrl_); }
    CYbMainWindow& make(const std::string& list) {
        Test::TestWindowOptions options;
        options.param = std::make_unique<CYbTxtParam>();
        options.param->SetBoolean(u"PageFlip", false);
        options.param->SetText(u"CatalogueURL", FromUtf8(list));
        options.onMessage = [this](const std::u16string& m) { messages_.push_back(m); };
        messages_.clear();
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }
    void readSample(CYbMainWindow& w) {
        w.openWithHistory(Sample());
        w.gotoPage(6);
        QCOMPARE(w.currentPage(), 6);
    }
    void sampleStillShown(CYbMainWindow& w) {
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.currentPage(), 6);
        QVERIFY(w.windowTitle().contains(QStringLiteral("羅生門")));
        QCOMPARE(param_->GetText(u"LastFile"), Sample());
        QVERIFY(messages_.empty());
    }
    // Runs the command; `act` works the dialog once it is shown and idle. The dialog is closed
    // afterwards when `act` left it open.
    void withDialog(CYbMainWindow& w, std::function<void(CYbCatalogueDlg&)> act) {
        bool acted = false;
        auto* poll = new QTimer(this);
        poll->setInterval(20);
        connect(poll, &QTimer::timeout, this, [&, poll] {
            CYbCatalogueDlg* d = ShownDialog();
            if (!d || d->busy() || acted) return;
            poll->stop();
            acted = true;
            act(*d);
            if (ShownDialog()) ShownDialog()->reject();
        });
        poll->start();
        w.runCommand(CMD_CatalogueOpen);
        poll->deleteLater();
        QVERIFY(acted);
    }
    static void type(CYbCatalogueDlg& d, const QString& text) {
        // One character at a time, as an input method commits them (key clicks carry
        // Latin-1 only).
        d.searchField()->clear();
        for (QChar c : text)
            d.searchField()->insert(QString(c));
    }

    Test::TempDir dir_;
    std::unique_ptr<Test::HttpTestServer> server_;
    std::string listUrl_;
    std::unique_ptr<CYbMainWindow> window_;
    std::unique_ptr<CYbTxtParam> param_;
    std::vector<std::u16string> messages_;

  private slots:
    void init() { serve(); }

    void searchesAsOneTypesAndOrdersByColumn() {
        CYbTxtParam param;
        param.SetBoolean(u"UseIESetting", false);
        param.SetBoolean(u"UseProxy", false);
        param.SetText(u"CatalogueURL", FromUtf8(server_->url("/list.zip")));
        CYbCatalogueIndex index;
        CYbCatalogueDlg d(nullptr, param, index, dir_.path() / "data");
        QVERIFY(d.loadCatalogue());
        QCOMPARE(d.model()->rowCount(), 300);
        type(d, QStringLiteral("羅生門"));
        QCOMPARE(d.model()->rowCount(), 1);
        QCOMPARE(d.model()->data(d.model()->index(0, 1), Qt::DisplayRole).toString(),
                 QStringLiteral("芥川竜之介"));
        type(d, QStringLiteral("おつべる"));  // the reading of a katakana title
        QCOMPARE(d.model()->rowCount(), 1);
        QCOMPARE(d.model()->data(d.model()->index(0, 0), Qt::DisplayRole).toString(),
                 QStringLiteral("オツベルと象"));
        type(d, QStringLiteral("ﾀﾞｻﾞｲ"));  // an author's reading, half-width
        QCOMPARE(d.model()->rowCount(), 1);
        QCOMPARE(d.model()->data(d.model()->index(0, 0), Qt::DisplayRole).toString(),
                 QStringLiteral("走れメロス　新釈諸国噺"));
        QCOMPARE(d.model()->data(d.model()->index(0, 3), Qt::DisplayRole).toInt(), 1940);
        QVERIFY(StatusOf(d).contains(QStringLiteral("300 作品中 1 作品")));
        type(d, QStringLiteral("ゆき"));
        const int found = d.model()->rowCount();
        QVERIFY(found > 5);
        d.list()->sortByColumn(CYbCatalogueModel::YEAR, Qt::DescendingOrder);
        QCOMPARE(d.model()->rowCount(), found);
        for (int row = 1; row < found; ++row)
            QVERIFY(d.model()->data(d.model()->index(row - 1, 3), Qt::DisplayRole).toInt() >=
                    d.model()->data(d.model()->index(row, 3), Qt::DisplayRole).toInt());
    }

    void withoutNetworkOrCatalogueTheDialogSaysSo() {
        CYbMainWindow& w = make(server_->url("/no-such-list.zip"));
        readSample(w);
        withDialog(w, [&](CYbCatalogueDlg& d) {
            QCOMPARE(d.model()->rowCount(), 0);
            QVERIFY2(StatusOf(d).contains(QStringLiteral("作品目録を取得できませんでした")),
                     qPrintable(StatusOf(d)));
            QVERIFY(StatusOf(d).contains(QStringLiteral("404")));
            QVERIFY(d.updateButton()->isEnabled());
        });
        sampleStillShown(w);
    }

    void enterOpensTheWorkThenTheCacheServesItOffline() {
        CYbMainWindow& w = make();
        readSample(w);
        withDialog(w, [&](CYbCatalogueDlg& d) {
            type(d, QStringLiteral("めろす"));
            QCOMPARE(d.model()->rowCount(), 1);
            QTest::keyClick(d.searchField(), Qt::Key_Return);
        });
        QCOMPARE(w.document().buffer().getTitle(), std::u16string(u"走れメロス"));
        QVERIFY(w.windowTitle().contains(QStringLiteral("走れメロス")));
        QCOMPARE(w.currentPage(), 0);
        QVERIFY(param_->GetText(u"LastFile") != Sample());  // recorded as a recent file
        QVERIFY(messages_.empty());
        QCOMPARE(server_->hits(Test::SampleTextPath("1567")), 1);

        server_.reset();  // offline: the kept catalogue and the cached work suffice
        CYbMainWindow& again = make();
        readSample(again);
        withDialog(again, [&](CYbCatalogueDlg& d) {
            QCOMPARE(d.model()->rowCount(), 300);
            type(d, QStringLiteral("ハシレ"));
            // Chosen in the list, then Enter there.
            const QModelIndex first = d.model()->index(0, 0);
            QTest::mouseClick(d.list()->viewport(), Qt::LeftButton, {},
                              d.list()->visualRect(first).center());
            QCOMPARE(d.list()->currentIndex().row(), 0);
            d.list()->setFocus();
            QTest::keyClick(d.list(), Qt::Key_Return);
        });
        QCOMPARE(again.document().buffer().getTitle(), std::u16string(u"走れメロス"));
    }

    // A picture of the dialog in use over the window, for the documentation: only when
    // YOMIBON_SHOT_DIR names a folder to write it to.
    void pictureOfTheDialogInUse() {
        const QString folder = qEnvironmentVariable("YOMIBON_SHOT_DIR");
        if (folder.isEmpty()) QSKIP("YOMIBON_SHOT_DIR is not set");
        CYbMainWindow& w = make();
        w.resize(1100, 720);
        readSample(w);
        withDialog(w, [&](CYbCatalogueDlg& d) {
            d.resize(760, 480);
            d.move(w.geometry().center() - QPoint(380, 240));
            type(d, QStringLiteral("ゆき"));
            d.list()->setCurrentIndex(d.model()->index(2, 0));
            QTest::qWait(100);
            QPixmap shot = w.grab();
            QPainter painter(&shot);
            painter.drawPixmap(d.geometry().topLeft() - w.geometry().topLeft(), d.grab());
            painter.end();
            QVERIFY(shot.save(folder + QStringLiteral("/catalogue.png")));
            QVERIFY(d.grab().save(folder + QStringLiteral("/catalogue_dialog.png")));
        });
    }

    void failedDownloadsKeepTheBookShown() {
        CYbMainWindow& w = make();
        readSample(w);
        server_->route(Test::SampleTextPath("466"), Zip("PK\x03\x04 not a zip"));
        Test::HttpTestServer::Response silent;
        silent.neverAnswer = true;
        server_->route(Test::SampleTextPath("1235"), silent);
        withDialog(w, [&](CYbCatalogueDlg& d) {
            type(d, QStringLiteral("羅生門"));  // its zip is not served
            QVERIFY(!d.openSelected());
            QVERIFY(
                StatusOf(d).contains(QStringLiteral("「羅生門」をダウンロードできませんでした")));
            QVERIFY(StatusOf(d).contains(QStringLiteral("404")));
            type(d, QStringLiteral("オツベル"));
            emit d.list()->doubleClicked(d.model()->index(0, 0));  // opens as 開く does
            QVERIFY(d.isVisible());
            QVERIFY(StatusOf(d).contains(QStringLiteral("壊れています")));
            type(d, QStringLiteral("変身"));
            QTimer::singleShot(300, &d, [&d] {
                QVERIFY(d.busy());
                QVERIFY(d.stopButton()->isVisible());
                QTest::mouseClick(d.stopButton(), Qt::LeftButton);
            });
            QVERIFY(!d.openSelected());
            QVERIFY(!d.busy());
            QCOMPARE(StatusOf(d), QStringLiteral("ダウンロードを中止しました。"));
            QVERIFY(d.isVisible());
        });
        sampleStillShown(w);
    }
};

QTEST_MAIN(CatalogueOpenTest)
#include "catalogue_open_test.moc"

// Archives opened from the real window, offscreen: ZIP, 7z and LHA archives holding a
// Shift_JIS text (with a picture beside it), archives with no text or two texts, and
// damaged archives.
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/main_window.h"
#include "app/page_view.h"
#include "archive/archive_maker.h"
#include "archive/archive_open.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "test_window.h"
#include "text/txt_document.h"

using namespace Yomibon;
namespace fs = std::filesystem;

namespace {

using Item = Test::ArchiveItem;  // names with "/" between folders

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ShiftJis(const std::u16string& text) {
    std::string out;
    if (!ConvertFromUtf16(CP_SHIFT_JIS, text, out)) return {};
    return out;
}

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

// The sample with a picture annotation after its title and author lines.
std::string SampleWithPicture(const std::string& picture) {
    std::string text = ReadBytes(ProgramFolder() / "samples" / "rashomon.txt");
    size_t second = text.find("\r\n", text.find("\r\n") + 2) + 2;
    std::u16string note = u"［＃挿絵（" + FromFsPath(picture) + u"）入る］\r\n";
    return text.substr(0, second) + "\r\n" + ShiftJis(note) + text.substr(second);
}

// A solid red PNG: its pixels stand out from paper and ink.
std::string RedPng() {
    QImage image(120, 160, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

bool WriteArchive(const fs::path& path, std::vector<Item> items) {
    const std::string ext = path.extension().string();
    if (ext == ".7z") return Test::Write7z(path, items);
    if (ext != ".lzh") return Test::WriteZip(path, items);
    for (Item& item : items)
        std::replace(item.name.begin(), item.name.end(), '/', '\\');
    WriteBytes(path, Test::MakeLha(items));
    return fs::file_size(path) > 0;
}

// Answers the next file dialog: notes its folder, then picks `file` or cancels.
// It answers only from inside the dialog's own event loop: a dialog closed before its loop
// starts would leave that loop running for ever.
class DialogAnswer : public QObject {
  public:
    explicit DialogAnswer(QString file) : file_(std::move(file)) {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }
    bool answered() const { return answered_; }
    QString folder() const { return folder_; }

  private:
    void answer() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog || !dialog->isVisible() || QThread::currentThread()->loopLevel() < 1)
                continue;
            timer_.stop();
            answered_ = true;
            folder_ = dialog->directory().absolutePath();
            if (file_.isEmpty()) {
                dialog->reject();
            } else {
                // As the user types it: selectFile leaves a focused name field alone.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (name) name->setText(file_);
                static_cast<QDialog*>(dialog)->accept();
            }
            return;
        }
    }

    QString file_;
    QString folder_;
    QTimer timer_;
    bool answered_ = false;
};

}  // namespace

class ArchiveOpenTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CYbTxtParam> param_;
    std::unique_ptr<CYbMainWindow> window_;
    std::vector<std::u16string> messages_;
    std::vector<fs::path> archives_;

    CYbMainWindow& make() {
        messages_.clear();
        Test::TestWindowOptions options;
        options.keyFile = fs::path(dir_.path().toStdString()) / "k.ini";
        options.onMessage = [this](const std::u16string& text) { messages_.push_back(text); };
        return Test::MakeTestWindow(window_, param_, std::move(options));
    }

    // An archive in the temporary folder, named so that its extraction folder under the
    // data folder belongs to this run.
    fs::path archive(const std::string& name, const std::vector<Item>& items) {
        const std::string unique =
            "yb-test-" + std::to_string(QCoreApplication::applicationPid()) + "-" + name;
        fs::path path = fs::path(dir_.path().toStdString()) / unique;
        if (!WriteArchive(path, items)) return {};
        archives_.push_back(path);
        return path;
    }

    static std::u16string folderOf(const fs::path& archive) {
        return ArchiveFolder(FromFsPath(archive), DataFolder());
    }

  private slots:
    void cleanup() {
        window_.reset();
        param_.reset();
        std::error_code ec;
        fs::current_path(fs::temp_directory_path(), ec);
        for (const fs::path& path : archives_) {
            const std::u16string folder = folderOf(path);
            if (!folder.empty()) fs::remove_all(ToFsPath(folder), ec);
        }
        archives_.clear();
    }

    void opensTheTextOfEachKind_data() {
        QTest::addColumn<QString>("extension");
        QTest::newRow("zip") << "zip";
        QTest::newRow("7z") << "7z";
        QTest::newRow("lzh") << "lzh";
    }

    void opensTheTextOfEachKind() {
        QFETCH(QString, extension);
        const std::string text = ReadBytes(ProgramFolder() / "samples" / "rashomon.txt");
        QVERIFY(!text.empty());
        const fs::path zip =
            archive("rashomon." + extension.toStdString(),
                    {{"rashomon/readme.html", "<p>"}, {"rashomon/rashomon.txt", text}});
        QVERIFY(!zip.empty());
        CYbMainWindow& w = make();
        w.openWithHistory(FromFsPath(zip));
        QVERIFY(messages_.empty());
        const std::u16string expected = folderOf(zip) + u"rashomon/rashomon.txt";
        QCOMPARE(w.document().getFileName(), expected);
        QCOMPARE(ReadBytes(ToFsPath(expected)), text);
        QVERIFY(w.pageCount() > 1);
        QCOMPARE(w.currentPage(), 0);
        QVERIFY2(w.windowTitle().startsWith(QStringLiteral("Yomibon 羅生門 - 芥川龍之介 (1/")),
                 qPrintable(w.windowTitle()));
        // What is recorded is the text that was opened, not the archive.
        QCOMPARE(w.param().GetText(u"LastFile"), expected);
        QTest::keyClick(&w.view(), Qt::Key_Left);
        QCOMPARE(w.currentPage(), 2);
    }

    void findsThePictureBesideTheText() {
        const std::string text = SampleWithPicture("fig1.png");
        const fs::path with =
            archive("picture.zip", {{"r/fig1.png", RedPng()}, {"r/rashomon.txt", text}});
        const fs::path without = archive("nopicture.zip", {{"r/rashomon.txt", text}});
        QVERIFY(!with.empty() && !without.empty());
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(FromFsPath(without)));
        QVERIFY(w.pageCount() > 1);
        int redWithout = 0;
        for (int page = 0; page < std::min(w.pageCount(), 6); page += 2) {
            w.canvas().drawPage(page);
            redWithout += Test::RedPixels(w.canvas().bitmap());
        }
        QCOMPARE(redWithout, 0);
        // The text is read from another folder first: the picture must still be found
        // beside the text, not in whatever folder happens to be current.
        QVERIFY(w.openPath(Sample()));
        QVERIFY(w.openPath(FromFsPath(with)));
        QCOMPARE(w.document().getFileName(), folderOf(with) + u"r/rashomon.txt");
        int redWith = 0;
        for (int page = 0; page < std::min(w.pageCount(), 6); page += 2) {
            w.canvas().drawPage(page);
            redWith += Test::RedPixels(w.canvas().bitmap());
        }
        QVERIFY2(redWith > 1000, qPrintable(QString::number(redWith)));
    }

    void noTextOffersTheFolderAndKeepsTheDocument() {
        const fs::path none = archive("none.zip", {{"fig1.png", RedPng()}, {"a.html", "<p>"}});
        QVERIFY(!none.empty());
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.gotoPage(4);
        DialogAnswer cancel{QString()};
        QVERIFY(!w.openPath(FromFsPath(none)));
        QVERIFY(cancel.answered());
        QVERIFY(messages_.empty());
        const QString folder = QDir(QString::fromStdU16String(folderOf(none))).absolutePath();
        QCOMPARE(cancel.folder(), folder);
        QVERIFY(fs::exists(ToFsPath(folderOf(none)) / "fig1.png"));
        // The extraction folder stays current, where the next file dialog starts.
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.currentPage(), 4);
    }

    void twoTextsLetTheUserChoose() {
        const std::string text = ReadBytes(ProgramFolder() / "samples" / "rashomon.txt");
        const std::string other = ShiftJis(u"別の話\r\n誰か\r\n\r\n短い本文。\r\n");
        const fs::path two = archive("two.zip", {{"a/rashomon.txt", text}, {"other.txt", other}});
        QVERIFY(!two.empty());
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        DialogAnswer pick{QStringLiteral("other.txt")};
        QVERIFY(w.openPath(FromFsPath(two)));
        QVERIFY(pick.answered());
        QCOMPARE(pick.folder(), QDir(QString::fromStdU16String(folderOf(two))).absolutePath());
        QCOMPARE(w.document().getFileName(), folderOf(two) + u"other.txt");
        QVERIFY2(w.windowTitle().startsWith(QStringLiteral("Yomibon 別の話 - 誰か")),
                 qPrintable(w.windowTitle()));
        QVERIFY(messages_.empty());
    }

    void damagedArchivesReportAndKeepTheDocument_data() {
        QTest::addColumn<QString>("extension");
        QTest::newRow("zip") << "zip";
        QTest::newRow("7z") << "7z";
        QTest::newRow("lzh") << "lzh";
    }

    void damagedArchivesReportAndKeepTheDocument() {
        QFETCH(QString, extension);
        const std::string text = ReadBytes(ProgramFolder() / "samples" / "rashomon.txt");
        const std::string name = "damaged." + extension.toStdString();
        const fs::path path = archive(name, {{"a.txt", text}, {"b/b.txt", text}});
        QVERIFY(!path.empty());
        const std::string whole = ReadBytes(path);
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.gotoPage(2);
        for (size_t cut : {size_t(0), size_t(40), whole.size() / 3, whole.size() / 2}) {
            WriteBytes(path, whole.substr(0, cut));
            messages_.clear();
            QVERIFY(!w.openPath(FromFsPath(path)));
            QCOMPARE(int(messages_.size()), 1);
            const QString shown = QString::fromStdU16String(messages_.front());
            QVERIFY2(shown.startsWith(QStringLiteral("書庫ファイル(") +
                                      QString::fromStdString(path.string()) + QStringLiteral(")")),
                     qPrintable(shown));
            QVERIFY2(shown.endsWith(QStringLiteral("の形式はサポート対象外です。")) ||
                         shown.endsWith(QStringLiteral("の読み込みに失敗しました。")),
                     qPrintable(shown));
            QCOMPARE(w.document().getFileName(), Sample());
            QCOMPARE(w.currentPage(), 2);
        }
    }

    // A zip bomb (a small archive that would unpack to far more than its own size) stops at
    // the limits with its message; the reader keeps the text it had open and turns pages.
    void zipBombReportsAndKeepsTheDocument() {
        std::vector<Item> items;
        for (int i = 0; i < 5; ++i)
            items.push_back({"zeros" + std::to_string(i) + ".txt", std::string(20 << 20, '0')});
        const fs::path path = archive("bomb.zip", items);
        QVERIFY(!path.empty());
        QVERIFY(fs::file_size(path) < (1u << 20));
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(Sample()));
        w.gotoPage(2);
        messages_.clear();
        QVERIFY(!w.openPath(FromFsPath(path)));
        QCOMPARE(int(messages_.size()), 1);
        const QString shown = QString::fromStdU16String(messages_.front());
        QVERIFY2(shown.contains(QStringLiteral("展開すると大きすぎる")), qPrintable(shown));
        QVERIFY(shown.contains(QString::fromStdString(path.string())));
        QCOMPARE(w.document().getFileName(), Sample());
        QCOMPARE(w.currentPage(), 2);
        w.gotoPage(4);
        QCOMPARE(w.currentPage(), 4);
    }

    void opensALibraryZip() {
        const fs::path corpus = Test::CorpusDir();
        if (corpus.empty()) QSKIP("no corpus");
        const fs::path zip = corpus / "dazai-hashire-merosu" / "1567_ruby_4948.zip";
        // A corpus without this work is a corpus laid out otherwise: say so, do not skip.
        QVERIFY2(fs::exists(zip), zip.c_str());
        const fs::path copy = fs::path(dir_.path().toStdString()) /
                              ("yb-test-" + std::to_string(QCoreApplication::applicationPid()) +
                               "-1567_ruby_4948.zip");
        fs::copy_file(zip, copy);
        archives_.push_back(copy);
        CYbMainWindow& w = make();
        QVERIFY(w.openPath(FromFsPath(copy)));
        QCOMPARE(w.document().getFileName(), folderOf(copy) + u"hashire_merosu.txt");
        QVERIFY(w.pageCount() > 10);
        QVERIFY2(w.windowTitle().startsWith(QStringLiteral("Yomibon 走れメロス - 太宰治 (1/")),
                 qPrintable(w.windowTitle()));
    }
};

QTEST_MAIN(ArchiveOpenTest)
#include "archive_open_test.moc"

// The window's jobs that run without a window: the page history over a reader, the bookmark
// auto-save, the open path (files, archives, failures) and what a drop brings.
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/bookmark_auto_save.h"
#include "app/document_opener.h"
#include "app/drop_reader.h"
#include "app/reading_history.h"
#include "app/recent_files.h"
#include "app/settings_exit_save.h"
#include "archive/archive_maker.h"
#include "platform/paths.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

using namespace Yomibon;
namespace fs = std::filesystem;

namespace {

// A reader of files named "a", "b", ...: each file has 100 pages, a position's line is its
// page; a path beginning with "bad" cannot be opened.
class FakeReader : public CYbHistoryHost {
  public:
    int currentPage() const override { return page; }
    void gotoPage(int p) override {
        page = p;
        moves.push_back(p);
    }
    bool openPath(const std::u16string& path) override {
        opened.push_back(path);
        if (path.rfind(u"bad", 0) == 0) return false;
        file = path;
        page = 1;
        return true;
    }
    std::u16string currentPath() const override { return file; }
    TextPoint pagePoint(int p) const override { return TextPoint{p, 0, 0}; }
    int pointToPage(const TextPoint& point) const override { return point.iLine; }

    std::u16string file = u"a";
    int page = 1;
    std::vector<int> moves;
    std::vector<std::u16string> opened;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

const std::string kText = "走れメロス\n太宰治\n\nメロスは激怒した。\n";

std::u16string U16(const fs::path& path) {
    return FromFsPath(path);
}

}  // namespace

class WindowLogicTest : public QObject {
    Q_OBJECT

  private slots:
    void historyStepsBackAndForthByPosition() {
        FakeReader reader;
        CYbReadingHistory history(reader);
        history.gotoPage(7);
        history.gotoPage(21);
        QCOMPARE(reader.page, 21);
        QVERIFY(history.back());
        QCOMPARE(reader.page, 7);
        QVERIFY(history.back());
        QCOMPARE(reader.page, 1);
        QVERIFY(!history.back());
        QVERIFY(history.forward());
        QCOMPARE(reader.page, 7);
        // A new step drops what was undone.
        history.gotoPage(3);
        QVERIFY(!history.forward());
        QCOMPARE(int(history.stack().doneCount()), 2);
    }

    void historyReopensThePreviousFileAtItsPage() {
        FakeReader reader;
        CYbReadingHistory history(reader);
        reader.page = 41;
        QVERIFY(history.open(u"b"));
        QCOMPARE(reader.file, std::u16string(u"b"));
        reader.gotoPage(9);
        QVERIFY(history.back());
        QCOMPARE(reader.file, std::u16string(u"a"));
        QCOMPARE(reader.page, 41);
        QVERIFY(history.forward());
        QCOMPARE(reader.file, std::u16string(u"b"));
        QCOMPARE(reader.page, 9);
        // A failed open is reported and not recorded: Back still returns to "a".
        const size_t steps = history.stack().doneCount();
        QVERIFY(!history.open(u"bad"));
        QCOMPARE(reader.opened.back(), std::u16string(u"bad"));
        QCOMPARE(history.stack().doneCount(), steps);
        QVERIFY(history.back());
        QCOMPARE(reader.file, std::u16string(u"a"));
    }

    void historyStepsStayWithTheirBook() {
        FakeReader reader;
        CYbReadingHistory history(reader);
        history.gotoPage(30);
        // Another book comes on screen outside the history: Back reopens the step's book.
        QVERIFY(reader.openPath(u"b"));
        QVERIFY(history.back());
        QCOMPARE(reader.file, std::u16string(u"a"));
        QCOMPARE(reader.page, 1);
        QVERIFY(history.forward());
        QCOMPARE(reader.page, 30);

        // A text without a file: the steps so far are dropped, and opening a file from it is
        // no step back to it.
        reader.file.clear();
        history.textWithoutFile();
        QVERIFY(!history.back());
        QVERIFY(history.open(u"c"));
        QCOMPARE(int(history.stack().doneCount()), 0);
        QVERIFY(!history.back());
        QCOMPARE(reader.file, std::u16string(u"c"));
        // A step taken in a text without a file cannot bring it back once it is gone.
        reader.file.clear();
        history.gotoPage(12);
        QVERIFY(reader.openPath(u"d"));
        const size_t opens = reader.opened.size();
        QVERIFY(history.back());
        QCOMPARE(reader.opened.size(), opens);
        QCOMPARE(reader.file, std::u16string(u"d"));
    }

    void autoSaveWritesTheLastPageBesideTheText() {
        QTemporaryDir dir;
        fs::path text = fs::path(dir.path().toStdString()) / "melos.txt";
        WriteFile(text, kText);
        CYbTxtParam param;
        param.SetBoolean(u"BookMarkToFolder", false);
        CYbTxtDocument document(param);
        document.setDataFolder(dir.path().toStdString());
        CYbBookmarkAutoSave autoSave;
        autoSave.setEnabled(true);
        // Nothing open: nothing to keep.
        QCOMPARE(autoSave.save(document, 0), CYbBookmarkAutoSave::NOTHING_TO_SAVE);
        QVERIFY(document.openFile(U16(text)));
        autoSave.setEnabled(false);
        QCOMPARE(autoSave.save(document, 0), CYbBookmarkAutoSave::NOTHING_TO_SAVE);
        QVERIFY(!fs::exists(text.string() + ".siori"));
        autoSave.setEnabled(true);
        QCOMPARE(autoSave.save(document, 0), CYbBookmarkAutoSave::SAVED);
        QVERIFY(fs::file_size(text.string() + ".siori") > 0);
        QCOMPARE(document.bookmarks().LastPosition().page, 0);
        // A folder where the bookmark file goes: the save fails and says so.
        fs::remove(text.string() + ".siori");
        fs::create_directory(text.string() + ".siori");
        QCOMPARE(autoSave.save(document, 0), CYbBookmarkAutoSave::FAILED);
    }

    void autoSaveSwitchTravelsThroughTheSettings() {
        CYbTxtParam param;
        CYbBookmarkAutoSave autoSave;
        param.SetBoolean(u"BookMarkAutoSave", false);
        autoSave.load(param);
        QVERIFY(!autoSave.enabled());
        QVERIFY(autoSave.toggle());
        autoSave.store(param);
        QVERIFY(param.GetBoolean(u"BookMarkAutoSave"));
    }

    void openerLoadsAFileAndReportsAFailure() {
        QTemporaryDir dir;
        fs::path root = dir.path().toStdString();
        WriteFile(root / "melos.txt", kText);
        CYbTxtParam param;
        CYbTxtDocument document(param);
        std::vector<std::u16string> messages;
        int loads = 0;
        CYbDocumentOpener opener(document, root,
                                 {nullptr,
                                  [&](const std::u16string& m) {
                                      // A failed load rebuilds nothing: the page stays.
                                      QCOMPARE(loads, 0);
                                      messages.push_back(m);
                                  },
                                  [&] { ++loads; }});
        QCOMPARE(opener.open(U16(root / "melos.txt")), CYbDocumentOpener::OPENED);
        QCOMPARE(document.buffer().getTitle(), std::u16string(u"走れメロス"));
        QVERIFY(messages.empty());
        loads = 0;
        std::u16string missing = U16(root / "missing.txt");
        QCOMPARE(opener.open(missing), CYbDocumentOpener::FAILED);
        QCOMPARE(int(messages.size()), 1);
        QVERIFY(messages[0].find(missing) != std::u16string::npos);
        QCOMPARE(document.buffer().getTitle(), std::u16string(u"走れメロス"));
    }

    void openerUnpacksAnArchiveOrLetsTheUserChoose() {
        QTemporaryDir dir;
        fs::path root = dir.path().toStdString();
        QVERIFY(Test::WriteZip(root / "one.zip", {{"melos.txt", kText}}));
        QVERIFY(Test::WriteZip(root / "two.zip", {{"a.txt", kText}, {"b.txt", "b\n"}}));
        WriteFile(root / "broken.zip", "PK\x03\x04 not really");
        CYbTxtParam param;
        CYbTxtDocument document(param);
        std::vector<std::u16string> messages, folders;
        std::u16string pick;
        int loads = 0;
        CYbDocumentOpener opener(
            document, root,
            {[&](const std::u16string& folder, std::u16string& chosen) {
                 folders.push_back(folder);
                 chosen = pick.empty() ? chosen : folder + pick;
                 return !pick.empty();
             },
             [&](const std::u16string& m) { messages.push_back(m); }, [&] { ++loads; }});
        QCOMPARE(opener.open(U16(root / "one.zip")), CYbDocumentOpener::OPENED);
        QVERIFY(folders.empty());
        QCOMPARE(document.buffer().getTitle(), std::u16string(u"走れメロス"));
        QVERIFY(document.getFileName().find(u"/Archive/one.zip/") != std::u16string::npos);
        // Two texts: the user chooses; cancelling leaves the document as it was.
        QCOMPARE(opener.open(U16(root / "two.zip")), CYbDocumentOpener::UNCHANGED);
        QCOMPARE(int(folders.size()), 1);
        QCOMPARE(document.buffer().getTitle(), std::u16string(u"走れメロス"));
        pick = u"b.txt";
        QCOMPARE(opener.open(U16(root / "two.zip")), CYbDocumentOpener::OPENED);
        QVERIFY(document.getFileName().ends_with(u"two.zip/b.txt"));
        QCOMPARE(loads, 2);
        // A damaged archive: its message, and the document stays.
        QCOMPARE(opener.open(U16(root / "broken.zip")), CYbDocumentOpener::UNCHANGED);
        QCOMPARE(int(messages.size()), 1);
        QVERIFY(document.getFileName().ends_with(u"two.zip/b.txt"));
        QCOMPARE(loads, 2);
    }

    void recordOpenedNamesTheNextStartsFile() {
        CYbTxtParam param;
        CYbRecentFiles recent;
        QVERIFY(!recent.recordOpened(param, u"", u"t", u"a"));
        QVERIFY(recent.entries().empty());
        QVERIFY(recent.recordOpened(param, u"/x/a.txt", u"題", u"著者"));
        QVERIFY(recent.recordOpened(param, u"/x/b.txt", u"", u""));
        QVERIFY(recent.recordOpened(param, u"/x/a.txt", u"題", u"著者"));
        QCOMPARE(param.GetText(u"LastFile"), std::u16string(u"/x/a.txt"));
        QCOMPARE(param.GetText(u"LastFolder"), std::u16string(u"/x/a.txt"));
        QCOMPARE(int(recent.entries().size()), 2);
        QCOMPARE(recent.menuEntry(1)->label, std::u16string(u"題:著者"));
    }

    void settingsSaveAtExitAsksUntilSavedOrDiscarded() {
        QTemporaryDir dir;
        fs::path root = dir.path().toStdString();
        // A folder at the settings file's name: every save there fails.
        fs::path file = root / "Yomibon.ini";
        fs::create_directories(file / "inside");
        CYbTxtParam param;
        param.SetText(u"LastFile", u"/本/羅生門.txt");
        std::vector<std::u16string> asked;
        auto retryThenElsewhere = [&](const std::u16string& message) {
            asked.push_back(message);
            if (asked.size() == 1) return SettingsSaveChoice{SettingsSaveChoice::RETRY, {}};
            return SettingsSaveChoice{SettingsSaveChoice::SAVE_AS, root / "other.ini"};
        };
        QVERIFY(SaveSettingsAtExit(param, file, retryThenElsewhere));
        QCOMPARE(int(asked.size()), 2);
        QVERIFY(asked[0].find(FromFsPath(file)) != std::u16string::npos);
        CYbTxtParam back;
        QVERIFY(back.Load(root / "other.ini"));
        QCOMPARE(back.GetText(u"LastFile"), std::u16string(u"/本/羅生門.txt"));
        // Leaving them unsaved is the user's choice, and reported as unsaved.
        int asks = 0;
        QVERIFY(!SaveSettingsAtExit(param, file, [&](const std::u16string&) {
            ++asks;
            return SettingsSaveChoice{SettingsSaveChoice::DISCARD, {}};
        }));
        QCOMPARE(asks, 1);
        QVERIFY(fs::is_directory(file / "inside"));
        // A save that succeeds asks nothing.
        QVERIFY(SaveSettingsAtExit(param, root / "fine.ini", nullptr));
    }

    void dropsAreReadInTheirOrderOfPreference() {
        QMimeData empty;
        QVERIFY(!OffersDrop(&empty));
        QVERIFY(!OffersDrop(nullptr));
        QCOMPARE(ReadDrop(empty).kind, DroppedItem::NOTHING);

        QMimeData both;
        both.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/メロス.txt"))});
        both.setText(QStringLiteral("not this"));
        DroppedItem item = ReadDrop(both);
        QCOMPARE(item.kind, DroppedItem::PATH);
        QCOMPARE(item.value, std::u16string(u"/tmp/メロス.txt"));

        QMimeData remote;
        remote.setUrls({QUrl(QStringLiteral("https://example.org/a b.txt"))});
        QCOMPARE(ReadDrop(remote).value, std::u16string(u"https://example.org/a%20b.txt"));

        // Firefox's link format is UTF-16 with the title on the second line.
        QMimeData moz;
        std::u16string line = u"https://example.org/x.zip\ntitle";
        moz.setData(
            QStringLiteral("text/x-moz-url"),
            QByteArray(reinterpret_cast<const char*>(line.data()), qsizetype(line.size() * 2)));
        QVERIFY(OffersDrop(&moz));
        QCOMPARE(ReadDrop(moz).value, std::u16string(u"https://example.org/x.zip"));

        QMimeData text;
        text.setText(QStringLiteral("［＃ここから２字下げ］本文"));
        item = ReadDrop(text);
        QCOMPARE(item.kind, DroppedItem::TEXT);
        QCOMPARE(item.value, std::u16string(u"［＃ここから２字下げ］本文"));

        QMimeData blank;
        blank.setText(QString());
        QCOMPARE(ReadDrop(blank).kind, DroppedItem::UNREADABLE);
    }

    void aDroppedLinkFileStandsForItsUrl() {
        QTemporaryDir dir;
        fs::path link = fs::path(dir.path().toStdString()) / "work.url";
        WriteFile(
            link,
            "[InternetShortcut]\r\nURL=https://www.aozora.gr.jp/cards/000035/card1567.html\r\n");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(link.string()))});
        QCOMPARE(ReadDrop(data).value,
                 std::u16string(u"https://www.aozora.gr.jp/cards/000035/card1567.html"));
    }
};

QTEST_MAIN(WindowLogicTest)
#include "window_logic_test.moc"

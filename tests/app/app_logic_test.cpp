// The window's decisions that need no window: key codes, the command table, the strings,
// page clamping, scroll bars, title, placement, recent files and the history stacks.
#include <QTest>

#include "app/command_table.h"
#include "app/page_history.h"
#include "app/page_move.h"
#include "app/recent_files.h"
#include "app/string_table.h"
#include "app/virtual_key.h"
#include "settings/key_bind.h"
#include "settings/txt_param.h"

using namespace Yomibon;

namespace {

class Counter : public CYbAbCommand {
  public:
    Counter(int& value, int step) : value_(value), step_(step) {}
    bool execute() override { return (value_ += step_), true; }
    bool undo() override { return (value_ -= step_), true; }

  private:
    int& value_;
    int step_;
};

}  // namespace

class AppLogicTest : public QObject {
    Q_OBJECT

  private slots:
    void virtualKeys() {
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_O), 0x4Fu);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_0), 0x30u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_F3), 0x72u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_F1), 0x70u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Left), 0x25u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Down), 0x28u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_PageDown), 0x22u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Home), 0x24u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Space), 0x20u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Backspace), 0x08u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Return), 0x0Du);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Enter), 0x0Du);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Escape), 0x1Bu);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Insert), 0x2Du);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Backtab), 0x09u);
        // Shift+1 arrives as "!"; the binding names the key, not the symbol.
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Exclam), 0x31u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Comma), 0xBCu);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_5, true), 0x65u);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Plus, true), 0x6Bu);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_Plus, false), 0xBBu);
        QCOMPARE(VirtualKeyFromQtKey(Qt::Key_unknown), 0u);
    }

    void commandTable() {
        QCOMPARE(int(CommandTable().size()), 47);
        QCOMPARE(FindCommand(u"NextPage"), int(CMD_NextPage));
        QCOMPARE(FindCommand(u"nextpage"), -1);
        QCOMPARE(FindCommand(u"ShowDocInfo"), 44);
        QCOMPARE(FindCommand(u"CatalogueOpen"), 45);
        QCOMPARE(FindMenuCommand(40006), int(CMD_CatalogueOpen));
        QCOMPARE(FindMenuCommand(8), int(CMD_Exit));
        QCOMPARE(FindMenuCommand(40108), int(CMD_GotoBookmark0));
        QCOMPARE(FindMenuCommand(0), -1);
        QCOMPARE(FindMenuCommand(40005), -1);  // selection mode has no table entry
        const std::vector<int>& list = KeyDialogCommands();
        QCOMPARE(int(list.size()), 45);
        QCOMPARE(list.front(), int(CMD_ReadFile));
        QCOMPARE(list[3], int(CMD_URLOpen));
        QCOMPARE(list[4], int(CMD_CatalogueOpen));
        QCOMPARE(list[5], int(CMD_ExportPdf));
        QCOMPARE(list[12], int(CMD_GotoBookmark1));
        QCOMPARE(list[21], int(CMD_GotoBookmark0));
        QCOMPARE(list.back(), int(CMD_ShowDocInfo));
        for (int index : list)
            QVERIFY(CommandTable()[size_t(index)].labelId != 0);
        // Every default binding names a command of the table.
        KeyBindTable defaults;
        DefaultKeyBindings(defaults);
        QCOMPARE(int(defaults.size()), 43);
        for (const auto& [key, name] : defaults)
            QVERIFY(FindCommand(name) >= 0);
    }

    void strings() {
        QCOMPARE(QString::fromStdU16String(std::u16string(LoadString(40008))),
                 QStringLiteral("ファイルを開く"));
        QCOMPARE(QString::fromStdU16String(std::u16string(LoadString(40022))),
                 QStringLiteral("栞10へ移動"));
        QCOMPARE(QString::fromStdU16String(std::u16string(LoadString(40036))),
                 QStringLiteral("割り当てるキーを入力してください。"));
        QCOMPARE(QString::fromStdU16String(std::u16string(LoadString(40078))),
                 QStringLiteral("度合いが設定可能な範囲を越えています。(1 - 99)"));
        QVERIFY(LoadString(40069).find(u"%1!s!") != std::u16string_view::npos);
        QVERIFY(LoadString(39999).empty());
        QCOMPARE(QString::fromStdU16String(std::u16string(LoadString(40079))),
                 QStringLiteral("青空文庫から開く"));
        QVERIFY(LoadString(40081).empty());
        // Every label of the table is there.
        for (const CommandInfo& c : CommandTable())
            if (c.labelId) QVERIFY(!LoadString(c.labelId).empty());
    }

    void pageClamping() {
        QCOMPARE(ClampPage(-3, 7), 0);
        QCOMPARE(ClampPage(0, 7), 0);
        QCOMPARE(ClampPage(4, 7), 4);
        QCOMPARE(ClampPage(7, 7), 7);
        QCOMPARE(ClampPage(30, 7), 7);
        QCOMPARE(ClampPage(5, 0), 0);
        QCOMPARE(WheelDirection(19), 0);
        QCOMPARE(WheelDirection(-19), 0);
        QCOMPARE(WheelDirection(20), 1);
        QCOMPARE(WheelDirection(-120), -1);
    }

    void scrollBars() {
        QCOMPARE(ScrollMaximum(1), 1);
        QCOMPARE(ScrollMaximum(7), 7);
        QCOMPARE(HorizontalScrollPos(0, 7), 6);
        QCOMPARE(HorizontalScrollPos(6, 7), 0);
        QCOMPARE(VerticalScrollPos(4), 4);
        QCOMPARE(HorizontalScrollTarget(ScrollRequest::TowardsStart, 2, 7, 0), 4);
        QCOMPARE(HorizontalScrollTarget(ScrollRequest::TowardsEnd, 2, 7, 0), 1);
        QCOMPARE(HorizontalScrollTarget(ScrollRequest::Position, 2, 7, 0), 6);
        QCOMPARE(HorizontalScrollTarget(ScrollRequest::Start, 2, 7, 0), 7);
        QCOMPARE(HorizontalScrollTarget(ScrollRequest::End, 2, 7, 0), 0);
        QCOMPARE(VerticalScrollTarget(ScrollRequest::TowardsStart, 2, 7, 0), 1);
        QCOMPARE(VerticalScrollTarget(ScrollRequest::TowardsEnd, 2, 7, 0), 4);
        QCOMPARE(VerticalScrollTarget(ScrollRequest::Position, 2, 7, 5), 5);
        QCOMPARE(VerticalScrollTarget(ScrollRequest::End, 2, 7, 0), 7);
    }

    void title() {
        QCOMPARE(WindowTitle(u"t", u"a", 0, 1, false), std::u16string(u"Yomibon"));
        QCOMPARE(QString::fromStdU16String(WindowTitle(u"羅生門", u"芥川龍之介", 4, 29, true)),
                 QStringLiteral("Yomibon 羅生門 - 芥川龍之介 (5/29)"));
        QCOMPARE(WindowTitle(u"a\r\nb\rc", u"d\ne", 0, 3, true),
                 std::u16string(u"Yomibon a b c - d e (1/3)"));
    }

    void placement() {
        WindowPlacement p = DefaultPlacement(1000, 800);
        QCOMPARE(p[0], 44);
        QCOMPARE(p[2], 1);
        QCOMPARE(p[7], 100);
        QCOMPARE(p[8], 80);
        QCOMPARE(p[9], 900);
        QCOMPARE(p[10], 720);
        std::vector<int32_t> stored = {44, 0, 1, 0, 0, 0, 0, 10, 20, 610, 420};
        QCOMPARE(PlacementOrDefault(stored, 1000, 800)[9], 610);
        stored[10] = 20;  // no height: the default
        QCOMPARE(PlacementOrDefault(stored, 1000, 800)[9], 900);
        QCOMPARE(PlacementOrDefault({44, 0, 1}, 1000, 800)[7], 100);
        std::vector<int32_t> zeros = {44, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QCOMPARE(PlacementOrDefault(zeros, 1000, 800)[8], 80);
    }

    void recentFiles() {
        CYbRecentFiles recent;
        for (int i = 0; i < 12; ++i)
            recent.record(u"/t/" + std::u16string(1, char16_t(u'a' + i)), u"T", u"");
        recent.record(u"/t/c", u"羅生門", u"芥川");  // again: moves to the newest place
        QCOMPARE(int(recent.entries().size()), 12);
        QCOMPARE(recent.entries().back().path, std::u16string(u"/t/c"));
        QCOMPARE(recent.entries().back().label, std::u16string(u"羅生門:芥川"));
        std::vector<std::u16string> menu = recent.menuTexts();
        QCOMPARE(int(menu.size()), 10);
        QCOMPARE(menu[0], std::u16string(u"&1: 羅生門:芥川"));
        QCOMPARE(menu[9], std::u16string(u"&0: T:"));
        CYbTxtParam param;
        param.SetText(u"HistFile9", u"/keep");
        recent.store(param);
        QCOMPARE(param.GetText(u"HistFile1"), std::u16string(u"/t/c"));
        QCOMPARE(param.GetText(u"HistFile2"), std::u16string(u"/t/l"));
        QCOMPARE(param.GetText(u"HistFile9"), std::u16string(u"/t/e"));
        CYbRecentFiles loaded;
        loaded.load(param);
        QCOMPARE(int(loaded.entries().size()), 9);
        QCOMPARE(loaded.entries().back().path, std::u16string(u"/t/c"));
        QCOMPARE(loaded.menuEntry(1)->label, std::u16string(u"羅生門:芥川"));
        QVERIFY(loaded.menuEntry(10) == nullptr);
        QCOMPARE(RecentLabel(u"", u""), std::u16string());
        QCOMPARE(RecentLabel(u"a\r\nb", u"c"), std::u16string(u"ab:c"));
    }

    void history() {
        int value = 0;
        CYbPageHistory history;
        QVERIFY(!history.back());
        QVERIFY(!history.forward());
        history.execute(std::make_unique<Counter>(value, 1));
        history.execute(std::make_unique<Counter>(value, 10));
        QCOMPARE(value, 11);
        QVERIFY(history.back());
        QCOMPARE(value, 1);
        QVERIFY(history.forward());
        QCOMPARE(value, 11);
        QVERIFY(history.back());
        // A new command discards what was undone.
        history.execute(std::make_unique<Counter>(value, 100));
        QCOMPARE(value, 101);
        QCOMPARE(int(history.undoneCount()), 0);
        QVERIFY(!history.forward());
        QCOMPARE(int(history.doneCount()), 2);
    }
};

QTEST_GUILESS_MAIN(AppLogicTest)
#include "app_logic_test.moc"

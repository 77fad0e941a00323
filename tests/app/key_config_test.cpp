// The key assignment dialog: assigning, confirming, releasing and writing keybind.ini.
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_table.h"
#include "app/key_config_dlg.h"
#include "settings/key_bind.h"

using namespace Yomibon;

namespace {

int RowOf(int command) {
    const std::vector<int>& list = KeyDialogCommands();
    return int(std::find(list.begin(), list.end(), command) - list.begin());
}

const KeyBind kLeft{0x25, false, false, false};
const KeyBind kCtrlQ{0x51, false, true, false};

}  // namespace

class KeyConfigTest : public QObject {
    Q_OBJECT

  private slots:
    void assigningABoundKeyAsks() {
        QTemporaryDir dir;
        std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "k.ini";
        CYbTxtKeyConfigDlg dlg(nullptr, file);
        QCOMPARE(dlg.functionList()->count(), 45);
        QCOMPARE(dlg.functionList()->item(0)->text(), QStringLiteral("ファイルを開く"));
        QCOMPARE(dlg.selectedFunction(), 0);
        QCOMPARE(int(dlg.table().size()), 43);  // no file: the defaults

        std::u16string asked, askedCaption;
        bool answer = false;
        dlg.setAsk([&](const std::u16string& text, const std::u16string& caption) {
            asked = text;
            askedCaption = caption;
            return answer;
        });
        std::u16string told;
        dlg.setTell([&](const std::u16string& text, const std::u16string&) { told = text; });

        dlg.setKey(std::nullopt);
        dlg.assign();
        QCOMPARE(told, std::u16string(u"割り当てるキーを入力してください。"));

        // Left is NextPage's; giving it to FirstPage asks, and No changes nothing.
        dlg.selectFunction(RowOf(CMD_FirstPage));
        dlg.setKey(kLeft);
        dlg.assign();
        QCOMPARE(askedCaption, std::u16string(u"確認"));
        QVERIFY(QString::fromStdU16String(asked).contains(QStringLiteral("次のページへ")));
        QVERIFY(QString::fromStdU16String(asked).contains(QStringLiteral("先頭ページへ")));
        QCOMPARE(dlg.table().at(kLeft), std::u16string(u"NextPage"));
        QCOMPARE(int(dlg.table().size()), 43);
        // Yes rebinds it, and the key list shows it under its new function.
        answer = true;
        dlg.assign();
        QCOMPARE(dlg.table().at(kLeft), std::u16string(u"FirstPage"));
        QCOMPARE(dlg.keyList()->count(), 2);  // Home and Left

        // The same function again: nothing is asked.
        asked.clear();
        dlg.assign();
        QVERIFY(asked.empty());

        // An unbound key is bound at once; 解除 removes it.
        dlg.setKey(kCtrlQ);
        dlg.assign();
        QCOMPARE(dlg.table().at(kCtrlQ), std::u16string(u"FirstPage"));
        dlg.release();
        QCOMPARE(dlg.table().count(kCtrlQ), size_t(0));
        QCOMPARE(dlg.keyList()->count(), 2);

        // OK writes the file in its own format; a new dialog reads it back.
        QVERIFY(dlg.save());
        CYbTxtKeyConfigDlg reread(nullptr, file);
        QCOMPARE(reread.table().size(), dlg.table().size());
        QCOMPARE(reread.table().at(kLeft), std::u16string(u"FirstPage"));
    }

    void keyFieldCapturesEveryKey() {
        QTemporaryDir dir;
        CYbTxtKeyConfigDlg dlg(nullptr, std::filesystem::path(dir.path().toStdString()) / "k");
        CYbEditKeyBind* edit = dlg.keyEdit();
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(edit->key().has_value());
        QCOMPARE(edit->key()->code, 0x09u);
        QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(edit->key()->code, 0x4Fu);
        QVERIFY(edit->key()->ctrl && edit->key()->shift && !edit->key()->alt);
        QCOMPARE(edit->text(), QString::fromStdU16String(KeyDisplayName(*edit->key())));
        QTest::keyPress(edit, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(!edit->key().has_value());  // modifiers alone are no key
        QVERIFY(!edit->text().isEmpty());
        QTest::keyRelease(edit, Qt::Key_Control, Qt::NoModifier);
        edit->setButton(VK_RBUTTON);
        QCOMPARE(edit->key()->code, uint32_t(VK_RBUTTON));
        QCOMPARE(edit->text(), QStringLiteral("Right mouse button"));
        // Selecting an entry of the key list puts its key into the field.
        dlg.selectFunction(RowOf(CMD_NextPage));
        QVERIFY(dlg.keyList()->count() == 4);
        dlg.keyList()->setCurrentRow(1);
        QVERIFY(edit->key().has_value());
        QCOMPARE(dlg.table().at(*edit->key()), std::u16string(u"NextPage"));
    }
};

QTEST_MAIN(KeyConfigTest)
#include "key_config_test.moc"

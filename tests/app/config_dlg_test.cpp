// The settings property sheet: validation of the display page, what each page writes, the
// window re-applying the settings, and the association of bookmark files.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/command_table.h"
#include "app/config_dlg.h"
#include "app/config_html_page.h"
#include "app/config_option_page.h"
#include "app/config_style_page.h"
#include "app/main_window.h"
#include "app/page_view.h"
#include "app/siori_association.h"
#include "app/string_table.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "test_window.h"

using namespace Yomibon;

namespace {

using Message = std::pair<QString, QString>;  // text, caption

QString Text(int id) {
    std::u16string_view s = LoadString(id);
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// Types into a field as the user does, replacing what it holds; Japanese text arrives as an
// input method's commit.
void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}

void Type(CYbNumberField* field, const QString& text) {
    Type(field->edit(), text);
}

int32_t Point(const CYbTxtParam& param, std::u16string_view key, size_t index = 0) {
    const std::vector<int32_t>& values = param.GetPoints(key);
    return index < values.size() ? values[index] : -99999;
}

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

// Pixels of the canvas with exactly the colour 0x00RRGGBB.
int PixelsOf(const CYbPageCanvas& canvas, uint32_t rgb) {
    const CYbBitmap& bitmap = canvas.bitmap();
    int count = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if ((bitmap.pixel(x, y) & 0xFFFFFF) == rgb) ++count;
    return count;
}

QString ReadAll(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace

class ConfigDlgTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<CYbTxtParam> param_;
    std::unique_ptr<CYbTxtConfigDlg> dlg_;
    std::vector<Message> messages_;
    int applied_ = 0;
    std::unique_ptr<CYbTxtParam> windowParam_;
    std::unique_ptr<CYbMainWindow> window_;
    std::vector<std::u16string> windowMessages_;

    // A shown sheet on fresh settings, its messages and applies counted.
    CYbTxtConfigDlg& make() {
        dlg_.reset();
        param_ = std::make_unique<CYbTxtParam>();
        messages_.clear();
        applied_ = 0;
        dlg_ = std::make_unique<CYbTxtConfigDlg>(*param_);
        dlg_->setMessageFunc([this](const std::u16string& text, const std::u16string& caption) {
            messages_.emplace_back(QString::fromStdU16String(text),
                                   QString::fromStdU16String(caption));
        });
        dlg_->setSettingsChangedFunc([this] { ++applied_; });
        dlg_->show();
        dlg_->activateWindow();
        [[maybe_unused]] bool active = QTest::qWaitForWindowActive(dlg_.get());
        return *dlg_;
    }

    // Every font field set to an installed font, so that only the fields a test spoils are
    // complained about.
    static bool UseInstalledFonts(CYbTxtStyleConfig& page) {
        const QStringList names = CYbTxtStyleConfig::FontNames();
        if (names.isEmpty()) return false;
        for (int i = 0; i < CYbTxtStyleConfig::kFontCount; ++i)
            Type(page.fontBox(i)->lineEdit(), names.first());
        return true;
    }

    CYbMainWindow& makeWindow(std::unique_ptr<CYbTxtParam> param) {
        windowMessages_.clear();
        Test::TestWindowOptions options;
        options.param = std::move(param);
        options.onMessage = [this](const std::u16string& text) { windowMessages_.push_back(text); };
        return Test::MakeTestWindow(window_, windowParam_, std::move(options));
    }

    // Runs the Config command; `edit` works on the sheet from inside its modal loop.
    void runSheet(CYbMainWindow& w, std::function<void(CYbTxtConfigDlg&)> edit) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = dynamic_cast<CYbTxtConfigDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            ran = true;
            edit(*dlg);
        });
        w.runCommand(CMD_Config);
        QVERIFY(ran);
        QVERIFY(!QApplication::activeModalWidget());
    }

  private slots:
    void cleanup() {
        dlg_.reset();
        param_.reset();
        window_.reset();
        windowParam_.reset();
    }

    void sheetHasItsThreePages() {
        CYbTxtConfigDlg& dlg = make();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("設定"));
        QCOMPARE(dlg.tabs()->count(), 3);
        QCOMPARE(dlg.tabs()->tabText(0), QStringLiteral("表示"));
        QCOMPARE(dlg.tabs()->tabText(1), QStringLiteral("オプション"));
        QCOMPARE(dlg.tabs()->tabText(2), QStringLiteral("HTML"));
        // Nothing changed yet: 適用 is off, and an apply writes nothing.
        QPushButton* apply = nullptr;
        for (QAbstractButton* b : dlg.buttons()->buttons())
            if (dlg.buttons()->buttonRole(b) == QDialogButtonBox::ApplyRole)
                apply = qobject_cast<QPushButton*>(b);
        QVERIFY(apply);
        QVERIFY(!apply->isEnabled());
        QVERIFY(dlg.apply());
        QCOMPARE(applied_, 0);
        dlg.optionPage()->autoSaveCheck()->click();
        QVERIFY(apply->isEnabled());
        apply->click();
        QVERIFY(!apply->isEnabled());
        QVERIFY(!param_->GetBoolean(u"BookMarkAutoSave"));
        // Only the display page tells the window.
        QCOMPARE(applied_, 0);
    }

    void tateNakaFiveIsRefusedFourAccepted() {
        CYbTxtConfigDlg& dlg = make();
        CYbTxtStyleConfig& page = *dlg.stylePage();
        if (!UseInstalledFonts(page)) QSKIP("no fonts installed");
        dlg.tabs()->setCurrentIndex(2);
        Type(page.tateNakaField(), QStringLiteral("5"));
        QVERIFY(page.changed());
        QVERIFY(!dlg.apply());
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(messages_[0].first, Text(IDS_TATENAKA_RANGE));
        QCOMPARE(messages_[0].first,
                 QStringLiteral("フォントサイズが設定可能な範囲を越えています。(1 - 200)"));
        QCOMPARE(messages_[0].second, QStringLiteral("Error"));
        QCOMPARE(dlg.tabs()->currentWidget(), static_cast<QWidget*>(&page));
        QVERIFY(page.tateNakaField()->edit()->hasFocus());
        QCOMPARE(Point(*param_, u"TateNakaNum"), 3);
        QCOMPARE(applied_, 0);
        // OK is refused the same way: the sheet stays open.
        dlg.buttons()->buttons().first()->click();
        QVERIFY(dlg.isVisible());
        QCOMPARE(int(messages_.size()), 2);

        Type(page.tateNakaField(), QStringLiteral("4"));
        QVERIFY(dlg.apply());
        QCOMPARE(int(messages_.size()), 2);
        QCOMPARE(Point(*param_, u"TateNakaNum"), 4);
        QCOMPARE(applied_, 1);
        // Not a number, and below the minimum, are refused too.
        for (const char* bad : {"x", "-1", ""}) {
            Type(page.tateNakaField(), QString::fromLatin1(bad));
            QVERIFY2(!dlg.apply(), bad);
        }
        Type(page.tateNakaField(), QStringLiteral("0"));
        QVERIFY(dlg.apply());
        QCOMPARE(Point(*param_, u"TateNakaNum"), 0);
    }

    void kinsokuModeIsOfferedAsStandardOrStrictAndSaved() {
        CYbTxtConfigDlg& dlg = make();
        CYbTxtStyleConfig& page = *dlg.stylePage();
        QComboBox* mode = page.kinsokuModeBox();
        QCOMPARE(mode->count(), 2);
        QCOMPARE(mode->itemText(0), QStringLiteral("標準"));
        QCOMPARE(mode->itemText(1), QStringLiteral("厳格"));
        QCOMPARE(mode->currentIndex(), 0);
        mode->setCurrentIndex(1);
        QVERIFY(dlg.apply());
        QCOMPARE(Point(*param_, u"KinsokuMode"), 1);
        // The mode survives the settings file.
        QTemporaryDir dir;
        const std::filesystem::path file =
            dir.filePath(QStringLiteral("Yomibon.ini")).toStdString();
        QVERIFY(param_->Save(file));
        CYbTxtParam loaded;
        QVERIFY(loaded.Load(file));
        QCOMPARE(Point(loaded, u"KinsokuMode"), 1);
    }

    void flipIntervalAndTransparencyRanges() {
        CYbTxtConfigDlg& dlg = make();
        CYbTxtStyleConfig& page = *dlg.stylePage();
        if (!UseInstalledFonts(page)) QSKIP("no fonts installed");
        QVERIFY(page.pageFlipCheck()->isChecked());
        Type(page.flipIntervalField(), QStringLiteral("101"));
        QVERIFY(!dlg.apply());
        QCOMPARE(messages_.back().first, Text(IDS_FLIP_RANGE));
        QVERIFY(page.flipIntervalField()->edit()->hasFocus());
        Type(page.flipIntervalField(), QStringLiteral("0"));
        QVERIFY(dlg.apply());
        QCOMPARE(Point(*param_, u"PageFlipInterval"), 0);

        messages_.clear();
        QVERIFY(page.whiteTransCheck()->isChecked());
        Type(page.transRateField(), QStringLiteral("101"));
        QVERIFY(!dlg.apply());
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(messages_[0].first,
                 QStringLiteral("度合いが設定可能な範囲を越えています。(1 - 99)"));
        QCOMPARE(messages_[0].second, QStringLiteral("Error"));
        QVERIFY(page.transRateField()->edit()->hasFocus());
        Type(page.transRateField(), QStringLiteral("100"));
        QVERIFY(dlg.apply());
        QCOMPARE(Point(*param_, u"WhiteTransRate"), 100);
        QCOMPARE(int(messages_.size()), 1);

        // A field switched off is not checked.
        page.whiteTransCheck()->click();
        QVERIFY(!page.transRateField()->isEnabled());
        Type(page.transRateField(), QStringLiteral("500"));
        QVERIFY(dlg.apply());
        QVERIFY(!param_->GetBoolean(u"WhiteTrans"));
        QCOMPARE(Point(*param_, u"WhiteTransRate"), 500);
    }

    void unknownFontIsReported() {
        CYbTxtConfigDlg& dlg = make();
        CYbTxtStyleConfig& page = *dlg.stylePage();
        if (!UseInstalledFonts(page)) QSKIP("no fonts installed");
        QVERIFY(dlg.apply());
        QVERIFY(messages_.empty());
        // The vertical form of an installed face is a known font as well.
        QVERIFY(CYbTxtStyleConfig::IsInstalledFont(QLatin1Char('@') +
                                                   CYbTxtStyleConfig::FontNames().first()));
        QVERIFY(!CYbTxtStyleConfig::IsInstalledFont(QString()));

        Type(page.fontBox(2)->lineEdit(), QStringLiteral("どこにもない書体"));
        QVERIFY(page.changed());
        // The font is reported, the focus goes to it, and the apply goes on.
        QVERIFY(dlg.apply());
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(messages_[0].first, QStringLiteral("フォントが見つかりませんでした。"));
        QCOMPARE(messages_[0].second, QStringLiteral("Error"));
        QVERIFY(page.fontBox(2)->hasFocus());
        QCOMPARE(param_->GetFont(u"NoteFont").face, u"どこにもない書体");

        // Two unknown fonts are both reported before a refused number.
        messages_.clear();
        Type(page.fontBox(4)->lineEdit(), QStringLiteral("もうひとつ無い書体"));
        Type(page.tateNakaField(), QStringLiteral("9"));
        QVERIFY(!dlg.apply());
        QCOMPARE(int(messages_.size()), 3);
        QCOMPARE(messages_[0].first, Text(IDS_FONT_NOT_FOUND));
        QCOMPARE(messages_[1].first, Text(IDS_FONT_NOT_FOUND));
        QCOMPARE(messages_[2].first, Text(IDS_TATENAKA_RANGE));
    }

    void applyWritesEachPage() {
        CYbTxtConfigDlg& dlg = make();
        CYbTxtStyleConfig& style = *dlg.stylePage();
        if (!UseInstalledFonts(style)) QSKIP("no fonts installed");
        const QString face = QLatin1Char('@') + CYbTxtStyleConfig::FontNames().first();
        Type(style.fontBox(0)->lineEdit(), face);
        style.fontColor(0)->setColor(0x123456);
        Type(style.fontSpacing(0), QStringLiteral("1.5"));
        style.fontCentering(0)->click();
        style.pageColor()->setColor(0x00FF00);
        style.outsideColor()->setColor(0x101010);
        style.linkColor()->setColor(0x0000FF);
        Type(style.backgroundEdit(), QStringLiteral("Image/paper.png"));
        style.wzMemoCheck()->click();
        style.antiAliasLcd()->click();
        const int current = style.layoutBox()->currentIndex();
        QVERIFY(current >= 0);
        QVERIFY(style.layouts().size() >= 2);
        const int other = current == 0 ? 1 : 0;
        style.layoutBox()->setCurrentIndex(other);

        CYbTxtOptionConfig& option = *dlg.optionPage();
        option.autoSaveCheck()->click();
        option.saveWindowSizeCheck()->click();
        option.besideTextRadio()->click();
        Type(option.bookmarkNumField(), QStringLiteral("25"));
        Type(option.bookmarkFolderEdit(), QStringLiteral("/tmp/栞"));
        Type(option.pluginFolderEdit(), QStringLiteral("/opt/spi"));

        CYbHtmlOptionConfig& html = *dlg.htmlPage();
        Type(html.widthField(), QStringLiteral("40"));
        Type(html.heightField(), QStringLiteral("-5"));  // read as a signed number, unchecked
        html.useIESettingCheck()->click();
        html.directRadio()->click();
        Type(html.proxyServerEdit(), QStringLiteral("proxy.example:3128"));
        Type(html.noProxyEdit(), QStringLiteral("localhost;"));

        QVERIFY(dlg.apply());
        QVERIFY(messages_.empty());
        QCOMPARE(applied_, 1);
        FontParam font = param_->GetFont(u"TextFont");
        QCOMPARE(QString::fromStdU16String(font.face), face);
        QCOMPARE(font.color, 0x123456u);
        QCOMPARE(font.spacing, 1.5);
        QVERIFY(font.centering);
        QCOMPARE(Point(*param_, u"PageColor", 0), 0x00FF00);
        QCOMPARE(Point(*param_, u"PageColor", 1), 0x101010);
        QCOMPARE(Point(*param_, u"PageColor", 2), 0xD0D0D0);  // not on the page: kept
        QCOMPARE(Point(*param_, u"LinkTextColor"), 0x0000FF);
        QCOMPARE(param_->GetText(u"BackgroundImage"), u"Image/paper.png");
        QVERIFY(!param_->GetBoolean(u"WzMemoMode"));
        QCOMPARE(Point(*param_, u"AntiAlias"), 2);
        const LayoutEntry& chosen = style.layouts()[size_t(other)];
        QCOMPARE(param_->GetText(u"LayoutFile"), chosen.file);
        QCOMPARE(param_->GetText(u"LayoutType"), chosen.type);

        QVERIFY(!param_->GetBoolean(u"BookMarkAutoSave"));
        QVERIFY(!param_->GetBoolean(u"SaveWindowSize"));
        QVERIFY(!param_->GetBoolean(u"BookMarkToFolder"));
        QCOMPARE(Point(*param_, u"BookMarkNum"), 25);
        QCOMPARE(param_->GetText(u"BookMarkFolder"), u"/tmp/栞");
        QCOMPARE(param_->GetText(u"SpiPluginFolder"), u"/opt/spi");

        QCOMPARE(Point(*param_, u"SkipHTMLImgSize", 0), 40);
        QCOMPARE(Point(*param_, u"SkipHTMLImgSize", 1), -5);
        QVERIFY(!param_->GetBoolean(u"UseIESetting"));
        QVERIFY(!param_->GetBoolean(u"UseProxy"));
        QCOMPARE(param_->GetText(u"ProxyServer"), u"proxy.example:3128");
        QCOMPARE(param_->GetText(u"NoProxyAddress"), u"localhost;");

        // A new sheet shows what was written.
        CYbTxtParam& param = *param_;
        CYbTxtConfigDlg again(param);
        QCOMPARE(again.stylePage()->fontBox(0)->currentText(), face);
        QCOMPARE(again.stylePage()->layoutBox()->currentIndex(), other);
        QVERIFY(again.stylePage()->antiAliasLcd()->isChecked());
        QVERIFY(again.optionPage()->besideTextRadio()->isChecked());
        QCOMPARE(again.optionPage()->bookmarkNumField()->text(), QStringLiteral("25"));
        QVERIFY(again.htmlPage()->directRadio()->isChecked());
        QCOMPARE(again.htmlPage()->proxyServerEdit()->text(), QStringLiteral("proxy.example:3128"));
    }

    void listTextsRoundTrip() {
        CYbTxtConfigDlg& dlg = make();
        CYbTxtStyleConfig& page = *dlg.stylePage();
        if (!UseInstalledFonts(page)) QSKIP("no fonts installed");
        const std::u16string_view keys[] = {u"ConfListStart", u"ConfListEnd", u"HangingChar",
                                            u"SepNGChar"};
        for (int i = 0; i < CYbTxtStyleConfig::kListCount; ++i)
            QCOMPARE(page.listEdit(i)->text().toStdU16String(),
                     param_->GetListText(keys[size_t(i)]));
        Type(page.listEdit(0), QStringLiteral("、。𠮷ー"));
        Type(page.listEdit(3), QStringLiteral("…"));
        const std::u16string end = param_->GetListText(u"ConfListEnd");
        QVERIFY(dlg.apply());
        const std::vector<std::u16string> start = param_->GetList(u"ConfListStart");
        QCOMPARE(int(start.size()), 4);
        QCOMPARE(start[2], u"𠮷");  // a surrogate pair is one character
        QCOMPARE(param_->GetListText(u"ConfListStart"), u"、。𠮷ー");
        QCOMPARE(param_->GetListText(u"SepNGChar"), u"…");
        QCOMPARE(param_->GetListText(u"ConfListEnd"), end);
        CYbTxtParam& param = *param_;
        CYbTxtConfigDlg again(param);
        QCOMPARE(again.stylePage()->listEdit(0)->text(), QStringLiteral("、。𠮷ー"));
        QCOMPARE(again.stylePage()->listEdit(3)->text(), QStringLiteral("…"));
    }

    void windowReappliesAfterDisplayPage() {
        auto param = std::make_unique<CYbTxtParam>();
        param->SetBoolean(u"PageFlip", false);
        CYbMainWindow& w = makeWindow(std::move(param));
        QVERIFY(w.openPath(Sample()));
        const uint32_t red = 0xFF0000;  // 0x00RRGGBB
        QCOMPARE(PixelsOf(w.canvas(), red), 0);
        const int paper = PixelsOf(w.canvas(), 0xFFFFFF);
        QVERIFY(paper > 1000);
        runSheet(w, [&](CYbTxtConfigDlg& dlg) {
            dlg.stylePage()->pageColor()->setColor(0x0000FF);  // red as 0x00BBGGRR
            dlg.buttons()->buttons().first()->click();         // OK
        });
        QCOMPARE(Point(*windowParam_, u"PageColor"), 0x0000FF);
        QVERIFY(PixelsOf(w.canvas(), red) > paper / 2);
        QVERIFY(windowMessages_.empty());
    }

    void defaultKeyOpensTheSheet() {
        CYbMainWindow& w = makeWindow(nullptr);
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = dynamic_cast<CYbTxtConfigDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            opened = true;
            dlg->reject();
        });
        QTest::keyClick(&w.view(), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(opened);
    }

    void flipIntervalZeroTurnsPagesAtOnce() {
        auto param = std::make_unique<CYbTxtParam>();
        param->SetBoolean(u"PageFlip", true);
        int32_t interval = 30;
        param->SetPoints(u"PageFlipInterval", &interval, 1);
        CYbMainWindow& w = makeWindow(std::move(param));
        QVERIFY(w.openPath(Sample()));
        QCOMPARE(w.flipInterval(), 30);
        // The window's bookmark auto-save is on; the sheet (showing the setting, off) turns
        // it off again when it closes.
        w.menuCommand(ID_BOOKMARK_AUTOSAVE);
        QVERIFY(w.menuAction(ID_BOOKMARK_AUTOSAVE)->isChecked());
        runSheet(w, [&](CYbTxtConfigDlg& dlg) {
            if (!UseInstalledFonts(*dlg.stylePage())) return;
            Type(dlg.stylePage()->flipIntervalField(), QStringLiteral("0"));
            dlg.buttons()->buttons().first()->click();
        });
        if (CYbTxtStyleConfig::FontNames().isEmpty()) QSKIP("no fonts installed");
        QVERIFY(windowMessages_.empty());
        QCOMPARE(Point(*windowParam_, u"PageFlipInterval"), 0);
        QVERIFY(windowParam_->GetBoolean(u"PageFlip"));
        QCOMPARE(w.flipInterval(), 0);
        QVERIFY(!w.menuAction(ID_BOOKMARK_AUTOSAVE)->isChecked());
        w.runCommand(CMD_NextPage);
        QCOMPARE(w.currentPage(), 2);
        QVERIFY(!w.canvas().flipping());
        QVERIFY(!w.flipTimer()->isActive());
    }

    void cancelWritesNothing() {
        CYbMainWindow& w = makeWindow(nullptr);
        runSheet(w, [&](CYbTxtConfigDlg& dlg) {
            Type(dlg.stylePage()->tateNakaField(), QStringLiteral("1"));
            dlg.buttons()->buttons().at(1)->click();  // キャンセル
        });
        QCOMPARE(Point(*windowParam_, u"TateNakaNum"), 3);
    }

    void associationWritesAndRemovesItsFiles() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::filesystem::path base = dir.path().toStdString();
        CYbTxtConfigDlg& dlg = make();
        CYbTxtOptionConfig& page = *dlg.optionPage();
        page.setAssociationBase(base);
        page.associateButton()->click();
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(messages_[0].first, QStringLiteral("栞ファイルに関連付けしました。"));
        QCOMPARE(messages_[0].second, QStringLiteral("Error"));
        const auto mime = base / "mime" / "packages" / "yomibon-siori.xml";
        const auto desktop = base / "applications" / "yomibon-siori.desktop";
        QCOMPARE(SioriMimePackage(base), mime);
        QCOMPARE(SioriDesktopEntry(base), desktop);
        const QString package = ReadAll(mime);
        QVERIFY(package.contains(QStringLiteral("type=\"application/x-yomibon-siori\"")));
        QVERIFY(package.contains(QStringLiteral("<glob pattern=\"*.siori\"/>")));
        const QString entry = ReadAll(desktop);
        QVERIFY(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(entry.contains(QStringLiteral("MimeType=application/x-yomibon-siori;\n")));
        QVERIFY(entry.contains(QStringLiteral("Exec=") + QCoreApplication::applicationFilePath() +
                               QStringLiteral(" %f\n")));
        // The association is not a setting: the page stays unchanged.
        QVERIFY(!page.changed());

        page.dissociateButton()->click();
        QCOMPARE(messages_.back().first, QStringLiteral("栞ファイルに関連付けを解除しました。"));
        QVERIFY(!std::filesystem::exists(mime));
        QVERIFY(!std::filesystem::exists(desktop));
        // Nothing left to remove.
        QVERIFY(!page.dissociate());
        QCOMPARE(messages_.back().first,
                 QStringLiteral("栞ファイルに関連付け解除に失敗しました。"));
        QCOMPARE(messages_.back().second, QStringLiteral("Error"));

        // A base that is a file cannot hold the folders.
        const std::filesystem::path blocked = base / "blocked";
        QFile file(QString::fromStdString(blocked.string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        page.setAssociationBase(blocked);
        QVERIFY(!page.associate());
        QCOMPARE(messages_.back().first, QStringLiteral("栞ファイルに関連付けに失敗しました。"));
        QCOMPARE(int(messages_.size()), 4);
    }

    void programPathWithBlanksIsQuoted() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::filesystem::path base = dir.path().toStdString();
        QVERIFY(AssociateSiori(base, "/opt/my reader/yomibon"));
        QVERIFY(ReadAll(SioriDesktopEntry(base))
                    .contains(QStringLiteral("Exec=\"/opt/my reader/yomibon\" %f\n")));
        QVERIFY(DissociateSiori(base));
    }
};

QTEST_MAIN(ConfigDlgTest)
#include "config_dlg_test.moc"

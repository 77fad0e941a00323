// The bunko and shinsho layout settings dialog: fields filled from the built-in layouts,
// validation, the preview, restoring the defaults, and the window's レイアウト設定 command.
// Layout files are written into temporary folders only, never beside the program.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/command_table.h"
#include "app/config_style_page.h"
#include "app/layout_dlg.h"
#include "app/main_window.h"
#include "layout/bunko_txt_layout.h"
#include "layout/custom_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/font.h"
#include "platform/paths.h"
#include "render/char_renderer.h"
#include "render/page_canvas.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "test_window.h"
#include "text/txt_document.h"
#include "text/txt_document_layout.h"

using namespace Yomibon;

namespace {

using Message = std::pair<std::u16string, std::u16string>;  // text, caption

std::u16string Sample() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

double Millimetres(CYbLayoutSettingsDlg& dlg, PageField f) {
    auto* spin = qobject_cast<QDoubleSpinBox*>(dlg.field(f));
    return spin ? spin->value() : -1;
}

int Count(CYbLayoutSettingsDlg& dlg, PageField f) {
    auto* spin = qobject_cast<QSpinBox*>(dlg.field(f));
    return spin ? spin->value() : -1;
}

void SetMillimetres(CYbLayoutSettingsDlg& dlg, PageField f, double value) {
    auto* spin = qobject_cast<QDoubleSpinBox*>(dlg.field(f));
    QVERIFY(spin);
    spin->setValue(value);
}

void SetCount(CYbLayoutSettingsDlg& dlg, PageField f, int value) {
    auto* spin = qobject_cast<QSpinBox*>(dlg.field(f));
    QVERIFY(spin);
    spin->setValue(value);
}

QPushButton* Button(CYbLayoutSettingsDlg& dlg, QDialogButtonBox::StandardButton which) {
    return dlg.buttons()->button(which);
}

QByteArray ReadBytes(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

std::filesystem::path FsPath(const QTemporaryDir& dir) {
    return ToFsPath(FromQString(dir.path()));
}

}  // namespace

class LayoutDlgTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<CYbLayoutSettingsDlg> dlg_;
    std::vector<Message> messages_;
    std::vector<Message> questions_;
    std::vector<std::u16string> windowMessages_;
    bool answer_ = false;
    int changed_ = 0;
    std::unique_ptr<CYbTxtParam> windowParam_;
    std::unique_ptr<CYbMainWindow> window_;

    // The dialog's message box and question answered by the test.
    void hook(CYbLayoutSettingsDlg& dlg) {
        dlg.setMessageFunc([this](const std::u16string& text, const std::u16string& caption) {
            messages_.emplace_back(text, caption);
        });
        dlg.setAskFunc([this](const std::u16string& text, const std::u16string& caption) {
            questions_.emplace_back(text, caption);
            return answer_;
        });
        dlg.setLayoutChangedFunc([this] { ++changed_; });
    }

    // A shown, active dialog on the layout, saving into `folder`.
    CYbLayoutSettingsDlg& make(CYbTxtLayout& layout, PageKind kind,
                               const std::filesystem::path& folder) {
        dlg_.reset();
        messages_.clear();
        questions_.clear();
        changed_ = 0;
        dlg_ = std::make_unique<CYbLayoutSettingsDlg>(layout, kind);
        dlg_->setDataFolder(folder);
        hook(*dlg_);
        dlg_->show();
        dlg_->activateWindow();
        [[maybe_unused]] bool active = QTest::qWaitForWindowActive(dlg_.get());
        return *dlg_;
    }

    // A window reading its layout from `layoutFile`, with the sample open.
    CYbMainWindow& makeWindow(const std::filesystem::path& layoutFile) {
        messages_.clear();
        auto param = std::make_unique<CYbTxtParam>();
        param->SetBoolean(u"PageFlip", false);
        param->SetText(u"LayoutFile", FromFsPath(layoutFile));
        windowMessages_.clear();
        Test::TestWindowOptions options;
        options.onMessage = [this](const std::u16string& text) { windowMessages_.push_back(text); };
        options.param = std::move(param);
        CYbMainWindow& w = Test::MakeTestWindow(window_, windowParam_, std::move(options));
        if (!w.openPath(Sample())) QTest::qFail("sample not opened", __FILE__, __LINE__);
        return w;
    }

    // Runs レイアウト設定; `edit` works on the dialog inside its modal loop. False when no
    // dialog came up.
    bool runDialog(CYbMainWindow& w, std::function<void(CYbLayoutSettingsDlg&)> edit) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = dynamic_cast<CYbLayoutSettingsDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            ran = true;
            // Messages reach the test through the window's own message hook.
            dlg->setAskFunc([this](const std::u16string& text, const std::u16string& caption) {
                questions_.emplace_back(text, caption);
                return answer_;
            });
            edit(*dlg);
            // Whatever the edit did, the modal loop must end.
            if (dlg->isVisible()) dlg->reject();
        });
        w.runCommand(CMD_LayoutSet);
        // Without a dialog the check runs only now; it must not outlive this call.
        QTest::qWait(20);
        return ran;
    }

  private slots:
    void cleanup() {
        dlg_.reset();
        window_.reset();
        windowParam_.reset();
    }

    void bunkoFieldsFromBuiltInLayout() {
        QTemporaryDir dir;
        CYbBunkoTxtLayout layout;
        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Bunko, FsPath(dir));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("文庫本レイアウトの設定"));
        QCOMPARE(Millimetres(dlg, PageField::PaperWidth), 210.00);
        QCOMPARE(Millimetres(dlg, PageField::PaperHeight), 148.00);
        QCOMPARE(Millimetres(dlg, PageField::Top), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::Bottom), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::ForeEdge), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::Gutter), 10.00);
        QCOMPARE(Count(dlg, PageField::Lines), 17);
        QCOMPARE(Count(dlg, PageField::Chars), 40);
        QCOMPARE(Millimetres(dlg, PageField::TextSize), 3.10);
        QCOMPARE(Millimetres(dlg, PageField::RubySize), 1.60);
        QCOMPARE(Millimetres(dlg, PageField::NombreRightX), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::NombreLeftX), 192.42);
        QCOMPARE(Millimetres(dlg, PageField::RunningHeadsX), 25.00);
        QVERIFY(!dlg.field(PageField::TierGap));  // one tier: no 段間
        auto* placement = qobject_cast<QComboBox*>(dlg.field(PageField::NombrePlacement));
        QVERIFY(placement);
        QCOMPARE(placement->currentText(), QStringLiteral("外"));
        // The fields give back the built-in boxes.
        CYbBunkoTxtLayout rebuilt;
        rebuilt.SetFileName(FromFsPath(FsPath(dir) / "check.lay"));
        QVERIFY(ApplyLayoutSettings(rebuilt, dlg.params(), PageKind::Bunko, FsPath(dir)));
        QVERIFY(rebuilt.GetBoxes(TextLayout) == layout.GetBoxes(TextLayout));
        QVERIFY(rebuilt.GetBoxes(NombreLayout) == layout.GetBoxes(NombreLayout));
    }

    void shinshoFieldsFromBuiltInLayout() {
        QTemporaryDir dir;
        CYbShinShoTate2TxtLayout layout;
        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Shinsho, FsPath(dir));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("新書縦2段レイアウトの設定"));
        QCOMPARE(Millimetres(dlg, PageField::Top), 15.00);
        QCOMPARE(Millimetres(dlg, PageField::Bottom), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::ForeEdge), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::Gutter), 8.00);
        QCOMPARE(Millimetres(dlg, PageField::TierGap), 5.00);
        QCOMPARE(Count(dlg, PageField::Lines), 17);
        QCOMPARE(Count(dlg, PageField::Chars), 20);
        QCOMPARE(Millimetres(dlg, PageField::PaperWidth), 206.00);
        QCOMPARE(Millimetres(dlg, PageField::PaperHeight), 182.00);
    }

    void zeroLinesAreRefusedAndNothingIsSaved() {
        QTemporaryDir dir;
        const std::filesystem::path file = FsPath(dir) / "Layout" / "Mine.lay";
        CYbBunkoTxtLayout layout;
        layout.SetFileName(FromFsPath(file));
        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Bunko, FsPath(dir));
        SetCount(dlg, PageField::Lines, 0);
        SetMillimetres(dlg, PageField::TextSize, 0);
        Button(dlg, QDialogButtonBox::Apply)->click();
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(messages_[0].first, std::u16string(u"入力項目を正しく入力してください。"));
        QCOMPARE(messages_[0].second, std::u16string(u"Yomibon"));
        QVERIFY(dlg.isMarked(PageField::Lines));
        QVERIFY(dlg.isMarked(PageField::TextSize));
        QVERIFY(!dlg.isMarked(PageField::Chars));
        QVERIFY(dlg.field(PageField::Lines)->hasFocus());
        QVERIFY(!std::filesystem::exists(file));
        QCOMPARE(changed_, 0);
        QCOMPARE(layout.GetLineCount(), 34);  // the layout itself is untouched
        // OK is refused the same way: the dialog stays open.
        Button(dlg, QDialogButtonBox::Ok)->click();
        QCOMPARE(int(messages_.size()), 2);
        QVERIFY(dlg.isVisible());
        QVERIFY(!std::filesystem::exists(file));

        // Put right, the fields apply, the marks go and the file is written.
        SetCount(dlg, PageField::Lines, 15);
        SetMillimetres(dlg, PageField::TextSize, 3.1);
        Button(dlg, QDialogButtonBox::Apply)->click();
        QCOMPARE(int(messages_.size()), 2);
        QVERIFY(!dlg.isMarked(PageField::Lines));
        QCOMPARE(changed_, 1);
        QVERIFY(dlg.isVisible());
        QCOMPARE(layout.GetLineCount(), 30);
        CYbBunkoTxtLayout written;
        QVERIFY(written.Open(FromFsPath(file).c_str()));
        QCOMPARE(written.GetLineCount(), 30);
    }

    void layoutWithoutFileIsSavedIntoTheDataFolder() {
        QTemporaryDir dir;
        CYbShinShoTate2TxtLayout layout;
        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Shinsho, FsPath(dir));
        SetMillimetres(dlg, PageField::TierGap, 7.5);
        Button(dlg, QDialogButtonBox::Ok)->click();
        QVERIFY(messages_.empty());
        QCOMPARE(changed_, 1);
        QVERIFY(!dlg.isVisible());
        CYbShinShoTate2TxtLayout written;
        QVERIFY(written.Open(FromFsPath(FsPath(dir) / "Layout" / "ShinshoTate2.lay").c_str()));
        const auto& boxes = written.GetBoxes(TextLayout);
        QCOMPARE(int(boxes.size()), 4);
        QCOMPARE(boxes[1].top - boxes[0].bottom, 750);
    }

    void cancelWritesNothing() {
        QTemporaryDir dir;
        CYbBunkoTxtLayout layout;
        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Bunko, FsPath(dir));
        SetCount(dlg, PageField::Lines, 12);
        Button(dlg, QDialogButtonBox::Cancel)->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(changed_, 0);
        QCOMPARE(layout.GetLineCount(), 34);
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void restoreDefaultsAsksFirst() {
        QTemporaryDir dir;
        const std::filesystem::path file = FsPath(dir) / "Mine.lay";
        CYbBunkoTxtLayout layout;
        layout.SetFileName(FromFsPath(file));
        PageParams changed;
        FillPageParams(layout, PageKind::Bunko, changed);
        changed.lines = 15;
        changed.foreEdge = 2000;
        QVERIFY(ApplyLayoutSettings(layout, changed, PageKind::Bunko, FsPath(dir)));
        const QByteArray before = ReadBytes(file);

        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Bunko, FsPath(dir));
        QCOMPARE(Count(dlg, PageField::Lines), 15);
        QCOMPARE(Millimetres(dlg, PageField::ForeEdge), 20.00);
        answer_ = false;
        dlg.defaultsButton()->click();
        QCOMPARE(int(questions_.size()), 1);
        QCOMPARE(questions_[0].first,
                 std::u16string(u"デフォルトの設定に戻します。よろしいですか？"));
        QCOMPARE(Count(dlg, PageField::Lines), 15);
        QCOMPARE(Millimetres(dlg, PageField::ForeEdge), 20.00);
        QCOMPARE(layout.GetLineCount(), 30);

        answer_ = true;
        dlg.defaultsButton()->click();
        QCOMPARE(int(questions_.size()), 2);
        QCOMPARE(Count(dlg, PageField::Lines), 17);
        QCOMPARE(Millimetres(dlg, PageField::ForeEdge), 10.00);
        QCOMPARE(Millimetres(dlg, PageField::Gutter), 10.00);
        QCOMPARE(layout.GetLineCount(), 34);
        // Only OK writes: the file still holds the changed layout, then the built-in one.
        QCOMPARE(ReadBytes(file), before);
        QCOMPARE(changed_, 0);
        Button(dlg, QDialogButtonBox::Ok)->click();
        QCOMPARE(changed_, 1);
        CYbBunkoTxtLayout written;
        QVERIFY(written.Open(FromFsPath(file).c_str()));
        QVERIFY(written.GetBoxes(TextLayout) == CYbBunkoTxtLayout().GetBoxes(TextLayout));
    }

    void previewFollowsTheFields() {
        QTemporaryDir dir;
        CYbBunkoTxtLayout layout;
        CYbLayoutSettingsDlg& dlg = make(layout, PageKind::Bunko, FsPath(dir));
        const QImage before = dlg.preview()->grab().toImage();
        QVERIFY(!before.isNull());
        SetMillimetres(dlg, PageField::ForeEdge, 25.0);
        const QImage wider = dlg.preview()->grab().toImage();
        QVERIFY(wider != before);
        SetCount(dlg, PageField::Lines, 8);
        const QImage fewer = dlg.preview()->grab().toImage();
        QVERIFY(fewer != wider);
        SetCount(dlg, PageField::Lines, 17);
        SetMillimetres(dlg, PageField::ForeEdge, 10.0);
        QCOMPARE(dlg.preview()->grab().toImage(), before);
        // Drawing the preview saves nothing and leaves the edited layout alone.
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(layout.GetBoxes(TextLayout) == CYbBunkoTxtLayout().GetBoxes(TextLayout));
    }

    void windowSavesAndRearrangesOnOk() {
        QTemporaryDir dir;
        const std::filesystem::path file = FsPath(dir) / "Layout" / "Bunko.lay";
        QVERIFY(CYbBunkoTxtLayout().Save(FromFsPath(file).c_str()));
        const std::filesystem::path shipped = DataFolder() / "Layout" / "Bunko.lay";
        const QByteArray shippedBefore = ReadBytes(shipped);

        CYbMainWindow& w = makeWindow(file);
        const int pagesBefore = w.pageCount();
        QCOMPARE(w.document().layout().lineCount(), 34);
        QCOMPARE(w.canvas().mapper().columnsPerSpread(), 34);
        bool ran = runDialog(w, [&](CYbLayoutSettingsDlg& dlg) {
            QCOMPARE(dlg.windowTitle(), QStringLiteral("文庫本レイアウトの設定"));
            QCOMPARE(Count(dlg, PageField::Lines), 17);
            SetCount(dlg, PageField::Lines, 15);
            Button(dlg, QDialogButtonBox::Ok)->click();
            QVERIFY(!dlg.isVisible());
        });
        QVERIFY(ran);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(windowMessages_.empty());
        CYbBunkoTxtLayout written;
        QVERIFY(written.Open(FromFsPath(file).c_str()));
        QCOMPARE(written.GetLineCount(), 30);
        // The window read the layout again and arranged the text anew.
        QCOMPARE(w.document().layout().lineCount(), 30);
        QCOMPARE(w.canvas().mapper().columnsPerSpread(), 30);
        // The short sample's last spread may absorb the four columns a spread lost.
        QVERIFY(w.pageCount() >= pagesBefore);

        // Eight columns a page double the pages; a refused entry goes through the window's
        // message box and changes nothing.
        ran = runDialog(w, [&](CYbLayoutSettingsDlg& dlg) {
            QCOMPARE(Count(dlg, PageField::Lines), 15);
            SetCount(dlg, PageField::Chars, 0);
            Button(dlg, QDialogButtonBox::Ok)->click();
            QVERIFY(dlg.isVisible());
            SetCount(dlg, PageField::Chars, 40);
            SetCount(dlg, PageField::Lines, 8);
            Button(dlg, QDialogButtonBox::Ok)->click();
        });
        QVERIFY(ran);
        QCOMPARE(int(windowMessages_.size()), 1);
        QCOMPARE(windowMessages_[0], std::u16string(u"入力項目を正しく入力してください。"));
        QCOMPARE(w.canvas().mapper().columnsPerSpread(), 16);
        QVERIFY(w.pageCount() > pagesBefore);
        QCOMPARE(ReadBytes(shipped), shippedBefore);
    }

    void applyingTheLayoutKeepsTheChosenBodyFont() {
        if (!CYbTxtStyleConfig::IsInstalledFont(QStringLiteral("IPAexGothic")))
            QSKIP("IPAexGothic not installed");
        QTemporaryDir dir;
        const std::filesystem::path file = FsPath(dir) / "Layout" / "Bunko.lay";
        QVERIFY(CYbBunkoTxtLayout().Save(FromFsPath(file).c_str()));
        CYbMainWindow& w = makeWindow(file);
        FontParam font = windowParam_->GetFont(u"TextFont");
        font.face = u"@IPAexGothic";
        windowParam_->SetFont(u"TextFont", font);
        w.menuCommand(ID_SettingsChanged);
        auto family = [&w] {
            LogFont lf;
            const CYbFont* face = w.canvas().renderers().renderer(0)->getFont(&lf);
            return face ? face->familyName() : std::u16string();
        };
        QCOMPARE(family(), std::u16string(u"IPAexGothic"));
        bool ran = runDialog(w, [&](CYbLayoutSettingsDlg& dlg) {
            SetCount(dlg, PageField::Lines, 15);
            Button(dlg, QDialogButtonBox::Apply)->click();
            QCOMPARE(family(), std::u16string(u"IPAexGothic"));
            Button(dlg, QDialogButtonBox::Ok)->click();
        });
        QVERIFY(ran);
        QCOMPARE(w.canvas().mapper().columnsPerSpread(), 30);
        QCOMPARE(family(), std::u16string(u"IPAexGothic"));
        QCOMPARE(windowParam_->GetFont(u"TextFont").face, std::u16string(u"@IPAexGothic"));
        // The spread drawn is the one a window started with these settings draws.
        auto pixels = [](CYbMainWindow& window) {
            const CYbBitmap& b = window.canvas().bitmap();
            std::vector<uint32_t> out;
            for (int y = 0; y < b.height(); y += 2)
                for (int x = 0; x < b.width(); x += 2)
                    out.push_back(b.pixel(x, y));
            return out;
        };
        const std::vector<uint32_t> applied = pixels(w);
        CYbMainWindow& fresh = makeWindow(file);
        windowParam_->SetFont(u"TextFont", font);
        fresh.menuCommand(ID_SettingsChanged);
        QVERIFY(pixels(fresh) == applied);
    }

    void windowCancelLeavesTheDocument() {
        QTemporaryDir dir;
        const std::filesystem::path file = FsPath(dir) / "Shinsho.lay";
        QVERIFY(CYbShinShoTate2TxtLayout().Save(FromFsPath(file).c_str()));
        const QByteArray before = ReadBytes(file);
        CYbMainWindow& w = makeWindow(file);
        const int pages = w.pageCount();
        QCOMPARE(w.document().layout().lineCount(), 68);
        bool ran = runDialog(w, [&](CYbLayoutSettingsDlg& dlg) {
            QCOMPARE(dlg.windowTitle(), QStringLiteral("新書縦2段レイアウトの設定"));
            QCOMPARE(Millimetres(dlg, PageField::TierGap), 5.00);
            SetCount(dlg, PageField::Lines, 10);
            Button(dlg, QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(ran);
        QCOMPARE(ReadBytes(file), before);
        QCOMPARE(w.document().layout().lineCount(), 68);
        QCOMPARE(w.pageCount(), pages);
    }

    void customLayoutOpensNoDialog() {
        QTemporaryDir dir;
        const std::filesystem::path file = FsPath(dir) / "Custom.lay";
        CYbCustomTxtLayout custom;
        custom.SetLayoutType(u"Mine 2.0");
        custom.GetBoxes(TextLayout)[0].lines = 10;
        custom.GetBoxes(TextLayout)[1].lines = 10;
        QVERIFY(custom.Save(FromFsPath(file).c_str()));
        CYbMainWindow& w = makeWindow(file);
        QCOMPARE(w.document().layout().lineCount(), 20);
        QVERIFY(!runDialog(w, [](CYbLayoutSettingsDlg&) {}));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void missingLayoutFileEditsTheKindTheSettingsName() {
        QTemporaryDir dir;
        CYbMainWindow& w = makeWindow(FsPath(dir) / "Gone.lay");
        w.param().SetText(u"LayoutType", u"SHINSHOTATE2 1.0");
        bool ran = runDialog(w, [&](CYbLayoutSettingsDlg& dlg) {
            QCOMPARE(dlg.windowTitle(), QStringLiteral("新書縦2段レイアウトの設定"));
            Button(dlg, QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(ran);
        QCOMPARE(w.param().GetText(u"LayoutFile"), FromFsPath(FsPath(dir) / "Gone.lay"));
    }
};

QTEST_MAIN(LayoutDlgTest)
#include "layout_dlg_test.moc"

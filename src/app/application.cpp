#include "app/application.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <clocale>

#include "app/main_window.h"
#include "app/page_move.h"
#include "app/settings_exit_save.h"
#include "app/string_table.h"
#include "archive/extraction_cleanup.h"
#include "platform/paths.h"
#include "settings/data_folder.h"

namespace Yomibon {
namespace {

// The window is gone by now: the box stands alone.
SettingsSaveChoice AskAfterFailedSave(const std::u16string& message) {
    QMessageBox box(QMessageBox::Warning, ToQString(kAppCaption), ToQString(message));
    QPushButton* retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("別名で保存..."), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
    box.setDefaultButton(retry);
    box.exec();
    if (box.clickedButton() == retry) return {SettingsSaveChoice::RETRY, {}};
    if (box.clickedButton() != saveAs) return {SettingsSaveChoice::DISCARD, {}};
    QString file = QFileDialog::getSaveFileName(nullptr, QStringLiteral("設定の保存先"),
                                                QStringLiteral("Yomibon.ini"),
                                                QStringLiteral("設定ファイル (*.ini)"));
    // Cancelling the dialog comes back to the question.
    if (file.isEmpty()) return {SettingsSaveChoice::SAVE_AS, {}};
    return {SettingsSaveChoice::SAVE_AS, ToFsPath(FromQString(file))};
}

}  // namespace

CYbApplication& CYbApplication::Instance() {
    static CYbApplication app;
    return app;
}

CYbApplication::CYbApplication() : settingsFile_(SettingsFilePath()) {}

std::u16string CYbApplication::SamplePath() {
    return FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
}

std::unique_ptr<CYbMainWindow> CYbApplication::createWindow(const std::u16string& commandLine) {
    // The C runtime follows the user's language, as the text conversions expect.
    std::setlocale(LC_ALL, "");
    param_.Load(settingsFile_);
    CleanExtractionFolders(DataFolder(), PathsNamedBySettings(param_));
    auto window = std::make_unique<CYbMainWindow>(param_);
    QRect work = QGuiApplication::primaryScreen()
                     ? QGuiApplication::primaryScreen()->availableGeometry()
                     : QRect(0, 0, 1280, 800);
    WindowPlacement p =
        PlacementOrDefault(param_.GetPoints(u"WindowSize"), work.width(), work.height());
    window->setGeometry(work.left() + p[7], work.top() + p[8], p[9] - p[7], p[10] - p[8]);
    if (param_.GetBoolean(u"FullScreen")) {
        window->menuCommand(CYbMainWindow::kFullScreenId);
    } else if (p[2] == 3) {
        window->showMaximized();
    } else {
        window->show();
    }
    std::u16string fallback = param_.GetText(u"LastFile").empty() ? SamplePath() : u"";
    window->initialize(commandLine, fallback);
    return window;
}

int CYbApplication::run(std::unique_ptr<CYbMainWindow> window) {
    int code = QApplication::exec();
    window.reset();
    SaveSettingsAtExit(param_, settingsFile_, AskAfterFailedSave);
    return code;
}

}  // namespace Yomibon

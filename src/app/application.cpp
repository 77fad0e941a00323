#include "app/application.h"

#include <QApplication>
#include <QScreen>
#include <clocale>

#include "app/main_window.h"
#include "app/page_move.h"
#include "archive/extraction_cleanup.h"
#include "platform/paths.h"
#include "settings/data_folder.h"

namespace Yomibon {

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
    param_.Save(settingsFile_);
    return code;
}

}  // namespace Yomibon

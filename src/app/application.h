// The application: the settings store for the life of the process, start-up and shut-down.
#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "settings/txt_param.h"

namespace Yomibon {

class CYbMainWindow;

class CYbApplication {
  public:
    // Created on first use, lives until the process ends.
    static CYbApplication& Instance();

    CYbTxtParam& param() { return param_; }
    const std::filesystem::path& settingsFile() const { return settingsFile_; }
    void setSettingsFile(const std::filesystem::path& file) { settingsFile_ = file; }

    // Loads the settings and creates the window at its placement, then has it open the
    // command line's path, LastFile, or for a first start the bundled sample.
    std::unique_ptr<CYbMainWindow> createWindow(const std::u16string& commandLine);
    // Runs the event loop with a window made by createWindow; destroys it, then writes the
    // settings file (asking, when that fails, whether to retry or save elsewhere). Returns
    // the loop's exit code.
    int run(std::unique_ptr<CYbMainWindow> window);

    // The modeless window that currently takes keyboard navigation (none when null).
    QWidget* modelessDialog() const { return modeless_; }
    void setModelessDialog(QWidget* dialog) { modeless_ = dialog; }

    // The text shown on a first start.
    static std::u16string SamplePath();

  private:
    CYbApplication();
    CYbTxtParam param_;
    std::filesystem::path settingsFile_;
    QPointer<QWidget> modeless_;
};

}  // namespace Yomibon

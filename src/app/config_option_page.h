// オプション: window size, bookmark saving and folders, the SUSIE plug-in folder, and the
// association of bookmark files with the program.
#pragma once

#include <filesystem>

#include "app/config_dlg.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Yomibon {

class CYbTxtOptionConfig : public CYbPropPage {
  public:
    static constexpr int kResourceId = 113;

    CYbTxtOptionConfig(CYbTxtParam& param, QWidget* parent = nullptr);

    void write() override;

    // 栞ファイルに関連付け / 関連付け解除, reporting the result; false on failure.
    bool associate();
    bool dissociate();
    // Where the association goes (the XDG data folder unless a test moves it).
    void setAssociationBase(std::filesystem::path base) { associationBase_ = std::move(base); }

    QCheckBox* saveWindowSizeCheck() const { return saveWindowSize_; }
    QCheckBox* autoSaveCheck() const { return autoSave_; }
    QRadioButton* toFolderRadio() const { return toFolder_; }
    QRadioButton* besideTextRadio() const { return besideText_; }
    CYbNumberField* bookmarkNumField() const { return bookmarkNum_; }
    QLineEdit* bookmarkFolderEdit() const { return bookmarkFolder_; }
    QLineEdit* pluginFolderEdit() const { return pluginFolder_; }
    QPushButton* associateButton() const { return associate_; }
    QPushButton* dissociateButton() const { return dissociate_; }

  private:
    void read();
    void browseFolder(QLineEdit* edit);

    QCheckBox* saveWindowSize_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    QRadioButton* toFolder_ = nullptr;
    QRadioButton* besideText_ = nullptr;
    CYbNumberField* bookmarkNum_ = nullptr;
    QLineEdit* bookmarkFolder_ = nullptr;
    QLineEdit* pluginFolder_ = nullptr;
    QPushButton* associate_ = nullptr;
    QPushButton* dissociate_ = nullptr;
    std::filesystem::path associationBase_;
};

}  // namespace Yomibon

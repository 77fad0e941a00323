// URL: asks for a URL or path to open (input mode).
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace Yomibon {

class CYbOpenURLDlg : public QDialog {
    Q_OBJECT

  public:
    CYbOpenURLDlg(QWidget* parent, const std::u16string& text);
    // The whole field text.
    std::u16string url() const;
    QLineEdit* edit() const { return edit_; }

  private:
    QLineEdit* edit_ = nullptr;
};

}  // namespace Yomibon

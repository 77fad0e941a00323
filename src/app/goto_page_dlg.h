// 指定ページに移動: asks for a page number.
#pragma once

#include <QDialog>

class QLineEdit;

namespace Yomibon {

class CYbTxtGotoPageDlg : public QDialog {
    Q_OBJECT

  public:
    CYbTxtGotoPageDlg(QWidget* parent, int currentPage, int pageCount);
    // The field read as a signed integer (0 when it holds none).
    int page() const;
    void setText(const QString& text);

  private:
    QLineEdit* edit_ = nullptr;
};

}  // namespace Yomibon

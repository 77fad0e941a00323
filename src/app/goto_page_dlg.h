// 指定ページに移動: asks for a page number, counted as the title bar counts pages.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QSpinBox;

namespace Yomibon {

class CYbTxtGotoPageDlg : public QDialog {
    Q_OBJECT

  public:
    // `currentPage` is the page index shown (0-based); the field starts at its number.
    CYbTxtGotoPageDlg(QWidget* parent, int currentPage, int pageCount);
    // The page number entered (1 .. page count).
    int page() const;
    void setText(const QString& text);
    QSpinBox* field() const { return field_; }
    // Tells the reader why a number was refused; a message box unless replaced.
    void setMessageFunc(std::function<void(const std::u16string&)> func) {
        message_ = std::move(func);
    }

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QSpinBox* field_ = nullptr;
    int pageCount_ = 1;
    std::function<void(const std::u16string&)> message_;
};

}  // namespace Yomibon

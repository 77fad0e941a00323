// 設定: the settings property sheet with its pages 表示, オプション and HTML, and the
// controls the pages share (colour buttons, number fields with spins).
#pragma once

#include <QColor>
#include <QDialog>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class QDialogButtonBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace Yomibon {

class CYbTxtParam;
class CYbTxtStyleConfig;
class CYbTxtOptionConfig;
class CYbHtmlOptionConfig;

// Shows a message with its caption; kept replaceable so tests need no modal loop.
using ConfigMessageFunc =
    std::function<void(const std::u16string& text, const std::u16string& caption)>;

// A page of the sheet: remembers whether one of its controls changed since the last apply.
class CYbPropPage : public QWidget {
  public:
    CYbPropPage(CYbTxtParam& param, QWidget* parent);

    bool changed() const { return changed_; }
    void setChanged(bool changed);
    void setChangedFunc(std::function<void()> func) { onChanged_ = std::move(func); }
    void setMessageFunc(ConfigMessageFunc func) { onMessage_ = std::move(func); }

    // Checks the controls (moving the focus to an offending one); false refuses the apply.
    virtual bool validate() { return true; }
    // Writes the controls into the settings.
    virtual void write() = 0;

  protected:
    void markChanged() { setChanged(true); }
    // Messages of the sheet are all captioned "Error", even the reports of success.
    void showError(int id) const;
    // Connects the change signal of every line edit, combo box, check box, radio button and
    // spin box under the page to markChanged.
    void watchControls();

    CYbTxtParam& param_;

  private:
    bool changed_ = false;
    std::function<void()> onChanged_;
    ConfigMessageFunc onMessage_;
};

// A push button showing a colour (0x00BBGGRR); clicking it opens the colour dialog.
class CYbColorButton : public QPushButton {
    Q_OBJECT

  public:
    explicit CYbColorButton(const QString& text, QWidget* parent = nullptr);
    uint32_t color() const { return color_; }
    void setColor(uint32_t color);

  signals:
    void colorChanged();

  private:
    void choose();
    uint32_t color_ = 0;
};

// A number field with a spin beside it: the spin steps within its range, the field takes
// whatever is typed so that the page can refuse it.
class CYbNumberField : public QWidget {
  public:
    CYbNumberField(int minimum, int maximum, QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }
    QString text() const;
    void setValue(int value);
    // The field as a signed integer; `ok` is false when it holds no number.
    int value(bool* ok = nullptr) const;

  private:
    QLineEdit* edit_ = nullptr;
    QSpinBox* spin_ = nullptr;
};

class CYbTxtConfigDlg : public QDialog {
  public:
    CYbTxtConfigDlg(CYbTxtParam& param, QWidget* parent = nullptr);

    // Called after the display page wrote its settings; the window re-applies them.
    void setSettingsChangedFunc(std::function<void()> func);
    void setMessageFunc(ConfigMessageFunc func);

    // 適用: validates the changed pages, then writes them. False when a page refused; the
    // sheet then shows that page with the focus on the offending control.
    bool apply();

    CYbTxtStyleConfig* stylePage() const { return style_; }
    CYbTxtOptionConfig* optionPage() const { return option_; }
    CYbHtmlOptionConfig* htmlPage() const { return html_; }
    QTabWidget* tabs() const { return tabs_; }
    QDialogButtonBox* buttons() const { return buttons_; }

  private:
    void updateApplyButton();

    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    CYbTxtStyleConfig* style_ = nullptr;
    CYbTxtOptionConfig* option_ = nullptr;
    CYbHtmlOptionConfig* html_ = nullptr;
};

// Conversions between the settings' colour values (0x00BBGGRR) and Qt colours.
QColor ColorFromValue(uint32_t value);
uint32_t ValueFromColor(const QColor& color);

}  // namespace Yomibon

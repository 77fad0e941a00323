// The bunko and shinsho layout settings dialog: the page parameters in millimetres, a live
// drawing of the spread, and the host through which a layout opens it.
#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "layout/page_params.h"
#include "layout/txt_layout.h"

class QComboBox;
class QDialogButtonBox;
class QPushButton;

namespace Yomibon {

// A scaled drawing of a layout's spread: paper, text boxes with their columns, notes,
// nombres and running heads, with a few sample characters.
class CYbLayoutPreview : public QWidget {
  public:
    explicit CYbLayoutPreview(QWidget* parent = nullptr);
    // Draws this layout from now on (the preview keeps a copy).
    void showLayout(const CYbTxtLayout& layout);
    QSize sizeHint() const override { return {480, 340}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::unique_ptr<CYbTxtLayout> layout_;
};

class CYbLayoutSettingsDlg : public QDialog {
  public:
    using MessageFunc =
        std::function<void(const std::u16string& text, const std::u16string& caption)>;
    using AskFunc = std::function<bool(const std::u16string& text, const std::u16string& caption)>;
    static constexpr int kFieldCount = int(PageField::RunningHeadsY) + 1;

    CYbLayoutSettingsDlg(CYbTxtLayout& layout, PageKind kind, QWidget* parent = nullptr);
    ~CYbLayoutSettingsDlg() override;

    // Message boxes and the yes/no question; kept replaceable so tests need no modal loop.
    void setMessageFunc(MessageFunc func) { message_ = std::move(func); }
    void setAskFunc(AskFunc func) { ask_ = std::move(func); }
    // Called after every successful apply; the window re-reads the layout there.
    void setLayoutChangedFunc(std::function<void()> func) { changed_ = std::move(func); }
    // Where a layout without a file of its own is saved.
    void setDataFolder(const std::filesystem::path& folder) { dataFolder_ = folder; }

    // The fields as parameters, and the fields set from parameters.
    PageParams params() const;
    void setParams(const PageParams& params);
    // Validates and, when every field is right, applies, saves and reports the change (OK and
    // 適用). False, with the failing fields marked and the first focused, otherwise.
    bool apply();
    // Asks, then puts the built-in layout back into the layout and the fields.
    void restoreDefaults();

    // The field of a parameter (null for 段間 of a bunko dialog); 配置 is a combo box.
    QWidget* field(PageField which) const { return fields_[size_t(which)]; }
    bool isMarked(PageField which) const;
    CYbLayoutPreview* preview() const { return preview_; }
    QDialogButtonBox* buttons() const { return buttons_; }
    QPushButton* defaultsButton() const { return defaults_; }

  private:
    void buildFields();
    void fillFromLayout();
    void updatePreview();
    void clearMarks();

    CYbTxtLayout& layout_;
    PageKind kind_;
    PageParams base_;  // values of the parameters the dialog has no field for
    std::array<QWidget*, kFieldCount> fields_{};
    std::unique_ptr<CYbTxtLayout> scratch_;
    CYbLayoutPreview* preview_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* defaults_ = nullptr;
    std::filesystem::path dataFolder_;
    MessageFunc message_;
    AskFunc ask_;
    std::function<void()> changed_;
    bool filling_ = false;
};

// Runs the dialogs modally for the layouts' ShowSettingsDialog; the parent is a QWidget.
class CYbLayoutDialogRunner final : public CYbLayoutDialogHost {
  public:
    explicit CYbLayoutDialogRunner(std::function<void()> onChanged);
    ~CYbLayoutDialogRunner() = default;
    int ShowBunkoDialog(void* parent, CYbBunkoTxtLayout& layout) override;
    int ShowShinshoDialog(void* parent, CYbShinShoTate2TxtLayout& layout) override;
    // Replaces the dialogs' message box (the window hands its own on).
    void setMessageFunc(CYbLayoutSettingsDlg::MessageFunc func) { message_ = std::move(func); }

  private:
    int run(void* parent, CYbTxtLayout& layout, PageKind kind);
    std::function<void()> onChanged_;
    CYbLayoutSettingsDlg::MessageFunc message_;
};

}  // namespace Yomibon

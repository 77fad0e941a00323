#include "app/config_dlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/config_html_page.h"
#include "app/config_option_page.h"
#include "app/config_style_page.h"
#include "app/string_table.h"

namespace Yomibon {

QColor ColorFromValue(uint32_t value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

uint32_t ValueFromColor(const QColor& color) {
    return uint32_t(color.red()) | (uint32_t(color.green()) << 8) | (uint32_t(color.blue()) << 16);
}

CYbPropPage::CYbPropPage(CYbTxtParam& param, QWidget* parent) : QWidget(parent), param_(param) {}

void CYbPropPage::setChanged(bool changed) {
    if (changed_ == changed) return;
    changed_ = changed;
    if (onChanged_) onChanged_();
}

void CYbPropPage::showError(int id) const {
    if (onMessage_) onMessage_(std::u16string(LoadString(id)), u"Error");
}

void CYbPropPage::watchControls() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, [this] { markChanged(); });
    for (QComboBox* box : findChildren<QComboBox*>()) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] { markChanged(); });
        connect(box, &QComboBox::editTextChanged, this, [this] { markChanged(); });
    }
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
            connect(button, &QAbstractButton::toggled, this, [this] { markChanged(); });
    for (CYbColorButton* button : findChildren<CYbColorButton*>())
        connect(button, &CYbColorButton::colorChanged, this, [this] { markChanged(); });
    for (QSpinBox* spin : findChildren<QSpinBox*>())
        connect(spin, &QSpinBox::valueChanged, this, [this] { markChanged(); });
}

CYbColorButton::CYbColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    connect(this, &QPushButton::clicked, this, [this] { choose(); });
    setColor(0);
}

void CYbColorButton::setColor(uint32_t color) {
    const bool changed = color != color_;
    color_ = color & 0xFFFFFF;
    QPixmap swatch(16, 16);
    swatch.fill(ColorFromValue(color_));
    setIcon(QIcon(swatch));
    if (changed) emit colorChanged();
}

void CYbColorButton::choose() {
    QColor chosen = QColorDialog::getColor(ColorFromValue(color_), this);
    if (chosen.isValid()) setColor(ValueFromColor(chosen));
}

CYbNumberField::CYbNumberField(int minimum, int maximum, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit_ = new QLineEdit(this);
    edit_->setMaximumWidth(64);
    // Only the arrows of the spin show; its value follows into the field.
    spin_ = new QSpinBox(this);
    spin_->setRange(minimum, maximum);
    spin_->setFixedWidth(spin_->sizeHint().height());
    spin_->setStyleSheet(QStringLiteral("QSpinBox { color: transparent; }"));
    connect(spin_, &QSpinBox::valueChanged, this,
            [this](int v) { edit_->setText(QString::number(v)); });
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        bool ok = false;
        int v = value(&ok);
        if (ok && v >= spin_->minimum() && v <= spin_->maximum()) {
            QSignalBlocker block(spin_);
            spin_->setValue(v);
        }
    });
    layout->addWidget(edit_);
    layout->addWidget(spin_);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QString CYbNumberField::text() const {
    return edit_->text();
}

void CYbNumberField::setValue(int value) {
    edit_->setText(QString::number(value));
}

int CYbNumberField::value(bool* ok) const {
    return edit_->text().trimmed().toInt(ok);
}

CYbTxtConfigDlg::CYbTxtConfigDlg(CYbTxtParam& param, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdU16String(std::u16string(LoadString(IDS_CONFIG))));
    tabs_ = new QTabWidget(this);
    style_ = new CYbTxtStyleConfig(param, tabs_);
    option_ = new CYbTxtOptionConfig(param, tabs_);
    html_ = new CYbHtmlOptionConfig(param, tabs_);
    tabs_->addTab(style_, QStringLiteral("表示"));
    tabs_->addTab(option_, QStringLiteral("オプション"));
    tabs_->addTab(html_, QStringLiteral("HTML"));
    buttons_ = new QDialogButtonBox(this);
    buttons_->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons_->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QPushButton* applyButton =
        buttons_->addButton(QStringLiteral("適用(&A)"), QDialogButtonBox::ApplyRole);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        if (apply()) accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);
    for (CYbPropPage* page : std::initializer_list<CYbPropPage*>{style_, option_, html_})
        page->setChangedFunc([this] { updateApplyButton(); });
    setMessageFunc([this](const std::u16string& text, const std::u16string& caption) {
        QMessageBox::warning(this, QString::fromStdU16String(caption),
                             QString::fromStdU16String(text));
    });
    updateApplyButton();
}

void CYbTxtConfigDlg::setSettingsChangedFunc(std::function<void()> func) {
    style_->setAppliedFunc(std::move(func));
}

void CYbTxtConfigDlg::setMessageFunc(ConfigMessageFunc func) {
    for (CYbPropPage* page : std::initializer_list<CYbPropPage*>{style_, option_, html_})
        page->setMessageFunc(func);
}

bool CYbTxtConfigDlg::apply() {
    const std::initializer_list<CYbPropPage*> pages{style_, option_, html_};
    // Only the display page checks its fields; it is shown first, so that the focus can go to
    // the control it complains about.
    if (style_->changed()) {
        tabs_->setCurrentWidget(style_);
        if (!style_->validate()) return false;
    }
    for (CYbPropPage* page : pages) {
        if (!page->changed()) continue;
        page->write();
        page->setChanged(false);
    }
    return true;
}

void CYbTxtConfigDlg::updateApplyButton() {
    bool any = style_->changed() || option_->changed() || html_->changed();
    for (QAbstractButton* button : buttons_->buttons())
        if (buttons_->buttonRole(button) == QDialogButtonBox::ApplyRole) button->setEnabled(any);
}

}  // namespace Yomibon

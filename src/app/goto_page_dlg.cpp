#include "app/goto_page_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <limits>

#include "app/qt_string.h"
#include "platform/format.h"

namespace Yomibon {

CYbTxtGotoPageDlg::CYbTxtGotoPageDlg(QWidget* parent, int currentPage, int pageCount)
    : QDialog(parent), pageCount_(std::max(1, pageCount)) {
    setWindowTitle(QStringLiteral("指定ページに移動"));
    auto* layout = new QHBoxLayout(this);
    // One field: it takes any number as typed, so that an out-of-range one can be refused
    // with a reason instead of being silently corrected while typing.
    field_ = new QSpinBox(this);
    field_->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    field_->setValue(std::clamp(currentPage + 1, 1, pageCount_));
    field_->setSuffix(QStringLiteral(" / %1").arg(pageCount_));
    field_->setMinimumWidth(
        field_->fontMetrics().horizontalAdvance(QStringLiteral("000000 / 00000")));
    auto* label = new QLabel(QStringLiteral("ページ(&P):"), this);
    label->setBuddy(field_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("移動"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(field_, 1);
    layout->addWidget(buttons);
    field_->setFocus();
    field_->selectAll();
    message_ = [this](const std::u16string& text) {
        QMessageBox::warning(this, windowTitle(), ToQString(text));
    };
}

void CYbTxtGotoPageDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The number is what the reader came to type: the field has the keys, its text selected.
    field_->setFocus(Qt::ActiveWindowFocusReason);
    field_->selectAll();
}

int CYbTxtGotoPageDlg::page() const {
    return field_->value();
}

void CYbTxtGotoPageDlg::setText(const QString& text) {
    if (auto* edit = field_->findChild<QLineEdit*>()) edit->setText(text);
    field_->interpretText();
}

void CYbTxtGotoPageDlg::accept() {
    field_->interpretText();
    const int entered = field_->value();
    if (entered >= 1 && entered <= pageCount_) return QDialog::accept();
    message_(
        FormatMessage(u"1 から %1!d! までのページ番号を入力してください。", {int64_t(pageCount_)}));
    field_->setFocus();
    field_->selectAll();
}

}  // namespace Yomibon

#include "app/goto_page_dlg.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace Yomibon {

CYbTxtGotoPageDlg::CYbTxtGotoPageDlg(QWidget* parent, int currentPage, int pageCount)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("指定ページに移動"));
    auto* layout = new QHBoxLayout(this);
    // The spin steps between 0 and the page count; the field itself takes any number, since
    // out-of-range entries are clamped by the window.
    auto* spin = new QSpinBox(this);
    spin->setRange(0, std::max(0, pageCount));
    spin->setValue(std::clamp(currentPage, 0, std::max(0, pageCount)));
    edit_ = new QLineEdit(QString::number(currentPage), this);
    edit_->setValidator(new QIntValidator(this));
    spin->setFixedWidth(spin->sizeHint().height());
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    spin->setStyleSheet(QStringLiteral("QSpinBox { color: transparent; }"));
    connect(spin, &QSpinBox::valueChanged, this,
            [this](int value) { edit_->setText(QString::number(value)); });
    auto* go = new QPushButton(QStringLiteral("移動"), this);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    go->setDefault(true);
    connect(go, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(edit_);
    layout->addWidget(spin);
    layout->addWidget(go);
    layout->addWidget(cancel);
    edit_->selectAll();
}

int CYbTxtGotoPageDlg::page() const {
    return edit_->text().trimmed().toInt();
}

void CYbTxtGotoPageDlg::setText(const QString& text) {
    edit_->setText(text);
}

}  // namespace Yomibon

#include "app/open_url_dlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace Yomibon {

CYbOpenURLDlg::CYbOpenURLDlg(QWidget* parent, const std::u16string& text) : QDialog(parent) {
    setWindowTitle(QStringLiteral("URL"));
    auto* layout = new QHBoxLayout(this);
    edit_ = new QLineEdit(QString::fromStdU16String(text), this);
    edit_->setMinimumWidth(360);
    auto* open = new QPushButton(QStringLiteral("開く"), this);
    auto* stop = new QPushButton(QStringLiteral("中止"), this);
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, &QDialog::accept);
    connect(stop, &QPushButton::clicked, this, &QDialog::reject);
    // The field takes the width when the dialog is widened.
    layout->addWidget(edit_, 1);
    layout->addWidget(open);
    layout->addWidget(stop);
    edit_->selectAll();
}

std::u16string CYbOpenURLDlg::url() const {
    return edit_->text().toStdU16String();
}

}  // namespace Yomibon

#include "app/open_url_dlg.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace Yomibon {
namespace {

constexpr int kFrames = 8;
constexpr int kFrameMs = 100;

// One frame of the turning icon: eight dots, the leading one darkest.
QIcon SpinnerFrame(int frame, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double centre = size / 2.0, radius = size * 0.34, dot = size * 0.11;
    for (int i = 0; i < kFrames; ++i) {
        const double angle = 2 * M_PI * i / kFrames - M_PI / 2;
        const int age = (frame - i + kFrames) % kFrames;
        painter.setBrush(QColor(40, 40, 40, 255 - age * 28));
        painter.drawEllipse(
            QPointF(centre + radius * std::cos(angle), centre + radius * std::sin(angle)), dot,
            dot);
    }
    return QIcon(pixmap);
}

}  // namespace

CYbOpenURLDlg::CYbOpenURLDlg(QWidget* parent, const std::u16string& text) : QDialog(parent) {
    setWindowTitle(QStringLiteral("URL"));
    auto* layout = new QHBoxLayout(this);
    edit_ = new QLineEdit(QString::fromStdU16String(text), this);
    edit_->setMinimumWidth(360);
    open_ = new QPushButton(QStringLiteral("開く"), this);
    stop_ = new QPushButton(QStringLiteral("中止"), this);
    open_->setDefault(true);
    connect(open_, &QPushButton::clicked, this, &QDialog::accept);
    connect(stop_, &QPushButton::clicked, this, &CYbOpenURLDlg::reject);
    // The field takes the width when the dialog is widened.
    layout->addWidget(edit_, 1);
    layout->addWidget(open_);
    layout->addWidget(stop_);
    edit_->selectAll();
}

std::u16string CYbOpenURLDlg::url() const {
    return edit_->text().toStdU16String();
}

void CYbOpenURLDlg::startProgress(const std::u16string& url) {
    progress_ = true;
    cancelled_ = false;
    edit_->setText(QString::fromStdU16String(url));
    edit_->setReadOnly(true);
    edit_->setCursorPosition(0);
    open_->hide();
    stop_->setDefault(true);
    const int size = std::max(16, edit_->sizeHint().height() - 6);
    for (int i = 0; i < kFrames; ++i)
        frames_.push_back(SpinnerFrame(i, size));
    icon_ = edit_->addAction(frames_[0], QLineEdit::TrailingPosition);
    icon_->setToolTip(QStringLiteral("中止"));
    connect(icon_, &QAction::triggered, this, &CYbOpenURLDlg::cancel);
    timer_ = new QTimer(this);
    timer_->setInterval(kFrameMs);
    connect(timer_, &QTimer::timeout, this, &CYbOpenURLDlg::nextFrame);
    timer_->start();
    // A long address widens the dialog (up to the screen), and the field with it.
    const int wanted = edit_->fontMetrics().horizontalAdvance(edit_->text()) + size * 2 + 48;
    resize(std::max(width(), std::min(wanted + stop_->sizeHint().width(), 1000)), height());
    show();
    raise();
}

void CYbOpenURLDlg::nextFrame() {
    frame_ = (frame_ + 1) % kFrames;
    if (icon_) icon_->setIcon(frames_[size_t(frame_)]);
}

bool CYbOpenURLDlg::onNetProgress(const NetProgress&) {
    // The window is repainted and the icon and 中止 answered between two waits.
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    return !cancelled_;
}

void CYbOpenURLDlg::cancel() {
    cancelled_ = true;
    if (timer_) timer_->stop();
}

void CYbOpenURLDlg::reject() {
    // In progress mode the dialog stays until the transfer has stopped; the caller closes it.
    if (progress_) {
        cancel();
        return;
    }
    QDialog::reject();
}

}  // namespace Yomibon
